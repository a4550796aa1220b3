"""Has kwizmar-wyniki make a workbook of tests/data/export-small, reads it with
openpyxl, as a spreadsheet would, and checks its cells' types and values."""
import datetime
import os
import subprocess
import sys

import openpyxl

tool, log, work = sys.argv[1:4]
os.makedirs(work, exist_ok=True)
path = os.path.join(work, "wyniki.xlsx")
subprocess.run([tool, "xlsx", log, "-o", path], check=True)
book = openpyxl.load_workbook(path)
sheet = book["Wyniki"]
rows = list(sheet.iter_rows(values_only=True))
problems = []


def expect(what, got, wanted):
    if got != wanted:
        problems.append(f"{what}: {got!r}, expected {wanted!r}")


expect("rows", len(rows), 4)
expect("header", rows[0][:3], ("Nr", "Imię", "Test"))
expect("frozen", sheet.freeze_panes, "A2")
expect("filter", sheet.auto_filter.ref, "A1:N4")
for column in "ABCDEFGHIJKLMN":
    if sheet.column_dimensions[column].width in (None, 0):
        problems.append(f"column {column} has no width")
first, second, edited = rows[1], rows[2], rows[3]
expect("number", first[0], 1)
expect("name", first[1], 'Zażółć "Jaś"; Gęślą')
expect("test", first[2], "Geografia Polski")
expect("date", first[3], datetime.datetime(2002, 5, 6))
expect("time", first[4], datetime.time(10, 15, 0))
expect("header numbers", first[5:8], (10, 20, 40))
expect("duration", first[8], datetime.timedelta(minutes=8))
expect("points and percent", first[9:12], (30, 75, 10))
expect("grade", first[12], "dostatecznie dobry")
expect("date in another format", second[3], "5/6/02")
expect("no percentage", second[10], None)
expect("edited line", edited[:13], (None,) * 13)
expect("edited line's text", edited[13], 'Kowalski "Jan" 5; wpisane ręcznie')
if problems:
    print("\n".join(problems))
    sys.exit(1)
