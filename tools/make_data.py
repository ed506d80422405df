#!/usr/bin/env python3
"""Produce the shipped additive database and keyword list from resources/data/additifs.tsv.

additifs.tsv is the one source a maintainer edits: UTF-8, a header line with the 19 field names, then one
additive per line in database order, fields separated by tabs, each field exactly as the program shows it
(a blank field is one space). From it this script writes, byte for byte:

  resources/data/korvelan.txt  the database: Windows-1252, the records joined by CR LF (none after the last),
                               the 19 fields of a record joined by "$";
  resources/data/motcle.txt    the keyword list: every distinct word of the keyword fields (field 19), sorted
                               by character code, joined by CR LF, followed by two NUL bytes.

Options:
  --check         write nothing; exit 1 if a committed file differs from what would be written.
  --update-alpha  first rewrite field 18 (the alphabetical order) in additifs.tsv from the names.

Standard library only; the output depends on nothing but the source file.
"""

import argparse
import sys
import unicodedata
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
DATA = ROOT / "resources" / "data"
SOURCE = DATA / "additifs.tsv"
DATABASE = DATA / "korvelan.txt"
KEYWORDS = DATA / "motcle.txt"

FIELDS = ["ENumber", "AdditiveName", "Category", "Synonyms", "DailyIntake", "AuthorisedEU", "AuthorisedFR",
          "AuthorisedOrganic", "AnimalOrigin", "AuthorisedInfants", "Halal", "Origin", "Usage", "RiskGroups",
          "Symptoms", "RiskLevel", "SequenceNumber", "AlphaOrder", "Keywords"]
ALPHA = FIELDS.index("AlphaOrder")
NAME = FIELDS.index("AdditiveName")
KEYWORDS_FIELD = FIELDS.index("Keywords")


class SourceError(Exception):
    pass


def read_source(path=SOURCE):
    """The header and the records of the source file, each record a list of 19 texts."""
    text = path.read_text(encoding="utf-8")
    if text.endswith("\n"):
        text = text[:-1]
    lines = text.split("\n")
    header = lines[0].split("\t")
    if header != FIELDS:
        raise SourceError(f"{path.name}: the header must be the 19 field names {FIELDS}")
    records = []
    for number, line in enumerate(lines[1:], 2):
        fields = line.split("\t")
        if len(fields) != len(FIELDS):
            raise SourceError(f"{path.name} line {number}: {len(fields)} fields, expected {len(FIELDS)}")
        for name, value in zip(FIELDS, fields):
            if value == "":
                raise SourceError(f"{path.name} line {number}: {name} is empty (a blank field is one space)")
            if "$" in value or "\r" in value:
                raise SourceError(f"{path.name} line {number}: {name} contains '$' or CR")
        records.append(fields)
    return records


def encode(text, where):
    try:
        return text.encode("cp1252")
    except UnicodeEncodeError as e:
        raise SourceError(f"{where}: {text[e.start:e.end]!r} has no Windows-1252 byte") from None


def database_bytes(records):
    lines = [encode("$".join(r), f"record {i} ({r[0]})") for i, r in enumerate(records, 1)]
    return b"\r\n".join(lines)


def keyword_words(records):
    return sorted({w for r in records for w in r[KEYWORDS_FIELD].split(" ")})


def keyword_bytes(records):
    return encode("\r\n".join(keyword_words(records)), "keywords") + b"\x00\x00"


def alpha_key(name):
    """Case and accents ignored: the order of the alphabetical list."""
    folded = unicodedata.normalize("NFKD", name.replace("œ", "oe").replace("’", "'").replace("\u00a0", " "))
    return "".join(c for c in folded if not unicodedata.combining(c)).lower()


def alpha_order(records):
    """Field 18 of every record: position p holds the record number of the p-th name in alphabetical order."""
    order = sorted(range(1, len(records) + 1), key=lambda n: (alpha_key(records[n - 1][NAME]), n))
    return [str(n) for n in order]


def write_source(records, path=SOURCE):
    lines = ["\t".join(FIELDS)] + ["\t".join(r) for r in records]
    path.write_text("\n".join(lines) + "\n", encoding="utf-8")


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true", help="compare with the committed files, write nothing")
    parser.add_argument("--update-alpha", action="store_true", help="recompute field 18 in the source first")
    args = parser.parse_args(argv)

    try:
        records = read_source()
        if args.update_alpha and not args.check:
            for r, value in zip(records, alpha_order(records)):
                r[ALPHA] = value
            write_source(records)
        outputs = {DATABASE: database_bytes(records), KEYWORDS: keyword_bytes(records)}
    except SourceError as e:
        print(e, file=sys.stderr)
        return 2

    if args.check:
        stale = [p for p, data in outputs.items() if not p.exists() or p.read_bytes() != data]
        for p in stale:
            print(f"{p.relative_to(ROOT)} is not what tools/make_data.py produces from {SOURCE.name}; run it")
        return 1 if stale else 0
    for p, data in outputs.items():
        p.write_bytes(data)
        print(f"{p.relative_to(ROOT)}: {len(data)} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
