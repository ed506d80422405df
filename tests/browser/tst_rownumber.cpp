#include "rownumber.h"

#include <QTest>

using namespace korvelan;
using namespace Qt::StringLiterals;

class TestRowNumber : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void extraction_data();
    void extraction();
    void errorText_data();
    void errorText();
};

void TestRowNumber::extraction_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<int>("record");
    QTest::addColumn<int>("error");

    const QString line = u"E950     Acésulfate de potassi... Divers - Edulcorant      4   Interdit  Oui        "_s;
    QTest::newRow("$604") << line + u"$604"_s << 604 << 0;
    QTest::newRow("$1") << line + u"$1"_s << 1 << 0;
    QTest::newRow("$700, last slot") << line + u"$700"_s << 700 << 0;
    QTest::newRow("$695, empty slot") << line + u"$695"_s << 695 << 0;
    QTest::newRow("spaces around") << u" $ 12 "_s << 12 << 0;
    QTest::newRow("leading zeros") << u"x$007"_s << 7 << 0;
    QTest::newRow("no $, a number") << u"  42 "_s << 42 << 0;
    QTest::newRow("no $, message row") << u"     Aucun additif trouvé avec le mot ''xyz''"_s << 0 << 13;
    QTest::newRow("empty row") << QString() << 0 << 13;
    QTest::newRow("$ alone") << line + u'$' << 0 << 13;
    QTest::newRow("$ and spaces") << u"abc$   "_s << 0 << 13;
    QTest::newRow("second $") << u"a$12$5"_s << 0 << 13;
    QTest::newRow("decimal comma") << u"a$1,5"_s << 0 << 13;
    QTest::newRow("inner space") << u"a$1 2"_s << 0 << 13;
    QTest::newRow("sign alone") << u"a$-"_s << 0 << 13;
    QTest::newRow("$0") << u"a$0"_s << 0 << 9;
    QTest::newRow("$701") << u"a$701"_s << 0 << 9;
    QTest::newRow("$-3") << u"a$-3"_s << 0 << 9;
    QTest::newRow("$32767") << u"a$32767"_s << 0 << 9;
    QTest::newRow("$-32768") << u"a$-32768"_s << 0 << 9;
    QTest::newRow("$32768") << u"a$32768"_s << 0 << 6;
    QTest::newRow("$-32769") << u"a$-32769"_s << 0 << 6;
    QTest::newRow("$40000") << u"a$40000"_s << 0 << 6;
    QTest::newRow("many digits") << u"a$99999999999999999999999"_s << 0 << 6;
}

void TestRowNumber::extraction()
{
    QFETCH(QString, row);
    QFETCH(int, record);
    QFETCH(int, error);
    const RowNumber number = rowRecordNumber(row);
    QCOMPARE(number.error, error);
    if (number.ok())
        QCOMPARE(number.record, record);
}

void TestRowNumber::errorText_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("expected");
    QTest::newRow("9") << 9 << u"Erreur programme 9\r\nInterne 101\r\n\r\nL'indice n'appartient pas à la sélection."_s;
    QTest::newRow("6") << 6 << u"Erreur programme 6\r\nInterne 101\r\n\r\nDépassement de capacité."_s;
    QTest::newRow("13") << 13 << u"Erreur programme 13\r\nInterne 101\r\n\r\nType incompatible."_s;
}

void TestRowNumber::errorText()
{
    QFETCH(int, code);
    QFETCH(QString, expected);
    QCOMPARE(selectionErrorText(code), expected);
    QCOMPARE(SelectionErrorTitle, u"Erreur programme");
}

QTEST_APPLESS_MAIN(TestRowNumber)
#include "tst_rownumber.moc"
