"""LibreOffice Calc as the export's checks use it: what kwizmar-wyniki wrote,
opened or printed by Calc headless, and the differences found, told at the end."""
import os
import subprocess
import sys


class Calc:
    def __init__(self, work):
        self.work = work
        # LibreOffice keeps its profile in HOME: one of our own, not the user's.
        self.env = dict(os.environ, HOME=os.path.join(work, "home"))
        self.problems = []

    def convert(self, source, folder, target_filter, *options):
        out = os.path.join(self.work, folder)
        subprocess.run(["soffice", "--headless", *options, "--convert-to", target_filter,
                        "--outdir", out, source],
                       check=True, env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        extension = target_filter.split(":")[0]
        return os.path.join(out, os.path.splitext(os.path.basename(source))[0] + "." + extension)

    def expect(self, what, got, wanted):
        if got != wanted:
            self.problems.append(f"{what}: {got!r}, expected {wanted!r}")

    def printed_text(self, xlsx):
        """The workbook printed, as pdftotext reads the paper."""
        printed = self.convert(xlsx, "printed", "pdf")
        return subprocess.run(["pdftotext", "-layout", printed, "-"], check=True,
                              capture_output=True, text=True).stdout

    def finish(self):
        if self.problems:
            print("\n".join(self.problems))
            sys.exit(1)
