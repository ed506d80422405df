#!/usr/bin/env python3
"""Check the shipped additive database and keyword list.

Reads resources/data/korvelan.txt and resources/data/motcle.txt (or the files given with
--database and --keywords) and checks every property that the program and its tests rely on:
encoding, layout, the domain and counts of each field, the pinned records, the alphabetical
permutation, the keyword lines, and the keyword list with its letter counts.

It also checks the two files that explain the data without being shipped in the program:
resources/data/forced-values.tsv, the register of the values that a fixed count or a pinned record
forces against the public facts, and resources/data/sources.tsv, the source of each corrected daily
intake and authorisation. Every value they list must be the value the database holds.

With resources/data/groups.tsv and common-additives.tsv it checks the rules of docs/data.md: every value of the
fact columns (daily intake other than "nc", the two authorisation columns, organic, animal origin, infants, halal)
has a source row or a register row, never both; each is what the rules give; no register row shows the truth;
a substance and its sub-codes, and the members of each EFSA group ADI, share one risk class unless the register
explains it; no forced value sits on a common additive unless a pinned record forces it; and the forced values of a
flag column sit on the records that rule L ranks first; no free text states an infant-food use, an animal origin
or a non-authorisation that the rules deny.

Each violated property is printed on its own line; the exit status is 0 only when all hold.
Standard library only.
"""

import argparse
import collections
import re
import sys
import unicodedata
from pathlib import Path

import make_sources

ROOT = Path(__file__).resolve().parent.parent
DATA = ROOT / "resources" / "data"

RECORD_COUNT = 692
FIELD_COUNT = 19
DATABASE_BYTES = 138_948
KEYWORD_BYTES = 12_300

# Bytes allowed besides printable ASCII, in Windows-1252.
EXTRA_BYTES = set("àâçèéêïôûüÀ°’œ\u00a0".encode("cp1252"))
# Bytes that the shipped database must use: the degree sign, the typographic apostrophe, the ligature
# and the no-break space (the first three need Windows-1252 decoding rather than ISO 8859-1).
REQUIRED_BYTES = {0xB0: "°", 0x92: "’", 0x9C: "œ", 0xA0: "no-break space"}

FIELD_NAMES = ["ENumber", "AdditiveName", "Category", "Synonyms", "DailyIntake", "AuthorisedEU", "AuthorisedFR",
               "AuthorisedOrganic", "AnimalOrigin", "AuthorisedInfants", "Halal", "Origin", "Usage", "RiskGroups",
               "Symptoms", "RiskLevel", "SequenceNumber", "AlphaOrder", "Keywords"]
REGISTER_COLUMNS = ["record", "code", "field", "shown", "world", "source", "reason"]
SOURCES_COLUMNS = ["record", "code", "field", "value", "source"]

CODE_RE = re.compile(r"E[0-9]{3,4}[a-j]?(?:i|ii|iii|iv|v|vi|vii|viii)?")
WORD_RE = re.compile(r"[a-z][a-z0-9]{1,27}")

LETTER_COUNTS = dict(zip("abcdefghijklmnopqrstuvwxyz",
                         [64, 45, 75, 46, 715, 15, 44, 27, 13, 3, 5, 30, 46, 14, 23, 72, 2, 20, 59,
                          49, 1, 10, 1, 4, 0, 2]))

CATEGORY_COUNTS = {"Agent de texture": 138, "Antioxydant": 122, "Colorant": 110, "Conservateur": 65,
                   "Acidifiant": 38, "Divers - Edulcorant": 29}
DAILY_INTAKE_COUNTS = {"nc": 508, "5": 23, "70": 22, "0 à 5": 14}
DAILY_INTAKE_PRESENT = ["0,1", "2,5 ou 0,1\u00a0?"]
# field: (yes text, no text, yes count, no count, first record holding yes)
FLAG_FIELDS = {6: ("Oui", "Interdit", 195, 497, 17), 7: ("Oui", "Interdit", 405, 287, 1),
               8: ("Oui", "Non", 48, 644, 48), 9: ("Oui", "Non", 117, 575, 4),
               10: ("Oui", "Non", 66, 626, 97), 11: ("Oui", "Non", 126, 566, 1)}
