#!/usr/bin/python3
"""Reads a workbook with LibreOffice Calc (headless, Debian
libreoffice-calc-nogui): every sheet to a CSV file of its own, values as
stored (LibreOffice writes 15 significant digits); prints the values. The
files are named by sheet, so the reading does not tell the sheets' order."""

import os
import re
import subprocess
import sys
import tempfile

from reading import Reading, csv_sheet

# Comma, double quote, UTF-8, from line 1, values as stored not as shown,
# every sheet (-1) to a file of its own.
CSV_FILTER = "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1"


def version():
    out = subprocess.run(["soffice", "--version"], capture_output=True, text=True).stdout
    match = re.search(r"LibreOffice ([0-9.]+)", out)
    return match.group(1) if match else "?"


def main(path):
    with tempfile.TemporaryDirectory() as folder:
        # A profile of its own, so that it runs as root and beside any other
        # LibreOffice.
        result = subprocess.run(
            ["soffice", "-env:UserInstallation=file://" + os.path.join(folder, "profile"),
             "--headless", "--norestore", "--convert-to", CSV_FILTER,
             "--outdir", os.path.join(folder, "csv"), os.path.abspath(path)],
            capture_output=True, text=True)
        if result.returncode != 0 or not os.path.isdir(os.path.join(folder, "csv")):
            sys.stderr.write(result.stdout + result.stderr)
            sys.exit("soffice failed (%d)" % result.returncode)
        reading = Reading("libreoffice", version(), ["values", "sheets-unordered"])
        reading.line("digits", "15")
        stem = os.path.splitext(os.path.basename(path))[0] + "-"
        for name in sorted(os.listdir(os.path.join(folder, "csv"))):
            sheet = name[len(stem):-len(".csv")]
            csv_sheet(reading, sheet, os.path.join(folder, "csv", name))


if __name__ == "__main__":
    main(sys.argv[1])
