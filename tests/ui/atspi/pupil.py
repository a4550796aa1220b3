"""A pupil at the keyboard: a whole exam on the sample test, keys only, as a
blind pupil takes it, looking at nothing but what the accessibility bus says.

The questions and answers come from the sample's source (Testy/zrodla), the
text the test file was made from."""

import re
from dataclasses import dataclass

import tree
from desktop import Failure, wait_for

LETTERS = "ABCDE"
PUPIL = "Ola"
# The pupil's answers to the sample "Geografia Polski", one per question: the
# typed form with its text, or the test form's letter. Three right (the typed
# one with its extra points), two wrong: 7 of 9 points.
PLAN = [("samodzielna", "Śnieżka"), ("testowa", "D"), (None, "A"), (None, "E"), (None, "B")]
GRADE = "dostatecznie dobry"  # 78 %


@dataclass
class Question:
    text: str
    answers: list
    correct: int
    points: int
    extra: int  # the typed answer's extra points; 0 where there is no typed answer

    @property
    def typed(self):
        return self.extra > 0


@dataclass
class SampleTest:
    name: str
    questions: list


def read_source(path):
    """The sample's source: description, "name", author, date, question
    count, points, typed answers, then each question: its text, five
    answers, the right letter, its points, and "TAK - extra" or "NIE"."""
    with open(path, encoding="utf-8") as f:
        lines = [line.rstrip("\r\n") for line in f]
    count = int(lines[4])
    questions = []
    at = 7
    for _ in range(count):
        text, answers = lines[at], lines[at + 1:at + 6]
        correct = "abcde".index(lines[at + 6].strip().lower())
        typed = re.match(r"TAK\s*-\s*(\d+)", lines[at + 8])
        questions.append(Question(text, answers, correct, int(lines[at + 7]),
                                  int(typed.group(1)) if typed else 0))
        at += 9
    return SampleTest(lines[1].strip('"'), questions)


def on_answer(letter):
    """The focus on the answer `letter`, named "B: text" (or "B :", as the
    caption reads)."""
    return lambda f: bool(re.match(rf"{letter}\s*:", f.name))


def field_text(node):
    if node is None or node.role not in ("text", "spin button"):
        return ""
    try:
        return node.obj.queryText().getText(0, -1)
    except NotImplementedError:
        return node.name


class _Nothing:
    name = ""
    states = set()


_NOTHING = _Nothing()


@dataclass
class Step:
    """Where the exam is, for the checks that follow each move."""
    kind: str  # "start", "question", "form", "typing", "picked", "verdict", "summary"
    question: Question = None
    number: int = 0
    right: bool = False
    gained: int = 0  # points gained so far


