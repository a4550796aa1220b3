"""Orca over a whole exam by keyboard: what it says is what a blind pupil
hears. Orca runs as on a pupil's desktop and writes each utterance to its
debug log (SPEECH OUTPUT lines, whether or not a voice speaks them); no sound
card is needed."""

import subprocess

import tree
from desktop import Failure, wait_for
from pupil import GRADE, LETTERS, PLAN, PUPIL


def said(log, text):
    wanted = tree.norm(text)
    return any(wanted in tree.norm(line) for line in log.spoken())


def hears(log, text, timeout):
    """Waits for Orca to say `text`; False where it didn't."""
    try:
        return wait_for(f"Orca saying {text!r}", lambda: said(log, text), timeout)
    except Failure:
        return False


def start_orca(desktop, log):
    """Orca, with its settings in the fresh home, once it speaks. Orca won't
    start beside another Orca of the same user (a developer's own, or
    another test's on a shared machine): in a process namespace of its own,
    where it can, it sees none."""
    argv = ["orca", "--debug-file", log.path]
    alone = ["unshare", "--pid", "--fork", "--mount-proc", "--kill-child"]
    if subprocess.run(alone + ["true"], capture_output=True).returncode == 0:
        argv = alone + argv
    orca = desktop.spawn(argv, log="orca.out")
    wait_for("Orca's first words", lambda: log.spoken() or orca.poll() is not None, 60)
    if orca.poll() is not None:
        raise Failure("Orca ended at start: " + desktop.log("orca.out"))


def exam(ctx):
    report = ctx.report
    log = ctx.speech
    # Seconds to wait for Orca to say an answer; after one it didn't say, a
    # moment only: the checks at the end tell what it left out.
    patience = [10]

    def moved(letter, question):
        # Each answer is said before the next key: Orca passes over a focus
        # that a later one has already replaced.
        if not hears(log, f"{letter}: {question.answers[LETTERS.index(letter)]}", patience[0]):
            patience[0] = 0.5

    ctx.pupil.browse = True
    ctx.pupil.moved = moved
    titles = ctx.desktop.watch_title()
    ctx.pupil.take_exam()
    hears(log, GRADE, patience[0])

    for number, (question, (form, answer)) in enumerate(zip(ctx.test.questions, PLAN), 1):
        report.expect(said(log, question.text), f"question {number} is said: {question.text!r}")
        if form == "samodzielna":
            continue  # answered by typing: its answers are never shown
        for i, letter in enumerate(LETTERS):
            name = f"{letter}: {question.answers[i]}"
            report.expect(said(log, name), f"question {number}: the answer {name!r} is said")
    report.expect(said(log, f"Gratuluję {PUPIL}"), "a right answer's verdict is said")
    wrong = [q for q, (form, answer) in zip(ctx.test.questions, PLAN)
             if form != "samodzielna" and LETTERS.index(answer) != q.correct]
    for question in wrong:
        right_text = question.answers[question.correct]
        report.expect(any(f"Niestety {PUPIL}" in tree.norm(line) and tree.norm(right_text)
                          in tree.norm(line) for line in log.spoken()),
                      f"the verdict on a wrong answer is said with the right one, {right_text!r}")
    report.expect(said(log, GRADE), f"the grade {GRADE!r} is said")

    name = tree.Node(ctx.window.obj).name
    scrolled = [t for t in titles.seen if tree.norm(t) and tree.norm(t) != name]
    report.expect(len(titles.seen) > 1, "the title bar scrolled during the exam", titles.seen)
    for line in log.spoken():
        for title in scrolled:
            report.expect(tree.norm(title) not in tree.norm(line),
                          "the scrolling title is never said", f"Orca said {line!r}")
    return report


def transcript(log):
    return "What Orca said:\n" + "\n".join("  " + line for line in log.spoken())
