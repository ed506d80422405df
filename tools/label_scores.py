#!/usr/bin/env python3
"""Precision and recall of the label reader on the corpus of ingredient lists, through the program itself.

usage: python3 tools/label_scores.py [korvelan executable] [corpus]
       default: build/startup/korvelan, tests/rules/data/etiquettes.txt (the lists the reader was tuned on;
       tests/rules/data/etiquettes-controle.txt holds lists written and annotated afterwards)

Each list of the corpus goes to `korvelan --etiquette -` on standard input; the codes printed are compared
with the codes the list is annotated with. Prints each list where they differ, then the totals.
Exit code 0 when both precision and recall reach 95%, 1 otherwise.
"""
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def read_corpus(path):
    entries = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("### "):
                entries.append({"title": line[4:], "codes": [], "text": ""})
            elif entries and line.startswith("="):
                entries[-1]["codes"] = line[1:].split()
            elif entries and not line.startswith("#"):
                entries[-1]["text"] += line + "\n"
    return entries


def main():
    program = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "startup", "korvelan")
    corpus = sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, "tests", "rules", "data", "etiquettes.txt")
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    entries = read_corpus(corpus)
    expected = found = right = 0
    for entry in entries:
        result = subprocess.run([program, "--etiquette", "-"], input=entry["text"].encode("utf-8"),
                                capture_output=True, env=env, check=True)
        got = [line.split("\t")[0] for line in result.stdout.decode("utf-8").splitlines()]
        expected += len(entry["codes"])
        found += len(got)
        right += sum(1 for code in got if code in entry["codes"])
        if set(got) != set(entry["codes"]):
            print(f"{entry['title']}\n  expected {' '.join(entry['codes'])}\n  found    {' '.join(got)}")
    precision = right / found if found else 1.0
    recall = right / expected if expected else 1.0
    print(f"{len(entries)} lists, {expected} additives expected, {found} found, {right} right: "
          f"precision {100 * precision:.1f}%, recall {100 * recall:.1f}%")
    return 0 if precision >= 0.95 and recall >= 0.95 else 1


if __name__ == "__main__":
    sys.exit(main())
