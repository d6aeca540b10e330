#!/usr/bin/python3
"""Reads a workbook with pandas (Debian python3-pandas) as people script
it, every sheet into a frame without a heading row; prints the values."""

import math
import sys
import warnings

import pandas

from reading import Reading


def main(path):
    warnings.simplefilter("ignore")
    frames = pandas.read_excel(path, sheet_name=None, header=None)
    reading = Reading("pandas", pandas.__version__, ["values"])
    for name, frame in frames.items():
        reading.sheet(name)
        # A frame's first row and column are the sheet's first ones: pandas
        # keeps the rows and columns before the first value.
        for row, values in enumerate(frame.itertuples(index=False), start=1):
            for col, value in enumerate(values, start=1):
                if isinstance(value, str):
                    if value != "":
                        reading.text(row, col, value)
                elif isinstance(value, (int, float)) and not isinstance(value, bool):
                    if not math.isnan(value):
                        reading.number(row, col, value)
                elif value is not None:
                    reading.text(row, col, "(%s) %s" % (type(value).__name__, value))


if __name__ == "__main__":
    main(sys.argv[1])
