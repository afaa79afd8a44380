#!/usr/bin/env python3
"""LinuxCNC's standalone interpreter rs274 as the yardstick for quillmark-convert --toolpath.

  rs274-reference.py toolpath FILE                 the moves rs274 makes of FILE, as CSV
  rs274-reference.py expected FILE...              writes each FILE's moves to FILE with .csv
  rs274-reference.py compare [--converter PATH] [--tolerance MM] [--max N] FILE...
                                                   runs both and prints the first differences

Common options: --reference FOLDER (default build/reference, made by `make reference`: the
rs274 wrapper and tool.tbl in it), --timeout SECONDS for one rs274 run.

rs274 prints its canonical machining calls, one a line, each after the N number of the block
that made it. So that every call names its source line, the program (and every .ngc file beside
it, for o<name> call) is copied into a scratch folder with each line's N word replaced by
N<line>, and rs274 runs there. Its positions are program coordinates in the units in effect,
to four decimals; here they become machine coordinates in millimetres by applying the offsets
it reports (G92, then the XY rotation, then G54..G59.3, then the tool length offset), the way
LinuxCNC's motion layer does.

CSV: line,kind,x,y,z,a,b,c,plane,cx,cy,cz,turns,feed. kind rapid|feed|arc (probe moves are
feed); plane XY|ZX|YZ and centre for arcs, the centre's coordinate along the arc's axis being
the start's; turns positive counter-clockwise seen from the positive end of the plane's axis;
feed in mm/min (G93: as rs274 sends it, move length times F; G95: F times spindle speed), empty for rapids.

Exit status: 0 no difference (or CSV written), 1 differences found, 2 a program could not be run.
"""

import argparse
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile

HEADER = "line,kind,x,y,z,a,b,c,plane,cx,cy,cz,turns,feed"
FIELDS = HEADER.split(",")
UNITS = {"CANON_UNITS_MM": 1.0, "CANON_UNITS_INCHES": 25.4, "CANON_UNITS_CM": 10.0}
# Plane: the names of rs274's first, second and axis coordinates, and the CSV name.
PLANES = {
    "CANON_PLANE_XY": ((0, 1, 2), "XY"),
    "CANON_PLANE_XZ": ((2, 0, 1), "ZX"),
    "CANON_PLANE_YZ": ((1, 2, 0), "YZ"),
}
CALL = re.compile(r"^\s*\d+ N(\d+|\.\.\.\.\.)\s*([A-Z][A-Z0-9_]*)\((.*)\)\s*$")
NUMBER = re.compile(r"[-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?")
LEADING_N = re.compile(r"^([ \t/]*)(?:[nN][ \t]*\d[\d \t]*(?:\.\d*)?)?")


class Rs274Error(Exception):
    pass


def numbered(text):
    """The program with every line (but % lines) starting N<its 1-based line number>."""
    lines = text.split("\n")
    last = len(lines) - 1 if lines[-1] == "" else len(lines)
    out = []
    for index, line in enumerate(lines):
        if index < last and not line.lstrip(" \t/").startswith("%"):
            m = LEADING_N.match(line)
            line = m.group(1) + "N%d " % (index + 1) + line[m.end():]
        out.append(line)
    return "\n".join(out)


