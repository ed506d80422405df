// The RTF reader: tables, pictures, and whole documents written by real word processors.

#include "rtffixtures.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <QtTest>

#include <climits>
#include <limits>

using namespace Qt::StringLiterals;
using korvelan::readRtf;
using namespace rtffixtures;

class TestRtfDocuments : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void table();
    void pictures_data();
    void pictures();
    void writers_data();
    void writers();
};

void TestRtfDocuments::table()
{
    // Laid out as word processors write tables: each row defines its cells, then gives them.
    QTextDocument document;
    readRtf("{\\rtf1 avant\\par"
            "\\trowd\\cellx1500\\cellx4500\\pard\\intbl un\\cell deux\\par encore\\cell\\row"
            "\\trowd\\cellx1500\\cellx4500\\pard\\intbl {\\b trois}\\cell\\cell\\row"
            "\\pard apr\\'e8s\\par}",
            document);
    const QList<QTextTable *> tables = tablesOf(document);
    QCOMPARE(tables.size(), 1);
    QTextTable *table = tables.first();
    QCOMPARE(table->rows(), 2);
    QCOMPARE(table->columns(), 2);
    QCOMPARE(cellText(table, 0, 0), u"un"_s);
    QCOMPARE(cellText(table, 0, 1), u"deux\u2029encore"_s);
    QCOMPARE(cellText(table, 1, 0), u"trois"_s);
    QCOMPARE(cellText(table, 1, 1), QString());
    QVERIFY(formatOf(document, u"trois"_s).fontWeight() == QFont::Bold);
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    QCOMPARE(widths.size(), 2);
    QCOMPARE(widths[0].rawValue(), 100.0);
    QCOMPARE(widths[1].rawValue(), 200.0);
    // The paragraphs around the table stay outside it, in order.
    QVERIFY(blockOf(document, u"avant"_s).position() < table->firstPosition());
    QVERIFY(blockOf(document, u"après"_s).position() > table->lastPosition());
    QVERIFY(!table->cellAt(blockOf(document, u"après"_s).position()).isValid());
}

void TestRtfDocuments::pictures_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QSizeF>("size"); // shown size in pixels, empty for no picture

    QTest::newRow("png at its size") << "{\\rtf1 a{\\pict\\pngblip " + pictureHex("PNG") + "}b}" << QSizeF(4, 3);
    QTest::newRow("png at the asked size")
        << "{\\rtf1 a{\\pict\\pngblip\\picwgoal1500\\pichgoal750\n" + pictureHex("PNG") + "}b}" << QSizeF(100, 50);
    QTest::newRow("scaled") << "{\\rtf1 a{\\pict\\picscalex200\\picscaley50\\pngblip " + pictureHex("PNG") + "}b}"
                            << QSizeF(8, 1.5);
    QTest::newRow("jpeg") << "{\\rtf1 a{\\*\\shppict{\\pict{\\*\\picprop{\\sp{\\sn x}{\\sv 1}}}\\jpegblip " +
            pictureHex("JPG") +
            "}}b}" << QSizeF(4, 3);
    QTest::newRow("binary png") << "{\\rtf1 a{\\pict\\pngblip\\bin" +
            QByteArray::number(QByteArray::fromHex(pictureHex("PNG")).size()) + " " +
            QByteArray::fromHex(pictureHex("PNG")) +
            "}b}" << QSizeF(4, 3);
    QTest::newRow("metafile left out") << QByteArray("{\\rtf1 a{\\pict\\wmetafile8\\picw10\\pich10 0100090000}b}")
                                       << QSizeF();
    QTest::newRow("broken png left out") << QByteArray("{\\rtf1 a{\\pict\\pngblip 89504e470d0a1a0a0000}b}") << QSizeF();
    QTest::newRow("truncated png left out")
        << "{\\rtf1 a{\\pict\\pngblip " + pictureHex("PNG").left(80) + "}b}" << QSizeF();
}

void TestRtfDocuments::pictures()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QSizeF, size);
    QTextDocument document;
    readRtf(rtf, document);
    const QString text = rawText(document);
    if (size.isEmpty()) {
        QCOMPARE(text, u"ab"_s);
        return;
    }
    QCOMPARE(text, u"a\uFFFCb"_s);
    QTextCursor cursor(&document);
    cursor.setPosition(2);
    const QTextImageFormat format = cursor.charFormat().toImageFormat();
    QVERIFY(format.isValid());
    QCOMPARE(QSizeF(format.width(), format.height()), size);
    const QImage image = document.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
    QCOMPARE(image.size(), QSize(4, 3));
}

