#!/usr/bin/env python3
"""Checks that converted programs move a machine as the originals do.

Generates seeded, realistic incremental NC programs, converts each with
ncabs, runs the original and the converted program through LinuxCNC's
standalone RS-274/NGC interpreter (rs274, Debian package linuxcnc-uspace)
and compares the canonical motions it reports:

  - end points within 0.0006 (ncabs writes 3 decimals),
  - arc centres within 0.0012 (start + I/J, both rounded),
  - every other canonical command (feeds, spindle, tools, planes) equal,
  - the converted program never switches the interpreter to incremental.

The generated programs stay inside what both readings of G-code agree on:
every non-zero number carries a decimal point (ncabs reads X100 as 0.1,
LinuxCNC as 100), and there are no dwells, canned cycles, G92 lines in the
body, work offsets, reference returns, lower-case words, ";" or "+".

Prints "N passed, M failed" and exits 1 when any program failed, 77 when
rs274 is not installed (CTest reports that as skipped).

  rs274_compare.py --ncabs build/release/ncabs [--count 300] [--seed 1]
                   [--examples examples] [--keep DIR]
"""

import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile

SKIPPED = 77


# ---------------------------------------------------------------- generation

def num(thousandths, rng):
    """A value in thousandths as a CAM system writes it, always with a point."""
    if thousandths == 0:
        return rng.choice(["0", "0.", "0.0"])
    sign = "-" if thousandths < 0 else ""
    whole, frac = divmod(abs(thousandths), 1000)
    text = "%d.%03d" % (whole, frac)
    if rng.random() < 0.6:
        text = text.rstrip("0")
    if text.startswith("0.") and rng.random() < 0.3:
        text = text[1:]  # .25
    return sign + text


class Program:
    """One generated program: its lines, and how the start is given."""

    def __init__(self, rng):
        self.rng = rng
        self.lines = []
        self.answers = None  # the three typed start coordinates, or None
        self.pos = [0, 0, 0]  # thousandths, absolute
        self.absolute = True
        self.feed_set = False

    def word(self, letter, thousandths):
        return letter + num(thousandths, self.rng)

    def axis_words(self, target, axes="XYZ"):
        """Words that move to target, in the current mode; some axes left out."""
        words = []
        for i, letter in enumerate("XYZ"):
            if letter not in axes:
                continue
            delta = target[i] - self.pos[i]
            if delta == 0 and self.rng.random() < 0.7:
                continue
            words.append(self.word(letter, target[i] if self.absolute else delta))
        return words

    def mode_prefix(self):
        """Sometimes switch the distance mode on the motion line itself."""
        r = self.rng.random()
        if r < 0.08:
            self.absolute = True
            return ["G90"]
        if r < 0.2:
            self.absolute = False
            return ["G91"]
        return []

    def linear(self):
        rng = self.rng
        prefix = self.mode_prefix()
        target = [p + rng.randint(-20000, 20000) for p in self.pos]
        if rng.random() < 0.3:
            target[2] = self.pos[2]
        rapid = rng.random() < 0.3
        words = prefix + (["G00"] if rapid else ["G01"]) + self.axis_words(target)
        if not rapid and (not self.feed_set or rng.random() < 0.2):
            words.append("F" + num(rng.randint(50, 2000) * 1000, rng))
            self.feed_set = True
        if not rapid and not self.feed_set:
            return
        self.emit(words, target)

    def arc(self):
        rng = self.rng
        plane = rng.choice(["G17", "G17", "G18", "G19"])
        # (first, second) plane axes as indexes, and the centre letters.
        a, b, letters = {"G17": (0, 1, "IJ"), "G18": (2, 0, "KI"), "G19": (1, 2, "JK")}[plane]
        prefix = self.mode_prefix()
        use_r = plane == "G17" and rng.random() < 0.3
        if use_r:
            if rng.random() < 0.5:
                r = rng.randint(1, 8) * rng.choice([1000, 500, 250])
                va, vb = rng.choice([(r, 0), (0, r), (-r, 0), (0, -r)])
            else:
                k = rng.randint(1, 4) * rng.choice([1000, 250])
                r = 5 * k
                va, vb = rng.choice([(3 * k, 4 * k), (-4 * k, 3 * k), (4 * k, -3 * k), (-3 * k, -4 * k)])
        else:
            va, vb = rng.randint(-15000, 15000), rng.randint(-15000, 15000)
            if va == 0 and vb == 0:
                va = 1000
        ua, ub = -va, -vb  # from centre to start
        ca, cb = self.pos[a] + va, self.pos[b] + vb
        shape = rng.choice(["ccw", "cw", "half", "full"] if not use_r else ["ccw", "cw"])
        if shape == "ccw":
            ea, eb = ca - ub, cb + ua
        elif shape == "cw":
            ea, eb = ca + ub, cb - ua
        elif shape == "half":
            ea, eb = ca - ua, cb - ub
        else:
            ea, eb = self.pos[a], self.pos[b]
        target = list(self.pos)
        target[a], target[b] = ea, eb
        helix_axis = 3 - a - b
        if rng.random() < 0.25:
            target[helix_axis] += rng.randint(-3000, 3000)
        if use_r:
            # The short (90 degree) arc has a positive R; the long one negative.
            short = "G03" if shape == "ccw" else "G02"
            g = rng.choice(["G02", "G03"])
            words = prefix + [plane, g] + self.axis_words(target)
            words.append(self.word("R", r if g == short else -r))
        else:
            words = prefix + [plane, rng.choice(["G02", "G03"])] + self.axis_words(target)
            if not any(w[0] in "XYZ" for w in words):
                words += [self.word("XYZ"[a], target[a] if self.absolute else 0)]
            words += [self.word(letters[0], va), self.word(letters[1], vb)]
        if not self.feed_set:
            words.append("F" + num(rng.randint(50, 1000) * 1000, rng))
            self.feed_set = True
        self.emit(words, target)
        if plane != "G17":
            self.lines.append("G17")

    def emit(self, words, target):
        line = " ".join(words)
        if self.rng.random() < 0.1:
            line += " (" + self.rng.choice(["ROUGH", "FINISH PASS", "x offset", "CUT 2"]) + ")"
        self.lines.append(line)
        self.pos = target

    def other(self):
        rng = self.rng
        choice = rng.random()
        if choice < 0.3:
            self.lines.append("(" + rng.choice(["NEXT POCKET", "check chip load", "PASS 2 OF 3"]) + ")")
        elif choice < 0.5:
            self.lines.append("")
        elif choice < 0.7:
            self.lines.append("F" + num(rng.randint(50, 2000) * 1000, rng))
            self.feed_set = True
        elif choice < 0.8:
            self.lines.append(rng.choice(["M08", "M09", "S1200 M03", "S800"]))
        elif choice < 0.9:
            self.absolute = rng.random() < 0.5
            self.lines.append("G90" if self.absolute else "G91")
        else:
            self.lines.append("G04 P0.5")