def run_rs274(path, reference, timeout):
    """rs274's canonical calls for the program at path: a list of (line, name, arguments),
    and the error rs274 stopped with (empty when it reached the end)."""
    reference = os.path.abspath(reference)
    wrapper = os.path.join(reference, "rs274")
    table = os.path.join(reference, "tool.tbl")
    if not os.access(wrapper, os.X_OK):
        raise Rs274Error("%s is missing: run `make reference` first" % wrapper)
    folder = os.path.dirname(os.path.abspath(path))
    with tempfile.TemporaryDirectory(prefix="rs274-") as scratch:
        names = {os.path.basename(path)}
        names.update(n for n in os.listdir(folder) if n.endswith(".ngc"))
        for name in names:
            with open(os.path.join(folder, name), encoding="utf-8", errors="surrogateescape",
                      newline="") as f:
                text = f.read()
            with open(os.path.join(scratch, name), "w", encoding="utf-8",
                      errors="surrogateescape", newline="") as f:
                f.write(numbered(text))
        try:
            done = subprocess.run([wrapper, "-t", table, "-g", os.path.basename(path)],
                                  cwd=scratch, stdin=subprocess.DEVNULL, capture_output=True,
                                  timeout=timeout, encoding="utf-8", errors="replace")
        except subprocess.TimeoutExpired:
            raise Rs274Error("rs274 did not end within %g s" % timeout)
    calls = []
    for text in done.stdout.splitlines():
        m = CALL.match(text)
        if m:
            line = int(m.group(1)) if m.group(1)[0].isdigit() else 0
            calls.append((line, m.group(2), m.group(3)))
    error = ""
    if done.returncode != 0:
        error = " ".join(l.strip() for l in done.stderr.splitlines()
                         if l.strip() and l.strip() != "executing") or "exit %d" % done.returncode
    return calls, error


class Machine:
    """Follows rs274's canonical calls as LinuxCNC's motion layer would, collecting the moves."""

    def __init__(self):
        self.units = 1.0
        self.g5x = [0.0] * 6
        self.g92 = [0.0] * 6
        self.tool = [0.0] * 6
        self.rotation = 0.0
        self.plane = PLANES["CANON_PLANE_XY"]
        self.feed_mode = "minute"
        self.feed = 0.0  # as programmed, in the units in effect when it was set, made mm
        self.speed = 0.0
        self.position = [0.0] * 6  # machine coordinates, mm and degrees
        self.moves = []

    def length(self, values):
        return [v * self.units if i < 3 else v for i, v in enumerate(values)]

    def machine(self, canon):
        p = [a + b for a, b in zip(self.length(canon), self.g92)]
        if self.rotation:
            r = math.radians(self.rotation)
            p[0], p[1] = (p[0] * math.cos(r) - p[1] * math.sin(r),
                          p[0] * math.sin(r) + p[1] * math.cos(r))
        return [a + b + c for a, b, c in zip(p, self.g5x, self.tool)]

    def feed_for(self, start, end, arc_length=None):
        # In inverse time rs274 itself sends each move's rate in units per minute.
        if self.feed_mode == "revolution":
            return self.feed * self.speed
        return self.feed

    def move(self, line, kind, end, arc=None):
        start = self.position
        row = {"line": line, "kind": kind}
        row.update(zip("xyzabc", end))
        if arc:
            plane, centre, turns, length = arc
            row.update(plane=plane, cx=centre[0], cy=centre[1], cz=centre[2], turns=turns)
            row["feed"] = self.feed_for(start, end, length)
        elif kind == "feed":
            row["feed"] = self.feed_for(start, end)
        self.moves.append(row)
        self.position = end

    def arc(self, line, values):
        (first, second, axis), name = self.plane
        canon = [0.0] * 6
        canon[first], canon[second], canon[axis] = values[0], values[1], values[5]
        canon[3:6] = values[6:9]
        end = self.machine(canon)
        centre_canon = list(canon)
        centre_canon[first], centre_canon[second] = values[2], values[3]
        centre = self.machine(centre_canon)
        centre[axis] = self.position[axis]
        turns = int(round(values[4]))
        # length of the helix, for inverse-time feed
        radius = math.dist((centre[first], centre[second]),
                           (self.position[first], self.position[second]))
        a0 = math.atan2(self.position[second] - centre[second], self.position[first] - centre[first])
        a1 = math.atan2(end[second] - centre[second], end[first] - centre[first])
        sweep = (a1 - a0) % (2 * math.pi) if turns > 0 else (a0 - a1) % (2 * math.pi)
        if sweep < 1e-9:
            sweep = 2 * math.pi
        sweep += 2 * math.pi * (abs(turns) - 1)
        length = math.hypot(radius * sweep, end[axis] - self.position[axis])
        self.move(line, "arc", end, (name, centre[:3], turns, length))

    def call(self, line, name, arguments):
        values = [float(v) for v in NUMBER.findall(arguments)]
        if name == "USE_LENGTH_UNITS":
            self.units = UNITS[arguments.strip()]
        elif name == "SET_G5X_OFFSET":
            self.g5x = self.length(values[1:7])
        elif name == "SET_G92_OFFSET":
            self.g92 = self.length(values[0:6])
        elif name == "USE_TOOL_LENGTH_OFFSET":
            self.tool = self.length(values[0:6])
        elif name == "SET_XY_ROTATION":
            self.rotation = values[0]
        elif name == "SELECT_PLANE":
            self.plane = PLANES[arguments.strip()]
        elif name == "SET_FEED_RATE":
            self.feed = values[0] * self.units
        elif name == "SET_SPINDLE_SPEED":
            self.speed = values[-1]
        elif name == "COMMENT" and "feed mode set to" in arguments:
            self.feed_mode = ("inverse" if "inverse time" in arguments else
                              "revolution" if "per revolution" in arguments else "minute")
        elif name == "STRAIGHT_TRAVERSE":
            self.move(line, "rapid", self.machine(values[0:6]))
        elif name in ("STRAIGHT_FEED", "STRAIGHT_PROBE"):
            self.move(line, "feed", self.machine(values[0:6]))
        elif name == "ARC_FEED":
            self.arc(line, values)
        elif name in ("RIGID_TAP", "NURBS_FEED", "SPLINE_FEED"):
            raise Rs274Error("line %d: %s is not followed here" % (line, name))


