// Feeds arbitrary bytes to the RTF reader, then walks and lays out the document it made, so that
// whatever formats and tables it built are used the way the view would use them.
#include "rtfreader.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Fonts and layout need an application; one on the offscreen platform, made once.
    static QGuiApplication *application = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_rtf";
        static char *argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    Q_UNUSED(application);

    // Smaller limits than the program's, so that each run stays quick; the limits themselves
    // are what gets exercised.
    korvelan::RtfLimits limits;
    limits.maxGroupDepth = 64;
    limits.maxParagraphs = 2000;
    limits.maxTableCells = 500;
    limits.maxPictures = 4;
    limits.maxPicturePixels = 512 * 512;

    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QTextDocument document;
    // Input that is not RTF is read once more behind an RTF header, so that every input reaches
    // the parser.
    if (!korvelan::readRtf(bytes, document, limits))
        korvelan::readRtf("{\\rtf1 " + bytes.toByteArray(), document, limits);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        (void)block.text().size();
    document.setTextWidth(400);
    (void)document.documentLayout()->documentSize();
    (void)document.toPlainText().size();
    return 0;
}