def generate(rng):
    p = Program(rng)
    percent = rng.random() < 0.5
    if percent:
        p.lines.append("%")
    if rng.random() < 0.7:
        p.lines.append("O%04d (GENERATED PART)" % rng.randint(1, 9999))
    p.lines.append("(made by the ncabs interoperability check)")
    p.lines.append(rng.choice(["G21", "G20"]) + " G17 G40 G49 G80")
    if rng.random() < 0.5:
        p.lines.append("T1 M06")
    p.lines.append("S%d M03" % (rng.randint(5, 120) * 100))

    start = [rng.randint(-50000, 50000) for _ in range(3)]
    p.pos = list(start)
    if rng.random() < 0.5:
        # G92 route: the mode line sets the start; axes it lacks start at 0.
        words = ["G92"]
        for i, letter in enumerate("XYZ"):
            if rng.random() < 0.85 or (i == 2 and len(words) == 1):
                words.append(p.word(letter, start[i]))
            else:
                p.pos[i] = 0
        p.lines.append(" ".join(words))
        p.absolute = True
    else:
        # Prompt route: the first motion line is the mode line.
        p.answers = [num(s, rng) for s in start]
        p.absolute = False
        target = [s + rng.randint(1, 10000) for s in start]
        p.emit(["G91", "G00"] + p.axis_words(target), target)

    for _ in range(rng.randint(5, 40)):
        r = rng.random()
        if r < 0.45:
            p.linear()
        elif r < 0.75:
            p.arc()
        else:
            p.other()
    p.lines.append("M05")
    p.lines.append(rng.choice(["M30", "M02"]))
    if percent:
        p.lines.append("%")
    eol = "\r\n" if rng.random() < 0.25 else "\n"
    return eol.join(p.lines) + eol, p.answers


# ---------------------------------------------------------------- running

def run_ncabs(ncabs, workdir, program, answers):
    src = os.path.join(workdir, "in.nc")
    dst = os.path.join(workdir, "out.nc")
    with open(src, "w", newline="") as f:
        f.write(program)
    stdin = " ".join(answers) + "\n" if answers else ""
    done = subprocess.run([ncabs, src, dst], input=stdin.encode(), capture_output=True, timeout=30)
    if done.returncode != 0:
        raise RuntimeError("ncabs exited %d: %r" % (done.returncode, done.stdout[-200:]))
    with open(dst, newline="") as f:
        return f.read()


def with_start(program, answers):
    """The interpreter gets a typed start as a G92 line in front of the mode
    line (the first line holding G90, G91 or G92 that does not begin with
    "("), where the units of the preamble are in force."""
    if not answers:
        return program
    lines = program.splitlines(keepends=True)
    g92 = "G92 X%s Y%s Z%s\n" % tuple(answers)
    for at, line in enumerate(lines):
        if re.search("G9[012]", line) and not line.startswith("("):
            return "".join(lines[:at] + [g92] + lines[at:])
    raise RuntimeError("no mode line")


