"""The main window and the other windows as a screen reader finds them: what
each object is and is called, and where the keyboard's focus is after each
key of a whole exam taken by keyboard."""

import re

import tree
from pupil import GRADE, LETTERS, PLAN, PUPIL, Pupil

NAME_FIELD = "Podaj swoje imię:"
TIME_FIELD = "Podaj czas trwania egzaminu:"
LEFT_BUTTONS = ("Opcje", "Start", "About", "Zamknij")
EMPTY_NAME = "Podaj imię użytkownika !!!"
# The clock read on request: its minutes and seconds in one name.
CLOCK = re.compile(r"(?i)czas\D*\b\d{1,2}:\d{2}\b")
# The controls a person reaches and must hear named.
CONTROLS = ("push button", "check box", "text")


def window_title(test):
    return re.compile(rf'^Kwizmar 2002 – "?{re.escape(test.name)}"?$')


def inside(node, window):
    x, y, w, h = node.extents()
    wx, wy, ww, wh = window.extents()
    cx, cy = x + w // 2, y + h // 2
    return w > 0 and h > 0 and wx <= cx < wx + ww and wy <= cy < wy + wh


def expect_focus(report, window, when, wanted, accept):
    """The focus is on `wanted` (accept(node) holds), and on an object a
    person can see: showing, in the window's area."""
    focus = tree.focused(window)
    if not report.expect(focus is not None, f"{when}: the focus is on {wanted}",
                         "no object of the window has the focus"):
        return None
    report.expect(accept(focus), f"{when}: the focus is on {wanted}", str(focus))
    report.expect(focus.showing and inside(focus, window),
                  f"{when}: the focused object is on screen (showing, inside the window)",
                  f"{focus} at {focus.extents()}, the window at {window.extents()}")
    return focus


def expect_one(report, window, role, name, what, showing=True):
    found = tree.find(window, role, name, showing)
    if not found:
        near = [str(n) for n in tree.find(window, role, None, showing)] or ["none"]
        report.fail(f"{what}: a {role} named {name!r}" if isinstance(name, str)
                    else f"{what}: a {role} named like /{name.pattern}/",
                    f"the {role}s: " + "; ".join(near[:12]))
        return None
    return found[0]


def expect_named_controls(report, window, what):
    for node in tree.nodes(window.obj, showing_only=True):
        if node.showing and node.role in CONTROLS:
            report.expect(bool(node.name), f"{what}: every {node.role} has a name", str(node))


def expect_no_inner_frames(report, window, what):
    inner = [str(n) for n in tree.nodes(window.obj)[1:] if n.role == "frame"]
    report.expect(not inner, f"{what}: no object inside the window is a frame",
                  "; ".join(inner[:8]) + (f" and {len(inner) - 8} more" if len(inner) > 8 else ""))


def start_page(ctx):
    """The window, its start page, the keyboard's way through its buttons and
    the message about a missing name."""
    report, window = ctx.report, ctx.window
    report.expect(window.role == "frame", "the main window is a frame", str(window))
    report.expect(bool(window_title(ctx.test).match(window.name)),
                  f"the main window is named \"Kwizmar 2002 – {ctx.test.name}\"", str(window))
    # The accessible name holds still while the title bar's banner moves on.
    names = set()
    titles = ctx.desktop.watch_title()
    tree.wait_for("the title bar scrolling", lambda: names.add(tree.Node(window.obj).name)
                  or len(titles.seen) >= 5, 10)
    report.expect(len(names) == 1, "the main window's name stays the same while the title scrolls",
                  f"names {sorted(names)} while the title bar showed {titles.seen[:5]}")
    expect_no_inner_frames(report, window, "the main window")

    expect_one(report, window, "text", NAME_FIELD, "the start page")
    expect_one(report, window, "spin button", TIME_FIELD, "the start page")
    expect_focus(report, window, "at start", f"the text {NAME_FIELD!r}",
                 lambda f: f.role == "text" and f.name == NAME_FIELD)
    for caption in LEFT_BUTTONS:
        button = expect_one(report, window, "push button", caption, "the left column")
        if button:
            report.expect("focusable" in button.states, f"the button {caption!r} takes the focus",
                          str(button))

    # Tab goes round every control and back to where it started.
    start = tree.focused(window)
    reached = []
    for _ in range(30):
        before = tree.focused(window)
        ctx.desktop.keys("Tab")
        focus = ctx.pupil.focus_becomes(lambda f: before is None or f.obj != before.obj)
        if focus is None:
            report.fail("Tab moves the focus", f"nothing has the focus after {reached}")
            break
        expect_focus(report, window, f"Tab to {focus}", "a control", lambda f: True)
        reached.append(focus.name)
        if start is None or focus.obj == start.obj:
            break
    for caption in LEFT_BUTTONS:
        report.expect(caption in reached, f"Tab reaches the button {caption!r}",
                      f"Tab went through {reached}")

    # Start without a name: the message, and the name field takes the keys again.
    ctx.desktop.keys("alt+s")
    message = tree.active_window(ctx.app, other_than=window)
    report.expect(any(EMPTY_NAME in n.name for n in tree.nodes(message.obj, showing_only=True)),
                  f"Start without a name says {EMPTY_NAME!r}", tree.dump(message))
    ctx.desktop.keys("Return")
    tree.wait_for("the message closing", lambda: "active" in tree.Node(window.obj).states, 10,
                  tree.pump)
    ctx.pupil.focus_becomes(lambda f: f.name == NAME_FIELD)
    expect_focus(report, window, "after the message about the name", f"the text {NAME_FIELD!r}",
                 lambda f: f.role == "text" and f.name == NAME_FIELD)
    return report


