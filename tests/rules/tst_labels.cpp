// The label reader on the shipped database: every printed form of a code, the names labels print, the
// words that must not be taken for additives, and the precision and recall on a corpus of ingredient lists.
#include "additive.h"
#include "labelanalyser.h"

#include <QFile>
#include <QTest>

using namespace korvelan;
using namespace Qt::StringLiterals;

class TestLabels : public QObject {
    Q_OBJECT

private:
    AdditiveTable m_table;
    std::optional<LabelAnalyser> m_analyser;

    QStringList codesIn(const QString &text) const
    {
        QStringList codes;
        for (const LabelFinding &f : m_analyser->analyse(text))
            codes.append(m_table.field(ENumber, f.record).toString());
        return codes;
    }

private Q_SLOTS:
    void initTestCase();
    void findings_data();
    void findings();
    void matchedText();
    void lookup_data();
    void lookup();
    void corpus_data();
    void corpus();
};

void TestLabels::initTestCase()
{
    DatabaseLoad load = loadAdditiveTable(readEmbeddedResource);
    QVERIFY(!load.failure);
    m_table = std::move(load.table);
    QVERIFY(!labelNamesText().isEmpty());
    m_analyser.emplace(m_table, labelNamesText());
}

void TestLabels::findings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("codes");
    const auto row = [](const char *name, const QString &text, const QStringList &codes) {
        QTest::newRow(name) << text << codes;
    };
    // Codes, in every printed form.
    row("plain", u"acidifiant : E330."_s, {u"E330"_s});
    row("space", u"E 330"_s, {u"E330"_s});
    row("no-break space", u"E\u00a0330, E\u202f331"_s, {u"E330"_s, u"E331"_s});
    row("hyphen", u"E-330"_s, {u"E330"_s});
    row("small letter", u"e330"_s, {u"E330"_s});
    row("numeral in brackets", u"E160a(ii)"_s, {u"E160aii"_s});
    row("numeral after a space", u"E160a (ii)"_s, {u"E160aii"_s});
    row("letter after a space", u"E 160 a"_s, {u"E160a"_s});
    row("sub-code the database lacks", u"E420 (iii)"_s, {u"E420"_s});
    row("numeral glued", u"E420ii, E450iii"_s, {u"E420ii"_s, u"E450iii"_s});
    row("unknown code", u"E1999, E12, E 12345"_s, {});
    row("inside a word or a number", u"FE330, E33012, E330mg"_s, {});
    row("once each, first mention first", u"E322, E330, e322, lécithine"_s, {u"E322"_s, u"E330"_s});
    // Names as labels print them.
    row("qualified in capitals", u"émulsifiant : lécithines de SOJA"_s, {u"E322"_s});
    row("qualifier in brackets", u"lécithine (tournesol)"_s, {u"E322"_s});
    row("name", u"caramel ordinaire"_s, {u"E150a"_s});
    row("name 2", u"conservateur : nitrite de sodium"_s, {u"E250"_s});
    row("long name", u"extrait riche en tocophérols"_s, {u"E306"_s});
    row("plural", u"diphosphates, carbonates de sodium"_s, {u"E450"_s, u"E500"_s});
    row("no accents, capitals", u"ACESULFAME K, ASPARTAME"_s, {u"E950"_s, u"E951"_s});
    row("name and its code", u"diphosphates (E450i), carmins (E120)"_s, {u"E450i"_s, u"E120"_s});
    row("colour heading", u"colorants : caramel, paprika"_s, {u"E150"_s, u"E160c"_s});
    // Words that are not additives.
    row("food words", u"SOJA, noix de coco, vinaigre, flocons d'avoine, réglisse, raisins"_s, {});
    row("acid, sugar, salt", u"acide, sucre, sel, sucres, sel marin, arôme naturel, arômes"_s, {});
    row("spices", u"paprika, curcuma 2%, épices (paprika, curcuma)"_s, {});
    row("nutrients", u"vitamines (C, E, riboflavine), minéraux (carbonate de calcium, fer)"_s, {});
    row("nutrient heading", u"calcium (carbonate de calcium), vitamine C (acide ascorbique)"_s, {});
    row("maltodextrin and starch", u"maltodextrine, amidon modifié, gélatine de porc"_s, {});
    row("address and marketing",
        u"Fabriqué par Exemple SA, 3 rue de l'Église, 35000 Rennes. Énergie 1500 kJ. "
        u"Sans conservateur ni colorant."_s,
        {});
    row("empty", QString(), {});
}

