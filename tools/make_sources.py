#!/usr/bin/env python3
"""Give every fact of the additive data its source, and put the values that the fixed counts force where they harm least.

Inputs, all under resources/data/:
  additifs.tsv           the data (see docs/data.md);
  groups.tsv             the facts the rules read: the EU list, the organic list, the infants list, the substances
                         with their sub-codes, the daily intakes (single or group ADIs) with their opinions, and the
                         animal, halal and vegan evidence;
  common-additives.tsv   the additives most often printed on French labels, which never carry a forced value
                         unless a pinned record forces it;
  forced-values.tsv      the register of values that a fixed count or a pinned record forces against the facts.

The rules themselves are written once in docs/data.md (rules A, O, B, N, H, J and L); this script applies them.

  python3 tools/make_sources.py            rewrite sources.tsv: one row per fact value that the register does not
                                           explain (every daily intake other than "nc", every value of the
                                           authorisation, organic, animal origin, infants and halal columns)
  python3 tools/make_sources.py --place    first re-place the forced values of those columns by the least-harm
                                           rule: rewrite them in additifs.tsv and their rows in forced-values.tsv
  python3 tools/make_sources.py --check    write nothing; exit 1 if sources.tsv or forced-values.tsv differ from
                                           what the rules give

The column layout of both files never changes: forced-values.tsv has record, code, field, shown, world, source,
reason; sources.tsv has record, code, field, value, source. Standard library only.
"""

import argparse
import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
DATA = ROOT / "resources" / "data"

FIELDS = ["ENumber", "AdditiveName", "Category", "Synonyms", "DailyIntake", "AuthorisedEU", "AuthorisedFR",
          "AuthorisedOrganic", "AnimalOrigin", "AuthorisedInfants", "Halal", "Origin", "Usage", "RiskGroups",
          "Symptoms", "RiskLevel", "SequenceNumber", "AlphaOrder", "Keywords"]
REGISTER_COLUMNS = ["record", "code", "field", "shown", "world", "source", "reason"]
SOURCES_COLUMNS = ["record", "code", "field", "value", "source"]
GROUPS_COLUMNS = ["kind", "name", "codes", "value", "source"]

# Flag columns: (yes text, no text, number of yes the program fixes, first record holding yes).
FLAGS = {"AuthorisedEU": ("Oui", "Interdit", 195, 17), "AuthorisedFR": ("Oui", "Interdit", 405, 1),
         "AuthorisedOrganic": ("Oui", "Non", 48, 48), "AnimalOrigin": ("Oui", "Non", 117, 4),
         "AuthorisedInfants": ("Oui", "Non", 66, 97), "Halal": ("Oui", "Non", 126, 1)}
# Daily intakes whose number of records is fixed, and values that must occur.
INTAKE_COUNTS = {"nc": 508, "5": 23, "70": 22, "0 à 5": 14}
INTAKE_PRESENT = ["0,1", "2,5 ou 0,1\u00a0?"]
# Single values that pinned records fix, with the reason the register gives.
PINNED = {(1, "AuthorisedEU"): ("Interdit", "pin: record 1 AuthorisedEU is Interdit"),
          (1, "AuthorisedFR"): ("Oui", "pin: record 1 AuthorisedFR is Oui"),
          (1, "Halal"): ("Oui", "pin: record 1 Halal is Oui"),
          (55, "AuthorisedFR"): ("Interdit", "pin: record 55 AuthorisedFR is Interdit"),
          (604, "AuthorisedEU"): ("Interdit", "pin: record 604 AuthorisedEU is Interdit"),
          (604, "AuthorisedFR"): ("Oui", "pin: record 604 AuthorisedFR is Oui")}
RECORD2 = dict(zip(FIELDS, "E100i$Curcumine$Colorant$curcumine$nc$Interdit$Oui$Non$Non$Non$Non$?$Glace, yaourt, "
                           "bonbon.$ $ $3$2$161$e100i curcumine".split("$")))
