#!/usr/bin/python3
"""Reads a workbook with Gnumeric (Debian gnumeric): ssconvert -S writes
every sheet to a CSV file of its own, values as stored (format=raw), from
the first row and column with a value on; prints the values. What
ssconvert says goes to standard error."""

import os
import re
import subprocess
import sys
import tempfile

from reading import Reading, csv_sheet


def version():
    out = subprocess.run(["ssconvert", "--version"], capture_output=True, text=True).stdout
    match = re.search(r"version '([^']+)'", out)
    return match.group(1) if match else "?"


def main(path):
    with tempfile.TemporaryDirectory() as folder:
        result = subprocess.run(
            ["ssconvert", "-S", "-T", "Gnumeric_stf:stf_assistant",
             "-O", "separator=, format=raw eol=unix charset=UTF-8",
             path, os.path.join(folder, "%n.%s.csv")],
            capture_output=True, text=True)
        sys.stderr.write(result.stderr)
        if result.returncode != 0:
            sys.exit("ssconvert failed (%d)" % result.returncode)
        reading = Reading("gnumeric", version(), ["values", "from-first-value"])
        files = []
        for name in os.listdir(folder):
            number, _, rest = name.partition(".")
            files.append((int(number), rest[:-len(".csv")], name))
        for _, sheet, name in sorted(files):
            csv_sheet(reading, sheet, os.path.join(folder, name))


if __name__ == "__main__":
    main(sys.argv[1])
