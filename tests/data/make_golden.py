#!/usr/bin/env python3
"""Writes the expected patches of the sample templates for the default
layout, from a second, independent reading of the placeholder rules, so that
the golden test compares two implementations rather than one with itself.

Usage: make_golden.py DB-folder output-folder [--move I=LEFT,TOP] [--align I=CODE]
                     [--width W] [--model NAME]
"""
import argparse
import pathlib
import re
import sys

# Default layout: element -> (Left, Top); cover width; label alignments.
LAYOUT = {0: (8, 187), 1: (8, 210), 2: (8, 234), 3: (165, 82), 4: (161, 29), 5: (205, 82),
          6: (187, 104), 7: (7, 30), 9: (160, 120), 10: (160, 142), 11: (35, 183),
          12: (35, 205), 13: (35, 231)}
COVER_WIDTH = 150
ALIGN = {9: 2, 10: 2, 11: 0, 12: 0, 13: 0}

RULES = [("*cw*", 7, "W", "20"), ("*cy*", 7, "Y", "22"), ("*cx*", 7, "X", "21"),
         ("*ex*", 3, "X", "20"), ("*ey*", 3, "Y", "21"), ("*sx*", 6, "X", "20"),
         ("*sy*", 6, "Y", "21"), ("*lx*", 5, "X", "20"), ("*ly*", 5, "Y", "21"),
         ("*aix*", 0, "X", "20"), ("*aiy*", 0, "Y", "21"), ("*tix*", 1, "X", "20"),
         ("*tiy*", 1, "Y", "21"), ("*albumx*", 2, "X", "20"), ("*albumy*", 2, "Y", "21"),
         ("*jix*", 4, "X", "20"), ("*jiy*", 4, "Y", "21"), ("*ctw*", 9, "R", ""),
         ("*ctx*", 9, "X", "22"), ("*cty*", 9, "Y", "23"), ("*cta*", 9, "A", ""),
         ("*tpx*", 10, "X", "22"), ("*tpy*", 10, "Y", "23"), ("*tpa*", 10, "A", ""),
         ("*tpw*", 10, "R", ""), ("*ay*", 11, "Y", ""), ("*ax*", 11, "X", "32"),
         ("*aa*", 11, "A", ""), ("*ty*", 12, "Y", ""), ("*tx*", 12, "X", "32"),
         ("*ta*", 12, "A", ""), ("*aly*", 13, "Y", ""), ("*alx*", 13, "X", "37"),
         ("*ala*", 13, "A", "")]


def value(element, kind):
    left, top = LAYOUT[element]
    number = {"X": left, "Y": top - 24, "R": left + 80, "W": COVER_WIDTH}.get(kind)
    if kind == "A":
        return "0%d" % ALIGN[element]
    return "%02X" % (round(number) & 0xFF)


def patch_line(line):
    for placeholder, element, kind, suffix in RULES:
        if placeholder.encode() in line:
            fields = line.split(b" ")
            address = fields[0][len(placeholder):]
            comment = line.split(b";")[1]
            return (address + b" " + fields[1] + b" " + (value(element, kind) + suffix).encode()
                    + b";" + comment)
    return line


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("source")
    parser.add_argument("target")
    parser.add_argument("--move", action="append", default=[], help="INDEX=LEFT,TOP")
    parser.add_argument("--align", action="append", default=[], help="INDEX=CODE")
    parser.add_argument("--width", type=float)
    parser.add_argument("--model", help="only this model's template")
    args = parser.parse_args()
    global COVER_WIDTH
    for move in args.move:
        index, position = move.split("=")
        left, top = position.split(",")
        LAYOUT[int(index)] = (float(left), float(top))
    for align in args.align:
        index, code = align.split("=")
        ALIGN[int(index)] = int(code)
    if args.width is not None:
        COVER_WIDTH = args.width
    source, target = pathlib.Path(args.source), pathlib.Path(args.target)
    target.mkdir(parents=True, exist_ok=True)
    for template in sorted(source.glob("*.txt")):
        if args.model and template.stem != args.model:
            continue
        data = template.read_bytes()
        lines = re.split(rb"\r\n|\r|\n", data)
        if lines and lines[-1] == b"":
            lines.pop()
        out = b"".join(patch_line(line) + b"\r\n" for line in lines)
        (target / (template.stem + ".vkp")).write_bytes(out)


if __name__ == "__main__":
    main()
