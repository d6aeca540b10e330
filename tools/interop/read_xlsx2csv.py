#!/usr/bin/python3
"""Reads a workbook with xlsx2csv (Debian xlsx2csv, its own parser), every
sheet to CSV with numbers as stored (--ignore-formats float); prints the
values."""

import csv
import importlib.machinery
import importlib.util
import io
import shutil
import sys

from reading import Reading


def load_xlsx2csv():
    # Debian ships the converter as a program only; its class is the API.
    path = shutil.which("xlsx2csv") or "/usr/bin/xlsx2csv"
    loader = importlib.machinery.SourceFileLoader("xlsx2csv", path)
    module = importlib.util.module_from_spec(importlib.util.spec_from_loader("xlsx2csv", loader))
    loader.exec_module(module)
    return module


def main(path):
    xlsx2csv = load_xlsx2csv()
    converter = xlsx2csv.Xlsx2csv(path, ignore_formats=["float"])
    reading = Reading("xlsx2csv", xlsx2csv.__version__, ["values"])
    for sheet in converter.workbook.sheets:
        out = io.StringIO(newline="")
        converter.convert(out, sheetid=sheet["index"])
        reading.sheet(sheet["name"])
        out.seek(0)
        for row, fields in enumerate(csv.reader(out), start=1):
            for col, field in enumerate(fields, start=1):
                if field != "":
                    reading.untyped(row, col, field)


if __name__ == "__main__":
    main(sys.argv[1])
