#!/usr/bin/env python3
"""Writes a large CASL II source text for the assembler benchmark.

The text is one START ... END block of exactly N lines (default 100,000) that
uses every operand form of every instruction, the macros, DC with numbers,
hexadecimal constants, strings and labels, DS, literals, full-line comments and
trailing comments, labels referenced both before and after their definition,
tabs and spaces as separators. The output depends only on N and the seed, and
it assembles without errors.

Beyond about 40,000 lines the program no longer fits into the 65,536 words of
memory and its addresses wrap around; the assembler works modulo 65,536, so
this changes nothing for the speed of assembling.
"""

import argparse
import random
import sys

REGS = ["GR%d" % i for i in range(8)]
INDEX_REGS = REGS[1:]

# r1,r2 or r,adr[,x]
REG_OR_ADR = ["LD", "ADDA", "ADDL", "SUBA", "SUBL", "AND", "OR", "XOR", "CPA", "CPL"]
# r,adr[,x] only
REG_ADR = ["ST", "LAD", "SLA", "SRA", "SLL", "SRL"]
# adr[,x]
ADR = ["JPL", "JMI", "JNZ", "JZE", "JOV", "JUMP", "PUSH", "CALL", "SVC"]

WORDS = ["loop", "sum", "next", "table", "copy", "count", "check", "done", "value", "step"]