def answer_name(question, i):
    return f"{LETTERS[i]}: {question.answers[i]}"


def exam(ctx):
    """A whole exam by keyboard: the question, the answers, the form choice,
    the verdict and the summary as objects with their roles and names, and
    the focus after every step."""
    report, window = ctx.report, ctx.window

    def question_page(step, when):
        # The whole question in one name (the window puts its number before it).
        expect_one(report, window, "label", re.compile(re.escape(tree.norm(step.question.text))),
                   f"{when}: the question")
        expect_one(report, window, "label", CLOCK, f"{when}: the time left")

    def observe(step, window):
        if step.kind == "start":
            return  # the start page has a test of its own
        when = {"form": "the form choice", "question": "the question", "typing": "the typed answer",
                "picked": "the picked answer", "verdict": "the verdict",
                "summary": "the summary"}[step.kind]
        when = f"question {step.number}, {when}" if step.number else when
        if step.kind == "form":
            question_page(step, when)
            for form in ("samodzielna", "testowa"):
                expect_one(report, window, "radio button", form, when)
            expect_focus(report, window, when, "the radio button 'samodzielna'",
                         lambda f: f.role == "radio button" and f.name == "samodzielna")
        elif step.kind == "question":
            question_page(step, when)
            for i in range(len(LETTERS)):
                answer = expect_one(report, window, "radio button", answer_name(step.question, i),
                                    when)
                if answer:
                    report.expect("checked" not in answer.states,
                                  f"{when}: no answer is picked yet", str(answer))
            expect_focus(report, window, when, "answer A", lambda f: f.role == "radio button"
                         and f.name == answer_name(step.question, 0))
        elif step.kind == "typing":
            expect_focus(report, window, when, "the typed-answer field",
                         lambda f: f.role == "text" and bool(f.name))
        elif step.kind == "picked":
            letter = PLAN[step.number - 1][1]
            name = answer_name(step.question, LETTERS.index(letter))
            expect_focus(report, window, when, f"the checked radio button {name!r}",
                         lambda f: f.role == "radio button" and f.name == name
                         and "checked" in f.states)
        elif step.kind == "verdict":
            focus = expect_focus(report, window, when, "the verdict's OK",
                                 lambda f: f.role == "push button" and f.name == "OK")
            verdict = [f"Gratuluję {PUPIL}"] if step.right else [
                f"Niestety {PUPIL}", step.question.answers[step.question.correct]]
            panel = focus.parent() if focus else None
            report.expect(panel is not None and all(tree.norm(v) in panel.name for v in verdict),
                          f"{when}: the OK's panel is named with the verdict {verdict}",
                          str(panel))
            expect_one(report, window, "label", re.compile(
                rf"(?i)zdobyt\D*\b{step.gained}\b"), f"{when}: the points gained")
        elif step.kind == "summary":
            expect_focus(report, window, when, "the push button 'Egzaminuj ...'",
                         lambda f: f.role == "push button" and f.name == "Egzaminuj ...")
            expect_one(report, window, "label", GRADE, f"{when}: the grade")
            statistics = expect_one(report, window, "push button", "Statystyki", when)
            if statistics:
                report.expect("focusable" in statistics.states,
                              f"{when}: the button 'Statystyki' takes the focus", str(statistics))

    # The clock is read when asked; it doesn't call out every second.
    ticks = []

    def on_name(event):
        try:
            name = tree.norm(event.source.name)
        except Exception:  # gone since (a page that closed)
            return
        if CLOCK.search(name):
            ticks.append(name)

    tree.listen(on_name, "object:property-change:accessible-name")
    ctx.pupil.observe = observe
    ctx.pupil.take_exam()
    tree.pump()
    report.expect(not ticks, "the time left sends no event as it runs", ticks[:5])
    return report


def windows(ctx):
    """The statistics after an exam, the options and the about window: each a
    named frame whose controls are named."""
    report, window = ctx.report, ctx.window
    ctx.pupil.take_exam()
    for key, what in (("alt+s", "the statistics"), ("alt+e", None), ("alt+o", "the options"),
                      ("alt+u", "the about window")):
        ctx.desktop.keys(key)
        if what is None:  # "Egzaminuj ...": back to the start page
            ctx.pupil.wait_shown("the start page", re.compile(re.escape(NAME_FIELD.rstrip(":"))))
            continue
        other = tree.active_window(ctx.app, other_than=window)
        report.expect(other.role == "frame" and bool(other.name),
                      f"{what}: the window is a frame with a name", str(other))
        expect_no_inner_frames(report, other, what)
        expect_named_controls(report, other, what)
        ctx.desktop.keys("alt+F4")
        tree.wait_for(f"{what} closing", lambda: "active" in tree.Node(window.obj).states, 10,
                      tree.pump)
    return report


def make_pupil(ctx):
    return Pupil(ctx.desktop, ctx.app, ctx.window, ctx.test)
