#!/usr/bin/python3
"""Prints what an .xlsx file holds, read with openpyxl, as tab-separated lines.

Used by the tests (src/testing/xlsx_reader.h) as a reader independent of the
code that writes the file. Run it with Debian's /usr/bin/python3, which has
python3-openpyxl.

Lines, fields separated by tabs; backslash, tab, newline and carriage return
inside a field are written as \\\\, \\t, \\n and \\r:
  book    ACTIVE_SHEET
  sheet   NAME  TAB_SELECTED(0|1)  ACTIVE_CELL
  width   COLUMN_NUMBER  WIDTH          (only columns given a width)
  merge   A1_RANGE
  cell    ROW  COLUMN  KIND(e|n|s|b)  VALUE  NUMBER_FORMAT  HORIZONTAL  FILL
          BOLD(0|1)  FONT_SIZE  then style and colour of the top, left,
          right and bottom borders
Colours are RRGGBB for an RGB colour, "indexed:N" or "theme:N" otherwise,
and empty for none. Numbers are written so that they read back exactly.
Given several files, it prints their books one after another, each beginning
with its book line (one interpreter start for many files).
"""

import sys
import warnings


def escape(value):
    text = "" if value is None else str(value)
    return (text.replace("\\", "\\\\").replace("\t", "\\t")
            .replace("\n", "\\n").replace("\r", "\\r"))


def line(*fields):
    sys.stdout.write("\t".join(escape(f) for f in fields) + "\n")


def colour(color):
    if color is None:
        return ""
    kind = getattr(color, "type", None)
    if kind == "rgb":
        rgb = color.rgb
        if not isinstance(rgb, str):
            return ""
        return rgb[-6:].upper()
    if kind == "indexed":
        return "indexed:%d" % color.indexed
    if kind == "theme":
        return "theme:%d" % color.theme
    return ""


def number_text(value):
    if isinstance(value, bool):
        return "1" if value else "0"
    if isinstance(value, int):
        return str(value)
    return repr(float(value))


def dump(path):
    import openpyxl
    from openpyxl.worksheet.worksheet import Worksheet

    # openpyxl replaces the cells of a merged block, all but the first, with
    # blank cells that lose the formats the file gives them. Keep them as
    # the file has them: their fills and borders are part of what is checked.
    Worksheet._clean_merge_range = lambda self, merged: None

    book = openpyxl.load_workbook(path)
    line("book", book.active.title if book.active is not None else "")
    for sheet in book.worksheets:
        view = sheet.sheet_view
        active_cell = ""
        if view.selection:
            active_cell = view.selection[0].activeCell or ""
        line("sheet", sheet.title, "1" if view.tabSelected else "0", active_cell)
        for dimension in sheet.column_dimensions.values():
            if not dimension.customWidth or dimension.width is None:
                continue
            first = dimension.min or openpyxl.utils.column_index_from_string(dimension.index)
            last = dimension.max or first
            for column in range(first, last + 1):
                line("width", column, repr(float(dimension.width)))
        for merged in sheet.merged_cells.ranges:
            line("merge", merged.coord)
        for (row, column) in sorted(sheet._cells):
            cell = sheet._cells[(row, column)]
            value = cell.value
            if value is None:
                kind, text = "e", ""
            elif isinstance(value, bool):
                kind, text = "b", number_text(value)
            elif isinstance(value, (int, float)):
                kind, text = "n", number_text(value)
            else:
                kind, text = "s", str(value)
            fill = ""
            if cell.fill is not None and cell.fill.fill_type == "solid":
                fill = colour(cell.fill.fgColor)
            font = cell.font
            sides = []
            for side in (cell.border.top, cell.border.left, cell.border.right,
                         cell.border.bottom):
                if side is None or side.style is None:
                    sides += ["", ""]
                else:
                    sides += [side.style, colour(side.color)]
            line("cell", row, column, kind, text, cell.number_format or "General",
                 cell.alignment.horizontal or "", fill, "1" if font.b else "0",
                 repr(float(font.sz)) if font.sz is not None else "11.0", *sides)


def main():
    if len(sys.argv) < 2:
        sys.stderr.write("usage: xlsx_dump.py FILE.xlsx [FILE.xlsx ...]\n")
        return 2
    warnings.simplefilter("ignore")
    for path in sys.argv[1:]:
        try:
            dump(path)
        except Exception as error:  # the caller shows the message with the file name
            sys.stderr.write("cannot read %s: %s\n" % (path, error))
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
