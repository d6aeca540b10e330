#!/usr/bin/python3
"""Reads a workbook with Gnumeric (Debian gnumeric) into its own file
format (ssconvert to uncompressed Gnumeric XML), which keeps each cell in
its place: values, number formats, merges, frozen panes, filters and
links; prints the reading. What ssconvert says goes to standard error."""

import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

from read_gnumeric import version
from reading import Reading, ref

GNM = "{http://www.gnumeric.org/v10.dtd}"
NUMBER_TYPES = {"30", "40"}  # integer, float
TEXT_TYPE = "60"


def read_sheet(reading, sheet):
    reading.sheet(sheet.findtext(GNM + "Name"))
    values = {}
    for cell in sheet.iter(GNM + "Cell"):
        place = (int(cell.get("Row")) + 1, int(cell.get("Col")) + 1)
        kind, text = cell.get("ValueType"), cell.text or ""
        if kind in NUMBER_TYPES:
            reading.number(*place, float(text))
        elif kind == TEXT_TYPE:
            if text == "":
                continue
            reading.text(*place, text)
        elif kind is not None and kind != "10":  # 10: empty
            reading.text(*place, "(type %s) %s" % (kind, text))
        else:
            continue
        values[place] = True
    # Style regions tile the sheet: each value's format, and the links.
    formats = {}
    for region in sheet.iter(GNM + "StyleRegion"):
        top, left = int(region.get("startRow")) + 1, int(region.get("startCol")) + 1
        bottom, right = int(region.get("endRow")) + 1, int(region.get("endCol")) + 1
        style = region.find(GNM + "Style")
        if style is None:
            continue
        code = style.get("Format", "General")
        if (bottom - top + 1) * (right - left + 1) <= len(values):
            inside = [(r, c) for r in range(top, bottom + 1) for c in range(left, right + 1)
                      if (r, c) in values]
        else:
            inside = [(r, c) for (r, c) in values if top <= r <= bottom and left <= c <= right]
        for place in inside:
            formats[place] = code
        link = style.find(GNM + "HyperLink")
        if link is not None:
            for row in range(top, bottom + 1):
                for col in range(left, right + 1):
                    reading.link(ref(row, col), link.get("target"))
    for place in sorted(values):
        reading.format(*place, formats.get(place, "General"))
    for merge in sheet.iter(GNM + "Merge"):
        reading.merge(merge.text)
    frozen = sheet.find(GNM + "SheetLayout/" + GNM + "FreezePanes")
    if frozen is not None:
        reading.frozen(frozen.get("UnfrozenTopLeft"))
    for table in sheet.iter(GNM + "Filter"):
        reading.filter(table.get("Area"))


def main(path):
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "book.xml")
        result = subprocess.run(["ssconvert", "-T", "Gnumeric_XmlIO:sax:0", path, out],
                                capture_output=True, text=True)
        sys.stderr.write(result.stderr)
        if result.returncode != 0:
            sys.exit("ssconvert failed (%d)" % result.returncode)
        reading = Reading("gnumeric-file", version(),
                          ["values", "formats", "merges", "frozen", "filter", "links"])
        for event, element in ElementTree.iterparse(out):
            if element.tag == GNM + "Sheet":
                read_sheet(reading, element)
                element.clear()


if __name__ == "__main__":
    main(sys.argv[1])
