"""Unit tests of the data generator's tricky parts and of the validator's ability to see a fault."""

import io
import contextlib
import tempfile
import unittest
from pathlib import Path

import make_data
import validate_data


def record(code="E100", name="Curcumine", keywords="e100 curcumine", **overrides):
    fields = dict(zip(make_data.FIELDS, [code, name, "Colorant", "curcumine", "nc", "Oui", "Oui", "Non", "Non", "Non",
                                         "Non", "?", " ", " ", " ", "3", "1", "1", keywords]))
    fields.update(overrides)
    return [fields[f] for f in make_data.FIELDS]


class DatabaseBytes(unittest.TestCase):
    def test_layout_and_encoding(self):
        recs = [record(Symptoms=" œdèmes’\u00a0°"), record(code="E101", keywords="e101")]
        data = make_data.database_bytes(recs)
        self.assertFalse(data.endswith(b"\r\n"))
        self.assertEqual(data.count(b"\r\n"), 1)
        first = data.split(b"\r\n")[0]
        self.assertEqual(first.count(b"$"), 18)
        self.assertIn(b" \x9cd\xe8mes\x92\xa0\xb0", first)

    def test_character_outside_windows_1252_is_refused(self):
        with self.assertRaises(make_data.SourceError):
            make_data.database_bytes([record(name="Zéaxanthine β")])


class KeywordBytes(unittest.TestCase):
    def test_sorted_by_character_code_with_two_nuls(self):
        recs = [record(keywords="e1001i acide zinc"), record(keywords="e100 acide"), record(keywords="e1000 abeille")]
        self.assertEqual(make_data.keyword_bytes(recs),
                         b"abeille\r\nacide\r\ne100\r\ne1000\r\ne1001i\r\nzinc\x00\x00")


class AlphaOrder(unittest.TestCase):
    def test_case_and_accents_ignored(self):
        cases = [
            (["Acétate de calcium", "Acétate d'ammonium", "Acésulfate de potassium"], ["3", "2", "1"]),
            (["zinc", "Érythrosine", "acide"], ["3", "2", "1"]),
            (["Curcumine", "Curcumine"], ["1", "2"]),
            (["Œnocyanine", "Oeillet", "Ocre"], ["3", "2", "1"]),
        ]
        for names, want in cases:
            with self.subTest(names=names):
                self.assertEqual(make_data.alpha_order([record(name=n) for n in names]), want)


class SourceReading(unittest.TestCase):
    def read(self, lines):
        with tempfile.TemporaryDirectory() as d:
            path = Path(d) / "additifs.tsv"
            path.write_text("\n".join(lines) + "\n", encoding="utf-8")
            return make_data.read_source(path)

    def test_faults_are_reported(self):
        header = "\t".join(make_data.FIELDS)
        good = "\t".join(record())
        cases = {
            "wrong header": ["\t".join(make_data.FIELDS[:-1]), good],
            "missing field": [header, "\t".join(record()[:-1])],
            "empty field": [header, "\t".join(record(RiskGroups=""))],
            "dollar sign": [header, "\t".join(record(Usage="5 $"))],
        }
        for label, lines in cases.items():
            with self.subTest(label), self.assertRaises(make_data.SourceError):
                self.read(lines)
        self.assertEqual(self.read([header, good]), [record()])


class ValidatorSeesFaults(unittest.TestCase):
    """The shipped files pass; a few single-byte faults in them do not."""

    def run_validator(self, database, keywords, register=None, **tables):
        """Runs the validator on the given bytes; each table not given (register, sources, groups, common) is the
        shipped one."""
        tables["register"] = register
        names = {"register": "forced-values.tsv", "sources": "sources.tsv", "groups": "groups.tsv",
                 "common": "common-additives.tsv"}
        with tempfile.TemporaryDirectory() as d:
            db, kw = Path(d) / "db", Path(d) / "kw"
            db.write_bytes(database)
            kw.write_bytes(keywords)
            args = ["--database", str(db), "--keywords", str(kw)]
            for option, name in names.items():
                path = Path(d) / name
                data = tables.get(option)
                path.write_bytes(data if data is not None else (make_data.DATA / name).read_bytes())
                args += [f"--{option}", str(path)]
            with contextlib.redirect_stdout(io.StringIO()) as out:
                status = validate_data.main(args)
            return status, out.getvalue()

    def test_faults(self):
        db = make_data.DATABASE.read_bytes()
        kw = make_data.KEYWORDS.read_bytes()
        self.assertEqual(self.run_validator(db, kw)[0], 0)
        cases = {
            "trailing CR LF": (db + b"\r\n", kw, "ends with CR LF"),
            "one NUL": (db, kw[:-1], "two NUL"),
            "risk class changed": (db.replace(b"$3$1$604$", b"$4$1$604$", 1), kw, "field 16"),
            "tab in a field": (db.replace(b"Curcumine", b"Curcu\tmine", 1), kw, "control byte"),
            "keyword dropped": (db, kw.replace(b"zeaxanthine\r\n", b""), "zeaxanthine"),
            "no degree sign": (db.replace(b"\xb0", b"o"), kw, "0xB0"),
        }
        for label, (d, k, message) in cases.items():
            with self.subTest(label):
                status, out = self.run_validator(d, k)
                self.assertEqual(status, 1)
                self.assertIn(message, out)

    def test_register_must_agree_with_the_data(self):
        db = make_data.DATABASE.read_bytes()
        kw = make_data.KEYWORDS.read_bytes()
        register = (make_data.DATA / "forced-values.tsv").read_text(encoding="utf-8")
        # Record 17 is E111: the register says its EU column shows "Oui".
        self.assertIn("\n17\tE111\tAuthorisedEU\tOui\t", register)
        cases = {
            "value the data does not hold": (register.replace("\n17\tE111\tAuthorisedEU\tOui\t", "\n17\tE111\tAuthorisedEU\tInterdit\t"),
                                             "but the database holds 'Oui'"),
            "wrong code for the record": (register.replace("\n17\tE111\t", "\n17\tE110\t"), "record 17 is E111"),
            "unknown field": (register.replace("\tAuthorisedEU\tOui\t", "\tAuthorizedEU\tOui\t", 1), "no field named"),
            "no reason given": (register.rstrip("\n").rsplit("\t", 1)[0] + "\t \n", "empty column"),
        }
        for label, (text, message) in cases.items():
            with self.subTest(label):
                status, out = self.run_validator(db, kw, text.encode("utf-8"))
                self.assertEqual(status, 1)
                self.assertIn(message, out)


