#!/usr/bin/env python3
"""Writes a large runnable CASL II program for the simulator window's benchmarks.

N lines (default 400,000) with M instructions (default 30,000) spread evenly
among comment lines, every 16th instruction labelled, and subroutine calls,
so that tracing it moves PR far through a listing of N rows. The program runs
to its end: the instructions are LAD, ADDA, SUBA, CPA, ST and CALL/RET pairs,
then RET.
"""

import argparse
import sys


def generate(lines, instructions):
    out = ["BIG\tSTART"]
    # The subroutine and the data take a few lines; the rest is the body.
    tail = ["\tRET", "SUB\tLAD\tGR7,1,GR7", "\tRET", "WORK\tDS\t1", "\tEND"]
    body_lines = lines - 1 - len(tail)
    body_instructions = instructions - 3
    every = max(1, body_lines // max(1, body_instructions))
    made = 0
    for i in range(body_lines):
        if i % every == 0 and made < body_instructions:
            label = "L%d" % made if made % 16 == 0 else ""
            kind = made % 6
            if kind == 0:
                op = "LAD\tGR1,%d,GR1" % (made % 100)
            elif kind == 1:
                op = "ADDA\tGR2,GR1"
            elif kind == 2:
                op = "SUBA\tGR3,=1"
            elif kind == 3:
                op = "CPA\tGR2,GR3"
            elif kind == 4:
                op = "ST\tGR2,WORK"
            else:
                op = "CALL\tSUB"
            out.append("%s\t%s\t; step %d" % (label, op, made))
            made += 1
        else:
            out.append("; comment line %d of the generated program" % i)
    out.extend(tail)
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("lines", nargs="?", type=int, default=400000)
    parser.add_argument("instructions", nargs="?", type=int, default=30000)
    parser.add_argument("-o", "--output")
    args = parser.parse_args()
    text = "\r\n".join(generate(args.lines, args.instructions)) + "\r\n"
    if args.output:
        with open(args.output, "w", newline="") as f:
            f.write(text)
    else:
        sys.stdout.write(text)


if __name__ == "__main__":
    main()
