#!/usr/bin/env python3
"""Compares two workbooks part by part: the same parts in the same order,
each with the same bytes once inflated. The time the workbook was made
(docProps/core.xml's created and modified) may differ, nothing else.

    tools/compare_parts.py A.xlsx B.xlsx

Exit status 0 when they agree, 1 when they differ (each difference named).
"""
import re
import sys
import zipfile

TIMES = re.compile(rb'(<dcterms:(created|modified)[^>]*>)[^<]*(</dcterms:\2>)')


def parts(path):
    with zipfile.ZipFile(path) as book:
        return [(info.filename, book.read(info)) for info in book.infolist()]


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    a, b = parts(sys.argv[1]), parts(sys.argv[2])
    differences = []
    if [name for name, _ in a] != [name for name, _ in b]:
        differences.append("the parts differ: %s against %s" % ([n for n, _ in a], [n for n, _ in b]))
    else:
        for (name, x), (_, y) in zip(a, b):
            if name == "docProps/core.xml":
                x, y = TIMES.sub(rb"\1\3", x), TIMES.sub(rb"\1\3", y)
            if x != y:
                differences.append("%s differs" % name)
    for difference in differences:
        print("compare_parts: %s" % difference)
    print("compare_parts: %d parts, %d differ" % (len(a), len(differences)))
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())
