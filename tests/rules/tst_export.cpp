// The database as CSV and JSON: cells and strings that stay what they were once read back.
#include "export.h"
#include "rulesfixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace korvelan;
using namespace Qt::StringLiterals;

class TestExport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void csvField_data();
    void csvField();
    void jsonString_data();
    void jsonString();
    void jsonReadsBackEveryRecord();
};

void TestExport::csvField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cell");
    QTest::newRow("plain") << u"Curcumine"_s << u"Curcumine"_s;
    QTest::newRow("one space") << u" "_s << u" "_s;
    QTest::newRow("comma") << u"curcumine, turmérique"_s << u"\"curcumine, turmérique\""_s;
    QTest::newRow("quotation marks doubled") << u"dit \"E\""_s << u"\"dit \"\"E\"\"\""_s;
    QTest::newRow("line break") << u"a\r\nb"_s << u"\"a\r\nb\""_s;
    QTest::newRow("apostrophe and semicolon") << u"l'estomac ; dose"_s << u"l'estomac ; dose"_s;
}

void TestExport::csvField()
{
    QFETCH(QString, text);
    QFETCH(QString, cell);
    QCOMPARE(korvelan::csvField(text), cell);
}

void TestExport::jsonString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("json");
    QTest::newRow("accents kept") << u"œdèmes à l’estomac"_s << u"\"œdèmes à l’estomac\""_s;
    QTest::newRow("quotation mark and backslash") << u"a\"b\\c"_s << u"\"a\\\"b\\\\c\""_s;
    QTest::newRow("control characters") << u"a\tb\nc\u0001"_s << u"\"a\\tb\\nc\\u0001\""_s;
    QTest::newRow("no-break space") << u"2,5\u00A0?"_s << u"\"2,5\u00A0?\""_s;
}

void TestExport::jsonString()
{
    QFETCH(QString, text);
    QFETCH(QString, json);
    QCOMPARE(korvelan::jsonString(text), json);
}

void TestExport::jsonReadsBackEveryRecord()
{
    using rulesfixtures::recordFields;
    QList<QStringList> records;
    for (int r = 1; r <= RecordCount; ++r)
        records.append(recordFields(r, u"E"_s + QString::number(99 + r)));
    records[1][AdditiveName - 1] = u"Nom \\ \"cité\""_s;
    const AdditiveTable table = rulesfixtures::tableOf(records);

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(exportJson(table).toUtf8(), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(document[u"licence"_s].toString(), DataLicence.toString());
    const QJsonArray array = document[u"records"_s].toArray();
    QCOMPARE(array.size(), RecordCount);
    for (int r = 1; r <= RecordCount; ++r) {
        const QJsonObject object = array[r - 1].toObject();
        // The 19 fields, then what the registers say of them: nothing without a register.
        QCOMPARE(object.size(), FieldCount + 2);
        QCOMPARE(object[u"corrections"_s].toObject(), QJsonObject());
        QCOMPARE(object[u"sources"_s].toObject(), QJsonObject());
        for (int k = 1; k <= FieldCount; ++k)
            QCOMPARE(object[fieldName(k)].toString(), records[r - 1][k - 1]);
    }
}

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
