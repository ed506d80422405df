#include "constants.h"
#include "richtextview.h"

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using korvelan::AppFolder;
using korvelan::RichTextView;

class TestRichTextView : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void loads();
    void leftEmpty_data();
    void leftEmpty();
    void onlyOrdinaryFilesAreRead_data();
    void onlyOrdinaryFilesAreRead();
    void readFromTheStartFolder_data();
    void readFromTheStartFolder();

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

void TestRichTextView::onlyOrdinaryFilesAreRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("pipe") << u"pipe"_s;
    QTest::newRow("pipe with a writer") << u"pipe with a writer"_s;
    QTest::newRow("link to a device") << u"device"_s;
}

// A pipe or a device named like the document is not read, and opening it does not wait for a
// writer: the view stays empty at once. A read that blocks ends the test by its alarm.
void TestRichTextView::onlyOrdinaryFilesAreRead()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(u"Licence.rtf"_s));
    int writer = -1;
    if (kind == u"device") {
        QCOMPARE(::symlink("/dev/zero", path.constData()), 0);
    } else {
        QCOMPARE(::mkfifo(path.constData(), 0600), 0);
        if (kind == u"pipe with a writer") {
            writer = ::open(path.constData(), O_RDWR | O_NONBLOCK);
            QVERIFY(writer >= 0);
            const QByteArray rtf = "{\\rtf1 tuyau}";
            QCOMPARE(::write(writer, rtf.constData(), size_t(rtf.size())), ssize_t(rtf.size()));
        }
    }
    RichTextView view;
    ::alarm(60);
    const bool shown = view.loadFile(QFile::decodeName(path));
    ::alarm(0);
    if (writer >= 0)
        ::close(writer);
    QVERIFY(!shown);
    QVERIFY(view.document()->isEmpty());
}

void TestRichTextView::readFromTheStartFolder_data()
{
    QTest::addColumn<QByteArray>("name"); // of the folder the program starts in
    QTest::addColumn<QString>("change");  // what happens to it after the start
    QTest::addColumn<bool>("shown");
    QTest::newRow("ordinary name") << QByteArray("dossier") << QString() << true;
    QTest::newRow("name not valid UTF-8") << QByteArray("r\xe9sum\xe9-\xff") << QString() << true;
    QTest::newRow("renamed") << QByteArray("dossier") << u"renamed"_s << true;
    QTest::newRow("deleted, a new one in its place") << QByteArray("dossier") << u"replaced"_s << false;
    QTest::newRow("deleted before the start") << QByteArray("dossier") << u"deleted before"_s << false;
}

// The documents are read from the folder the program started in, whatever the bytes of its
// name, wherever it went since; once that folder is gone nothing is read, not even from a folder
// that took its name.
void TestRichTextView::readFromTheStartFolder()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, change);
    QFETCH(bool, shown);
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + '/' + name;
    const QByteArray rtf = "{\\rtf1 Licence d'utilisation}";
    const auto makeFolder = [&] {
        QCOMPARE(::mkdir(folder.constData(), 0700), 0);
        const int fd = ::open((folder + "/Licence.rtf").constData(), O_WRONLY | O_CREAT, 0600);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, rtf.constData(), size_t(rtf.size())), ssize_t(rtf.size()));
        ::close(fd);
    };
    const auto removeFolder = [&] {
        QCOMPARE(::unlink((folder + "/Licence.rtf").constData()), 0);
        QCOMPARE(::rmdir(folder.constData()), 0);
    };
    // Left to the test: the temporary folder cannot remove a name that is not valid text.
    const auto cleanup = qScopeGuard([&] {
        for (const QByteArray &f : {folder, folder + "-nouveau"}) {
            ::unlink((f + "/Licence.rtf").constData());
            ::rmdir(f.constData());
        }
    });
    makeFolder();
    const QString previous = QDir::currentPath();
    QCOMPARE(::chdir(folder.constData()), 0);
    if (change == u"deleted before")
        removeFolder();
    korvelan::setStartupConstants();
    QVERIFY(QDir::setCurrent(previous));
    if (change == u"renamed") {
        QCOMPARE(::rename(folder.constData(), (folder + "-nouveau").constData()), 0);
    } else if (change == u"replaced") {
        removeFolder();
        makeFolder();
    }

    RichTextView view;
    QCOMPARE(view.loadFile(AppFolder.handle(), u"Licence.rtf"_s), shown);
    QCOMPARE(view.toPlainText(), shown ? u"Licence d'utilisation"_s : QString());
    // Its name is only shown; a folder deleted before the start has none, and is not the root.
    if (change.isEmpty())
        QCOMPARE(AppFolder.text(), QFile::decodeName(folder) + u'/');
    else if (change == u"deleted before")
        QCOMPARE(AppFolder.text(), QString());
}

QTEST_MAIN(TestRichTextView)
#include "tst_richtextview.moc"