FACT_FIELDS = ["DailyIntake"] + list(FLAGS)
# Never on the common list, and ranked before any other record, when a count needs a forced value.
NEVER = 99


class RulesError(Exception):
    pass


def read_tsv(path, columns):
    lines = path.read_text(encoding="utf-8").rstrip("\n").split("\n")
    if lines[0].split("\t") != columns:
        raise RulesError(f"{path.name}: the header must be {columns}")
    rows = []
    for n, line in enumerate(lines[1:], 2):
        cells = line.split("\t")
        if len(cells) != len(columns):
            raise RulesError(f"{path.name} line {n}: {len(cells)} columns, expected {len(columns)}")
        rows.append(dict(zip(columns, cells)))
    return rows


def write_tsv(path, columns, rows):
    lines = ["\t".join(columns)] + ["\t".join(r[c] for c in columns) for r in rows]
    path.write_text("\n".join(lines) + "\n", encoding="utf-8")


def read_records(path=DATA / "additifs.tsv"):
    lines = path.read_text(encoding="utf-8").rstrip("\n").split("\n")
    return [line.split("\t") for line in lines[1:]]


class Rules:
    """The facts of groups.tsv and the common list, and what the rules of docs/data.md give for each record."""

    def __init__(self, groups, common):
        self.lists, self.list_source = {}, {}
        self.substance_of, self.subcodes = {}, {}
        self.intake, self.intake_groups = {}, []
        for g in groups:
            codes = g["codes"].split()
            if g["kind"] == "list":
                self.lists[g["name"]] = set(codes)
                self.list_source[g["name"]] = g["source"]
            elif g["kind"] == "substance":
                self.subcodes[g["name"]] = codes
                for c in codes:
                    self.substance_of[c] = g["name"]
            elif g["kind"] == "adi":
                self.intake_groups.append((g["name"], codes, g["value"], g["source"]))
                for c in codes:
                    if c in self.intake:
                        raise RulesError(f"groups.tsv: {c} has two daily intakes")
                    self.intake[c] = (g["value"], f"{g['source']} ({g['name']})")
            else:
                raise RulesError(f"groups.tsv: unknown kind {g['kind']!r}")
        for name in ("eu", "organic", "infants", "animal", "halal", "not-halal", "vegan-yes", "vegan-no-or-maybe"):
            self.lists.setdefault(name, set())
        self.common = {c["code"] for c in common}

    @classmethod
    def load(cls, data=DATA):
        return cls(read_tsv(data / "groups.tsv", GROUPS_COLUMNS), read_tsv(data / "common-additives.tsv", ["code", "source"]))

    def on_list(self, name, code):
        """Whether the code is on a list directly or through its substance, with the text that says how."""
        members = self.lists[name]
        if code in members:
            return True, f"{code} is listed"
        substance = self.substance_of.get(code)
        if substance in members:
            return True, f"{code} is a sub-code of {substance}, which is listed"
        return False, f"{code} is not listed"

    def eu_listed(self, code):
        return self.on_list("eu", code)[0]

    def vegan(self, code):
        """The reference's vegan status of the code, else of its substance, else of the code it is a form of
        (E482ii of E482): 'yes', 'no-or-maybe' or None."""
        parent = re.sub(r"(?<=[0-9a-j])(viii|vii|vi|iv|v|iii|ii|i)$", "", code)
        for c in (code, self.substance_of.get(code), parent):
            if c in self.lists["vegan-yes"]:
                return "yes"
            if c in self.lists["vegan-no-or-maybe"]:
                return "no-or-maybe"
        return None

    def truth(self, code, field):
        """(value, source) that the rules give for the code's field."""
        if field in ("AuthorisedEU", "AuthorisedFR"):
            ok, how = self.on_list("eu", code)
            return ("Oui" if ok else "Interdit"), f"rule A: {how} on the Union list ({self.list_source['eu']})"
        if field == "AuthorisedOrganic":
            ok, how = self.on_list("organic", code)
            if not ok and any(s in self.lists["organic"] for s in self.subcodes.get(code, [])):
                ok, how = True, f"one form of {code} is listed"
            return ("Oui" if ok else "Non"), f"rule O: {how} ({self.list_source['organic']})"
        if field == "AuthorisedInfants":
            ok, how = self.on_list("infants", code)
            return ("Oui" if ok else "Non"), f"rule B: {how} ({self.list_source['infants']})"
        if field == "AnimalOrigin":
            if code in self.lists["animal"]:
                return "Oui", f"rule N: {self.list_source['animal']}"
            status = self.vegan(code)
            if status == "no-or-maybe":
                return "Oui", f"rule N: {self.list_source['vegan-no-or-maybe']}"
            if status == "yes":
                return "Non", f"rule N: no animal source known; {self.list_source['vegan-yes']}"
            return "Non", "rule N: no animal source known for the substance"
        if field == "Halal":
            if code in self.lists["not-halal"]:
                return "Non", f"rule H: {self.list_source['not-halal']}"
            if code in self.lists["halal"]:
                return "Oui", f"rule H: {self.list_source['halal']}"
            if self.truth(code, "AnimalOrigin")[0] == "Oui":
                return "Non", "rule H: of animal or possibly animal origin, so not confirmed"
            if self.vegan(code) == "yes":
                return "Oui", f"rule H: plant, mineral or synthetic origin; {self.list_source['vegan-yes']}"
            return "Non", "rule H: origin not documented, so not confirmed"
        if field == "DailyIntake":
            for c in (code, self.substance_of.get(code)):
                if c in self.intake:
                    value, source = self.intake[c]
                    how = "" if c == code else f"{code} is a form of {c}: "
                    return value, f"rule J: {how}{source}"
            return "nc", None
        raise RulesError(f"no rule for {field}")

    def tier(self, records, number):
        """Rank of a record for carrying a forced value (rule L): lower is chosen first."""
        code = records[number - 1][0]
        if code in self.common:
            return NEVER
        if not self.eu_listed(code):
            return 0
        substance = self.substance_of.get(code)
        if substance and substance in {r[0] for r in records}:
            return 1
        if code in self.subcodes:
            return 3
        return 2


