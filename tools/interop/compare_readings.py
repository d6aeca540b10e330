#!/usr/bin/python3
"""Compares a reader's reading of a workbook with the model's reading of it
(statcrane-model describes the form) and prints every difference with its
sheet and cell.

  compare_readings.py MODEL.tsv READING.tsv [--limit N]

Only the facts the reader says it reads (its "reads" line) are compared:
values (every cell with a number or a text, and nothing else), formats
(number formats of those cells), merges, frozen, filter, links. Sheets are
compared by name and, unless the reading is "sheets-unordered", by order; a
reading that is "sheets-with-values" tells only the sheets that have a
value. A reading that is "from-first-value" gives each sheet's values from
its first row and column with a value on (as a CSV file of the used range
does): its cells are moved down and right to the model's first ones, and
differences are told in the model's places.
Texts must be the same; numbers the same double (to 15 significant digits
for a reader that says "digits 15"). A reader that gives values untyped
("?", from CSV) is compared by what the text says: a number where the model
has a number, a text where it has a text.

A reader's own known faults (a fault of the reader, not of the file, listed
in KNOWN_FAULTS) are counted and printed, not taken as differences. Exit
status 0 when the reading matches, 1 otherwise, 2 for an unreadable
reading.
"""

import argparse
import math
import re
import sys

from reading import column_name, unescape


class Sheet:
    def __init__(self, name):
        self.name = name
        self.cells = {}    # "A1" -> (kind, text)
        self.formats = {}  # "A1" -> format code
        self.merges = set()
        self.frozen = ""
        self.filter = ""
        self.links = {}    # "A1" -> location


class ReadingFile:
    def __init__(self, path):
        self.reader, self.version = "?", "?"
        self.reads = set()
        self.digits = 17
        self.sheets = []
        sheet = None
        with open(path, encoding="utf-8", newline="\n") as f:
            for number, line in enumerate(f, start=1):
                fields = [unescape(x) for x in line.rstrip("\n").split("\t")]
                kind, rest = fields[0], fields[1:]
                if kind == "reader":
                    self.reader, self.version = rest[0], rest[1] if len(rest) > 1 else "?"
                elif kind == "reads":
                    self.reads = set(rest[0].split()) if rest else set()
                elif kind == "digits":
                    self.digits = int(rest[0])
                elif kind == "sheet":
                    sheet = Sheet(rest[0])
                    self.sheets.append(sheet)
                elif sheet is None:
                    raise ValueError("%s:%d: %s before any sheet" % (path, number, kind))
                elif kind == "cell":
                    sheet.cells[rest[0]] = (rest[1], rest[2] if len(rest) > 2 else "")
                elif kind == "format":
                    sheet.formats[rest[0]] = rest[1] if len(rest) > 1 else ""
                elif kind == "merge":
                    sheet.merges.add(normal_range(rest[0]))
                elif kind == "frozen":
                    sheet.frozen = normal_range(rest[0])
                elif kind == "filter":
                    sheet.filter = normal_range(rest[0])
                elif kind == "link":
                    sheet.links[rest[0]] = normal_location(rest[1])
                else:
                    raise ValueError("%s:%d: unknown line %r" % (path, number, kind))


def normal_range(text):
    return text.replace("$", "").upper()


def normal_location(text):
    """"#'O''Neil'!$A$5" -> "O'Neil!A5"."""
    text = text[1:] if text.startswith("#") else text
    sheet, bang, cell = text.rpartition("!")
    if not bang:
        return text
    if len(sheet) >= 2 and sheet[0] == "'" and sheet[-1] == "'":
        sheet = sheet[1:-1].replace("''", "'")
    return sheet + "!" + normal_range(cell)


def normal_format(code):
    return "General" if code in ("", None) or code.lower() == "general" else code


def as_number(text):
    try:
        value = float(text)
    except ValueError:
        return None
    return value if math.isfinite(value) else None


def same_number(model, read, digits):
    if read is None:
        return False
    if digits >= 17:
        return read == model
    return abs(read - model) <= abs(model) * 10.0 ** (1 - digits)


# Faults of a reader that do not come from the file: (reader, what, test of
# the model's cell and the reader's, each (kind, text) or None).
KNOWN_FAULTS = [
    ("readxl", "reads a text of only spaces as no value (also with trim_ws = FALSE and "
     "no na strings)",
     lambda model, read: model is not None and model[0] == "s" and model[1].strip(" ") == ""
     and read is None),
]


