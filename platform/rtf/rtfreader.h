#pragma once

#include <QByteArrayView>
#include <QtGlobal>

class QTextDocument;

namespace korvelan {

// What one document may cost at most. Past a limit the reader stops or leaves the costly part
// out, and the document shows what was read up to there. The defaults keep the costliest document
// quick to lay out and small in memory (bench/bench_rtf.cpp, tools/measure_documents.py), far
// above what a licence or a summary holds.
struct RtfLimits {
    qsizetype maxInputBytes = 8 * 1024 * 1024;   // bytes read; the rest of the input is ignored
    int maxGroupDepth = 256;                     // deeper groups are skipped whole
    int maxParagraphs = 10000;                   // reading stops at the paragraph after this many
    qsizetype maxCharacters = 100000;            // text and paragraph ends; reading stops there
    qsizetype maxParagraphLength = 5000;         // characters; a longer paragraph goes on in a new one
    int maxRuns = 20000;                         // formatted runs of text in the whole document,
    int maxRunsPerParagraph = 500;               // and in one paragraph: past either, text keeps
                                                 // the format of the run before it
    int maxTableCells = 500;                     // over the whole document; reading stops after
    int maxTableColumns = 64;                    // cells past this join the row's last cell
    int maxParagraphsPerCell = 50;               // the rest of a cell past this is left out
    int maxTableParagraphs = 2000;               // in all the cells; reading stops after
    int maxSpacing = 8640;                       // twips before, after and between the lines of a
                                                 // paragraph: the height of the box that shows it
    qint64 maxHeight = 1440 * 1000;              // twips, the height the document takes once laid out,
                                                 // as the reader reckons it; reading stops after
    int maxMarksPerCluster = 30;                 // combining marks after one letter; later ones are
                                                 // left out
    qsizetype maxPictureBytes = 8 * 1024 * 1024; // encoded size of one picture; larger ones are left out
    int maxPictures = 200;                       // pictures after this many are left out
    int maxPicturePixels = 4096 * 4096;          // decoded size of one picture
    qint64 maxTotalPicturePixels = 2048 * 2048;  // decoded size of all pictures; one that does not
                                                 // fit in what remains is left out
};

// True when the bytes look like an RTF document: "{\rtf" after optional white space.
bool looksLikeRtf(QByteArrayView bytes);

// Reads RTF bytes into the document, replacing what it held. Returns false, leaving the document
// empty, when the bytes are not RTF. Malformed RTF is read as far as it makes sense: the reader
// never fails on it, and what it could read is in the document.
bool readRtf(QByteArrayView bytes, QTextDocument &document, const RtfLimits &limits = {});

} // namespace korvelan