void TestRtfDocuments::writers_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("phrases");
    QTest::addColumn<QString>("bold");
    QTest::addColumn<QString>("italic");
    QTest::addColumn<QString>("bulleted");
    QTest::addColumn<QString>("numbered");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("lastCell");

    const QStringList resume{u"Les additifs alimentaires"_s,
                             u"Un additif alimentaire est une substance ajoutée aux denrées."_s,
                             u"« E » : l’été, la crème brûlée, le cœur du problème à Noël."_s,
                             u"Texte final — avec un tiret cadratin et des guillemets “doubles”."_s};
    const QStringList licence{u"Licence d’utilisation"_s, u"Les KORVELAN — version 1.00"_s,
                              u"L’auteur décline toute responsabilité : à vous de vérifier"_s, u"Œuvre protégée."_s,
                              u"Fin de la licence."_s};
    for (const char *writer : {"pandoc", "libreoffice"}) {
        const QString w = QString::fromLatin1(writer);
        QTest::addRow("résumé by %s", writer)
            << u"resume-"_s + w + u".rtf"_s << resume << u"additif alimentaire"_s << u"ajoutée"_s << u"Conservateurs"_s
            << u"Chercher les numéros E"_s << 3 << 3 << u"Conservateur"_s;
        QTest::addRow("licence by %s", writer)
            << u"licence-"_s + w + u".rtf"_s << licence << u"Les KORVELAN"_s << u"tel quel"_s << u"Deuxième point"_s
            << u"Étape deux"_s << 2 << 2 << u"Élevé"_s;
    }
}

void TestRtfDocuments::writers()
{
    QFETCH(QString, file);
    QFETCH(QStringList, phrases);
    QTextDocument document;
    QVERIFY(readRtf(fixture(file), document));
    const QString text = document.toPlainText();
    for (const QString &phrase : phrases)
        QVERIFY2(text.contains(phrase), qPrintable(phrase + u" not in:\n"_s + text));
    // Nothing of the tables, styles and document information that come before the text.
    for (const QString &hidden :
         {u"Normal"_s, u"Heading"_s, u"Times New Roman"_s, u"Helvetica"_s, u"LibreOffice"_s, u"PAGE"_s})
        QVERIFY2(!text.contains(hidden), qPrintable(hidden));

    QFETCH(QString, bold);
    QFETCH(QString, italic);
    QCOMPARE(formatOf(document, bold).fontWeight(), int(QFont::Bold));
    QVERIFY(!formatOf(document, bold).fontItalic());
    QVERIFY(formatOf(document, italic).fontItalic());
    QCOMPARE(formatOf(document, italic).fontWeight(), int(QFont::Normal));

    // List items keep the bullet or number that the writer put before them, with an indent.
    QFETCH(QString, bulleted);
    QFETCH(QString, numbered);
    const QTextBlock bulletBlock = blockOf(document, bulleted);
    QVERIFY2(bulletBlock.text().trimmed().startsWith(u'•'), qPrintable(bulletBlock.text()));
    QVERIFY(bulletBlock.blockFormat().leftMargin() > 0);
    QVERIFY(bulletBlock.blockFormat().textIndent() < 0);
    // The item's text starts at the indent, past the bullet's tab.
    document.setTextWidth(600);
    (void)document.documentLayout()->documentSize();
    const qreal textX = bulletBlock.layout()->lineAt(0).cursorToX(bulletBlock.text().indexOf(u'\t') + 1);
    QVERIFY2(qAbs(textX - bulletBlock.blockFormat().leftMargin()) < 1, qPrintable(QString::number(textX)));
    const QTextBlock numberBlock = blockOf(document, numbered);
    QVERIFY2(numberBlock.text().trimmed().startsWith(u"2."_s), qPrintable(numberBlock.text()));
    QVERIFY(numberBlock.blockFormat().leftMargin() > 0);

    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(QString, lastCell);
    const QList<QTextTable *> tables = tablesOf(document);
    QCOMPARE(tables.size(), 1);
    QCOMPARE(tables[0]->rows(), rows);
    QCOMPARE(tables[0]->columns(), columns);
    QCOMPARE(cellText(tables[0], 0, 0), u"Numéro"_s);
    QCOMPARE(cellText(tables[0], rows - 1, columns - 1), lastCell);
}

QTEST_MAIN(TestRtfDocuments)
#include "tst_rtfdocuments.moc"
