#!/usr/bin/env python3
"""Writes the workbook sources (.fods / .csv), the expected cell texts (expected/*.json) and
converts the sources to .xls with LibreOffice:

    python3 tests/data/xls/make_fixtures.py      (needs soffice on PATH)

The expected texts are what a seller sees in the cell: numbers in general form with up to
15 significant digits, text unchanged, formula cells showing their result, merged-away and
empty cells empty."""
import json
import os
import subprocess
import sys
from xml.sax.saxutils import escape, quoteattr

HERE = os.path.dirname(os.path.abspath(__file__))
SRC = os.path.join(HERE, "src")
EXPECTED = os.path.join(HERE, "expected")

HEAD = """<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:body><office:spreadsheet>
"""
TAIL = "</office:spreadsheet></office:body></office:document>\n"


def num_text(v):
    if v == int(v) and abs(v) < 1e15:
        return str(int(v))
    return "%.15g" % v


# A cell is None (empty), a number, a str, ("f", formula, value) or ("merge", value, cols, rows).
def cell_xml(c):
    if c is None:
        return "<table:table-cell/>"
    if isinstance(c, tuple) and c[0] == "f":
        formula, value = c[1], c[2]
        if isinstance(value, bool):
            return ('<table:table-cell table:formula=%s office:value-type="boolean" '
                    'office:boolean-value="%s"><text:p>%s</text:p></table:table-cell>'
                    % (quoteattr(formula), "true" if value else "false", "TRUE" if value else "FALSE"))
        if isinstance(value, str):
            return ('<table:table-cell table:formula=%s office:value-type="string" '
                    'office:string-value=%s><text:p>%s</text:p></table:table-cell>'
                    % (quoteattr(formula), quoteattr(value), escape(value)))
        return ('<table:table-cell table:formula=%s office:value-type="float" office:value="%r">'
                '<text:p>%s</text:p></table:table-cell>' % (quoteattr(formula), value, num_text(value)))
    if isinstance(c, tuple) and c[0] == "merge":
        _, value, cols, rows = c
        inner = cell_xml(value)
        return inner.replace("<table:table-cell", '<table:table-cell table:number-columns-spanned="%d" '
                             'table:number-rows-spanned="%d"' % (cols, rows), 1)
    if c == "covered":
        return "<table:covered-table-cell/>"
    if isinstance(c, bool):
        return ('<table:table-cell office:value-type="boolean" office:boolean-value="%s">'
                '<text:p>%s</text:p></table:table-cell>' % ("true" if c else "false", "TRUE" if c else "FALSE"))
    if isinstance(c, (int, float)):
        return ('<table:table-cell office:value-type="float" office:value="%r"><text:p>%s</text:p>'
                '</table:table-cell>' % (c, num_text(c)))
    paras = "".join("<text:p>%s</text:p>" % escape(p) for p in c.split("\n"))
    return '<table:table-cell office:value-type="string">%s</table:table-cell>' % paras


def expected_text(c):
    if c is None or c == "covered":
        return ""
    if isinstance(c, tuple) and c[0] == "merge":
        return expected_text(c[1])
    if isinstance(c, tuple) and c[0] == "f":
        # A fourth item is what the file really stores as the result.
        return c[3] if len(c) > 3 else expected_text(c[2])
    if isinstance(c, bool):
        return "TRUE" if c else "FALSE"
    if isinstance(c, (int, float)):
        return num_text(c)
    return c


def write_fods(name, sheets):
    with open(os.path.join(SRC, name + ".fods"), "w", encoding="utf-8") as f:
        f.write(HEAD)
        for sheet_name, rows in sheets:
            f.write("<table:table table:name=%s>\n" % quoteattr(sheet_name))
            for row in rows:
                f.write("<table:table-row>" + "".join(cell_xml(c) for c in row) + "</table:table-row>\n")
            f.write("</table:table>\n")
        f.write(TAIL)
    write_expected(name, sheets)


def write_expected(name, sheets):
    out = {"sheets": []}
    for sheet_name, rows in sheets:
        grid = [[expected_text(c) for c in row] for row in rows]
        out["sheets"].append({"name": sheet_name, "rows": grid})
    with open(os.path.join(EXPECTED, name + ".json"), "w", encoding="utf-8") as f:
        json.dump(out, f, ensure_ascii=False, indent=1)
        f.write("\n")


