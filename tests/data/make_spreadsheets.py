#!/usr/bin/python3
"""Writes the spreadsheet fixtures of tst_spreadsheets with programs other
than the program's own: openpyxl for an .xlsx with inline strings, LibreOffice
for an .xlsx with shared strings and for one .xls, xlwt for another .xls, and
Python's zipfile for a hand-written package with the rarer parts of the format
(rich text and phonetic runs, _xHHHH_ escapes, cells without references,
prefixed elements, numbers in exponent form).  Run from anywhere: /usr/bin/python3 tests/data/make_spreadsheets.py
(needs python3-openpyxl, python3-xlwt and libreoffice-calc-nogui)."""
import datetime
import os
import shutil
import subprocess
import tempfile
import zipfile

import openpyxl
from openpyxl.styles import Font

HERE = os.path.dirname(os.path.abspath(__file__))

# Row 1 is a header; row 3 has an empty cell in the middle; row 6 is missing
# (an empty row between two rows with values).
HEADER = ["استان", "شهرستان", "کد آبادي", "مقدار"]
ROWS = [
    ["تهران", "ري", 1234567890, 12.5],
    ["اصفهان", None, 987654321, -7],
    ["  نیم\u200cفاصله  ", "كرمان يزد", 0.1 + 0.2, 1e20],
    ["text 001", "0012", 0.0015, 100.0],
]
LAST = ["آخر", None, None, "D8"]


def write_xlsx(path):
    wb = openpyxl.Workbook()
    other = wb.active
    other.title = "Other"
    other["A1"] = "not this sheet"
    ws = wb.create_sheet("Sheet1")
    ws.append(HEADER)
    for r in ROWS:
        ws.append(r)
    # row 6 stays empty, row 7 has a date and a boolean, row 8 the last values
    ws["A7"] = datetime.date(2024, 1, 1)
    ws["B7"] = True
    for col, v in zip("ABCD", LAST):
        if v is not None:
            ws[col + "8"] = v
    # a formatted but empty cell far to the right and below does not count
    ws["Z20"].font = Font(bold=True)
    wb.save(path)


def write_single_persian_sheet(path):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "داده ها"
    ws.append(["یک", 2, "سه"])
    wb.save(path)


def write_broken(src, path):
    """A valid package whose sheet XML is cut in the middle."""
    with zipfile.ZipFile(src) as zin, zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as zout:
        for item in zin.infolist():
            data = zin.read(item.filename)
            if item.filename == "xl/worksheets/sheet2.xml":
                data = data[: len(data) // 2]
            zout.writestr(item, data)


HANDMADE = {
    "[Content_Types].xml": """<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>
<Default Extension="xml" ContentType="application/xml"/>
<Override PartName="/book/main.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>
<Override PartName="/book/sheets/data.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>
<Override PartName="/book/strings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>
</Types>""",
    "_rels/.rels": """<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="r1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="book/main.xml"/>
</Relationships>""",
    "book/_rels/main.xml.rels": """<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="s7" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="sheets/data.xml"/>
<Relationship Id="ss" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="strings.xml"/>
<Relationship Id="web" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/hyperlink" Target="http://example.invalid/" TargetMode="External"/>
</Relationships>""",
    "book/main.xml": """<?xml version="1.0" encoding="UTF-8"?>
<x:workbook xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"
 xmlns:rel="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
<x:sheets><x:sheet name="SHEET1" sheetId="3" rel:id="s7"/></x:sheets></x:workbook>""",
    "book/strings.xml": """<?xml version="1.0" encoding="UTF-8"?>
<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="4" uniqueCount="4">
<si><t>کد</t></si>
<si><r><rPr><b/></rPr><t>نام </t></r><r><t xml:space="preserve">آبادي</t></r><rPh sb="0" eb="1"><t>PHONETIC</t></rPh></si>
<si><t>line1_x000D__x000A_line2 _x005F_x0041_</t></si>
<si><t xml:space="preserve">  padded  </t></si>
</sst>""",
    "book/sheets/data.xml": """<?xml version="1.0" encoding="UTF-8"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<sheetData>
<row><c t="s"><v>0</v></c><c t="s"><v>1</v></c><c t="str"><f>A1</f><v>کد</v></c></row>
<row><c><v>1.23456789E+9</v></c><c t="s"><v>2</v></c><c t="inlineStr"><is><r><t>a</t></r><r><t>b</t></r></is></c></row>
<row><c r="B3"><v>0.30000000000000004</v></c><c t="s"><v>3</v></c><c t="e"><v>#N/A</v></c><c t="b"><v>0</v></c></row>
</sheetData>
<hyperlinks><hyperlink ref="A1" r:id="web" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"/></hyperlinks>
</worksheet>""",
}


def write_handmade(path):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, text in HANDMADE.items():
            z.writestr(name, text.encode("utf-8"))


def write_far_corner(path):
    """One cell at A1 and one at the last cell of a sheet: a tiny file that
    would pad to 17 billion cells when read whole."""
    parts = dict(HANDMADE)
    parts["book/sheets/data.xml"] = """<?xml version="1.0" encoding="UTF-8"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>
<row r="1"><c r="A1"><v>1</v></c></row>
<row r="1048576"><c r="XFD1048576"><v>2</v></c></row>
</sheetData></worksheet>"""
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, text in parts.items():
            z.writestr(name, text.encode("utf-8"))


def soffice_convert(src, fmt, dest):
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run(["soffice", "-env:UserInstallation=file://" + tmp + "/profile", "--headless",
                        "--convert-to", fmt, "--outdir", tmp + "/out", src],
                       check=True, stdout=subprocess.DEVNULL)
        out = os.path.join(tmp, "out", os.path.splitext(os.path.basename(src))[0] + "." + fmt.split(":")[0])
        shutil.copy(out, dest)


def write_xlwt(path):
    import xlwt

    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("Sheet1")
    for c, v in enumerate(HEADER):
        ws.write(0, c, v)
    for r, row in enumerate(ROWS, start=1):
        for c, v in enumerate(row):
            if v is not None:
                ws.write(r, c, v)
    for c, v in enumerate(LAST):
        if v is not None:
            ws.write(7, c, v)
    wb.save(path)


def main():
    xlsx = os.path.join(HERE, "spreadsheet_openpyxl.xlsx")
    write_xlsx(xlsx)
    write_single_persian_sheet(os.path.join(HERE, "spreadsheet_persian_sheet.xlsx"))
    write_broken(xlsx, os.path.join(HERE, "spreadsheet_broken.xlsx"))
    write_handmade(os.path.join(HERE, "spreadsheet_handmade.xlsx"))
    write_far_corner(os.path.join(HERE, "spreadsheet_far_corner.xlsx"))
    write_xlwt(os.path.join(HERE, "spreadsheet_xlwt.xls"))
    soffice_convert(xlsx, "xls", os.path.join(HERE, "spreadsheet_libreoffice.xls"))
    soffice_convert(xlsx, "xlsx", os.path.join(HERE, "spreadsheet_libreoffice.xlsx"))


if __name__ == "__main__":
    main()
