"""One screen reader's test of the program, as ctest runs it:

    run.py CASE PROGRAM TEST_FOLDER

CASE is start_page, exam, windows or orca. The test runs in a session bus of
its own (it starts itself again under dbus-run-session), on a desktop of its
own (desktop.py), with the program on TEST_FOLDER/geografia.ts2. It exits 0
when every check held, 1 with the failed ones listed, 77 (skipped) where the
machine lacks a tool it needs."""

import os
import sys
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import desktop  # noqa: E402
from report import Report  # noqa: E402

SKIP = 77
CASES = ("start_page", "exam", "windows", "orca")


class Context:
    """What a test works with: the desktop, the program's application and
    main window on the bus, the sample test, the pupil."""


def main(case, program, folder):
    desktop.die_with_parent()
    desk = desktop.Desktop()
    ctx, log = Context(), None
    ctx.report = Report()
    try:
        desk.start()
        # Only now: the library finds the accessibility bus when first loaded.
        import checks
        import orca_exam
        import pupil
        import tree

        ctx.desktop = desk
        ctx.test = pupil.read_source(os.path.join(folder, "zrodla", "geografia.txt"))
        if case == "orca":
            log = ctx.speech = desktop.SpeechLog()
            orca_exam.start_orca(desk, log)
        desk.run_program(program, os.path.join(folder, "geografia.ts2"))
        ctx.app = tree.application()
        ctx.window = tree.main_window(ctx.app)
        ctx.pupil = checks.make_pupil(ctx)
        run = {"start_page": checks.start_page, "exam": checks.exam, "windows": checks.windows,
               "orca": orca_exam.exam}[case]
        run(ctx)
        return ctx.report.finish(orca_exam.transcript(log) if log and ctx.report.failures else "")
    except Exception:  # a step that couldn't go on: say where, and what was on screen
        traceback.print_exc()
        ctx.report.finish()
        try:
            import tree

            if getattr(ctx, "app", None):
                for window in tree.windows(ctx.app):
                    if window.showing:
                        print("On screen:\n" + tree.dump(window), file=sys.stderr)
        except Exception as error:  # the program may be gone
            print(f"(no tree: {error})", file=sys.stderr)
        if log:
            print(orca_exam.transcript(log), file=sys.stderr)
        print("The program's output:\n" + desk.log("kwizmar.log")[-4000:], file=sys.stderr)
        return 1
    finally:
        desk.close()


if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[1] not in CASES:
        sys.exit(f"usage: {sys.argv[0]} {{{'|'.join(CASES)}}} PROGRAM TEST_FOLDER")
    if os.environ.get("KWIZMAR_ATSPI_SESSION") != str(os.getppid()):
        missing = desktop.missing_tools(["orca"] if sys.argv[1] == "orca" else [])
        if missing:
            print("skipped: not installed: " + ", ".join(missing))
            sys.exit(SKIP)
        # Marked with this process's id, which dbus-run-session keeps as the
        # parent of the run below.
        os.environ["KWIZMAR_ATSPI_SESSION"] = str(os.getpid())
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable, *sys.argv])
    sys.exit(main(*sys.argv[1:]))