class ValidatorChecksTheRules(unittest.TestCase):
    """Each fault in the explanation files, or between them and the rules, is reported."""

    @staticmethod
    def shipped(name):
        return (make_data.DATA / name).read_text(encoding="utf-8")

    def expect(self, message, database=None, **tables):
        db = database if database is not None else make_data.DATABASE.read_bytes()
        encoded = {k: v.encode("utf-8") for k, v in tables.items()}
        status, out = ValidatorSeesFaults.run_validator(self, db, make_data.KEYWORDS.read_bytes(), **encoded)
        self.assertEqual(status, 1, out)
        self.assertIn(message, out)

    def test_faults(self):
        register, sources = self.shipped("forced-values.tsv"), self.shipped("sources.tsv")
        groups, common = self.shipped("groups.tsv"), self.shipped("common-additives.tsv")
        e338 = next(l for l in sources.split("\n") if l.startswith("232\tE338\tDailyIntake\t40\t"))
        e111 = next(l for l in register.split("\n") if l.startswith("17\tE111\tAuthorisedEU\tOui\tInterdit\t"))
        phosphates = next(l for l in groups.split("\n") if l.startswith("adi\tphosphates (EFSA)\t"))
        cases = {
            "a value the rules do not give": (dict(groups=groups.replace(phosphates, phosphates.replace("\t40\t", "\t70\t"))),
                                              "the rules give '70'"),
            "a value in both files": (dict(register=register + "232\tE338\tDailyIntake\t40\t70\tx\tcount: x\n"),
                                      "listed in both"),
            "a world value equal to the value shown": (dict(register=register.replace(e111, e111.replace("\tInterdit\t", "\tOui\t", 1))),
                                                       "equals the value shown"),
            "a value without a source": (dict(sources=sources.replace(e338 + "\n", "")), "has no source and no register row"),
            "two risk classes in one substance": (dict(groups=groups + "substance\tE330\tE338\t-\tx\n"),
                                                  "risk classes: substance E330"),
            "a forced value on a common additive": (dict(common=common + "E965i\tx\n"),
                                                    "(E965i) AuthorisedFR: a forced value on a common additive"),
        }
        for label, (tables, message) in cases.items():
            with self.subTest(label):
                self.expect(message, **tables)

    def test_texts_that_contradict_a_column(self):
        # Each text is replaced by one of the same length, so that only the contradiction fails.
        db = make_data.DATABASE.read_bytes()
        cases = {
            "infant food named for an additive not allowed in it": (
                "Huiles, graisses, charcuterie, sauces.", "Huiles, graisses, aliments infantiles.",
                "says 'infantile' but the rules give AuthorisedInfants 'Non'"),
            "animal origin claimed for a plant substance": (
                "Aucun effet indésirable aux doses d’emploi selon l’EFSA (2017).",
                "Aucun effet indésirable ; origine animale possible (EFSA 2017).",
                "says 'origine animale' but the rules give AnimalOrigin 'Non'"),
        }
        for label, (old, new, message) in cases.items():
            with self.subTest(label):
                self.assertEqual(len(old.encode("cp1252")), len(new.encode("cp1252")))
                self.expect(message, db.replace(old.encode("cp1252"), new.encode("cp1252"), 1))

    def test_forced_value_placed_after_a_record_that_rule_l_ranks_first(self):
        # E965i, a sub-code of maltitol, carries a forced "Interdit" in the France column; moving it to E1505, a
        # rarely used code of its own, keeps every count but breaks the order of rule L.
        lines = make_data.DATABASE.read_bytes().decode("cp1252").split("\r\n")
        fr = make_data.FIELDS.index("AuthorisedFR")
        for number, value in ((627, "Oui"), (685, "Interdit")):
            fields = lines[number - 1].split("$")
            fields[fr] = value
            lines[number - 1] = "$".join(fields)
        register = "\n".join(l.replace("627\tE965i\tAuthorisedFR\t", "685\tE1505\tAuthorisedFR\t")
                             for l in self.shipped("forced-values.tsv").split("\n"))
        sources = "\n".join(l.replace("685\tE1505\tAuthorisedFR\tOui\t", "627\tE965i\tAuthorisedFR\tOui\t")
                            for l in self.shipped("sources.tsv").split("\n"))
        self.expect("AuthorisedFR: record 685 (E1505) carries a forced value while record", "\r\n".join(lines).encode("cp1252"),
                    register=register, sources=sources)


if __name__ == "__main__":
    unittest.main()
