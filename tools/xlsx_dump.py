#!/usr/bin/python3
"""Prints what an .xlsx file holds, read with openpyxl, as tab-separated lines.

Used by the tests (src/testing/xlsx_reader.h) as a reader independent of the
code that writes the file. Run it with Debian's /usr/bin/python3, which has
python3-openpyxl.

Lines, fields separated by tabs; backslash, tab, newline and carriage return
inside a field are written as \\\\, \\t, \\n and \\r:
  book    ACTIVE_SHEET
  property  NAME  VALUE          (title, creator, created, application,
                                  app_version; those the file has)
  name    NAME  SHEET_INDEX  VALUE  HIDDEN(0|1)   (defined names as the
                                  workbook part has them)
  sheet   NAME  TAB_SELECTED(0|1)  ACTIVE_CELL
  pane    TOP_LEFT_CELL          (frozen rows or columns: the first cell
                                  that scrolls)
  filter  A1_RANGE               (the auto filter's table)
  page    ORIENTATION  FIT_TO_PAGE(0|1)  FIT_WIDTH  FIT_HEIGHT
                                 (only a sheet with a page setup; a fit
                                  left out in the file is printed as 1)
  footer  LEFT  CENTER  RIGHT    (the odd pages' footer, in the file's codes)
  titles  ROWS                   (rows printed on every page, "$1:$1")
  break   ROW                    (a manual page break after that row)
  width   COLUMN_NUMBER  WIDTH          (only columns given a width)
  merge   A1_RANGE
  link    CELL  LOCATION  TARGET (a hyperlink: a place in the workbook,
                                  "'A'!A5", or an outside target)
  cell    ROW  COLUMN  KIND(e|n|s|b)  VALUE  NUMBER_FORMAT  HORIZONTAL  FILL
          BOLD(0|1)  FONT_SIZE  then style and colour of the top, left,
          right and bottom borders
  font    ROW  COLUMN  FONT_COLOUR  UNDERLINE(0|1)   (after its cell, only for
                                  a cell with a font colour or underline)
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


def dump_properties(path, book):
    """The document's properties and the workbook part's defined names."""
    import zipfile
    from xml.etree import ElementTree

    props = book.properties
    for name, value in (("title", props.title), ("creator", props.creator),
                        ("created", props.created)):
        if value is not None:
            line("property", name, value.strftime("%Y-%m-%dT%H:%M:%SZ")
                 if hasattr(value, "strftime") else value)
    main = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
    extended = ("{http://schemas.openxmlformats.org/officeDocument/2006/"
                "extended-properties}")
    with zipfile.ZipFile(path) as package:
        names = package.namelist()
        if "docProps/app.xml" in names:
            app = ElementTree.fromstring(package.read("docProps/app.xml"))
            for tag, name in (("Application", "application"),
                              ("AppVersion", "app_version")):
                element = app.find(extended + tag)
                if element is not None:
                    line("property", name, element.text or "")
        workbook = ElementTree.fromstring(package.read("xl/workbook.xml"))
        defined = workbook.find(main + "definedNames")
        for element in (defined if defined is not None else []):
            line("name", element.get("name"), element.get("localSheetId", ""),
                 element.text or "",
                 "1" if element.get("hidden") in ("1", "true") else "0")


def dump_print_settings(sheet):
    """Frozen panes, the filter, the page, footer, title rows, row breaks."""
    if sheet.freeze_panes:
        line("pane", sheet.freeze_panes)
    if sheet.auto_filter.ref:
        line("filter", sheet.auto_filter.ref)
    setup = sheet.page_setup
    fit = sheet.sheet_properties.pageSetUpPr
    fit_to_page = fit is not None and bool(fit.fitToPage)
    if setup.orientation or fit_to_page:
        width = setup.fitToWidth if setup.fitToWidth is not None else 1
        height = setup.fitToHeight if setup.fitToHeight is not None else 1
        line("page", setup.orientation or "default", "1" if fit_to_page else "0",
             width, height)
    footer = sheet.oddFooter
    if footer.left.text or footer.center.text or footer.right.text:
        line("footer", footer.left.text or "", footer.center.text or "",
             footer.right.text or "")
    if sheet.print_title_rows:
        line("titles", sheet.print_title_rows)
    for brk in sheet.row_breaks.brk:
        line("break", brk.id)


def dump(path):
    import openpyxl
    from openpyxl.worksheet.worksheet import Worksheet

    # openpyxl replaces the cells of a merged block, all but the first, with
    # blank cells that lose the formats the file gives them. Keep them as
    # the file has them: their fills and borders are part of what is checked.
    Worksheet._clean_merge_range = lambda self, merged: None

    book = openpyxl.load_workbook(path)
    line("book", book.active.title if book.active is not None else "")
    dump_properties(path, book)
    for sheet in book.worksheets:
        view = sheet.sheet_view
        active_cell = ""
        # With frozen panes the active pane's selection is the one that counts.
        for selection in view.selection:
            if view.pane is None or selection.pane == view.pane.activePane:
                active_cell = selection.activeCell or ""
                break
        line("sheet", sheet.title, "1" if view.tabSelected else "0", active_cell)
        dump_print_settings(sheet)
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
            link = sheet._cells[(row, column)].hyperlink
            if link is not None:
                line("link", "%s%d" % (openpyxl.utils.get_column_letter(column), row),
                     link.location or "", link.target or "")
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
            font_colour = colour(font.color)
            if font_colour or font.u:
                line("font", row, column, font_colour, "1" if font.u else "0")


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
