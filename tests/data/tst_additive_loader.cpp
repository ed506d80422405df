#include "additive.h"
#include "failure.h"
#include "fixtures.h"

#include <QTest>

using namespace korvelan;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<korvelan::LoadFailure>)

namespace {

const QByteArray kLine2 = "E100i$Curcumine$Colorant$curcumine$nc$Interdit$Oui$Non$Non$Non$Non$?$Glace, yaourt, "
                          "bonbon.$ $ $3$2$161$e100i curcumine";

// The standard fixture database with line r replaced.
QByteArray databaseWithLine(int r, const QByteArray &line)
{
    QList<QByteArray> lines = fixtures::databaseLines(RecordCount);
    lines[r - 1] = line;
    return fixtures::joinLines(lines);
}

// A line of the fixture with `width` characters put at the start of field 4.
QByteArray lineWithLongField(int r, int width)
{
    QByteArray line = fixtures::databaseLine(r);
    const qsizetype third = line.indexOf('$', line.indexOf('$', line.indexOf('$') + 1) + 1);
    line.insert(third + 1, QByteArray(width, 'x'));
    return line;
}

} // namespace

class TestAdditiveLoader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void failures_data();
    void failures();
    void fieldsAreCutAtTheFirstEighteenDollars_data();
    void fieldsAreCutAtTheFirstEighteenDollars();
    void fullDatabaseFillsEveryRecord();
    void slotsBeyondTheRecordsStayEmpty();
    void readsTheResourceThroughTheReader();
    void fieldsAreDecodedAsWindows1252();
    void errorReportLayout_data();
    void errorReportLayout();
};

// Each way a database can be broken, and how much of the table is readable afterwards.
void TestAdditiveLoader::failures_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("recordCount");
    QTest::addColumn<std::optional<LoadFailure>>("failure");
    QTest::addColumn<int>("published");

    const auto none = std::optional<LoadFailure>();
    auto lines = [](int n) { return fixtures::joinLines(fixtures::databaseLines(n)); };
    QTest::newRow("692 lines") << lines(692) << RecordCount << none << 692;
    QTest::newRow("700 lines read the first 692") << lines(700) << RecordCount << none << 692;
    QTest::newRow("more than 700 lines") << lines(900) << RecordCount << none << 692;
    QTest::newRow("CR LF after the last line") << lines(692) + "\r\n" << RecordCount << none << 692;
    QTest::newRow("691 lines") << lines(691) << RecordCount << std::optional(LoadFailure::TooFewLines) << 0;
    QTest::newRow("empty resource") << QByteArray() << RecordCount << std::optional(LoadFailure::TooFewLines) << 0;
    QTest::newRow("no CR LF at all") << fixtures::databaseLines(692).join('\n') << RecordCount
                                     << std::optional(LoadFailure::TooFewLines) << 0;
    QTest::newRow("more records than slots")
        << lines(701) << RecordCapacity + 1 << std::optional(LoadFailure::TooManyRecords) << 0;
    QTest::newRow("record count beyond 16 bits")
        << lines(3) << 40000 << std::optional(LoadFailure::TooManyRecords) << 0;
    QTest::newRow("line 5 with 17 dollars") << databaseWithLine(5, fixtures::databaseLine(5).replace("$e5", " e5"))
                                            << RecordCount << std::optional(LoadFailure::MissingSeparator) << 4;
    QTest::newRow("line 1 without any dollar")
        << databaseWithLine(1, "E100 Curcumine") << RecordCount << std::optional(LoadFailure::MissingSeparator) << 0;
    QTest::newRow("last line cut short") << databaseWithLine(692, "E1522$Nom") << RecordCount
                                         << std::optional(LoadFailure::MissingSeparator) << 691;
    QTest::newRow("dollar beyond position 32767") << databaseWithLine(5, lineWithLongField(5, 40000)) << RecordCount
                                                  << std::optional(LoadFailure::LineTooLong) << 4;
    // Field 4 of the fixture is "r5f4": with n characters put before it, its "$" stands at n + 5.
    QTest::newRow("dollar at position 32767")
        << databaseWithLine(5, lineWithLongField(5, 32762)) << RecordCount << none << 692;
    QTest::newRow("dollar at position 32768") << databaseWithLine(5, lineWithLongField(5, 32763)) << RecordCount
                                              << std::optional(LoadFailure::LineTooLong) << 4;
    QTest::newRow("long line with dollars spread out")
        << databaseWithLine(7, QByteArray(30000, 'x') + '$' + fixtures::databaseLine(7)) << RecordCount << none << 692;
    QTest::newRow("100,000 characters without dollar") << databaseWithLine(3, QByteArray(100000, 'y')) << RecordCount
                                                       << std::optional(LoadFailure::MissingSeparator) << 2;
    QTest::newRow("no records asked for") << lines(5) << 0 << none << 0;
}