void TestLabels::findings()
{
    QFETCH(QString, text);
    QFETCH(QStringList, codes);
    QCOMPARE(codesIn(text), codes);
}

void TestLabels::matchedText()
{
    // The piece of the text as typed, accents, capitals and spaces kept.
    const QString text = u"Sucre, émulsifiant : LÉCITHINES de soja, E\u00a0160 a (ii), œ."_s;
    const QList<LabelFinding> found = m_analyser->analyse(text);
    QCOMPARE(found.size(), 2);
    QCOMPARE(found[0].text, u"LÉCITHINES"_s);
    QCOMPARE(found[0].position, text.indexOf(u"LÉ"_s));
    QCOMPARE(found[1].text, u"E\u00a0160 a (ii)"_s);
}

void TestLabels::lookup_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("code");
    QTest::newRow("code") << u"E950"_s << u"E950"_s;
    QTest::newRow("any case") << u"e950"_s << u"E950"_s;
    QTest::newRow("without E") << u"950"_s << u"E950"_s;
    QTest::newRow("name") << u"aspartame"_s << u"E951"_s;
    QTest::newRow("synonym, no accent") << u"acesulfame k"_s << u"E950"_s;
    QTest::newRow("accents and capitals") << u"LÉCITHINE"_s << u"E322"_s;
    QTest::newRow("a food word is still a name") << u"caramel"_s << u"E150"_s;
    QTest::newRow("unknown") << u"xyz"_s << QString();
    QTest::newRow("part of a name") << u"nitrite de"_s << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TestLabels::lookup()
{
    QFETCH(QString, argument);
    QFETCH(QString, code);
    const int r = m_analyser->lookup(argument);
    QCOMPARE(r == 0 ? QString() : m_table.field(ENumber, r).toString(), code);
}

void TestLabels::corpus_data()
{
    // The lists the reader was tuned on, and lists written and annotated afterwards, kept apart.
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("least");
    QTest::newRow("tuning") << QStringLiteral(KORVELAN_LABEL_CORPUS "/etiquettes.txt") << 40;
    QTest::newRow("control") << QStringLiteral(KORVELAN_LABEL_CORPUS "/etiquettes-controle.txt") << 15;
}

void TestLabels::corpus()
{
    QFETCH(QString, path);
    QFETCH(int, least);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    struct Entry {
        QString title;
        QStringList codes;
        QString text;
    };
    QList<Entry> entries;
    for (const QString &line : lines) {
        if (line.startsWith(u"### "))
            entries.append({line.sliced(4), {}, {}});
        else if (!entries.isEmpty() && line.startsWith(u'='))
            entries.last().codes = line.sliced(1).split(u' ', Qt::SkipEmptyParts);
        else if (!entries.isEmpty() && !line.startsWith(u'#'))
            entries.last().text += line + u'\n';
    }
    QVERIFY(entries.size() >= least);
    qsizetype expected = 0, found = 0, right = 0;
    for (const Entry &e : entries) {
        const QStringList got = codesIn(e.text);
        expected += e.codes.size();
        found += got.size();
        for (const QString &c : got) {
            if (e.codes.contains(c))
                ++right;
        }
        const QSet<QString> a(got.begin(), got.end()), b(e.codes.begin(), e.codes.end());
        if (a != b)
            qInfo().noquote() << e.title << "\n  expected" << e.codes.join(u' ') << "\n  found   " << got.join(u' ');
    }
    const double precision = found ? double(right) / double(found) : 1.0;
    const double recall = expected ? double(right) / double(expected) : 1.0;
    qInfo("%lld lists, %lld additives expected, %lld found, %lld right: precision %.1f%%, recall %.1f%%",
          qlonglong(entries.size()), qlonglong(expected), qlonglong(found), qlonglong(right), 100 * precision,
          100 * recall);
    QVERIFY(precision >= 0.95);
    QVERIFY(recall >= 0.95);
}

QTEST_GUILESS_MAIN(TestLabels)
#include "tst_labels.moc"
