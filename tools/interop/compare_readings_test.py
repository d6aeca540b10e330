#!/usr/bin/python3
"""Tests of compare_readings.py: what a reader misreads is told with its
sheet and cell; what it cannot tell (CSV's types, a used range's origin,
sheets without values) and its known faults are not taken for
differences."""

import contextlib
import io
import os
import sys
import tempfile
import unittest

import compare_readings

MODEL = """reader\tmodel\t1.0.0
reads\tvalues formats merges frozen filter links
sheet\tTeam Records
cell\tC2\ts\tEast
format\tC2\tGeneral
cell\tD2\tn\t0.333
format\tD2\t#.000
cell\tE2\ts\t 
format\tE2\tGeneral
merge\tC1:E1
frozen\tA2
filter\tC1:E2
link\tC2\tO'Neil!A5
sheet\tEmpty
"""


def run(reading, model=MODEL):
    with tempfile.TemporaryDirectory() as folder:
        paths = []
        for name, text in (("model.tsv", model), ("reading.tsv", reading)):
            paths.append(os.path.join(folder, name))
            with open(paths[-1], "w", encoding="utf-8") as f:
                f.write(text)
        out = io.StringIO()
        sys.argv = ["compare_readings.py"] + paths
        with contextlib.redirect_stdout(out):
            status = compare_readings.main()
        return status, out.getvalue()


def reading(reader, reads, body, sheets=("Team Records", "Empty")):
    """The body is "Team Records"'s."""
    lines = ["reader\t%s\t1" % reader, "reads\t%s" % reads]
    for sheet in sheets:
        lines += ["sheet\t%s" % sheet] + (body if sheet == "Team Records" else [])
    return "\n".join(lines) + "\n"


FULL = ["cell\tC2\ts\tEast", "format\tC2\tgeneral", "cell\tD2\tn\t0.333", "format\tD2\t#.000",
        "cell\tE2\ts\t ", "merge\t$C$1:$E$1", "frozen\tA2", "filter\tC1:E2",
        "link\tC2\t#'O''Neil'!$A$5"]


class CompareReadingsTest(unittest.TestCase):
    def test_a_faithful_reading_in_other_spellings_is_the_same(self):
        status, out = run(reading("r", "values formats merges frozen filter links", FULL))
        self.assertEqual(status, 0, out)

    def test_each_misreading_is_told_with_sheet_and_cell(self):
        body = ["cell\tB2\ts\tEast", "cell\tD2\tn\t0.3330000000000001", "format\tD2\t0.000",
                "cell\tE2\ts\t ", "merge\tC1:D1", "link\tC2\tO'Neil!A6"]
        status, out = run(reading("r", "values formats merges frozen filter links", body))
        self.assertEqual(status, 1)
        for told in ("Team Records!B2: read text 'East', the model has nothing",
                     "Team Records!C2: read nothing, the model has text 'East'",
                     "Team Records!D2: read number '0.3330000000000001'",
                     "Team Records!D2: number format '0.000', the model has '#.000'",
                     "Team Records!C1:E1: merge not read",
                     "Team Records!C1:D1: a merge the model does not have",
                     "sheet Team Records: frozen '', the model has 'A2'",
                     "Team Records!C2: link to \"O'Neil!A6\""):
            self.assertIn(told, out)

    def test_sheets_out_of_order_or_missing(self):
        status, out = run(reading("r", "values", FULL[:5], sheets=("Empty", "Team Records")))
        self.assertEqual(status, 1)
        self.assertIn("sheets: read ['Empty', 'Team Records']", out)
        status, out = run(reading("r", "values sheets-unordered", FULL[:5],
                                  sheets=("Empty", "Team Records")))
        self.assertEqual(status, 0, out)
        status, out = run(reading("r", "values sheets-with-values", FULL[:5],
                                  sheets=("Team Records",)))
        self.assertEqual(status, 0, out)

    def test_csv_values_from_the_first_value_at_fifteen_digits(self):
        body = ["cell\tA1\t?\tEast", "cell\tB1\t?\t0.333000000000000", "cell\tC1\t?\t "]
        status, out = run(reading("r", "values from-first-value", body).replace(
            "reads\tvalues from-first-value", "reads\tvalues from-first-value\ndigits\t15"))
        self.assertEqual(status, 0, out)
        # A whole sheet moved one column is still told.
        body = ["cell\tB1\t?\tEast", "cell\tC1\t?\t0.333", "cell\tD1\t?\t "]
        status, out = run(reading("r", "values", body))
        self.assertEqual(status, 1)
        self.assertIn("Team Records!B1: read value 'East', the model has nothing", out)

    def test_a_known_fault_is_listed_not_failed(self):
        body = FULL[:4]  # E2, a text of one space, read as nothing
        status, out = run(reading("readxl", "values", body))
        self.assertEqual(status, 0, out)
        self.assertIn("known fault of readxl, not from the file: reads a text of only spaces", out)
        status, out = run(reading("openpyxl", "values", body))
        self.assertEqual(status, 1)
        self.assertIn("Team Records!E2: read nothing, the model has text ' '", out)


if __name__ == "__main__":
    unittest.main()
