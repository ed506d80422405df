// The window that reads a label, opened from a main window on the shipped data.
#include "labelwindow.h"
#include "listerfixture.h"
#include "listline.h"
#include "recordlist.h"
#include "resource.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>

using namespace korvelan;
using namespace Qt::StringLiterals;

class TestLabelWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pastedListShowsItsAdditives_data();
    void pastedListShowsItsAdditives();
    void rowShowsTheRecordInThePanel();
};

namespace {

struct LabelFixture : ListerFixture {
    LabelFixture()
        : ListerFixture(*readEmbeddedResource(kDatabaseResource), *readEmbeddedResource(kKeywordResource)) { }

    // Opens the main window, then the label window with Ctrl+L.
    LabelWindow *openLabelWindow()
    {
        if (!open())
            return nullptr;
        QTest::keyClick(window.get(), Qt::Key_L, Qt::ControlModifier);
        auto *label = window->findChild<LabelWindow *>(u"FrmEtiquette"_s);
        if (!label || !QTest::qWaitForWindowExposed(label))
            return nullptr;
        return label;
    }
    QPlainTextEdit *text(LabelWindow *w) const { return w->findChild<QPlainTextEdit *>(u"TxtEtiquette"_s); }
    QStringList rows(LabelWindow *w) const
    {
        QStringList texts;
        for (int i = 0; i < w->results()->count(); ++i)
            texts.append(w->results()->item(i)->text());
        return texts;
    }
    int recordOf(const QString &code) const
    {
        for (int r = 1; r <= RecordCount; ++r) {
            if (data.additives.field(ENumber, r) == code)
                return r;
        }
        return 0;
    }
};

} // namespace

void TestLabelWindow::pastedListShowsItsAdditives_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("count");
    QTest::newRow("two") << u"Sucre, émulsifiant : lécithines de SOJA, acidifiant\u00a0: E 330."_s
                         << QStringList{u"E322"_s, u"E330"_s} << u"2 additifs trouvés"_s;
    QTest::newRow("one") << u"Eau, sel, conservateur : nitrite de sodium"_s << QStringList{u"E250"_s}
                         << u"1 additif trouvé"_s;
    QTest::newRow("none") << u"Eau, sucre, paprika, arômes."_s << QStringList{} << u"Aucun additif trouvé"_s;
}

void TestLabelWindow::pastedListShowsItsAdditives()
{
    QFETCH(QString, label);
    QFETCH(QStringList, codes);
    QFETCH(QString, count);
    LabelFixture f;
    LabelWindow *w = f.openLabelWindow();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), u"Analyser une étiquette"_s);
    QVERIFY(!w->isModal());
    QVERIFY(f.text(w)->hasFocus());
    QCOMPARE(f.text(w)->accessibleName(), u"Liste des ingrédients"_s);
    QCOMPARE(w->results()->accessibleName(), u"Additifs trouvés"_s);

    // A paste, as a person does it: through the clipboard and Ctrl+V.
    QGuiApplication::clipboard()->setText(label);
    QTest::keyClick(f.text(w), Qt::Key_V, Qt::ControlModifier);
    // The text area gives its no-break spaces back as plain ones.
    QCOMPARE(f.text(w)->toPlainText(), QString(label).replace(QChar(0xA0), u' '));
    QStringList expected;
    for (const QString &code : codes)
        expected.append(ListLine(f.data.additives, f.recordOf(code)));
    QCOMPARE(f.rows(w), expected);
    QCOMPARE(w->findChild<QLabel *>(u"LblEtiquette"_s)->text(), count);

    // The list follows the text as it changes.
    f.text(w)->clear();
    QCOMPARE(f.rows(w), QStringList{});
    QCOMPARE(w->findChild<QLabel *>(u"LblEtiquette"_s)->text(), u"Aucun additif trouvé"_s);

    QTest::keyClick(w, Qt::Key_Escape);
    QTRY_VERIFY(!w->isVisible());
    QVERIFY(f.window->isVisible());
}

void TestLabelWindow::rowShowsTheRecordInThePanel()
{
    LabelFixture f;
    LabelWindow *w = f.openLabelWindow();
    QVERIFY(w);
    f.text(w)->setPlainText(u"édulcorants : aspartame, acésulfame K"_s);
    QCOMPARE(f.rows(w).size(), 2);
    RecordList *list = w->results();

    // A click on the second row shows it, with the colours of the panel.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    QCOMPARE(f.window->boxText(1), u"E950"_s);
    QCOMPARE(f.window->boxText(16), f.data.additives.field(RiskLevel, f.recordOf(u"E950"_s)).toString());
    // The arrow moves to the first row and shows it; Enter on it shows it again after a change elsewhere.
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(f.window->boxText(1), u"E951"_s);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    QCOMPARE(f.window->boxText(1), u"E950"_s);
    list->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(f.window->boxText(1), u"E951"_s);

    // Ctrl+L again brings the same window back, with its text.
    QTest::keyClick(w, Qt::Key_Escape);
    QTRY_VERIFY(!w->isVisible());
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QTest::keyClick(f.window.get(), Qt::Key_L, Qt::ControlModifier);
    QTRY_VERIFY(w->isVisible());
    QCOMPARE(f.window->findChildren<LabelWindow *>().size(), 1);
    QCOMPARE(f.rows(w).size(), 2);
}

QTEST_MAIN(TestLabelWindow)
#include "tst_labelwindow.moc"