void TestAdditiveLoader::failures()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, recordCount);
    QFETCH(std::optional<LoadFailure>, failure);
    QFETCH(int, published);

    const DatabaseLoad load = loadAdditiveTable(bytes, recordCount);
    QCOMPARE(load.failure, failure);
    QCOMPARE(load.table.publishedCount(), published);
    for (int r = 1; r <= RecordCapacity; ++r) {
        const bool filled = r <= published;
        for (int k = 1; k <= FieldCount; ++k)
            QVERIFY2(load.table.field(k, r).isEmpty() != filled, qPrintable(u"record %1 field %2"_s.arg(r).arg(k)));
    }
}

void TestAdditiveLoader::fieldsAreCutAtTheFirstEighteenDollars_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("fields");

    // clang-format off
    QTest::newRow("line 2 of the database")
        << kLine2
        << QStringList{u"E100i"_s, u"Curcumine"_s, u"Colorant"_s, u"curcumine"_s, u"nc"_s, u"Interdit"_s, u"Oui"_s,
                       u"Non"_s, u"Non"_s, u"Non"_s, u"Non"_s, u"?"_s, u"Glace, yaourt, bonbon."_s, u" "_s, u" "_s,
                       u"3"_s, u"2"_s, u"161"_s, u"e100i curcumine"_s};
    // clang-format on
    QStringList numbered;
    for (int k = 1; k <= 18; ++k)
        numbered << QString::number(k);
    QTest::newRow("dollar kept in the last field")
        << QByteArray("1$2$3$4$5$6$7$8$9$10$11$12$13$14$15$16$17$18$a$b") << (QStringList(numbered) << u"a$b"_s);
    QTest::newRow("line ending with its 18th dollar")
        << QByteArray("1$2$3$4$5$6$7$8$9$10$11$12$13$14$15$16$17$18$") << (QStringList(numbered) << QString());
    QTest::newRow("two dollars in a row give an empty field")
        << QByteArray("1$$3$4$5$6$7$8$9$10$11$12$13$14$15$16$17$18$19")
        << QStringList{u"1"_s,  QString(), u"3"_s,  u"4"_s,  u"5"_s,  u"6"_s,  u"7"_s,  u"8"_s,  u"9"_s, u"10"_s,
                       u"11"_s, u"12"_s,   u"13"_s, u"14"_s, u"15"_s, u"16"_s, u"17"_s, u"18"_s, u"19"_s};
    QTest::newRow("spaces kept as they are")
        << QByteArray(" a $b $3$4$5$6$7$8$9$10$11$12$13$14$15$16$17$18$ x ")
        << QStringList{u" a "_s, u"b "_s, u"3"_s,  u"4"_s,  u"5"_s,  u"6"_s,  u"7"_s,  u"8"_s,  u"9"_s,  u"10"_s,
                       u"11"_s,  u"12"_s, u"13"_s, u"14"_s, u"15"_s, u"16"_s, u"17"_s, u"18"_s, u" x "_s};
    QTest::newRow("lone CR and LF are not line ends")
        << QByteArray("1\r$2\n$3$4$5$6$7$8$9$10$11$12$13$14$15$16$17$18$19")
        << QStringList{u"1\r"_s, u"2\n"_s, u"3"_s,  u"4"_s,  u"5"_s,  u"6"_s,  u"7"_s,  u"8"_s,  u"9"_s, u"10"_s,
                       u"11"_s,  u"12"_s,  u"13"_s, u"14"_s, u"15"_s, u"16"_s, u"17"_s, u"18"_s, u"19"_s};
}

void TestAdditiveLoader::fieldsAreCutAtTheFirstEighteenDollars()
{
    QFETCH(QByteArray, line);
    QFETCH(QStringList, fields);

    // The line under test is record 2, between two ordinary records.
    const DatabaseLoad load = loadAdditiveTable(databaseWithLine(2, line));
    QCOMPARE(load.failure, std::nullopt);
    const AdditiveRecord record = load.table.record(2);
    for (int k = 1; k <= FieldCount; ++k) {
        QCOMPARE(record.field(k).toString(), fields[k - 1]);
        QCOMPARE(load.table.field(k, 2).toString(), fields[k - 1]);
    }
    QCOMPARE(load.table.field(ENumber, 1), u"r1f1");
    QCOMPARE(load.table.field(ENumber, 3), u"r3f1");
}

void TestAdditiveLoader::fullDatabaseFillsEveryRecord()
{
    const DatabaseLoad load = loadAdditiveTable(fixtures::joinLines(fixtures::databaseLines(RecordCount)));
    QCOMPARE(load.failure, std::nullopt);
    for (int r = 1; r <= RecordCount; ++r) {
        for (int k = 1; k <= 16; ++k)
            QCOMPARE(load.table.field(k, r), u"r%1f%2"_s.arg(r).arg(k));
        QCOMPARE(load.table.field(SequenceNumber, r), QString::number(r));
        QCOMPARE(load.table.field(AlphaOrder, r), QString::number(RecordCount + 1 - r));
        QCOMPARE(load.table.record(r)[Keywords], u"e%1 mot"_s.arg(r));
    }
}

