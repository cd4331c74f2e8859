"""Compares the caches of every chart reference with the cells it names, reading the embedded
workbooks with openpyxl: a check of the chart model by an independent spreadsheet reader.

Usage: series_cells.py PRESENTATION...; prints one line per difference, exits 1 when any.
Exits 77 when openpyxl is missing, so the calling test can skip."""
import datetime
import io
import posixpath
import re
import sys
import zipfile
import xml.etree.ElementTree as ET

try:
    import openpyxl
except ImportError:
    sys.exit(77)

C = "{http://schemas.openxmlformats.org/drawingml/2006/chart}"
R = "{http://schemas.openxmlformats.org/officeDocument/2006/relationships}"
REL = "{http://schemas.openxmlformats.org/package/2006/relationships}"
AREA = re.compile(r"^(?:'((?:[^']|'')+)'|([^!']+))!\$?([A-Z]+)\$?(\d+)(?::\$?([A-Z]+)\$?(\d+))?$")


def column_number(letters):
    number = 0
    for letter in letters:
        number = number * 26 + ord(letter) - 64
    return number


def cells_of(formula):
    match = AREA.match(formula)
    if not match:
        return None, []
    sheet = (match.group(1) or "").replace("''", "'") or match.group(2)
    first_col, first_row = column_number(match.group(3)), int(match.group(4))
    last_col = column_number(match.group(5)) if match.group(5) else first_col
    last_row = int(match.group(6)) if match.group(6) else first_row
    return sheet, [(r, c) for r in range(first_row, last_row + 1)
                   for c in range(first_col, last_col + 1)]


def serial(moment):
    """A date cell as the serial number the chart caches (1900 date system)."""
    if isinstance(moment, datetime.datetime):
        delta = moment - datetime.datetime(1899, 12, 30)
        return delta.days + delta.seconds / 86400
    if isinstance(moment, datetime.date):
        return (moment - datetime.date(1899, 12, 30)).days
    if isinstance(moment, datetime.time):
        return (moment.hour * 3600 + moment.minute * 60 + moment.second) / 86400
    return moment


def same(cached, cell, numeric):
    cell = serial(cell)
    if cell is None or cell == "":
        return cached is None
    if isinstance(cell, bool):
        cell = 1 if cell else 0
    if isinstance(cell, (int, float)):
        if cached is None:
            return False
        try:
            return abs(float(cached) - float(cell)) <= 1e-9 * max(1.0, abs(float(cell)))
        except ValueError:
            return not numeric
    if numeric:
        return cached is None  # text in a value cell is a gap
    return cached == str(cell)


def check(path):
    problems = []
    with zipfile.ZipFile(path) as package:
        names = set(package.namelist())
        for part in sorted(n for n in names if re.match(r"ppt/charts/chart\d+\.xml$", n)):
            rels_name = posixpath.join(posixpath.dirname(part), "_rels",
                                       posixpath.basename(part) + ".rels")
            root = ET.fromstring(package.read(part))
            external = root.find(C + "externalData")
            if external is None or rels_name not in names:
                continue
            rels = ET.fromstring(package.read(rels_name))
            target = None
            for rel in rels.iter(REL + "Relationship"):
                if rel.get("Id") == external.get(R + "id") and rel.get("TargetMode") != "External":
                    target = posixpath.normpath(posixpath.join(posixpath.dirname(part),
                                                               rel.get("Target")))
            if target is None or not target.endswith(".xlsx"):
                continue
            embedded = package.read(target)
            with zipfile.ZipFile(io.BytesIO(embedded)) as inner:
                if any(b"spreadsheetml/2006/5/main" in inner.read(name)
                       for name in inner.namelist() if name.startswith("xl/worksheets/")):
                    continue  # the pre-release namespace of Office 2007 beta: openpyxl sees no cells
            workbook = openpyxl.load_workbook(io.BytesIO(embedded), data_only=True)
            for series in root.iter(C + "ser"):
                for element in ("tx", "cat", "val", "xVal", "yVal", "bubbleSize"):
                    for kind, cache_name in (("numRef", "numCache"), ("strRef", "strCache")):
                        ref = series.find(f"{C}{element}/{C}{kind}")
                        if ref is None:
                            continue
                        formula = ref.findtext(C + "f")
                        sheet, cells = cells_of(formula)
                        if sheet is None or sheet not in workbook.sheetnames:
                            continue
                        if element == "tx":
                            cells = cells[:1]
                        cache = ref.find(C + cache_name)
                        points = {int(p.get("idx")): p.findtext(C + "v")
                                  for p in cache.iter(C + "pt")}
                        count = int(cache.find(C + "ptCount").get("val"))
                        # The spreadsheet program leaves trailing blanks out of text caches.
                        short = kind == "strRef" and count < len(cells) and all(
                            workbook[sheet].cell(row=r, column=c).value in (None, "")
                            for r, c in cells[count:])
                        if element != "tx" and count != len(cells) and not short:
                            problems.append(f"{path}: {part}: {formula}: ptCount {count}, "
                                            f"{len(cells)} cells")
                        for index, (row, column) in enumerate(cells):
                            value = workbook[sheet].cell(row=row, column=column).value
                            if not same(points.get(index), value, kind == "numRef"):
                                problems.append(f"{path}: {part}: {formula}: point {index} "
                                                f"caches {points.get(index)!r}, cell holds "
                                                f"{value!r}")
    return problems


def main():
    problems = [line for path in sys.argv[1:] for line in check(path)]
    for line in problems:
        print(line)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
