#!/usr/bin/env python3
"""Produce resources/data/noms-etiquettes.tsv, the French names that labels print for additives, which the
label reader adds to the names and synonyms of the database.

Source: the additives taxonomy of the Open Food Facts project (ODbL 1.0), as copied in additifs-faits.tsv
(one line per code, French names in the second column). Output: UTF-8, one line per code that has French
names, "code<TAB>name, name, ...", in the order of the source. Names that are bare food words, nutrients or
flavourings are left to the label reader's own stop list, not removed here.

usage: make_label_names.py <additifs-faits.tsv> [--check]
"""
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
OUTPUT = ROOT / "resources" / "data" / "noms-etiquettes.tsv"


# Names that labels print and the source lacks, checked against the EU's French additive list.
EXTRA = [
    ("E385", "EDTA de calcium disodium"),
    ("E410", "farine de graines de caroube, farine de caroube, graines de caroube"),
    ("E500ii", "bicarbonate de sodium"),
    ("E503ii", "bicarbonate d'ammonium"),
]


def build(source):
    lines = []
    with open(source, encoding="utf-8") as f:
        next(f)
        for line in f:
            columns = line.rstrip("\n").split("\t")
            if len(columns) > 1 and columns[1].strip():
                lines.append(f"{columns[0]}\t{columns[1].strip()}\n")
    lines += [f"{code}\t{names}\n" for code, names in EXTRA]
    return "".join(lines)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    text = build(sys.argv[1])
    if "--check" in sys.argv[2:]:
        sys.exit(0 if OUTPUT.read_text(encoding="utf-8") == text else 1)
    OUTPUT.write_text(text, encoding="utf-8")
