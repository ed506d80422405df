#include "controltable.h"
#include "recordlist.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <stdexcept>

using namespace korvelan;
using namespace Qt::StringLiterals;

class TestRecordList : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clicks_data();
    void clicks();
    void duplicateNameBuildsNothing();
};

void TestRecordList::clicks_data()
{
    QTest::addColumn<int>("selected"); // row selected before the click; -1 for none
    QTest::addColumn<int>("clicked");
    QTest::addColumn<QList<int>>("chosen");
    QTest::addColumn<QList<int>>("errors");
    // Another row: chosen once, by the change of selection, not a second time by the click.
    QTest::newRow("another row") << 0 << 1 << QList<int>{7} << QList<int>{};
    // The row already selected changes no selection: the click alone chooses it again.
    QTest::newRow("row already selected") << 1 << 1 << QList<int>{7} << QList<int>{};
    // A row without a number chooses nothing; a number out of range is an error.
    QTest::newRow("message row") << 0 << 2 << QList<int>{} << QList<int>{};
    QTest::newRow("number out of range") << 0 << 3 << QList<int>{} << QList<int>{9};
    QTest::newRow("number too large") << 0 << 4 << QList<int>{} << QList<int>{6};
}

void TestRecordList::clicks()
{
    QFETCH(int, selected);
    QFETCH(int, clicked);
    QFETCH(QList<int>, chosen);
    QFETCH(QList<int>, errors);
    RecordList list;
    list.resize(400, 200);
    list.addItems({u"E100  $3"_s, u"E102  $7"_s, u"     Aucun additif trouvé"_s, u"E999  $0"_s, u"E999  $40000"_s});
    list.setCurrentRow(selected);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QSignalSpy chosenSpy(&list, &RecordList::recordChosen);
    QSignalSpy errorSpy(&list, &RecordList::selectionError);

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(clicked)).center());
    QList<int> chosenRecords, errorCodes;
    for (const QList<QVariant> &signal : chosenSpy)
        chosenRecords.append(signal.first().toInt());
    for (const QList<QVariant> &signal : errorSpy)
        errorCodes.append(signal.first().toInt());
    QCOMPARE(chosenRecords, chosen);
    QCOMPARE(errorCodes, errors);
}

void TestRecordList::duplicateNameBuildsNothing()
{
    const std::array<Control, 3> table = {{
        {u"LblLab(1)", ControlKind::Label, 0, 0, 1500, 255, {FontFace::Arial, 9}},
        {u"LstC", ControlKind::RecordRows, 0, 300, 1500, 1500, ListColumns},
        {u"LblLab(1)", ControlKind::Label, 0, 1800, 1500, 255, {FontFace::Arial, 9}},
    }};
    QWidget parent;
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, buildControls(&parent, table));
    QVERIFY(parent.findChildren<QWidget *>().isEmpty());

    const Controls built = buildControls(&parent, std::span(table).first(2));
    QCOMPARE(built.get<QLabel>(u"LblLab(1)"_s)->geometry(), QRect(0, 0, 100, 17));
    QVERIFY(qobject_cast<RecordList *>(built.get(u"LstC"_s)));
}

QTEST_MAIN(TestRecordList)
#include "tst_recordlist.moc"