ORIGIN_COUNTS = {"?": 527, "Chimique": 110, "Naturel": 44, "Nat. ou chim.": 11}
RISK_COUNTS = {"1": 101, "2": 158, "3": 227, "4": 160, "?": 46}

LINE2 = ("E100i$Curcumine$Colorant$curcumine$nc$Interdit$Oui$Non$Non$Non$Non$?$Glace, yaourt, bonbon.$ $ "
         "$3$2$161$e100i curcumine")


class Report:
    def __init__(self):
        self.failures = []

    def check(self, ok, message):
        if not ok:
            self.failures.append(message)
        return ok


def alpha_key(name):
    """Sort key of the alphabetical list: case and accents ignored."""
    folded = unicodedata.normalize("NFKD", name.replace("œ", "oe").replace("’", "'").replace("\u00a0", " "))
    return "".join(c for c in folded if not unicodedata.combining(c)).lower()


def code_number(code):
    m = re.match(r"E([0-9]+)", code)
    return int(m.group(1)) if m else -1


def count_values(records, k):
    return collections.Counter(r[k - 1] for r in records)


def check_counts(rep, records, k, expected, label):
    counts = count_values(records, k)
    for value, n in expected.items():
        rep.check(counts[value] == n, f"field {k} ({label}): {value!r} occurs {counts[value]} times, expected {n}")


def check_database(rep, raw):
    """Checks on the database bytes; returns the records (lists of 19 texts) for later checks."""
    rep.check(not raw.endswith(b"\r\n"), "database: ends with CR LF after the last line")
    for b in sorted(set(raw)):
        if b < 0x20 and b not in (0x0D, 0x0A):
            rep.check(False, f"database: control byte 0x{b:02X} occurs")
        elif b >= 0x7F and b not in EXTRA_BYTES:
            rep.check(False, f"database: byte 0x{b:02X} ({bytes([b]).decode('cp1252', 'replace')!r}) is not allowed")
    for b, name in REQUIRED_BYTES.items():
        rep.check(bytes([b]) in raw, f"database: byte 0x{b:02X} ({name}) does not occur")
    lines_raw = raw.split(b"\r\n")
    for i, line in enumerate(lines_raw, 1):
        if b"\r" in line or b"\n" in line:
            rep.check(False, f"line {i}: lone CR or LF")
    rep.check(len(lines_raw) == RECORD_COUNT, f"database: {len(lines_raw)} lines, expected {RECORD_COUNT}")
    text = raw.decode("cp1252", errors="replace")
    lines = text.split("\r\n")
    records = []
    for i, line in enumerate(lines, 1):
        fields = line.split("$")
        if not rep.check(len(fields) == FIELD_COUNT, f"line {i}: {len(fields)} fields, expected {FIELD_COUNT}"):
            fields = (fields + [""] * FIELD_COUNT)[:FIELD_COUNT]
        rep.check(102 <= len(line) <= 627, f"line {i}: {len(line)} characters, expected 102 to 627")
        for k, f in enumerate(fields, 1):
            rep.check(f != "", f"line {i} field {k}: zero-length")
            if k in (13, 14, 15):
                rep.check(f.strip() != "" or f == " ", f"line {i} field {k}: blank but not exactly one space")
            else:
                rep.check(f.strip() != "", f"line {i} field {k}: blank (only fields 13 to 15 may be)")
        records.append(fields)
    return records


