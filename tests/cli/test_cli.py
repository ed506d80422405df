"""The program answering on a terminal: exit codes and streams of every option and bad use, the card and the
exports compared with the records as the program loads them, all with no display in the environment and with
nothing written to disk.

usage: test_cli.py <korvelan executable> <source folder>
"""
import csv
import io
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

PROGRAM = None
SOURCE = None
RECORD_COUNT = 692
FIELD_NAMES = ["ENumber", "AdditiveName", "Category", "Synonyms", "DailyIntake", "AuthorisedEU", "AuthorisedFR",
               "AuthorisedOrganic", "AnimalOrigin", "AuthorisedInfants", "Halal", "Origin", "Usage", "RiskGroups",
               "Symptoms", "RiskLevel", "SequenceNumber", "AlphaOrder", "Keywords"]
# The captions of the detail panel in reading order, with the number of the field under each.
CAPTIONS = [("Catégorie:", 3), ("Synonymes:", 4), ("Risque", 16), ("DJA", 5), ("Naturel/Chim.", 12),
            ("Autorisé UE", 6), ("Autorisé FR", 7), ("Autorisé AB", 8), ("Origine AN", 9), ("Autorisé BB", 10),
            ("Halal", 11), ("Utilisation:", 13), ("Groupes à risques:", 14), ("Symptômes:", 15)]
VERSION = "Les KORVELAN 1.00\n"
REAL_VALUES_LINE = ("Valeurs réelles : chaque valeur imposée par le format de la base est remplacée par la valeur "
                    "réelle.")
# What ends a card line whose value is forced: its real value and source, or with --reel the database's value.
NOTE = re.compile(r"  \((en réalité|valeur de la base) : (.*) ; (.*)\)$")
COUNT_LINE = r"(Aucun additif trouvé|Un additif trouvé|\d+ additifs trouvés)\.\n"


def loaded_records():
    """The records as the program loads them from its embedded database: Windows-1252, lines split at CR LF,
    the first 692 of them, each cut at its first 18 "$"."""
    with open(os.path.join(SOURCE, "resources", "data", "korvelan.txt"), "rb") as f:
        text = f.read().decode("cp1252")
    return [line.split("$", 18) for line in text.split("\r\n")[:RECORD_COUNT]]


def register(name, value_column, records):
    """A register of resources/data as the program reads it: {(record, field name): row}, the first row of a
    value counting, and only the rows that describe the value the database holds."""
    entries = {}
    with open(os.path.join(SOURCE, "resources", "data", name), encoding="utf-8", newline="") as f:
        for row in csv.DictReader(f, delimiter="\t", quoting=csv.QUOTE_NONE):
            if not row["record"].isdigit() or row["field"] not in FIELD_NAMES:
                continue
            r = int(row["record"])
            if 1 <= r <= RECORD_COUNT and records[r - 1][FIELD_NAMES.index(row["field"])] == row[value_column]:
                entries.setdefault((r, row["field"]), row)
    return entries


