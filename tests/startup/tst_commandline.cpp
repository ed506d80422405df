// Which arguments are the program's and which the toolkit's: with the toolkit's only, the windows open
// as usual and get every argument.
#include "commandline.h"

#include <QTest>

using namespace korvelan;
using namespace Qt::StringLiterals;

class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void programArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("none") << QStringList() << QStringList();
        QTest::newRow("platform and its value") << QStringList{u"-platform"_s, u"offscreen"_s} << QStringList();
        QTest::newRow("two dashes, value after =, flag")
            << QStringList{u"--platform"_s, u"xcb"_s, u"-style=fusion"_s, u"-reverse"_s} << QStringList();
        QTest::newRow("geometry, title, display")
            << QStringList{u"-qwindowgeometry"_s, u"800x600"_s, u"-qwindowtitle"_s, u"x"_s, u"-display"_s, u":1"_s}
            << QStringList();
        QTest::newRow("toolkit option, then the program's")
            << QStringList{u"-platform"_s, u"offscreen"_s, u"--fiche"_s, u"E950"_s}
            << QStringList{u"--fiche"_s, u"E950"_s};
        QTest::newRow("short options") << QStringList{u"-h"_s, u"-v"_s} << QStringList{u"-h"_s, u"-v"_s};
        QTest::newRow("a value that looks like a toolkit name")
            << QStringList{u"--recherche"_s, u"style"_s} << QStringList{u"--recherche"_s, u"style"_s};
        QTest::newRow("unknown option and a bare word")
            << QStringList{u"--inconnue"_s, u"mot"_s, u"--"_s} << QStringList{u"--inconnue"_s, u"mot"_s, u"--"_s};
        QTest::newRow("a name that only begins like a toolkit option")
            << QStringList{u"-platforms"_s} << QStringList{u"-platforms"_s};
    }
    void programArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, left);
        QCOMPARE(withoutToolkitOptions(arguments), left);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