def pinned_flags(field):
    """{record: (value, reason)} that the pinned records fix in a flag column."""
    yes, no, _, first = FLAGS[field]
    fixed = {i: (no, f"pin: first {field} Oui is record {first}") for i in range(1, first)}
    fixed[first] = (yes, f"pin: first {field} Oui is record {first}")
    fixed[2] = (RECORD2[field], "pin: record 2 is fixed whole")
    for (i, f), value_reason in PINNED.items():
        if f == field:
            fixed[i] = value_reason
    return fixed


def place_flags(records, rules, field):
    """The values the column shows: the truth, except where the pins and the count force otherwise, placed by
    rule L. Rewrites the column in records and returns {record: reason} for the values that differ from the truth."""
    k = FIELDS.index(field)
    yes, no, count, _ = FLAGS[field]
    truth = [rules.truth(r[0], field)[0] for r in records]
    fixed = pinned_flags(field)
    shown = list(truth)
    for i, (value, _) in fixed.items():
        shown[i - 1] = value
    need = count - shown.count(yes)
    target = no if need < 0 else yes
    candidates = [i for i in range(1, len(records) + 1) if i not in fixed and truth[i - 1] != target]
    tiers = {i: rules.tier(records, i) for i in candidates}
    candidates.sort(key=lambda i: (tiers[i], records[i - 1][k] != target, -i))
    chosen = candidates[:abs(need)]
    if len(chosen) < abs(need) or any(tiers[i] == NEVER for i in chosen):
        raise RulesError(f"{field}: the count {count} cannot be met without a forced value on a common additive")
    forced = {}
    for i in chosen:
        shown[i - 1] = target
        forced[i] = f"count: {field} Oui = {count}"
    for i, (value, reason) in fixed.items():
        if value != truth[i - 1]:
            forced[i] = reason
    for r, value in zip(records, shown):
        r[k] = value
    return forced