class Generator:
    def __init__(self, lines, seed):
        self.rnd = random.Random(seed)
        self.total = lines
        self.body = max(lines - 2, 0)  # START and END are the other two
        # Decide first which body lines are statements and which of those carry a
        # label, so that references can point forward to labels defined later.
        self.kinds = [self.choose_kind() for _ in range(self.body)]
        self.labelled = [k != "comment" and self.rnd.random() < 0.3 for k in self.kinds]
        self.label_count = sum(self.labelled)
        self.defined = 0  # labels defined so far

    def choose_kind(self):
        x = self.rnd.random()
        if x < 0.10:
            return "comment"
        if x < 0.17:
            return "dc"
        if x < 0.19:
            return "ds"
        if x < 0.21:
            return "macro"
        return "instruction"

    @staticmethod
    def label(k):
        return "L%07d" % k

    def label_ref(self):
        """A label defined before this line, or one defined after it."""
        rnd = self.rnd
        if self.label_count == 0:
            return "BENCH"
        backward = self.defined > 0 and (self.defined >= self.label_count or rnd.random() < 0.5)
        if backward:
            k = rnd.randint(max(0, self.defined - 500), self.defined - 1)
        else:
            k = rnd.randint(self.defined, min(self.label_count - 1, self.defined + 500))
        return self.label(k)

    def literal(self):
        rnd = self.rnd
        x = rnd.random()
        if x < 0.4:
            return "=%d" % rnd.randint(-32768, 65535)
        if x < 0.7:
            return "=#%04X" % rnd.randint(0, 0xFFFF)
        if x < 0.85:
            return "='%s'" % rnd.choice("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")
        return "='%s'" % rnd.choice(["OK", "NG", "a,b", "x;y", "END"])

    def address(self):
        rnd = self.rnd
        x = rnd.random()
        if x < 0.55:
            return self.label_ref()
        if x < 0.75:
            return self.literal()
        if x < 0.9:
            return str(rnd.randint(-32768, 65535))
        return "#%04X" % rnd.randint(0, 0xFFFF)

    def shift_count(self):
        rnd = self.rnd
        return rnd.choice([str(rnd.randint(0, 16)), "#%04X" % rnd.randint(0, 15), "=%d" % rnd.randint(1, 15)])

    def instruction(self):
        rnd = self.rnd
        reg = lambda: rnd.choice(REGS)
        form = rnd.random()
        if form < 0.25:
            op = rnd.choice(REG_OR_ADR)
            return op, "%s,%s" % (reg(), reg())
        if form < 0.70:
            op = rnd.choice(REG_OR_ADR + REG_ADR)
            adr = self.shift_count() if op in ("SLA", "SRA", "SLL", "SRL") else self.address()
            if rnd.random() < 0.35:
                return op, "%s,%s,%s" % (reg(), adr, rnd.choice(INDEX_REGS))
            return op, "%s,%s" % (reg(), adr)
        if form < 0.92:
            op = rnd.choice(ADR)
            if op == "SVC":
                adr = str(rnd.randint(0, 9))
            elif op == "PUSH":
                adr = rnd.choice([str(rnd.randint(0, 100)), self.label_ref()])
            else:
                adr = self.label_ref() if rnd.random() < 0.9 else self.literal()
            if rnd.random() < 0.25:
                return op, "%s,%s" % (adr, rnd.choice(INDEX_REGS))
            return op, adr
        if form < 0.96:
            return "POP", reg()
        return rnd.choice(["RET", "NOP"]), ""

    def dc_operand(self):
        rnd = self.rnd
        parts = []
        for _ in range(rnd.randint(1, 5)):
            x = rnd.random()
            if x < 0.35:
                parts.append(str(rnd.randint(-32768, 65535)))
            elif x < 0.55:
                parts.append("#%04X" % rnd.randint(0, 0xFFFF))
            elif x < 0.8:
                text = " ".join(rnd.choice(WORDS) for _ in range(rnd.randint(1, 4)))
                if rnd.random() < 0.2:
                    text += rnd.choice([", ok", "; not a comment", ": done"])
                parts.append("'%s'" % text)
            else:
                parts.append(self.label_ref())
        return ",".join(parts)

    def comment(self):
        rnd = self.rnd
        text = " ".join(rnd.choice(WORDS) for _ in range(rnd.randint(0, 8)))
        return rnd.choice(["; ", ";", "\t; ", "    ;; "]) + text

    def statement(self, kind):
        rnd = self.rnd
        if kind == "dc":
            return "DC", self.dc_operand()
        if kind == "ds":
            return "DS", str(rnd.choice([0, 1, 1, 2, 4, 8, 16]))
        if kind == "macro":
            op = rnd.choice(["IN", "OUT", "RPUSH", "RPOP"])
            if op in ("IN", "OUT"):
                return op, "%s,%s" % (self.label_ref(), self.label_ref())
            return op, ""
        return self.instruction()

    def line(self, i):
        rnd = self.rnd
        kind = self.kinds[i]
        if kind == "comment":
            return self.comment()
        op, operand = self.statement(kind)
        label = ""
        if self.labelled[i]:
            label = self.label(self.defined)
            self.defined += 1
        sep = rnd.choice(["\t", "\t", " ", "    "])
        text = label + sep + op
        if operand:
            text += rnd.choice(["\t", " ", "   "]) + operand
        if rnd.random() < 0.15:
            text += rnd.choice(["\t", " ", "\t\t"]) + self.comment().lstrip()
        return text

    def generate(self, out):
        entry = self.label(0) if self.label_count else ""
        out.write("BENCH\tSTART\t%s\r\n" % entry if entry else "BENCH\tSTART\r\n")
        for i in range(self.body):
            out.write(self.line(i) + "\r\n")
        if self.total >= 2:
            out.write("\tEND\r\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("lines", nargs="?", type=int, default=100_000, help="number of lines (default 100000)")
    parser.add_argument("-o", "--output", help="output file (default: standard output)")
    parser.add_argument("--seed", type=int, default=1969, help="random seed (default 1969)")
    args = parser.parse_args()
    if args.lines < 2:
        parser.error("at least 2 lines (START and END)")

    gen = Generator(args.lines, args.seed)
    if args.output:
        with open(args.output, "w", encoding="ascii", newline="") as f:
            gen.generate(f)
    else:
        sys.stdout.reconfigure(newline="")
        gen.generate(sys.stdout)


if __name__ == "__main__":
    main()