def number(value):
    text = "%.4f" % value
    return "0.0000" if text == "-0.0000" else text


def csv_rows(moves):
    rows = [HEADER]
    for m in moves:
        cells = []
        for field in FIELDS:
            value = m.get(field, "")
            cells.append(number(value) if isinstance(value, float) else str(value))
        rows.append(",".join(cells))
    return rows


def reference_moves(path, options):
    calls, error = run_rs274(path, options.reference, options.timeout)
    machine = Machine()
    for line, name, arguments in calls:
        machine.call(line, name, arguments)
    return machine.moves, error


def read_csv(text, what):
    lines = [l for l in text.splitlines() if l.strip()]
    if not lines or lines[0].strip() != HEADER:
        raise Rs274Error("%s: not a toolpath CSV (first line %r)" % (what, lines[0] if lines else ""))
    rows = []
    for number_, l in enumerate(lines[1:], 2):
        cells = l.split(",")
        if len(cells) != len(FIELDS):
            raise Rs274Error("%s:%d: %d columns, not %d" % (what, number_, len(cells), len(FIELDS)))
        rows.append(dict(zip(FIELDS, cells)))
    return rows


def differences(expected, ours, tolerance, feed_tolerance):
    """(line, what rs274 gives, what ours gives) for every move that differs."""
    found = []
    for index in range(max(len(expected), len(ours))):
        if index >= len(ours):
            e = expected[index]
            found.append((e["line"], "move %d: %s" % (index + 1, brief(e)), "no move"))
            continue
        if index >= len(expected):
            o = ours[index]
            found.append((o["line"], "no move", "move %d: %s" % (index + 1, brief(o))))
            continue
        e, o = expected[index], ours[index]
        fields = ["line", "kind", "x", "y", "z", "a", "b", "c", "feed"]
        if e["kind"] == "arc" or o["kind"] == "arc":
            axis = {"XY": "cz", "ZX": "cy", "YZ": "cx"}.get(e["plane"])
            fields += ["plane", "turns"] + [c for c in ("cx", "cy", "cz") if c != axis]
        wrong = [f for f in fields if not same(f, e[f], o[f], tolerance, feed_tolerance)]
        if wrong:
            found.append((e["line"], "move %d: %s" % (index + 1, brief(e, wrong)),
                          brief(o, wrong)))
    return found