def check_codes(rep, records):
    codes = [r[0] for r in records]
    for i, c in enumerate(codes, 1):
        rep.check(CODE_RE.fullmatch(c) is not None and 4 <= len(c) <= 8, f"line {i}: bad E-code {c!r}")
    rep.check(len(set(codes)) == 688, f"field 1: {len(set(codes))} distinct codes, expected 688")
    dups = {c: [i for i, x in enumerate(codes, 1) if x == c] for c in set(codes) if codes.count(c) > 1}
    expected_dups = {"E450iii": [351, 353], "E450viii": [352, 358]}
    for c, where in expected_dups.items():
        rep.check(dups.get(c) == where, f"field 1: {c} on lines {dups.get(c)}, expected {where}")
    e472 = [i for i, c in enumerate(codes, 1) if c in ("E472", "E472e") and len(dups.get(c, [])) > 1]
    rep.check(e472 == [390, 391, 392, 397], f"field 1: repeated E472/E472e on lines {e472}, expected 390, 391, 392, 397")
    if len(codes) >= 397:
        rep.check(codes[389] == "E472e" and codes[390] in ("E472e", "E472") and codes[391] == "E472"
                  and codes[396] == "E472", "field 1: lines 390-392 and 397 must be E472e, E472e or E472, E472, E472")
    others = {c for c in dups if c not in expected_dups and c not in ("E472", "E472e")}
    rep.check(not others, f"field 1: unexpected repeated codes {sorted(others)}")
    # Number order, with each base code before its suffixed codes.
    for i in range(1, len(codes)):
        rep.check(code_number(codes[i - 1]) <= code_number(codes[i]),
                  f"lines {i}-{i + 1}: {codes[i - 1]} then {codes[i]} is not in number order")
    first_line = {}
    for i, c in enumerate(codes, 1):
        first_line.setdefault(code_number(c), i)
    for i, c in enumerate(codes, 1):
        base = f"E{code_number(c)}"
        if c == base and i not in (392, 397):
            rep.check(first_line[code_number(c)] == i, f"line {i}: base code {c} comes after one of its suffixed codes")


def check_fields(rep, records):
    for i, r in enumerate(records, 1):
        name, cat, syn, kw = r[1], r[2], r[3], r[18]
        rep.check(2 <= len(name) <= 89, f"line {i} field 2: {len(name)} characters, expected 2 to 89")
        rep.check(name[:1].isupper(), f"line {i} field 2: {name!r} does not begin with a capital letter")
        rep.check(len(cat) <= 64, f"line {i} field 3: longer than 64 characters")
        rep.check(len(syn) <= 139, f"line {i} field 4: {len(syn)} characters, expected at most 139")
        rep.check(all(p.strip() == p and p for p in syn.split(", ")), f"line {i} field 4: badly separated names {syn!r}")
        rep.check(len(r[14]) <= 211, f"line {i} field 15: {len(r[14])} characters, expected at most 211")
        rep.check(r[15] in RISK_COUNTS, f"line {i} field 16: {r[15]!r} is not a risk class")
        rep.check(r[11] in ORIGIN_COUNTS, f"line {i} field 12: {r[11]!r} is not an origin")
        for k, (yes, no, _, _, _) in FLAG_FIELDS.items():
            rep.check(r[k - 1] in (yes, no), f"line {i} field {k}: {r[k - 1]!r}, expected {yes!r} or {no!r}")
        rep.check(len(kw) <= 107, f"line {i} field 19: {len(kw)} characters, expected at most 107")
        words = kw.split(" ")
        rep.check(all(re.fullmatch(r"[a-z0-9]+", w) for w in words),
                  f"line {i} field 19: {kw!r} is not lower-case words separated by single spaces")
        rep.check(words[0] == r[0].lower(), f"line {i} field 19: first word {words[0]!r} is not {r[0].lower()!r}")
        for w in words[1:]:
            rep.check(WORD_RE.fullmatch(w) is not None and not re.search(r"[0-9]", w),
                      f"line {i} field 19: word {w!r} is not 2 to 28 letters")
        rep.check(r[16].isdigit(), f"line {i} field 17: {r[16]!r} is not a number")
        rep.check(r[17].isdigit(), f"line {i} field 18: {r[17]!r} is not a number")

    cats = count_values(records, 3)
    rep.check(len(cats) == 55, f"field 3: {len(cats)} distinct categories, expected 55")
    check_counts(rep, records, 3, CATEGORY_COUNTS, "category")
    lower_syn = sum(1 for r in records if r[3][:1].islower())
    rep.check(lower_syn == 691, f"field 4: {lower_syn} records begin with a lower-case letter, expected 691")
    check_counts(rep, records, 5, DAILY_INTAKE_COUNTS, "daily intake")
    intakes = count_values(records, 5)
    for v in DAILY_INTAKE_PRESENT:
        rep.check(intakes[v] > 0, f"field 5: the value {v!r} does not occur")
    for k, (yes, no, ny, nn, first) in FLAG_FIELDS.items():
        check_counts(rep, records, k, {yes: ny, no: nn}, "flag")
        firsts = [i for i, r in enumerate(records, 1) if r[k - 1] == yes]
        rep.check(firsts[:1] == [first], f"field {k}: first {yes!r} on record {firsts[:1]}, expected {first}")
    check_counts(rep, records, 12, ORIGIN_COUNTS, "origin")
    check_counts(rep, records, 13, {" ": 377, "Nombreux aliments.": 68}, "usage")
    check_counts(rep, records, 14, {" ": 663}, "risk groups")
    check_counts(rep, records, 15, {" ": 421}, "symptoms")
    check_counts(rep, records, 16, RISK_COUNTS, "risk class")
    names = [r[1] for r in records]
    trailing = [n for n in names if n.endswith(" ")]
    rep.check(len(trailing) == 13, f"field 2: {len(trailing)} names end with a space, expected 13")
    rep.check("Phosphate de diamidon acétylé " in names, "field 2: 'Phosphate de diamidon acétylé ' is missing")
    rep.check(any(r[13] == "Enfants de moins de 3 ans " for r in records),
              "field 14: 'Enfants de moins de 3 ans ' does not occur")


