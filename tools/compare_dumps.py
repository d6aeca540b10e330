#!/usr/bin/python3
"""Compares two workbook dumps of tools/xlsx_dump.py block by block.

  compare_dumps.py OLD.txt NEW.txt [--clean-values] [--encyclopedia FOLDER]

Sheets added or removed are a problem; a sheet's selection, widths and view
and print settings (frozen panes, filter, page, footer, title rows, row
breaks, links) are counted when they differ.

The letter sheets are compared player block by player block (a block starts at
a name row: A merged over A:E; it is known by its player id in R), so a block
that grows or shrinks does not make every later block differ; the player
summary sheets line by line, each line known by its player's name and how
often that name came before; every other sheet cell by cell.

--clean-values counts a number that became the decimal it denotes (the old
value was that decimal widened from single precision, as 0.30000001192092896
for 0.3) apart from other changes.

--encyclopedia FOLDER reads ENCPLSTATS.DAT there and lists the players whose
sections mix hitting and pitching lines or hold lines of another kind: the
players whose blocks may change when such sections are written apart. Blocks
of other players that differ are reported as unexpected.

Exit status 0 when nothing differs beyond what the options allow, 1 otherwise.
"""

import collections
import os
import struct
import sys

LETTER_SHEETS = {chr(c) for c in range(ord("A"), ord("Z") + 1)} | {"#"}
# Dump lines of a sheet's view and print settings (not its cells).
SETTINGS = {"pane", "filter", "page", "footer", "titles", "break", "link"}
SUMMARY_PREFIXES = ("Hit", "Pitch")


def unescape(field):
    out, i = [], 0
    while i < len(field):
        c = field[i]
        if c == "\\" and i + 1 < len(field):
            out.append({"\\": "\\", "t": "\t", "n": "\n", "r": "\r"}[field[i + 1]])
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


class Sheet:
    def __init__(self, name, selected, active_cell):
        self.name = name
        self.selected = selected
        self.active_cell = active_cell
        self.widths = {}
        self.merges = []
        self.cells = {}  # (row, col) -> tuple of fields after row/col
        self.settings = []  # the view and print settings' lines, as dumped


def parse(path):
    books = {"active": None, "sheets": []}
    sheet = None
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = [unescape(x) for x in line.rstrip("\n").split("\t")]
            kind = fields[0]
            if kind == "book":
                books["active"] = fields[1]
            elif kind == "sheet":
                sheet = Sheet(fields[1], fields[2], fields[3])
                books["sheets"].append(sheet)
            elif kind == "width":
                sheet.widths[int(fields[1])] = fields[2]
            elif kind == "merge":
                sheet.merges.append(fields[1])
            elif kind == "cell":
                sheet.cells[(int(fields[1]), int(fields[2]))] = tuple(fields[3:])
            elif kind == "font":  # the font colour and underline of the cell before
                at = (int(fields[1]), int(fields[2]))
                sheet.cells[at] = sheet.cells[at] + ("font",) + tuple(fields[3:])
            elif kind in SETTINGS and sheet is not None:
                sheet.settings.append(tuple(fields))
    return books


def widened(value):
    return struct.unpack("<f", struct.pack("<f", value))[0]


def same_but_clean(old, new):
    """True when the cells differ only by a value made clean."""
    if old[0] != "n" or new[0] != "n" or old[2:] != new[2:]:
        return False
    a, b = float(old[1]), float(new[1])
    return a != b and a == widened(b) and round(b, 3) == b


def merge_rows(merge):
    import re
    m = re.match(r"([A-Z]+)(\d+):([A-Z]+)(\d+)", merge)
    return (int(m.group(2)), merge) if m else (0, merge)


def shift_merge(merge, delta):
    import re
    return re.sub(r"(\d+)", lambda m: str(int(m.group(1)) - delta), merge)


def letter_blocks(sheet):
    """Player id -> list of (cells relative to the block, merges relative)."""
    starts = sorted(
        r for (r, c), cell in sheet.cells.items()
        if c == 1 and ("A%d:E%d" % (r, r)) in sheet.merges)
    rows = sorted({r for (r, c) in sheet.cells})
    blocks = collections.defaultdict(list)
    for i, start in enumerate(starts):
        end = starts[i + 1] - 1 if i + 1 < len(starts) else (rows[-1] if rows else start)
        cells = {(r - start, c): v for (r, c), v in sheet.cells.items() if start <= r <= end}
        merges = sorted(shift_merge(m, start - 1) for m in sheet.merges
                        if start <= merge_rows(m)[0] <= end)
        pid = sheet.cells.get((start, 18), ("", ""))[1]
        blocks[pid].append((cells, merges))
    return blocks


def summary_lines(sheet):
    """(name, occurrence) -> cells of the line."""
    lines, seen = {}, collections.Counter()
    rows = sorted({r for (r, c) in sheet.cells})
    for r in rows:
        name = sheet.cells.get((r, 1), ("", ""))[1]
        key = (name, seen[name])
        seen[name] += 1
        lines[key] = {c: v for (rr, c), v in sheet.cells.items() if rr == r}
    return lines


def compare_cells(a, b, clean, report, where):
    for key in sorted(set(a) | set(b), key=str):
        va, vb = a.get(key), b.get(key)
        if va == vb:
            continue
        if clean and va is not None and vb is not None and same_but_clean(va, vb):
            report["clean values"] += 1
            continue
        report["other"] += 1
        if len(report["examples"]) < 20:
            report["examples"].append("%s %s: %s -> %s" % (where, key, va, vb))


