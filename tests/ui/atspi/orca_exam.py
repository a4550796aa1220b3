"""Orca over a whole exam by keyboard: what it says is what a blind pupil
hears. Orca runs as on a pupil's desktop and writes each utterance to its
debug log (SPEECH OUTPUT lines, whether or not a voice speaks them); no sound
card is needed."""

import subprocess

import tree
from checks import NAME_FIELD
from desktop import Failure, wait_for
from pupil import GRADE, LETTERS, PLAN, PUPIL


def said(log, text):
    wanted = tree.norm(text)
    return any(wanted in tree.norm(line) for line in log.spoken())


class Listener:
    """Waits to hear each thing in turn, as a pupil does before the next
    key: a thing said again counts from where the last one was heard. After
    one wait in vain it waits a moment only: the checks at the end tell all
    that Orca left out."""

    def __init__(self, log):
        self.log, self.heard, self.patience = log, 0, 10

    def hears(self, text):
        wanted = tree.norm(text)

        def said_next():
            lines = self.log.spoken()
            for i in range(self.heard, len(lines)):
                if wanted in tree.norm(lines[i]):
                    self.heard = i + 1
                    return True
            return False

        try:
            return wait_for(f"Orca saying {text!r}", said_next, self.patience)
        except Failure:
            self.patience = 0.5
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
    listener = Listener(log)

    def moved(letter, question):
        listener.hears(f"{letter}: {question.answers[LETTERS.index(letter)]}")

    def observe(step, window):
        wanted = {"start": NAME_FIELD, "form": step.question and step.question.text,
                  "question": step.question and step.question.text, "summary": GRADE,
                  "verdict": f"{'Gratuluję' if step.right else 'Niestety'} {PUPIL}"}.get(step.kind)
        if wanted:
            listener.hears(wanted)

    ctx.pupil.browse = True
    ctx.pupil.moved = moved
    ctx.pupil.observe = observe
    titles = ctx.desktop.watch_title()
    ctx.pupil.take_exam()

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
    # The title bar's steps, but not those that read as a piece of the
    # window's own name (its plain title before a test names it).
    scrolled = [t for t in titles.seen if tree.norm(t) and tree.norm(t) not in name]
    report.expect(len(titles.seen) > 1, "the title bar scrolled during the exam", titles.seen)
    for line in log.spoken():
        for title in scrolled:
            report.expect(tree.norm(title) not in tree.norm(line),
                          "the scrolling title is never said", f"Orca said {line!r}")
    return report


def transcript(log):
    return "What Orca said:\n" + "\n".join("  " + line for line in log.spoken())