class Pupil:
    """Drives the exam. `observe(step, window)` is called at each stop, and
    `moved(letter, question)` after each move to an answer, before the next
    key: a pupil listening to a screen reader hears each out first."""

    def __init__(self, desktop, app, window, test, observe=None, moved=None, browse=False):
        self.desktop, self.app, self.window, self.test = desktop, app, window, test
        self.observe = observe or (lambda step, window: None)
        self.moved = moved or (lambda letter, question: None)
        # Listens to every answer before picking one, as a pupil who can't
        # see them does.
        self.browse = browse

    def shows(self, pattern):
        return any(pattern.search(n.name) for n in tree.nodes(self.window.obj, showing_only=True)
                   if n.showing)

    def wait_shown(self, what, pattern, timeout=20):
        wait_for(what, lambda: self.shows(pattern), timeout, tree.pump)

    def focus_becomes(self, accept, timeout=3):
        """Waits a moment for the focus the keys should have brought; the
        checks say whether it came. The pupil asks only where the focus is,
        not how it is named and shown: a window that falls short there is
        still taken through the whole exam, and the checks tell all of it."""
        try:
            return wait_for("focus", lambda: (lambda f: f if f and accept(f) else None)(
                tree.focused(self.window)), timeout)
        except Failure:
            return tree.focused(self.window)

    def type(self, text):
        """Types into the focused field a letter at a time, each once the one
        before is in: a screen reader sees every key before the program, and
        a key that comes while it still thinks over the last one can arrive
        out of turn."""
        for i in range(len(text)):
            self.desktop.type(text[i])
            wait_for(f"{text[:i + 1]!r} typed", lambda: field_text(
                tree.focused(self.window)).endswith(text[:i + 1]), 20, tree.pump)

    def take_exam(self):
        self.observe(Step("start"), self.window)
        self.type(PUPIL)
        self.desktop.keys("alt+s")
        gained = 0
        for number, (question, (form, answer)) in enumerate(zip(self.test.questions, PLAN), 1):
            self.wait_shown(f"question {number}", re.compile(re.escape(question.text[:24])))
            if question.typed:
                self.focus_becomes(lambda f: f.name == "samodzielna")
                self.observe(Step("form", question, number, gained=gained), self.window)
                right = self.choose_form(question, number, form, answer, gained)
            else:
                self.focus_becomes(on_answer("A"))
                self.observe(Step("question", question, number, gained=gained), self.window)
                right = self.pick(question, number, answer, gained)
            if right:
                gained += question.points + (question.extra if form == "samodzielna" else 0)
            self.confirm_verdict(question, number, right, gained)
        self.wait_shown("the summary", re.compile(r"^Otrzymana ocena to:"))
        self.focus_becomes(lambda f: f.name.startswith("Egzaminuj"))
        self.observe(Step("summary", gained=gained), self.window)
        return gained

    def choose_form(self, question, number, form, answer, gained):
        if form == "samodzielna":
            self.desktop.keys("space")
            self.focus_becomes(lambda f: f.name == "samodzielna" and "checked" in f.states)
            self.desktop.keys("Return")
            self.focus_becomes(lambda f: f.role == "text")
            self.observe(Step("typing", question, number, gained=gained), self.window)
            self.type(answer)
            self.desktop.keys("Return")
            return tree.norm(answer) == tree.norm(question.answers[question.correct])
        # Down moves to "testowa" and picks it; space picks it where it
        # doesn't, and its accelerator where the arrow went nowhere.
        self.desktop.keys("Down")
        chosen = self.focus_becomes(lambda f: f.name == "testowa")
        if not chosen or chosen.name != "testowa":
            self.desktop.keys("alt+t")
        elif "checked" not in chosen.states:
            self.desktop.keys("space")
        self.focus_becomes(lambda f: f.name == "testowa" and "checked" in f.states)
        self.desktop.keys("Return")
        self.focus_becomes(on_answer("A"))
        self.observe(Step("question", question, number, gained=gained), self.window)
        return self.pick(question, number, answer, gained)

    def move(self, key, letter, question):
        self.desktop.keys(key)
        if not on_answer(letter)(self.focus_becomes(on_answer(letter)) or _NOTHING):
            self.desktop.keys("alt+" + letter.lower())  # its accelerator, where the arrow failed
        self.moved(letter, question)

    def pick(self, question, number, letter, gained):
        index = LETTERS.index(letter)
        self.moved("A", question)
        if self.browse:
            for i in range(1, len(LETTERS)):
                self.move("Down", LETTERS[i], question)
            for i in range(len(LETTERS) - 2, index - 1, -1):
                self.move("Up", LETTERS[i], question)
        else:
            for i in range(1, index + 1):
                self.move("Down", LETTERS[i], question)
        self.desktop.keys("space")
        self.focus_becomes(lambda f: on_answer(letter)(f) and "checked" in f.states)
        self.observe(Step("picked", question, number, gained=gained), self.window)
        self.desktop.keys("Return")
        return index == question.correct

    def confirm_verdict(self, question, number, right, gained):
        self.wait_shown(f"the verdict on question {number}",
                        re.compile(rf"^(Gratuluję|Niestety) {PUPIL}"))
        self.focus_becomes(lambda f: f.role == "push button")
        self.observe(Step("verdict", question, number, right, gained), self.window)
        self.desktop.keys("Return")
        self.wait_gone(re.compile(rf"^(Gratuluję|Niestety) {PUPIL}"))

    def wait_gone(self, pattern):
        wait_for("the verdict closing", lambda: not self.shows(pattern), 20, tree.pump)
