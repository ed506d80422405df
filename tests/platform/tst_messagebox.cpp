#include "messagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace korvelan;
using namespace Qt::StringLiterals;

// The real dialog, driven as a person would: its buttons read in French and answer as pressed.
class TestMessageBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dialogs_data();
    void dialogs();
};

void TestMessageBox::dialogs_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("answer");
    QTest::newRow("OK") << int(MessageButtons::Ok) << QStringList{u"OK"_s} << u"OK"_s << int(MessageAnswer::Ok);
    QTest::newRow("Yes") << int(MessageButtons::YesNo) << QStringList{u"Non"_s, u"Oui"_s} << u"Oui"_s
                         << int(MessageAnswer::Yes);
    QTest::newRow("No") << int(MessageButtons::YesNo) << QStringList{u"Non"_s, u"Oui"_s} << u"Non"_s
                        << int(MessageAnswer::No);
    QTest::newRow("Enter takes Yes") << int(MessageButtons::YesNo) << QStringList{u"Non"_s, u"Oui"_s} << QString()
                                     << int(MessageAnswer::Yes);
    QTest::newRow("Escape takes No") << int(MessageButtons::YesNo) << QStringList{u"Non"_s, u"Oui"_s} << u"Échap"_s
                                     << int(MessageAnswer::No);
    QTest::newRow("Escape closes OK") << int(MessageButtons::Ok) << QStringList{u"OK"_s} << u"Échap"_s
                                      << int(MessageAnswer::Ok);
}

void TestMessageBox::dialogs()
{
    QFETCH(int, buttons);
    QFETCH(QStringList, captions);
    QFETCH(QString, press);
    QFETCH(int, answer);

    QStringList seen;
    QString text;
    QString title;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        for (QAbstractButton *button : box->buttons())
            seen << button->text();
        if (press.isEmpty() || press == u"Échap"_s) {
            QTest::keyClick(box, press.isEmpty() ? Qt::Key_Return : Qt::Key_Escape);
            return;
        }
        for (QAbstractButton *button : box->buttons())
            if (button->text() == press)
                button->click();
    });
    DialogMessageBoxes boxes;
    const MessageAnswer got =
        boxes.show(MessageIcon::Question, u"Les KORVELAN"_s, u"ligne 1\r\nligne 2"_s, MessageButtons(buttons));
    QCOMPARE(int(got), answer);
    seen.sort();
    QCOMPARE(seen, captions);
    QCOMPARE(title, u"Les KORVELAN"_s);
    QCOMPARE(text, u"ligne 1\nligne 2"_s);
}

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
