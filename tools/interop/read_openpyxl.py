#!/usr/bin/python3
"""Reads a workbook with openpyxl (Debian python3-openpyxl): values, number
formats, merges, frozen panes, filters and links; prints the reading."""

import sys
import warnings

import openpyxl

from reading import Reading


def main(path):
    warnings.simplefilter("ignore")
    book = openpyxl.load_workbook(path)
    reading = Reading("openpyxl", openpyxl.__version__,
                      ["values", "formats", "merges", "frozen", "filter", "links"])
    for sheet in book.worksheets:
        reading.sheet(sheet.title)
        for row in sheet.iter_rows():
            for cell in row:
                value = cell.value
                if value is None or value == "":
                    continue
                if isinstance(value, str):
                    reading.text(cell.row, cell.column, value)
                elif isinstance(value, (int, float)) and not isinstance(value, bool):
                    reading.number(cell.row, cell.column, value)
                else:
                    reading.text(cell.row, cell.column, "(%s) %s" % (type(value).__name__, value))
                reading.format(cell.row, cell.column, cell.number_format)
        for merge in sheet.merged_cells.ranges:
            reading.merge(merge.coord)
        if sheet.freeze_panes:
            reading.frozen(sheet.freeze_panes)
        if sheet.auto_filter.ref:
            reading.filter(sheet.auto_filter.ref)
        for row in sheet.iter_rows():
            for cell in row:
                if cell.hyperlink is not None:
                    reading.link(cell.coordinate, cell.hyperlink.location or cell.hyperlink.target)


if __name__ == "__main__":
    main(sys.argv[1])
