"""LibreOffice Calc reads the analysis of the questions that kwizmar-wyniki
made of tests/data/answers-small: the CSV (as Polish settings open it: ";",
UTF-8) with its real numbers, and the XLSX with its cells' values, printed
with its header whole (pdftotext reads the paper)."""
import csv as csvfile
import os
import subprocess
import sys

import openpyxl

from calc import Calc

tool, log, work = sys.argv[1:4]
os.makedirs(work, exist_ok=True)
csv, xlsx = os.path.join(work, "pytania.csv"), os.path.join(work, "pytania.xlsx")
subprocess.run([tool, "pytania", log, "-o", csv], check=True)
subprocess.run([tool, "pytania", log, "-o", xlsx], check=True)

calc = Calc(work)
convert, expect, problems = calc.convert, calc.expect, calc.problems


def find(rows, *start):
    for row in rows:
        if tuple(row[:len(start)]) == start:
            return row
    problems.append(f"no row {start!r}")
    return [""] * 15


# The CSV: field separator ";", text in quotes, UTF-8, Polish language.
read = convert(csv, "from-csv", "xlsx", "--infilter=CSV:59,34,76,1,,1045,false,true")
rows = list(openpyxl.load_workbook(read).active.iter_rows(values_only=True))
expect("csv title", rows[0][0], "Analiza pytań: Historia")
expect("csv KR-20", find(rows, "KR-20")[1], -0.31)
question = find(rows, "Historia", 2)
expect("csv question", question[2:7], ("Kto był pierwszym królem Polski?", 6, "B", 33.3, -0.5))
expect("csv notes", question[14], "sprawdź klucz")

# The XLSX, written back as text the way Calc shows the cells.
shown = convert(xlsx, "from-xlsx", "csv:Text - txt - csv (StarCalc):59,34,76,1")
with open(shown, encoding="utf-8", newline="") as f:
    text = list(csvfile.reader(f, delimiter=";"))
question = find(text, "Historia", "5")
expect("xlsx question", [cell.replace(",", ".") for cell in question[3:7]],
       ["4", "E", "0.0", "0.00"])
expect("xlsx notes", question[14], "za trudne; sprawdź klucz")
expect("xlsx mean", find(text, "Średnio punktów")[1].replace(",", "."), "2.3")
# The workbook printed: the header whole on paper.
paper = calc.printed_text(xlsx)
for title in ("Łatwość %", "Moc różnicująca", "Wpisane dobrze", "Uwagi"):
    if title not in paper:
        problems.append(f"the printed workbook cuts the header {title!r}")
calc.finish()
