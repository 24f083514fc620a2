#!/usr/bin/env python3
"""Writes a class for the `zelkora-cli test` benchmark into a folder: class.tests with
20 cases and 41 programs: 36 that pass, 4 that fail one way or another, 1 that never
ends. Every case runs about 10^5 statements in a program that passes."""
import os
import sys

WORDS = ["alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf", "hotel", "india",
         "juliett", "kilo", "lima", "mike", "november", "oscar", "papa", "quebec", "romeo",
         "sierra", "tango"]


def program(loop_register, spin, upper=True, offset=32):
    """Reads a word, spins `spin` times (2 statements each), writes it in capitals and
    leaves its length in GR0 and LEN."""
    r = loop_register
    lines = [
        "UP\tSTART",
        "\tIN\tBUF,LEN",
        f"\tLAD\t{r},{spin}",
        f"SPIN\tSUBA\t{r},=1",
        "\tJNZ\tSPIN",
        "\tLAD\tGR1,0",
        "NEXT\tCPA\tGR1,LEN",
        "\tJZE\tDONE",
        "\tLD\tGR2,BUF,GR1",
    ]
    if upper:
        lines += [f"\tLAD\tGR2,-{offset},GR2", "\tST\tGR2,BUF,GR1"]
    lines += [
        "\tLAD\tGR1,1,GR1",
        "\tJUMP\tNEXT",
        "DONE\tOUT\tBUF,LEN",
        "\tLD\tGR0,LEN",
        "\tRET",
        "BUF\tDS\t256",
        "LEN\tDS\t1",
        "\tEND",
    ]
    return "\n".join(lines) + "\n"


def main():
    folder = sys.argv[1]
    os.makedirs(os.path.join(folder, "class"), exist_ok=True)
    with open(os.path.join(folder, "class.tests"), "w") as tests:
        tests.write("# the word in capitals, its length in GR0 and LEN\nsteps 1000000\n")
        for word in WORDS:
            tests.write(f"\ncase {word}\nin {word}\nout {word.upper()}\nexpect GR0={len(word)}\nexpect LEN={len(word)}\n")
    registers = ["GR3", "GR4", "GR5", "GR6", "GR7"]
    for n in range(36):
        with open(os.path.join(folder, "class", f"s{n:02}.asm"), "w") as f:
            f.write(program(registers[n % 5], 50000 - 100 * n))
    wrong = {"w1": program("GR3", 50000, upper=False), "w2": program("GR4", 50000, offset=31),
             "w3": program("GR5", 50000).replace("\tLD\tGR0,LEN\n", ""),
             "w4": program("GR6", 50000).replace("\tOUT\tBUF,LEN\n", "\tOUT\tBUF,LEN\n\tOUT\tBUF,LEN\n")}
    for name, text in wrong.items():
        with open(os.path.join(folder, "class", f"{name}.asm"), "w") as f:
            f.write(text)
    with open(os.path.join(folder, "class", "x_endless.asm"), "w") as f:
        f.write("E\tSTART\nL\tJUMP\tL\n\tEND\n")


main()
