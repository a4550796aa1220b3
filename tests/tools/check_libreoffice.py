"""LibreOffice Calc reads what kwizmar-wyniki made of tests/data/export-small:
the CSV (as Polish settings open it: ";", UTF-8) with its numbers, dates and
Polish letters, and the XLSX with its typed columns, and prints the XLSX with
its header whole (pdftotext reads the paper)."""
import csv as csvfile
import datetime
import os
import subprocess
import sys

import openpyxl

from calc import Calc

tool, log, work = sys.argv[1:4]
os.makedirs(work, exist_ok=True)
csv, xlsx = os.path.join(work, "wyniki.csv"), os.path.join(work, "wyniki.xlsx")
subprocess.run([tool, "csv", log, "-o", csv], check=True)
subprocess.run([tool, "xlsx", log, "-o", xlsx], check=True)

calc = Calc(work)
convert, expect, problems = calc.convert, calc.expect, calc.problems


# The CSV: field separator ";", text in quotes, UTF-8, Polish language.
read = convert(csv, "from-csv", "xlsx", "--infilter=CSV:59,34,76,1,,1045,false,true")
rows = list(openpyxl.load_workbook(read).active.iter_rows(values_only=True))
expect("csv columns", len(rows[0]), 14)
expect("csv name", rows[1][1], 'Zażółć "Jaś"; Gęślą')
expect("csv number", rows[1][0], 1)
expect("csv date", rows[1][3], datetime.datetime(2002, 5, 6))
expect("csv time", rows[1][4], datetime.time(10, 15))
expect("csv points", rows[1][9:12], (30, 75, 10))
expect("csv edited line", rows[3][13], 'Kowalski "Jan" 5; wpisane ręcznie')

# The XLSX, written back as text the way Calc shows the cells.
shown = convert(xlsx, "from-xlsx", "csv:Text - txt - csv (StarCalc):59,34,76,1")
with open(shown, encoding="utf-8", newline="") as f:
    text = list(csvfile.reader(f, delimiter=";"))
expect("xlsx first row", text[1][:5],
       ["1", 'Zażółć "Jaś"; Gęślą', "Geografia Polski", "06.05.2002", "10:15:00"])
expect("xlsx duration and points", text[1][8:12], ["0:08:00", "30", "75", "10"])
# The workbook printed: every header whole on paper, not cut by a narrow column.
paper = calc.printed_text(xlsx)
header = next(openpyxl.load_workbook(xlsx).active.iter_rows(values_only=True))
for title in header:
    if title not in paper:
        problems.append(f"the printed workbook cuts the header {title!r}")
calc.finish()
