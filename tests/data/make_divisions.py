#!/usr/bin/python3
"""Writes the country-division fixtures of tst_abadiha with programs other than
the program's own: openpyxl for the .xlsx files, LibreOffice (soffice
--convert-to) and xlwt for the .xls files.  Run from anywhere:
/usr/bin/python3 tests/data/make_divisions.py
(needs python3-openpyxl, python3-xlwt and libreoffice-calc-nogui; with --cells
only the formula and error-cell fixtures, which need openpyxl alone)."""
import os
import shutil
import subprocess
import sys
import tempfile

import openpyxl

HERE = os.path.dirname(os.path.abspath(__file__))

# The seven columns in the table's order: province, county, city, district,
# rural district, village, settlement code.
HEADER = ["استان", "شهرستان", "شهر", "بخش", "دهستان", "روستا", "کد آبادي"]
ROWS = [
    # Arabic yeh and kaf as the stored lists write them; the code as a number cell.
    ["كرمان", "كرمان", "كرمان", "مركزي", "اختيارآباد", "باغين", 1234567890],
    # Persian yeh and kaf; blanks around a name; the code as a text cell.
    ["کرمان", " راین ", "راین", "مرکزی", "راین", "دهنو", "0012"],
    ["تهران", "ري", "ري", "كهريزك", "قلعه نو", "قلعه نو", 2301],
    # Two settlements with every name alike and different codes.
    ["تهران", "ري", "ري", "كهريزك", "قلعه نو", "قلعه نو", 2302],
    # A city row: no district, rural district or village.
    ["اصفهان", "كاشان", "كاشان", None, None, None, 1001],
]


def workbook(rows, header=True, sheet="Sheet1"):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = sheet
    if header:
        ws.append(HEADER)
    for r in rows:
        ws.append(r)
    return wb


def soffice_convert(src, fmt, dest):
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run(["soffice", "-env:UserInstallation=file://" + tmp + "/profile", "--headless",
                        "--convert-to", fmt, "--outdir", tmp + "/out", src],
                       check=True, stdout=subprocess.DEVNULL)
        out = os.path.join(tmp, "out", os.path.splitext(os.path.basename(src))[0] + "." + fmt.split(":")[0])
        shutil.copy(out, dest)


def write_xlwt(path, rows):
    import xlwt

    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("Sheet1")
    for r, row in enumerate(rows):
        for c, v in enumerate(row):
            if v is not None:
                ws.write(r, c, v)
    wb.save(path)


def with_stored_results(path, results):
    """Gives formula cells the result Excel saves with them (openpyxl saves
    formulas without one): results maps a cell ("G4") to (type, value), type
    "n" for a number and "str" for a text."""
    import re
    import zipfile

    part = "xl/worksheets/sheet1.xml"
    with zipfile.ZipFile(path) as z:
        items = [(i, z.read(i.filename)) for i in z.infolist()]
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for info, data in items:
            if info.filename == part:
                xml = data.decode("utf-8")
                for ref, (kind, value) in results.items():
                    attr = ' t="str"' if kind == "str" else ""
                    xml, n = re.subn(r'<c r="%s"><f>(.*?)</f><v\s*/?>(</v>)?' % ref,
                                     lambda m: '<c r="%s"%s><f>%s</f><v>%s</v>' % (ref, attr, m.group(1), value), xml)
                    assert n == 1, ref
                data = xml.encode("utf-8")
            z.writestr(info, data)


def write_cell_fixtures():
    """Formula and error cells, and a header below a blank first row."""
    # The rows of ROWS with the third row's code and city written as formulas,
    # saved with their results as Excel saves them.
    rows = [list(r) for r in ROWS]
    rows[2][6] = "=2300+1"
    rows[2][2] = '="ر"&"ي"'
    path = os.path.join(HERE, "divisions_formulas.xlsx")
    workbook(rows).save(path)
    with_stored_results(path, {"G4": ("n", "2301"), "C4": ("str", "ري")})
    # The same code formula without its result.
    workbook(rows).save(os.path.join(HERE, "divisions_formula_no_result.xlsx"))
    with_stored_results(os.path.join(HERE, "divisions_formula_no_result.xlsx"), {"C4": ("str", "ري")})
    # Error values: the county of row 7 and the village of row 8.
    workbook(ROWS + [["فارس", "#N/A", "شيراز", "مركزي", "", "", 7001],
                     ["فارس", "شيراز", "شيراز", "مركزي", "", "#REF!", 7002]]).save(
        os.path.join(HERE, "divisions_error_cells.xlsx"))
    # A blank first row, the header on the second.
    wb = workbook(ROWS)
    wb.active.insert_rows(1)
    wb.save(os.path.join(HERE, "divisions_header_second_row.xlsx"))


def main():
    write_cell_fixtures()
    if "--cells" in sys.argv:
        return
    good = os.path.join(HERE, "divisions_openpyxl.xlsx")
    workbook(ROWS).save(good)
    # The same workbook saved as .xls by LibreOffice.
    soffice_convert(good, "xls", os.path.join(HERE, "divisions_libreoffice.xls"))
    # Without a header row, written by xlwt.
    write_xlwt(os.path.join(HERE, "divisions_xlwt_noheader.xls"), ROWS)
    # The last row lacks its county.
    workbook(ROWS + [["فارس", None, "شيراز", "مركزي", "", "", 7001]]).save(
        os.path.join(HERE, "divisions_bad_last_row.xlsx"))
    # The last row's village is longer than the column allows (150).
    workbook(ROWS + [["فارس", "شيراز", "شيراز", "مركزي", "د", "ر" * 151, 7002]]).save(
        os.path.join(HERE, "divisions_long_last_row.xlsx"))
    # Only six columns (no settlement code).
    workbook([r[:6] for r in ROWS], header=False).save(os.path.join(HERE, "divisions_six_columns.xlsx"))
    # An eighth cell in the last row.
    workbook(ROWS + [["فارس", "شيراز", "شيراز", "مركزي", "د", "ر", 7003, "زياد"]]).save(
        os.path.join(HERE, "divisions_eight_columns.xlsx"))
    # 1234 settlements, for the batches and the progress.
    many = [["استان %d" % (i % 31), "شهرستان %d" % (i % 400), "شهر", "بخش", "دهستان %d" % i, "روستا %d" % i,
             100000 + i] for i in range(1234)]
    workbook(many).save(os.path.join(HERE, "divisions_many.xlsx"))


if __name__ == "__main__":
    main()
