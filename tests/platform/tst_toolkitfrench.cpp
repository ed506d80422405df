#include "toolkitfrench.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTest>

using namespace korvelan;
using namespace Qt::StringLiterals;

// The toolkit's texts are worded in French by our own table rather than by the toolkit's catalogue:
// each must read as the catalogue reads it, so that a change of toolkit cannot leave one behind.
class TestToolkitFrench : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void asTheCatalogue_data();
    void asTheCatalogue();
    void answersThroughTheApplication();

private:
    QTranslator m_catalogue;
    bool m_hasCatalogue = false;
};

void TestToolkitFrench::initTestCase()
{
    m_hasCatalogue = m_catalogue.load(u"qtbase_fr"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

void TestToolkitFrench::asTheCatalogue_data()
{
    QTest::addColumn<QByteArray>("context");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("french");
    for (const ToolkitText &text : toolkitFrenchTexts())
        QTest::addRow("%s %s", text.context, text.source)
            << QByteArray(text.context) << QByteArray(text.source) << QString::fromUtf16(text.french);
}

void TestToolkitFrench::asTheCatalogue()
{
    QFETCH(QByteArray, context);
    QFETCH(QByteArray, source);
    QFETCH(QString, french);
    if (!m_hasCatalogue)
        QSKIP("the toolkit's French catalogue is not installed");
    // The layout direction is looked up with its comment.
    const char *comment = source == "QT_LAYOUT_DIRECTION"
        ? "Translate this string to the string 'LTR' in left-to-right languages or to 'RTL' in "
          "right-to-left languages (such as Hebrew and Arabic) to get proper widget layout."
        : nullptr;
    QCOMPARE(french, m_catalogue.translate(context.constData(), source.constData(), comment));
}

void TestToolkitFrench::answersThroughTheApplication()
{
    ToolkitFrench french;
    QVERIFY(QCoreApplication::installTranslator(&french));
    QCOMPARE(QCoreApplication::translate("QLineEdit", "Select All"), u"Tout sélectionner"_s);
    QCOMPARE(QCoreApplication::translate("QShortcut", "Shift"), u"Maj"_s);
    // A text that is not in the table stays as the toolkit wrote it.
    QCOMPARE(QCoreApplication::translate("QFileDialog", "Open"), u"Open"_s);
}

QTEST_GUILESS_MAIN(TestToolkitFrench)
#include "tst_toolkitfrench.moc"