def numbers():
    values = [12, 12.5, 1200, 0, -5, 100, 99.99, 1999.5, 123456789, -123456789,
              536870911, -536870912, 536870912, -536870913, 10000000000, 6901234567890,
              0.5, 1.2, 0.1, -2.75, 3.14159265358979, 1234567.891, 0.000123, 1e-10, 1e20,
              -0.01, 2147483647, 4294967296]
    rows = [["名称", "数值"]] + [["v%d" % i, v] for i, v in enumerate(values)]
    write_fods("numbers", [("数值", rows)])


def text():
    rows = [
        ["中文", "商品名称：真丝连衣裙"],
        ["ascii", "Plain ASCII text"],
        ["latin1", "Café Müller niño £5 ©®½"],
        ["mixed", "ÄÖÜ-品牌-ß"],
        ["quotes", 'He said "yes", then left'],
        ["newline", "line one\nline two"],
        ["spaces", "  padded  "],
        ["symbols", "€ 100 — ok"],
        ["digits", "007"],
    ]
    write_fods("text", [("Text", rows)])


def sheets():
    goods = [
        ["商品编号", "商品名称", "货号", "Yv价", "库存"],
        [1001, "羊毛围巾", None, 59, 10],
        [1002, None, "A-2", None, 3],
        [("merge", "合并单元格", 3, 1), "covered", "covered", 12.5, None],
        [None, None, None, None, "last"],
    ]
    formulas = [
        [2, 3, ("f", "of:=[.A1]+[.B1]", 5)],
        # LibreOffice stores no text result for a text formula: the file holds the number 0.
        ["a", "b", ("f", "of:=[.A2]&[.B2]", "ab", "0")],
        [1.5, 4, ("f", "of:=[.A3]*[.B3]", 6)],
        [("f", "of:=[.A1]>[.B1]", False), ("f", "of:=[.A1]<[.B1]", True), ("f", "of:=[.A1]/3", 2 / 3)],
    ]
    empty = []
    third = [["第三页"], [None], [None, "B3"]]
    write_fods("sheets", [("商品", goods), ("公式", formulas), ("Empty", empty), ("第三页", third)])


def longsst():
    rows = [["名称", "Description"]]
    for i in range(400):
        rows.append(["商品名称第%d号" % i,
                     "Latin description of item number %05d, padded out a little" % i])
    write_fods("longsst", [("Long", rows)])


def products_csv():
    rows = [
        ["商品名称", "货号", "Yv价", "市场价", "库存", "毛重", "外部ID"],
        ["纯棉T恤 白色", "TS-001", "59", "99", "120", "0.3", "OUT-1"],
        ["真皮钱包", "WL-7", "188", "299", "15", "1.2", "OUT-2"],
        ["Kaffeebecher Größe L", "KB-L", "25", "35", "0", "", "OUT-3"],
    ]
    path = os.path.join(SRC, "products.csv")
    with open(path, "w", encoding="utf-8", newline="") as f:
        for r in rows:
            f.write(",".join(r) + "\r\n")
    # The CSV import turns numeric-looking fields into numbers.
    def conv(s):
        try:
            v = float(s)
        except ValueError:
            return s if s else None
        return int(v) if v == int(v) else v
    grid = [rows[0]] + [[conv(s) for s in r] for r in rows[1:]]
    write_expected("products", [("products", grid)])


def convert():
    fods = sorted(os.path.join(SRC, n) for n in os.listdir(SRC) if n.endswith(".fods"))
    subprocess.run(["soffice", "--headless", "--convert-to", "xls", "--outdir", HERE] + fods,
                   check=True)
    subprocess.run(["soffice", "--headless", "--infilter=CSV:44,34,76,1", "--convert-to", "xls",
                    "--outdir", HERE, os.path.join(SRC, "products.csv")], check=True)


if __name__ == "__main__":
    os.makedirs(SRC, exist_ok=True)
    os.makedirs(EXPECTED, exist_ok=True)
    numbers()
    text()
    sheets()
    longsst()
    products_csv()
    if "--no-convert" not in sys.argv:
        convert()