def check_numbers(rep, records):
    seq = [r[16] for r in records]
    for i, s in enumerate(seq, 1):
        want = {390: "391", 391: "392", 392: "390"}.get(i, str(i))
        rep.check(s == want, f"line {i} field 17: {s!r}, expected {want!r}")
    alpha = [int(r[17]) if r[17].isdigit() else 0 for r in records]
    rep.check(sorted(alpha) == list(range(1, RECORD_COUNT + 1)), "field 18: not a permutation of 1..692")
    rep.check(alpha[:3] == [604, 161, 160], f"field 18: begins {alpha[:3]}, expected [604, 161, 160]")
    if sorted(alpha) == list(range(1, RECORD_COUNT + 1)):
        keys = [(alpha_key(records[n - 1][1]), n) for n in alpha]
        for p in range(1, len(keys)):
            rep.check(keys[p - 1] <= keys[p], f"field 18: position {p + 1} (record {alpha[p]}, "
                      f"{records[alpha[p] - 1][1]!r}) sorts before position {p} ({records[alpha[p - 1] - 1][1]!r})")


def check_pinned(rep, records, lines):
    def field(i, k):
        return records[i - 1][k - 1]

    pins = [(1, 1, "E100"), (1, 2, "Curcumine"), (1, 3, "Colorant"), (1, 4, "curcumine, turmérique"),
            (1, 6, "Interdit"), (1, 7, "Oui"), (1, 11, "Oui"), (1, 14, " "), (1, 16, "3"), (1, 17, "1"),
            (1, 18, "604"), (1, 19, "e100 curcumine turmerique"), (3, 1, "E100ii"), (55, 1, "E160aiii"),
            (55, 7, "Interdit"), (62, 2, "Lycopène de synthèse"), (160, 2, "Acétate de calcium"),
            (161, 2, "Acétate d'ammonium"), (212, 1, "E330"), (604, 1, "E950"), (604, 2, "Acésulfate de potassium"),
            (604, 3, "Divers - Edulcorant"), (604, 6, "Interdit"), (604, 7, "Oui"), (604, 16, "4"),
            (636, 1, "E1000"), (636, 19, "e1000 acide cholique"), (692, 1, "E1522")]
    for i, k, want in pins:
        rep.check(field(i, k) == want, f"record {i} field {k}: {field(i, k)!r}, expected {want!r}")
    rep.check(lines[1] == LINE2, f"record 2: {lines[1]!r} differs from the pinned line")
    rep.check(field(1, 15).startswith(" ") and "œdèmes" in field(1, 15),
              "record 1 field 15: must begin with a space and contain 'œdèmes'")
    rep.check("curcumine" not in field(3, 19), "record 3 field 19: must not contain 'curcumine'")
    rep.check(any(r[0] == "E472" and r[18] == "e472 ester acide gras" for r in records),
              "no E472 record has field 19 'e472 ester acide gras'")


def search(records, word):
    """Records whose field 19 contains the word, ignoring case (the keyword search)."""
    return [i for i, r in enumerate(records, 1) if word.lower() in r[18].lower()]


