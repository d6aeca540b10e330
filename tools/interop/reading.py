"""The reading form shared by the readers of tools/interop and the model
(statcrane-model describes the lines): writing one, and a reading made
from CSV files, for the applications that give a sheet as CSV."""

import csv
import sys


def escape(value):
    text = "" if value is None else str(value)
    return (text.replace("\\", "\\\\").replace("\t", "\\t")
            .replace("\n", "\\n").replace("\r", "\\r"))


def unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            out.append({"\\": "\\", "t": "\t", "n": "\n", "r": "\r"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def column_name(col):
    """1 -> A, 27 -> AA."""
    name = ""
    while col > 0:
        col, rest = divmod(col - 1, 26)
        name = chr(ord("A") + rest) + name
    return name


def ref(row, col):
    return column_name(col) + str(row)


class Reading:
    """Writes a reading to standard output, one fact a line."""

    def __init__(self, reader, version, reads, out=None):
        self.out = out or sys.stdout
        self.line("reader", reader, version)
        self.line("reads", " ".join(reads))

    def line(self, *fields):
        self.out.write("\t".join(escape(f) for f in fields) + "\n")

    def sheet(self, name):
        self.line("sheet", name)

    def number(self, row, col, value):
        self.line("cell", ref(row, col), "n", repr(float(value)))

    def text(self, row, col, value):
        self.line("cell", ref(row, col), "s", value)

    def untyped(self, row, col, value):
        """A value as text of a reader that tells numbers and texts apart
        only by how they look (CSV)."""
        self.line("cell", ref(row, col), "?", value)

    def format(self, row, col, code):
        self.line("format", ref(row, col), code)

    def merge(self, a1_range):
        self.line("merge", a1_range)

    def frozen(self, cell):
        self.line("frozen", cell)

    def filter(self, a1_range):
        self.line("filter", a1_range)

    def link(self, cell, location):
        self.line("link", cell, location)


def csv_sheet(reading, name, path, encoding="utf-8"):
    """The non-empty fields of one sheet's CSV file as untyped cells."""
    reading.sheet(name)
    with open(path, newline="", encoding=encoding) as f:
        for row, fields in enumerate(csv.reader(f), start=1):
            for col, field in enumerate(fields, start=1):
                if field != "":
                    reading.untyped(row, col, field)