def mixed_players(folder):
    """Player ids (and their display names) whose sections mix kinds or hold another kind."""
    path = None
    for name in os.listdir(folder):
        if name.lower() == "encplstats.dat":
            path = os.path.join(folder, name)
    kinds = collections.defaultdict(set)
    names = collections.defaultdict(set)
    with open(path, "rb") as f:
        data = f.read()

    def text(off, width):
        raw = data[off:off + width].split(b"\0")[0]
        return raw.decode("cp1252", errors="replace")

    for off in range(0, len(data) - 335, 336):
        status, = struct.unpack_from("<h", data, off)
        pid, = struct.unpack_from("<h", data, off + 4)
        season_type = data[off + 6]
        kind = data[off + 46]
        if status != 0 or season_type not in (2, 5, 6, 7):
            continue
        kinds[(pid, season_type)].add(kind)
        names[pid].add(text(off + 30, 16) + "," + text(off + 14, 16))
    ids, display = set(), set()
    for (pid, season_type), ks in kinds.items():
        if len(ks) > 1 or not ks <= {1, 2}:
            ids.add(str(pid))
            display |= names[pid]
    return ids, display


def main():
    args = sys.argv[1:]
    clean = "--clean-values" in args
    folder = None
    if "--encyclopedia" in args:
        folder = args[args.index("--encyclopedia") + 1]
    files = [a for a in args if not a.startswith("--") and a != folder]
    if len(files) != 2:
        sys.stderr.write(__doc__)
        return 2
    old, new = parse(files[0]), parse(files[1])
    expected, expected_names = mixed_players(folder) if folder else (None, set())
    report = collections.Counter()
    report["examples"] = []
    changed_blocks = set()
    problems = []
    if old["active"] != new["active"]:
        problems.append("opening sheet %s -> %s" % (old["active"], new["active"]))
    old_names = [s.name for s in old["sheets"]]
    new_names = [s.name for s in new["sheets"]]
    if old_names != new_names:
        problems.append("sheets %s -> %s" % (old_names, new_names))
    new_by_name = {s.name: s for s in new["sheets"]}
    for so in old["sheets"]:
        sn = new_by_name.get(so.name)
        if sn is None:
            continue
        if (so.selected, so.active_cell) != (sn.selected, sn.active_cell):
            report["selection"] += 1
        if so.widths != sn.widths:
            report["widths"] += 1
        if so.settings != sn.settings:
            report["settings"] += 1
        if so.name in LETTER_SHEETS:
            bo, bn = letter_blocks(so), letter_blocks(sn)
            for pid in set(bo) | set(bn):
                if bo.get(pid) == bn.get(pid):
                    continue
                a, b = bo.get(pid, []), bn.get(pid, [])
                if len(a) == len(b) and all(x[1] == y[1] for x, y in zip(a, b)):
                    inside = collections.Counter(examples=[])
                    for (ca, _), (cb, _) in zip(a, b):
                        compare_cells(ca, cb, clean, inside, "%s block %s" % (so.name, pid))
                    report["clean values"] += inside["clean values"]
                    if inside["other"] == 0:
                        continue
                changed_blocks.add(pid)
        elif so.name.startswith(SUMMARY_PREFIXES):
            lo, ln = summary_lines(so), summary_lines(sn)
            for key in set(lo) | set(ln):
                if lo.get(key) == ln.get(key):
                    continue
                if key in lo and key in ln:
                    inside = collections.Counter(examples=[])
                    compare_cells(lo[key], ln[key], clean, inside, "%s %s" % (so.name, key))
                    report["clean values"] += inside["clean values"]
                    if inside["other"] == 0:
                        continue
                report["summary lines"] += 1
                changed_blocks.add("summary:" + key[0])
        else:
            if so.merges != sn.merges:
                report["merges"] += 1
            compare_cells(so.cells, sn.cells, clean, report, so.name)
    blocks = sorted(b for b in changed_blocks if not b.startswith("summary:"))
    print("player blocks changed: %d" % len(blocks))
    print("summary lines changed: %d" % report["summary lines"])
    print("clean values: %d" % report["clean values"])
    print("other cell changes (sheets other than letter and player summary sheets): %d" %
          report["other"])
    print("sheets with other widths: %d; selections changed: %d; view and print settings "
          "changed: %d" % (report["widths"], report["selection"], report["settings"]))
    for p in problems:
        print("problem: " + p)
    for e in report["examples"]:
        print("  e.g. " + e)
    unexpected = []
    if expected is not None:
        unexpected = [b for b in blocks if b not in expected]
        lines = sorted(b[len("summary:"):] for b in changed_blocks if b.startswith("summary:"))
        unexpected_lines = [n for n in lines if n not in expected_names]
        print("blocks of players with mixed or other-kind sections: %d of %d such players" %
              (len([b for b in blocks if b in expected]), len(expected)))
        if unexpected:
            print("unexpected blocks changed (player ids): " + " ".join(unexpected[:30]))
        if unexpected_lines:
            print("unexpected summary lines changed (names): " + " ".join(unexpected_lines[:30]))
        unexpected += unexpected_lines
    elif blocks:
        print("blocks changed (player ids): " + " ".join(blocks[:30]))
    bad = problems or unexpected or report["other"]
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
