"""What a test found: every check that failed, with what the accessibility
tree showed instead, so that one run tells all that is wrong."""

import sys


class Report:
    def __init__(self):
        self.failures = []

    def expect(self, ok, what, seen=None):
        if not ok:
            self.failures.append(what + (f"\n    seen: {seen}" if seen is not None else ""))
        return ok

    def fail(self, what, seen=None):
        self.expect(False, what, seen)

    def finish(self, extra=""):
        if not self.failures:
            print("all checks held")
            return 0
        print(f"{len(self.failures)} check(s) failed:", file=sys.stderr)
        for failure in self.failures:
            print(" - " + failure, file=sys.stderr)
        if extra:
            print(extra, file=sys.stderr)
        return 1