def check_search(rep, records):
    e100 = [records[i - 1][0] for i in search(records, "e100")]
    want_e100 = ["E100", "E100i", "E100ii", "E1000", "E1001"] + [f"E1001{n}" for n in
                                                                 ("i", "ii", "iii", "iv", "v", "vi")]
    facts = [("curcumine", lambda hits: hits == [1, 2], "records 1 and 2"),
             ("acide citrique", lambda hits: hits == [212], "record 212 only"),
             ("acide", lambda hits: len(hits) == 84, "84 records"),
             (" acide", lambda hits: len(hits) == 81, "81 records"),
             ("xyz", lambda hits: hits == [], "no record")]
    for word, ok, want in facts:
        hits = search(records, word)
        rep.check(ok(hits), f"search {word!r}: {len(hits)} records {hits[:12]}, expected {want}")
    rep.check(sorted(e100) == sorted(want_e100), f"search 'e100': {e100}, expected {want_e100}")


def check_keywords(rep, raw, records):
    rep.check(raw.endswith(b"\x00\x00") and not raw.endswith(b"\x00\x00\x00"),
              "keyword list: must end with exactly two NUL bytes")
    text = raw.rstrip(b"\x00")
    rep.check(not text.endswith(b"\r\n"), "keyword list: CR LF after the last word")
    words = text.decode("cp1252", errors="replace").split("\r\n")
    rep.check(len(words) == 1385, f"keyword list: {len(words)} words, expected 1385")
    for w in words:
        rep.check(WORD_RE.fullmatch(w) is not None, f"keyword list: {w!r} is not 2 to 28 letters and digits")
    rep.check(words == sorted(set(words)), "keyword list: not unique and in ascending character-code order")
    field_words = {w for r in records for w in r[18].split(" ")}
    missing = sorted(field_words - set(words))
    extra = sorted(set(words) - field_words)
    rep.check(not missing, f"keyword list: words of field 19 missing from the list: {missing[:20]}")
    rep.check(not extra, f"keyword list: words in no field 19: {extra[:20]}")
    with_digits = sorted(w for w in words if re.search(r"[0-9]", w))
    codes = sorted({r[0].lower() for r in records})
    rep.check(len(with_digits) == 688 and with_digits == codes,
              f"keyword list: {len(with_digits)} words with digits, expected the 688 lower-case codes")
    by_letter = collections.Counter(w[0] for w in words)
    for letter, n in LETTER_COUNTS.items():
        rep.check(by_letter[letter] == n, f"keyword list: {by_letter[letter]} words begin with {letter!r}, expected {n}")

    def starting(prefix):
        return [w for w in words if w.startswith(prefix)]

    a_words = starting("a")
    rep.check(a_words[:3] == ["abeille", "acacia", "acesulfame"], f"suggestions 'a': begin {a_words[:3]}")
    rep.check(len(a_words) >= 64 and a_words[63] == "azote", "suggestions 'a': the 64th word is not 'azote'")
    rep.check(starting("b")[:1] == ["bacillus"], f"suggestions 'b': begin {starting('b')[:1]}")
    e_words = starting("e")
    rep.check(e_words[:1] == ["e100"] and e_words[-1:] == ["eucheuma"],
              f"suggestions 'e': run from {e_words[:1]} to {e_words[-1:]}, expected e100 to eucheuma")
    exact = [("z", ["zeaxanthine", "zinc"]), ("zi", ["zinc"]), ("y", []),
             ("ac", ["acacia", "acesulfame", "acesulfate", "acetate", "acetique", "acetoglyceride", "acetone",
                     "acetyle", "acide"])]
    for prefix, want in exact:
        rep.check(starting(prefix) == want, f"suggestions {prefix!r}: {starting(prefix)}, expected {want}")
    rep.check(len(starting("e1")) == 167, f"suggestions 'e1': {len(starting('e1'))} words, expected 167")
    e100 = starting("e100")
    rep.check(len(e100) == 11 and e100[0] == "e100" and e100[-1] == "e100ii",
              f"suggestions 'e100': {e100}, expected 11 words from e100 to e100ii")
    rep.check(starting("e1")[:4] == ["e100", "e1000", "e1001", "e1001i"], "suggestions 'e1': wrong beginning")
    o = starting("or")
    rep.check(len(o) == 9 and o[:2] == ["or", "orange"], f"suggestions 'or': {o}, expected 9 words from or, orange")
    rep.check(words[-1:] == ["zinc"], "keyword list: the last word is not 'zinc'")