def same(field, a, b, tolerance, feed_tolerance):
    if field in ("line", "kind", "plane"):
        return a.strip() == b.strip()
    if a.strip() == "" or b.strip() == "":
        return a.strip() == b.strip()
    try:
        x, y = float(a), float(b)
    except ValueError:
        return False
    if field == "turns":
        return x == y
    if field == "feed":
        return abs(x - y) <= feed_tolerance * max(1.0, abs(x))
    return abs(x - y) <= tolerance


def brief(row, fields=None):
    fields = fields or ["kind", "x", "y", "z"]
    return " ".join("%s=%s" % (f, row[f]) for f in fields)


def command_toolpath(options):
    moves, error = reference_moves(options.files[0], options)
    print("\n".join(csv_rows(moves)))
    if error:
        print("%s: rs274: %s" % (options.files[0], error), file=sys.stderr)
        return 2
    return 0


def command_expected(options):
    status = 0
    for path in options.files:
        moves, error = reference_moves(path, options)
        target = os.path.splitext(path)[0] + ".csv"
        if error:
            print("%s: rs274: %s (not written)" % (path, error), file=sys.stderr)
            status = 2
            continue
        with open(target, "w", newline="\n") as f:
            f.write("\n".join(csv_rows(moves)) + "\n")
        print("%s: %d moves" % (target, len(moves)))
    return status


def command_compare(options):
    status = 0
    for path in options.files:
        moves, error = reference_moves(path, options)
        expected = read_csv("\n".join(csv_rows(moves)), "rs274")
        if error:
            print("%s: rs274 stopped: %s" % (path, error))
        done = subprocess.run([options.converter, "--toolpath", path], capture_output=True,
                              encoding="utf-8", errors="replace")
        if done.returncode not in (0, 4) or not done.stdout:
            print("%s: quillmark-convert --toolpath failed (exit %d): %s"
                  % (path, done.returncode, done.stderr.strip()))
            status = 2
            continue
        for message in done.stderr.splitlines():
            print("%s: quillmark-convert says: %s" % (path, message))
        ours = read_csv(done.stdout, "quillmark-convert")
        found = differences(expected, ours, options.tolerance, options.feed_tolerance)
        if not found:
            print("%s: same %d moves" % (path, len(expected)))
            continue
        status = max(status, 1)
        print("%s: %d of %d/%d moves differ (rs274/ours)" % (path, len(found), len(expected),
                                                           len(ours)))
        for line, theirs, ours_ in found[:options.max]:
            print("  %s:%s: rs274 %s | ours %s" % (path, line, theirs, ours_))
    return status


def main():
    parser = argparse.ArgumentParser(description="Compare toolpaths with LinuxCNC's rs274.")
    parser.add_argument("command", choices=["toolpath", "expected", "compare"])
    parser.add_argument("files", nargs="+", metavar="FILE")
    parser.add_argument("--reference", default="build/reference")
    parser.add_argument("--converter", default="build/bin/quillmark-convert")
    parser.add_argument("--tolerance", type=float, default=0.003,
                        help="mm; rs274 prints four decimals of the program's units")
    parser.add_argument("--feed-tolerance", type=float, default=1e-4, help="relative")
    parser.add_argument("--max", type=int, default=10, help="differences shown per file")
    parser.add_argument("--timeout", type=float, default=600)
    options = parser.parse_args()
    try:
        return {"toolpath": command_toolpath, "expected": command_expected,
                "compare": command_compare}[options.command](options)
    except (Rs274Error, OSError) as error:
        print("rs274-reference: %s" % error, file=sys.stderr)
        return 2


if __name__ == "__main__":
    sys.exit(main())