class Comparison:
    def __init__(self, model, reading, limit):
        self.model, self.reading, self.limit = model, reading, limit
        self.differences = 0
        self.known = {}  # what -> [count, first place]
        self.compared = {"cells": 0, "formats": 0, "merges": 0, "links": 0}

    def differ(self, where, message):
        self.differences += 1
        if self.differences <= self.limit:
            print("  %s: %s" % (where, message))

    def known_fault(self, where, model_cell, read_cell):
        for reader, what, test in KNOWN_FAULTS:
            if reader == self.reading.reader and test(model_cell, read_cell):
                entry = self.known.setdefault(what, [0, where])
                entry[0] += 1
                return True
        return False

    def run(self):
        reads = self.reading.reads
        model_names = [s.name for s in self.model.sheets]
        read_names = [s.name for s in self.reading.sheets]
        if "sheets-with-values" in reads:
            model_names = [s.name for s in self.model.sheets if s.cells]
        if "sheets-unordered" in reads:
            if sorted(model_names) != sorted(read_names):
                self.differ("sheets", "read %s, the model has %s" % (sorted(read_names),
                                                                     sorted(model_names)))
        elif model_names != read_names:
            self.differ("sheets", "read %s, the model has %s" % (read_names, model_names))
        read_sheets = {s.name: s for s in self.reading.sheets}
        for sheet in self.model.sheets:
            read = read_sheets.get(sheet.name)
            if read is None and not sheet.cells and "sheets-with-values" in reads:
                continue
            if read is None:
                self.differ("sheet %s" % sheet.name, "not read")
                continue
            if "values" in reads:
                self.values(sheet, read)
            if "formats" in reads:
                self.formats(sheet, read)
            if "merges" in reads:
                self.compared["merges"] += len(sheet.merges)
                for merge in sorted(sheet.merges - read.merges):
                    self.differ("%s!%s" % (sheet.name, merge), "merge not read")
                for merge in sorted(read.merges - sheet.merges):
                    self.differ("%s!%s" % (sheet.name, merge), "a merge the model does not have")
            for fact in ("frozen", "filter"):
                if fact in reads and getattr(sheet, fact) != getattr(read, fact):
                    self.differ("sheet %s" % sheet.name, "%s %r, the model has %r" % (
                        fact, getattr(read, fact), getattr(sheet, fact)))
            if "links" in reads:
                self.compared["links"] += len(sheet.links)
                for cell in sorted(set(sheet.links) | set(read.links), key=cell_order):
                    got, want = read.links.get(cell), sheet.links.get(cell)
                    if got != want:
                        self.differ("%s!%s" % (sheet.name, cell),
                                    "link to %r, the model has %r" % (got, want))

    def values(self, sheet, read):
        digits = self.reading.digits
        read_cells = read.cells
        if "from-first-value" in self.reading.reads and sheet.cells:
            # Told in the model's places: the reader's moved down and right.
            places = [cell_order(cell) for cell in sheet.cells]
            top, left = min(p[0] for p in places), min(p[1] for p in places)
            read_cells = {}
            for cell, value in read.cells.items():
                row, col, _ = cell_order(cell)
                read_cells[column_name(col + left - 1) + str(row + top - 1)] = value
        for cell in sorted(set(sheet.cells) | set(read_cells), key=cell_order):
            want, got = sheet.cells.get(cell), read_cells.get(cell)
            where = "%s!%s" % (sheet.name, cell)
            if want is not None:
                self.compared["cells"] += 1
            if want == got:
                continue
            if want is not None and got is not None:
                if want[0] == "n" and got[0] in ("n", "?") and same_number(
                        float(want[1]), as_number(got[1]), digits):
                    continue
                if want[0] == "s" and got[0] in ("s", "?") and want[1] == got[1]:
                    continue
            if self.known_fault(where, want, got):
                continue
            self.differ(where, "read %s, the model has %s" % (shown(got), shown(want)))

    def formats(self, sheet, read):
        for cell, code in sheet.formats.items():
            if cell not in read.cells:
                continue  # a missing value is told already
            self.compared["formats"] += 1
            got = normal_format(read.formats.get(cell))
            if got != normal_format(code):
                self.differ("%s!%s" % (sheet.name, cell),
                            "number format %r, the model has %r" % (got, code))


def cell_order(ref):
    match = re.match(r"([A-Z]+)(\d+)$", ref)
    if not match:
        return (0, 0, ref)
    col = 0
    for letter in match.group(1):
        col = col * 26 + ord(letter) - ord("A") + 1
    return (int(match.group(2)), col, "")


def shown(cell):
    if cell is None:
        return "nothing"
    kind = {"n": "number", "s": "text", "?": "value"}.get(cell[0], cell[0])
    return "%s %r" % (kind, cell[1])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("model")
    parser.add_argument("reading")
    parser.add_argument("--limit", type=int, default=20)
    args = parser.parse_args()
    try:
        model = ReadingFile(args.model)
        reading = ReadingFile(args.reading)
    except (OSError, ValueError, IndexError) as error:
        print("cannot read: %s" % error)
        return 2
    comparison = Comparison(model, reading, args.limit)
    comparison.run()
    if comparison.differences > args.limit:
        print("  ... %d differences in all" % comparison.differences)
    for what, (count, where) in comparison.known.items():
        print("  known fault of %s, not from the file: %s: %d cells (the first %s)" % (
            reading.reader, what, count, where))
    compared = ", ".join("%d %s" % (n, what) for what, n in comparison.compared.items() if n)
    compared = compared or "nothing"
    print("%s %s (reads %s): %s compared, %s" % (
        reading.reader, reading.version, " ".join(sorted(reading.reads)), compared,
        "%d differences" % comparison.differences if comparison.differences else "the same"))
    return 1 if comparison.differences else 0


if __name__ == "__main__":
    sys.exit(main())