def check_listed_values(rep, path, columns, value_column, records):
    """A register file (UTF-8, tab-separated, header line): each row names a record, its code, a field and a
    value that must be what the database holds there; the other columns must not be empty."""
    if not rep.check(path.exists(), f"{path.name}: missing"):
        return
    lines = path.read_text(encoding="utf-8").rstrip("\n").split("\n")
    rep.check(lines[0].split("\t") == columns, f"{path.name}: the header must be {columns}")
    seen = set()
    for n, line in enumerate(lines[1:], 2):
        row = line.split("\t")
        if not rep.check(len(row) == len(columns), f"{path.name} line {n}: {len(row)} columns, expected {len(columns)}"):
            continue
        cell = dict(zip(columns, row))
        where = f"{path.name} line {n} ({cell['code']} {cell['field']})"
        rep.check(all(v.strip() for v in row), f"{where}: empty column")
        rep.check((cell["record"], cell["field"]) not in seen, f"{where}: listed twice")
        seen.add((cell["record"], cell["field"]))
        number = int(cell["record"]) if cell["record"].isdigit() else 0
        if not rep.check(1 <= number <= len(records), f"{where}: no record {cell['record']!r}"):
            continue
        if not rep.check(cell["field"] in FIELD_NAMES, f"{where}: no field named {cell['field']!r}"):
            continue
        record = records[number - 1]
        rep.check(record[0] == cell["code"], f"{where}: record {number} is {record[0]}")
        held = record[FIELD_NAMES.index(cell["field"])]
        rep.check(held == cell[value_column], f"{where}: lists {cell[value_column]!r} but the database holds {held!r}")


def read_rows(path, columns):
    lines = path.read_text(encoding="utf-8").rstrip("\n").split("\n")
    return [dict(zip(columns, line.split("\t"))) for line in lines[1:] if len(line.split("\t")) == len(columns)]


def risk_groups(rules):
    """The groups whose members must share a risk class: each substance with its sub-codes, and each EFSA group
    ADI of two codes or more."""
    groups = [(f"substance {s}", [s] + subs) for s, subs in rules.subcodes.items()]
    groups += [(f"EFSA group ADI {name}", codes) for name, codes, value, source in rules.intake_groups
               if "EFSA" in source.split(",")[0] and value != "nc" and len(codes) > 1]
    return groups


# Words of the free texts that state a fact of a flag column: (field, words, flag column, value the rules must give).
TEXT_FACTS = [(13, re.compile(r"infantile|nourrisson"), "AuthorisedInfants", "Oui"),
              (15, re.compile(r"origine animale"), "AnimalOrigin", "Oui"),
              (13, re.compile(r"Non autorisé"), "AuthorisedFR", "Interdit")]


