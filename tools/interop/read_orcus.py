#!/usr/bin/python3
"""Reads a workbook with orcus (Debian liborcus-bin: orcus-xlsx, the import
filter library of several applications), its checking dump of every cell;
prints the values and merges. The dump leaves out sheets without cells, so
the reading tells only the sheets that have some. orcus-xlsx 0.17 exits with
status 1 also when it has read the file and written the dump: the dump
tells."""

import os
import re
import subprocess
import sys
import tempfile

from reading import Reading, ref

CELL = re.compile(r"^(.*)/(\d+)/(\d+):([\w-]+):(.*)$")


def version():
    return subprocess.run(["dpkg-query", "-W", "-f", "${Version}", "liborcus-bin"],
                          capture_output=True, text=True).stdout or "?"


def unquote(text):
    if len(text) >= 2 and text[0] == '"' and text[-1] == '"':
        text = text[1:-1]
    return re.sub(r'\\(.)', r'\1', text)


def main(path):
    with tempfile.TemporaryDirectory() as folder:
        dump = os.path.join(folder, "dump.txt")
        result = subprocess.run(["orcus-xlsx", "-f", "check", "-o", dump, path],
                                capture_output=True, text=True)
        sys.stderr.write(result.stderr)
        if not os.path.exists(dump) or os.path.getsize(dump) == 0:
            sys.exit("orcus-xlsx failed (%d)" % result.returncode)
        reading = Reading("orcus", version(), ["values", "merges", "sheets-with-values"])
        sheet = None
        merges = {}  # (row, col) -> [width, height]
        with open(dump, encoding="utf-8") as f:
            for line in f:
                match = CELL.match(line.rstrip("\n"))
                if not match:
                    continue
                name, row, col, kind, value = match.groups()
                if name != sheet:
                    write_merges(reading, merges)
                    sheet = name
                    reading.sheet(name)
                row, col = int(row) + 1, int(col) + 1
                if kind in ("merge-width", "merge-height"):
                    merges.setdefault((row, col), [1, 1])[kind == "merge-height"] = int(value)
                elif kind == "numeric":
                    reading.number(row, col, float(value))
                elif kind == "string":
                    reading.text(row, col, unquote(value))
                else:
                    reading.text(row, col, "(%s) %s" % (kind, value))
        write_merges(reading, merges)


def write_merges(reading, merges):
    for (row, col), (width, height) in sorted(merges.items()):
        reading.merge(ref(row, col) + ":" + ref(row + height - 1, col + width - 1))
    merges.clear()


if __name__ == "__main__":
    main(sys.argv[1])
