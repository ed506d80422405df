#include "richtextview.h"

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

using namespace Qt::StringLiterals;
using korvelan::RichTextView;

class TestRichTextView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void loads();
    void leftEmpty_data();
    void leftEmpty();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QTemporaryDir m_dir;
};

void TestRichTextView::init()
{
    // A document that cannot be shown is no reason for any message, not even a warning.
    QTest::failOnWarning(QRegularExpression(u".*"_s));
}

QString TestRichTextView::write(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestRichTextView::loads()
{
    RichTextView view;
    view.show();
    QVERIFY(view.loadFile(QStringLiteral(KORVELAN_RTF_FIXTURES "/licence-libreoffice.rtf")));
    QVERIFY(view.isReadOnly());
    QVERIFY(view.toPlainText().startsWith(u"Licence d’utilisation"_s));
    QVERIFY(view.document()->blockCount() > 5);

    // A second document replaces the first.
    QVERIFY(view.loadFile(QStringLiteral(KORVELAN_RTF_FIXTURES "/resume-pandoc.rtf")));
    QVERIFY(view.toPlainText().startsWith(u"Les additifs alimentaires"_s));
    QVERIFY(!view.toPlainText().contains(u"Licence"_s));
    QCOMPARE(QApplication::topLevelWidgets().size(), 1);
}

void TestRichTextView::leftEmpty_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing file") << m_dir.filePath(u"Licence.rtf"_s);
    QTest::newRow("empty name") << QString();
    QTest::newRow("folder") << m_dir.path();
    QTest::newRow("empty file") << write(u"vide.rtf"_s, {});
    QTest::newRow("plain text") << write(u"texte.rtf"_s, "Ceci n'est pas du RTF.\r\n");
    QTest::newRow("binary") << write(u"binaire.rtf"_s, QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11));
}

// A missing or unreadable document, or one that is not RTF, leaves the view empty and silent,
// even after it showed another document.
void TestRichTextView::leftEmpty()
{
    QFETCH(QString, path);
    RichTextView view;
    view.show();
    QVERIFY(view.loadFile(QStringLiteral(KORVELAN_RTF_FIXTURES "/resume-pandoc.rtf")));
    QVERIFY(!view.loadFile(path));
    QVERIFY(view.document()->isEmpty());
    QCOMPARE(QApplication::topLevelWidgets().size(), 1);
}

QTEST_MAIN(TestRichTextView)
#include "tst_richtextview.moc"