def check_rules(rep, records, register_path, sources_path, groups_path, common_path):
    """The rules of docs/data.md against the data, the register and the sources."""
    try:
        rules = make_sources.Rules(make_sources.read_tsv(groups_path, make_sources.GROUPS_COLUMNS),
                                   make_sources.read_tsv(common_path, ["code", "source"]))
    except (OSError, make_sources.RulesError) as e:
        rep.check(False, f"rules: {e}")
        return
    register = read_rows(register_path, REGISTER_COLUMNS)
    sources = read_rows(sources_path, SOURCES_COLUMNS)
    registered = {(r["record"], r["field"]): r for r in register}
    sourced = {(r["record"], r["field"]): r for r in sources}
    for key in sorted(set(registered) & set(sourced)):
        rep.check(False, f"record {key[0]} {key[1]}: listed in both forced-values.tsv and sources.tsv")
    for r in register:
        rep.check(r["world"] != r["shown"], f"forced-values.tsv: record {r['record']} {r['field']}: the world value "
                  f"{r['world']!r} equals the value shown")
    for i, rec in enumerate(records, 1):
        for field in make_sources.FACT_FIELDS:
            key = (str(i), field)
            held = rec[FIELD_NAMES.index(field)]
            truth = rules.truth(rec[0], field)[0]
            if key in registered:
                rep.check(registered[key]["world"] == truth, f"forced-values.tsv: record {i} ({rec[0]}) {field}: "
                          f"world {registered[key]['world']!r}, the rules give {truth!r}")
            elif key in sourced:
                rep.check(held == truth, f"sources.tsv: record {i} ({rec[0]}) {field} is {held!r}, the rules give {truth!r}")
            elif not (field == "DailyIntake" and held == "nc"):
                rep.check(False, f"record {i} ({rec[0]}) {field}: {held!r} has no source and no register row")
    for i, rec in enumerate(records, 1):
        for k, words, field, value in TEXT_FACTS:
            if words.search(rec[k - 1]):
                rep.check(rules.truth(rec[0], field)[0] == value, f"record {i} ({rec[0]}) field {k} says "
                          f"{words.search(rec[k - 1]).group(0)!r} but the rules give {field} "
                          f"{rules.truth(rec[0], field)[0]!r}")
    for name, codes in risk_groups(rules):
        classes = {records[i - 1][15] for i in range(1, len(records) + 1)
                   if records[i - 1][0] in codes and (str(i), "RiskLevel") not in registered}
        rep.check(len(classes) <= 1, f"risk classes: {name} holds {sorted(classes)} without a register row")
    for r in register:
        rep.check(r["code"] not in rules.common or r["reason"].startswith("pin:"),
                  f"forced-values.tsv: record {r['record']} ({r['code']}) {r['field']}: a forced value on a common "
                  f"additive that no pin forces")
    tiers = [None] + [rules.tier(records, i) for i in range(1, len(records) + 1)]
    for field in make_sources.FLAGS:
        k = FIELD_NAMES.index(field)
        pinned = make_sources.pinned_flags(field)
        forced = [int(r["record"]) for r in register if r["field"] == field and r["reason"].startswith("count:")]
        for i in forced:
            shown = records[i - 1][k]
            better = [j for j in range(1, len(records) + 1) if j not in pinned and (str(j), field) not in registered
                      and records[j - 1][k] != shown and tiers[j] < tiers[i]]
            rep.check(not better, f"{field}: record {i} ({records[i - 1][0]}) carries a forced value while record "
                      f"{better[:1]} ({records[better[0] - 1][0] if better else ''}) ranks before it by rule L")


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--database", type=Path, default=DATA / "korvelan.txt")
    parser.add_argument("--keywords", type=Path, default=DATA / "motcle.txt")
    parser.add_argument("--register", type=Path, default=DATA / "forced-values.tsv")
    parser.add_argument("--sources", type=Path, default=DATA / "sources.tsv")
    parser.add_argument("--groups", type=Path, default=DATA / "groups.tsv")
    parser.add_argument("--common", type=Path, default=DATA / "common-additives.tsv")
    args = parser.parse_args(argv)

    rep = Report()
    db = args.database.read_bytes()
    kw = args.keywords.read_bytes()
    records = check_database(rep, db)
    lines = db.decode("cp1252", errors="replace").split("\r\n")
    if len(records) >= RECORD_COUNT:
        check_codes(rep, records)
        check_fields(rep, records)
        check_numbers(rep, records)
        check_pinned(rep, records, lines)
        check_search(rep, records)
        check_listed_values(rep, args.register, REGISTER_COLUMNS, "shown", records)
        check_listed_values(rep, args.sources, SOURCES_COLUMNS, "value", records)
        if args.register.exists() and args.sources.exists():
            check_rules(rep, records, args.register, args.sources, args.groups, args.common)
    check_keywords(rep, kw, records)

    rep.check(len(db) == DATABASE_BYTES, f"database: {len(db)} bytes, expected {DATABASE_BYTES}")
    rep.check(len(kw) == KEYWORD_BYTES, f"keyword list: {len(kw)} bytes, expected {KEYWORD_BYTES}")

    for message in rep.failures:
        print(message)
    if rep.failures:
        print(f"{len(rep.failures)} properties violated")
        return 1
    print(f"all properties hold ({len(db)} + {len(kw)} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