def canon(rs274, workdir, name, program):
    path = os.path.join(workdir, name + ".ngc")
    out = os.path.join(workdir, name + ".canon")
    with open(path, "w", newline="") as f:
        f.write(program)
    done = subprocess.run([rs274, "-g", "-t", "tool.tbl", path, out], cwd=workdir,
                          stdin=subprocess.DEVNULL, capture_output=True, timeout=30)
    if done.returncode != 0:
        raise RuntimeError("rs274 rejected %s: %s" % (name, done.stderr.decode(errors="replace").strip()[-300:]))
    commands = []
    with open(out) as f:
        for line in f:
            text = re.sub(r"^\s*\d+\s+N\S*\s+", "", line.rstrip("\n"))
            if text.startswith("COMMENT(\"interpreter:"):
                if "incremental" in text:
                    commands.append("INCREMENTAL")
                continue
            commands.append(text)
    return commands


MOTIONS = {"STRAIGHT_TRAVERSE", "STRAIGHT_FEED", "ARC_FEED"}


def compare(original, converted):
    """None when the two command lists move alike, else the first difference."""
    if "INCREMENTAL" in converted:
        return "the converted program selects incremental distance mode"
    original = [c for c in original if c != "INCREMENTAL"]
    if len(original) != len(converted):
        return "%d canonical commands, converted %d" % (len(original), len(converted))
    for i, (a, b) in enumerate(zip(original, converted)):
        name_a, name_b = a.split("(")[0], b.split("(")[0]
        if name_a != name_b:
            return "command %d: %s / %s" % (i, a, b)
        if name_a not in MOTIONS:
            if a != b:
                return "command %d: %s / %s" % (i, a, b)
            continue
        va = [float(v) for v in re.findall(r"-?\d+(?:\.\d+)?", a[len(name_a):])]
        vb = [float(v) for v in re.findall(r"-?\d+(?:\.\d+)?", b[len(name_b):])]
        if len(va) != len(vb):
            return "command %d: %s / %s" % (i, a, b)
        for k, (x, y) in enumerate(zip(va, vb)):
            if name_a == "ARC_FEED" and k == 4:
                ok = x == y  # turn count and direction
            elif name_a == "ARC_FEED" and k in (2, 3):
                ok = abs(x - y) <= 0.0012  # centre
            else:
                ok = abs(x - y) <= 0.0006
            if not ok:
                return "command %d: %s / %s" % (i, a, b)
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--ncabs", required=True)
    parser.add_argument("--rs274", default=shutil.which("rs274"))
    parser.add_argument("--count", type=int, default=300)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--examples", help="also compare the example programs that fit the rules")
    parser.add_argument("--keep", help="keep each failing program in this folder")
    args = parser.parse_args()
    if not args.rs274:
        print("rs274 not found (apt-get install linuxcnc-uspace): skipped")
        return SKIPPED

    cases = []
    rng = random.Random(args.seed)
    for n in range(args.count):
        program, answers = generate(rng)
        cases.append(("generated %d" % n, program, answers))
    if args.examples:
        for name in sorted(os.listdir(args.examples)):
            if not name.endswith(".nc"):
                continue
            with open(os.path.join(args.examples, name), newline="") as f:
                program = f.read()
            if re.search(r"[XYZIJKR]-?0*[1-9]\d*(?![\d.])", program) or re.search(r"G8[1-9]|G5[3-9]|G28|G30", program):
                print("example %s: outside the compared rules (thousandths, cycles or offsets)" % name)
                continue
            answers_path = os.path.join(args.examples, name[:-3] + ".answers")
            answers = open(answers_path).read().split() if os.path.exists(answers_path) else None
            cases.append(("example " + name, program, answers))

    passed = failed = 0
    with tempfile.TemporaryDirectory() as work:
        with open(os.path.join(work, "tool.tbl"), "w") as f:
            f.write("T1 P1 Z0 D6\n")
        for name, program, answers in cases:
            try:
                converted = run_ncabs(args.ncabs, work, program, answers)
                before = canon(args.rs274, work, "original", with_start(program, answers))
                after = canon(args.rs274, work, "converted", with_start(converted, answers))
                problem = compare(before, after)
            except (RuntimeError, subprocess.TimeoutExpired) as error:
                problem = str(error)
            if problem is None:
                passed += 1
                continue
            failed += 1
            print("FAIL %s: %s" % (name, problem))
            if args.keep:
                os.makedirs(args.keep, exist_ok=True)
                stem = os.path.join(args.keep, name.replace(" ", "_"))
                with open(stem + ".nc", "w", newline="") as f:
                    f.write(program)
                if answers:
                    with open(stem + ".answers", "w") as f:
                        f.write(" ".join(answers) + "\n")
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