void TestAdditiveLoader::slotsBeyondTheRecordsStayEmpty()
{
    const DatabaseLoad load = loadAdditiveTable(fixtures::joinLines(fixtures::databaseLines(RecordCapacity)));
    QCOMPARE(load.failure, std::nullopt);
    for (int r : {0, -1, 693, 700, 701, 32767})
        for (int k = 0; k <= FieldCount + 1; ++k)
            QVERIFY(load.table.field(k, r).isEmpty());
    for (int k : {0, 20, -5})
        QVERIFY(load.table.field(k, 1).isEmpty());
    QVERIFY(AdditiveTable::isSlot(700));
    QVERIFY(!AdditiveTable::isSlot(701));
    QVERIFY(!AdditiveTable::isSlot(0));
}

void TestAdditiveLoader::readsTheResourceThroughTheReader()
{
    QList<ResourceId> asked;
    const QByteArray database = fixtures::joinLines(fixtures::databaseLines(RecordCount));
    const DatabaseLoad load = loadAdditiveTable([&](const ResourceId &id) -> std::optional<QByteArray> {
        asked.append(id);
        return database;
    });
    QCOMPARE(load.failure, std::nullopt);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].type, u"KORVELAN");
    QCOMPARE(asked[0].number, 101);

    const DatabaseLoad missing = loadAdditiveTable([](const ResourceId &) { return std::optional<QByteArray>(); });
    QCOMPARE(missing.failure, LoadFailure::ResourceUnavailable);
    QCOMPARE(missing.table.publishedCount(), 0);
    QVERIFY(missing.table.field(ENumber, 1).isEmpty());
}

void TestAdditiveLoader::fieldsAreDecodedAsWindows1252()
{
    const QByteArray line = "E100$Curcumine$Colorant$curcumine, turm\xE9rique$0,1\xA0?$Interdit$Oui$Non$Non$Non$Oui$?$ "
                            "$ $ Peut provoquer des \x9C"
                            "d\xE8mes l\x92\x65t\xE9.$3$1$604$e100 curcumine turmerique";
    const DatabaseLoad load = loadAdditiveTable(databaseWithLine(1, line));
    QCOMPARE(load.failure, std::nullopt);
    QCOMPARE(load.table.field(Synonyms, 1), u"curcumine, turmérique");
    QCOMPARE(load.table.field(DailyIntake, 1), u"0,1\u00A0?");
    QVERIFY(load.table.field(DailyIntake, 1) != u"0,1 ?");
    QCOMPARE(load.table.field(Symptoms, 1), u" Peut provoquer des œdèmes l’eté.");
}

void TestAdditiveLoader::errorReportLayout_data()
{
    QTest::addColumn<LoadFailure>("failure");
    QTest::addColumn<int>("code");
    QTest::newRow("missing database") << LoadFailure::ResourceUnavailable << kDatabaseErrorCode;
    QTest::newRow("short database") << LoadFailure::TooFewLines << kDatabaseErrorCode;
    QTest::newRow("too many records") << LoadFailure::TooManyRecords << kDatabaseErrorCode;
    QTest::newRow("missing separator") << LoadFailure::MissingSeparator << kDatabaseErrorCode;
    QTest::newRow("long line") << LoadFailure::LineTooLong << kDatabaseErrorCode;
    QTest::newRow("short keyword list") << LoadFailure::TooFewKeywords << kKeywordErrorCode;
    QTest::newRow("missing keyword list") << LoadFailure::ResourceUnavailable << kKeywordErrorCode;
}

void TestAdditiveLoader::errorReportLayout()
{
    QFETCH(LoadFailure, failure);
    QFETCH(int, code);
    const QString text = startupErrorText(failure, code);
    const QString description = failureDescription(failure);
    QVERIFY(!description.isEmpty());
    QCOMPARE(text,
             description + QString(17, u' ') + u"\r\nErreur interne "_s + QString::number(code) + u" - "_s +
                 QString::number(failureNumber(failure)));
    QCOMPARE(text.split(u"\r\n"_s).size(), 2);

    // Every failure class has its own number, so a report tells which one happened.
    QSet<int> numbers;
    for (LoadFailure each : {LoadFailure::ResourceUnavailable, LoadFailure::TooFewLines, LoadFailure::TooManyRecords,
                             LoadFailure::MissingSeparator, LoadFailure::LineTooLong, LoadFailure::TooFewKeywords})
        numbers.insert(failureNumber(each));
    QCOMPARE(numbers.size(), 6);
}

QTEST_APPLESS_MAIN(TestAdditiveLoader)
#include "tst_additive_loader.moc"