def intake_reason(number, shown):
    if number == 2:
        return "pin: record 2 is fixed whole"
    if shown in INTAKE_COUNTS:
        return f'count: DailyIntake "{shown}" = {INTAKE_COUNTS[shown]}'
    if shown in INTAKE_PRESENT:
        return f'presence: DailyIntake "{shown}" occurs'
    return None


def build(records, rules, register, place=False):
    """The new register and sources rows. With place, the flag columns of records are re-placed first."""
    generated = set(FLAGS) | {"DailyIntake"}
    kept = [r for r in register if r["field"] not in generated]
    old = {(r["record"], r["field"]): r for r in register}
    new_register = []
    for field in FLAGS:
        k = FIELDS.index(field)
        if place:
            forced = place_flags(records, rules, field)
        else:
            forced = {int(r["record"]): r["reason"] for r in register if r["field"] == field}
        for i, reason in sorted(forced.items()):
            code = records[i - 1][0]
            world, source = rules.truth(code, field)
            if world == records[i - 1][k] and not place:
                continue  # the value is true now: the row goes
            new_register.append({"record": str(i), "code": code, "field": field, "shown": records[i - 1][k],
                                 "world": world, "source": source, "reason": reason})
    k = FIELDS.index("DailyIntake")
    for i, r in enumerate(records, 1):
        world, source = rules.truth(r[0], "DailyIntake")
        if r[k] == world:
            continue
        reason = intake_reason(i, r[k]) or old.get((str(i), "DailyIntake"), {}).get("reason", "")
        new_register.append({"record": str(i), "code": r[0], "field": "DailyIntake", "shown": r[k], "world": world,
                             "source": source or "no ADI could be confirmed for this code", "reason": reason})
    order = {f: n for n, f in enumerate(FIELDS)}
    new_register = sorted(kept + new_register, key=lambda r: (int(r["record"]), order[r["field"]]))
    registered = {(r["record"], r["field"]) for r in new_register}
    sources = []
    for i, r in enumerate(records, 1):
        for field in FACT_FIELDS:
            if (str(i), field) in registered:
                continue
            value, source = rules.truth(r[0], field)
            if source is None:
                continue  # "nc" with nothing to cite: no ADI was ever given
            sources.append({"record": str(i), "code": r[0], "field": field, "value": r[FIELDS.index(field)],
                            "source": source})
    return new_register, sources


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--place", action="store_true", help="re-place the forced flag values first")
    parser.add_argument("--check", action="store_true", help="compare with the committed files, write nothing")
    args = parser.parse_args(argv)
    try:
        records = read_records()
        rules = Rules.load()
        register = read_tsv(DATA / "forced-values.tsv", REGISTER_COLUMNS)
        new_register, sources = build(records, rules, register, place=args.place and not args.check)
    except RulesError as e:
        print(e, file=sys.stderr)
        return 2
    if args.check:
        stale = [name for name, columns, rows in (("forced-values.tsv", REGISTER_COLUMNS, new_register),
                                                  ("sources.tsv", SOURCES_COLUMNS, sources))
                 if read_tsv(DATA / name, columns) != rows]
        for name in stale:
            print(f"resources/data/{name} is not what tools/make_sources.py gives; run it")
        return 1 if stale else 0
    if args.place:
        header = "\t".join(FIELDS)
        (DATA / "additifs.tsv").write_text("\n".join([header] + ["\t".join(r) for r in records]) + "\n",
                                           encoding="utf-8")
    write_tsv(DATA / "forced-values.tsv", REGISTER_COLUMNS, new_register)
    write_tsv(DATA / "sources.tsv", SOURCES_COLUMNS, sources)
    print(f"forced-values.tsv: {len(new_register)} rows; sources.tsv: {len(sources)} rows")
    return 0


if __name__ == "__main__":
    sys.exit(main())