class Terminal(unittest.TestCase):
    records = None

    @classmethod
    def setUpClass(cls):
        cls.records = loaded_records()
        cls.forced = register("forced-values.tsv", "shown", cls.records)
        cls.sourced = register("sources.tsv", "value", cls.records)

    def setUp(self):
        # Everything the program could write to lies under one folder, which must stay empty.
        self.root = tempfile.mkdtemp(prefix="korvelan-cli-")
        self.addCleanup(shutil.rmtree, self.root, True)
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        for name in ("HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "TMPDIR"):
            folder = os.path.join(self.root, name.lower())
            os.mkdir(folder, 0o700)
            self.env[name] = folder
        self.cwd = os.path.join(self.root, "cwd")
        os.mkdir(self.cwd)

    def tearDown(self):
        written = [os.path.join(d, f) for d, _, files in os.walk(self.root) for f in files]
        self.assertEqual(written, [], "the program wrote files")

    def run_program(self, *args, stdin=b""):
        result = subprocess.run([PROGRAM, *args], cwd=self.cwd, env=self.env, capture_output=True, timeout=30,
                                input=stdin)
        return result.returncode, result.stdout.decode("utf-8"), result.stderr.decode("utf-8")

    def test_exit_codes_and_streams(self):
        # arguments, exit code, pattern of the whole standard output, pattern of the whole standard error
        cases = [
            (["--help"], 0, r"Usage : korvelan .*--fiche CODE.*--recherche MOT.*--export FORMAT.*--reel.*", ""),
            (["-h"], 0, r"Usage : korvelan .*", ""),
            (["--version"], 0, re.escape(VERSION), ""),
            (["-v"], 0, re.escape(VERSION), ""),
            (["-platform", "offscreen", "--version"], 0, re.escape(VERSION), ""),
            (["--fiche", "E950"], 0, r"FICHE DE L'ADDITIF E950\n.*", ""),
            (["--fiche", "e950"], 0, r"FICHE DE L'ADDITIF E950\n.*", ""),
            (["--fiche=E950"], 0, r"FICHE DE L'ADDITIF E950\n.*", ""),
            (["--fiche", "E9999"], 1, "", r"korvelan : .*E9999.*\n"),
            (["--fiche", "950"], 0, r"FICHE DE L'ADDITIF E950\n.*", ""),
            (["--fiche", "aspartame"], 0, r"FICHE DE L'ADDITIF E951\n.*", ""),
            (["--fiche", "Acésulfame K"], 0, r"FICHE DE L'ADDITIF E950\n.*", ""),
            (["--fiche", "E950", "e951"], 0, r"FICHE DE L'ADDITIF E950\n.*\n\nFICHE DE L'ADDITIF E951\n.*", ""),
            # An unknown argument is named; the others are shown all the same.
            (["--fiche", "xyz", "E951"], 1, r"FICHE DE L'ADDITIF E951\n.*", r"korvelan : .*xyz.*\n"),
            (["--etiquette", "Sucre, acidifiant : E 330, émulsifiant : lécithines de SOJA."], 0,
             r"E330\tAcide citrique\t[^\t]+\t[1-4?]\tE 330\nE322\tLécithines\t[^\t]+\t[1-4?]\tlécithines\n",
             r"2 additifs trouvés\n"),
            (["--etiquette", "Eau, sucre, sel."], 0, "", r"Aucun additif trouvé\n"),
            (["--etiquette", " "], 2, "", r"korvelan : .*"),
            (["--etiquette"], 2, "", r"korvelan : .*etiquette.*"),
            (["--etiquette", "E330", "--fiche", "E330"], 2, "", r"korvelan : .*"),
            (["--recherche", "curcumine"], 0, r"(E\w+\t[^\t\n]+\t[^\t\n]+\t[1-4?]\n)+", COUNT_LINE),
            (["--recherche", "xyzzy"], 0, "", r"Aucun additif trouvé\.\n"),
            # Accents are folded before the search page's input check: "é" is one letter, too short.
            (["--recherche", "é"], 2, "", r"korvelan : .*2.*"),
            (["--recherche", "lécithine"], 0, r"E322\tLécithines\t.*", COUNT_LINE),
            (["--recherche", "€uro"], 2, "", r"Seuls les caractères:\n\n.*sont autorisés\.\n"),
            (["--recherche", "acide!"], 2, "", r"Seuls les caractères:.*"),
            (["--recherche", "a"], 2, "", r"korvelan : .*2.*"),
            (["--export", "csv"], 0, r"ENumber,AdditiveName,.*", ""),
            (["--export", "json"], 0, r"\{.*\}\n", ""),
            (["--export", "xml"], 2, "", r"korvelan : .*xml.*"),
            (["--export"], 2, "", r"korvelan : .*export.*"),
            (["--fiche"], 2, "", r"korvelan : .*fiche.*"),
            (["--recherche"], 2, "", r"korvelan : .*recherche.*"),
            (["--inconnue"], 2, "", r"korvelan : .*inconnue.*"),
            (["E950"], 2, "", r"korvelan : .*E950.*"),
            (["--fiche", "E950", "--export", "csv"], 2, "", r"korvelan : .*"),
            # The end of the options, and none before it: the window, which has no display here.
            (["--"], 1, "", r"Les KORVELAN ne peut pas démarrer : .*"),
            (["--reel"], 2, "", r"korvelan : .*--reel.*"),
            (["--reel", "--fiche", "E950"], 0, r"FICHE DE L'ADDITIF E950\n.*" + re.escape(REAL_VALUES_LINE) + r"\n", ""),
            (["--recherche", "curcumine", "--reel"], 0, r"(E\w+\t[^\t\n]+\t[^\t\n]+\t[1-4?]\n)+", COUNT_LINE),
            (["--reel", "--etiquette", "E950"], 0, r"E950\tAcésulfate de potassium\t[^\t\n]+\t[1-4?]\tE950\n", r"1 additif trouvé\n"),
            (["--reel", "--export", "csv"], 0, r"ENumber,AdditiveName,.*", ""),
        ]
        for args, code, out, err in cases:
            with self.subTest(args=args):
                got_code, got_out, got_err = self.run_program(*args)
                self.assertEqual(got_code, code, got_err)
                self.assertRegex(got_out, re.compile(f"^{out}$", re.S)) if out else self.assertEqual(got_out, "")
                self.assertRegex(got_err, re.compile(f"^{err}$", re.S)) if err else self.assertEqual(got_err, "")

    def test_a_write_error_on_standard_output_is_reported(self):
        # Even the smallest answers, which only the last flush writes, into a full disk.
        # (A search that finds nothing writes no row: its count goes to standard error, so it has nothing
        # to lose on standard output.)
        for args in (["--version"], ["-h"], ["--fiche", "E950"], ["--fiche", "aspartame", "950"],
                     ["--recherche", "curcumine"], ["--etiquette", "sucre, E330, lécithine de soja"],
                     ["--export", "csv"], ["--export", "json"]):
            with self.subTest(args=args), open("/dev/full", "wb") as full:
                result = subprocess.run([PROGRAM, *args], cwd=self.cwd, env=self.env, stdout=full,
                                        stderr=subprocess.PIPE, timeout=30)
                self.assertEqual(result.returncode, 1)
                self.assertTrue(result.stderr.decode("utf-8").endswith("korvelan : écriture impossible sur la sortie standard.\n"),
                                result.stderr)

    def cards(self, code, *options, notes=None):
        """The values of each card printed for code; the notes that end its lines go into `notes`, by card
        and field number."""
        code_, out, err = self.run_program(*options, "--fiche", code)
        self.assertEqual((code_, err), (0, ""))
        cards = []
        for block in out.split("\n\n"):
            lines = block.rstrip("\n").split("\n")
            if "--reel" in options:
                self.assertEqual(lines.pop(), REAL_VALUES_LINE)
            self.assertEqual(len(lines), 2 + len(CAPTIONS), block)
            self.assertTrue(lines[0].startswith("FICHE DE L'ADDITIF "), lines[0])
            fields = {1: lines[0][len("FICHE DE L'ADDITIF "):], 2: lines[1]}
            card_notes = {}
            for line, (caption, k) in zip(lines[2:], CAPTIONS):
                # The caption, spaces up to the value's column, then the value exactly as stored.
                self.assertRegex(line, f"^{re.escape(caption)} +")
                self.assertEqual(line[:20].rstrip(), caption)
                note = NOTE.search(line)
                if note:
                    card_notes[k] = note.groups()
                    line = line[:note.start()]
                fields[k] = line[20:]
            cards.append([fields[k] for k in range(1, 17)])
            if notes is not None:
                notes.append(card_notes)
        return cards

    def test_card_shows_the_loaded_fields(self):
        record_1 = self.records[0]
        self.assertEqual(self.cards(record_1[0]), [r[:16] for r in self.records if r[0] == record_1[0]])
        expected = [r[:16] for r in self.records if r[0].lower() == "e950"]
        self.assertTrue(expected)
        self.assertEqual(self.cards("e950"), expected)
        # The whole code is compared: E472 is not E472e.
        self.assertEqual(self.cards("e472"), [r[:16] for r in self.records if r[0] == "E472"])
        # A code that the database holds twice gives both cards, in database order.
        codes = [r[0] for r in self.records]
        twice = next(c for c in codes if codes.count(c) > 1)
        self.assertEqual(self.cards(twice), [r[:16] for r in self.records if r[0] == twice])

    def test_card_notes_each_forced_value(self):
        # E100 (shown first), E950 (its risk class and EU authorisation forced), E101 (animal origin forced).
        real = {r["ENumber"] + str(i): r for i, r in enumerate(self.export_json("--reel")["records"], 1)}
        for code in ("E100", "e950", "E101"):
            with self.subTest(code=code):
                numbers = [i for i, r in enumerate(self.records, 1) if r[0].lower() == code.lower()]
                notes, real_notes = [], []
                self.assertEqual(self.cards(code, notes=notes), [self.records[r - 1][:16] for r in numbers])
                real_cards = self.cards(code, "--reel", notes=real_notes)
                for r, card_notes, card_real_notes, real_card in zip(numbers, notes, real_notes, real_cards):
                    forced = {k for _, k in CAPTIONS if (r, FIELD_NAMES[k - 1]) in self.forced}
                    self.assertTrue(forced)
                    self.assertEqual(set(card_notes), forced)
                    self.assertEqual(set(card_real_notes), forced)
                    record = real[self.records[r - 1][0] + str(r)]
                    self.assertEqual(real_card, [record[name] for name in FIELD_NAMES[:16]])
                    for k in forced:
                        row = self.forced[(r, FIELD_NAMES[k - 1])]
                        self.assertEqual(card_notes[k][:2], ("en réalité", record[FIELD_NAMES[k - 1]]))
                        self.assertEqual(card_real_notes[k][:2], ("valeur de la base", row["shown"]))
                        if row["source"].startswith("Regulation (EC) No 1333/2008,"):
                            self.assertEqual(card_notes[k][2], "règlement (CE) n° 1333/2008")

    def test_search_finds_what_the_keywords_hold(self):
        code, out, err = self.run_program("--recherche", "CURCUMINE")
        self.assertEqual(code, 0)
        found = [r for r in self.records if "curcumine" in r[18]]
        self.assertEqual(err, {1: "Un additif trouvé."}.get(len(found), f"{len(found)} additifs trouvés.") + "\n")
        self.assertEqual(out.split("\n"), ["\t".join((r[0], r[1], r[2], r[15])) for r in found] + [""])
        # With --reel, the real values of the same additives.
        real = self.export_json("--reel")["records"]
        code, out, _ = self.run_program("--recherche", "CURCUMINE", "--reel")
        self.assertEqual(out.split("\n"), ["\t".join(real[r][k] for k in ("ENumber", "AdditiveName", "Category", "RiskLevel"))
                                            for r, record in enumerate(self.records) if "curcumine" in record[18]] + [""])

    def test_label_on_standard_input(self):
        # A label pasted from a web page: UTF-8, no-break spaces, several lines, read to the end.
        label = ("Ingrédients : jambon de porc 94%, sel, dextrose,\r\nantioxydant\u00a0: ascorbate de sodium, "
                 "conservateur : E\u00a0250.\nFabriqué en France.\n").encode("utf-8")
        code, out, err = self.run_program("--etiquette", "-", stdin=label)
        self.assertEqual((code, err), (0, "2 additifs trouvés\n"))
        self.assertEqual([line.split("\t")[0::4] for line in out.splitlines()],
                         [["E301", "ascorbate de sodium"], ["E250", "E\u00a0250"]])
        self.assertEqual(self.run_program("--etiquette", "-", stdin=b"")[0], 2)
    def export_json(self, *options):
        code, out, err = self.run_program("--export", "json", *options)
        self.assertEqual((code, err), (0, ""))
        return json.loads(out)

    def test_csv_round_trip(self):
        code, out, _ = self.run_program("--export", "csv")
        self.assertEqual(code, 0)
        self.assertTrue(out.endswith("\r\n"))
        rows = list(csv.reader(io.StringIO(out, newline="")))
        self.assertEqual(rows[0], FIELD_NAMES)
        self.assertEqual(rows[1:], self.records)
        # With --reel: the same 19 columns, holding what the JSON export with --reel holds.
        code, out, _ = self.run_program("--reel", "--export", "csv")
        rows = list(csv.reader(io.StringIO(out, newline="")))
        self.assertEqual(rows[0], FIELD_NAMES)
        self.assertEqual(rows[1:], [[r[name] for name in FIELD_NAMES] for r in self.export_json("--reel")["records"]])

    def test_json_round_trip(self):
        code, out, _ = self.run_program("--export", "json")
        self.assertEqual(code, 0)
        document = json.loads(out)
        self.assertEqual(document["licence"], "ODbL-1.0")
        self.assertIn("Open Food Facts", document["attribution"])
        metainfo = ET.parse(os.path.join(SOURCE, "packaging", "org.example.korvelan.metainfo.xml"))
        newest = max(release.get("date") for release in metainfo.iter("release"))
        self.assertEqual(document["date"], newest)
        for key in ("values", "corrections", "sources"):
            self.assertIn(key, document)
        for record in document["records"]:
            self.assertEqual(list(record), FIELD_NAMES + ["corrections", "sources"])
        self.assertEqual([[record[name] for name in FIELD_NAMES] for record in document["records"]], self.records)
        # The registers the program carries are the files of resources/data, row for row.
        corrections = {(r, name): dict(value, field=name)
                       for r, record in enumerate(document["records"], 1) for name, value in record["corrections"].items()}
        self.assertEqual(corrections, {key: {c: row[c] for c in ("field", "shown", "world", "source", "reason")}
                                       for key, row in self.forced.items()})
        sources = {(r, name): source
                   for r, record in enumerate(document["records"], 1) for name, source in record["sources"].items()}
        self.assertEqual(sources, {key: row["source"] for key, row in self.sourced.items()})

        # With --reel: the real value in place of each forced one, the rest as stored, the registers alike.
        real = self.export_json("--reel")
        self.assertNotEqual(real["values"], document["values"])
        for r, (stored, record) in enumerate(zip(document["records"], real["records"]), 1):
            self.assertEqual(record["corrections"], stored["corrections"])
            for name in FIELD_NAMES:
                correction = stored["corrections"].get(name)
                if correction is None:
                    self.assertEqual(record[name], stored[name], (r, name))
                elif correction["world"] in ("Oui", "Non", "Interdit"):
                    self.assertEqual(record[name], correction["world"], (r, name))


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    SOURCE = os.path.abspath(sys.argv.pop(2))
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
