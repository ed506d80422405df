// Program entry. For now it loads the two embedded resources and reports how that went.
#include "additive.h"
#include "failure.h"
#include "keywords.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace korvelan;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);

    const DatabaseLoad database = loadAdditiveTable(readEmbeddedResource);
    if (database.failure)
        out << startupErrorText(*database.failure, kDatabaseErrorCode) << Qt::endl;
    const KeywordLoad keywords = loadKeywordIndex(readEmbeddedResource);
    if (keywords.failure)
        out << startupErrorText(*keywords.failure, kKeywordErrorCode) << Qt::endl;

    out << database.table.publishedCount() << " additifs, " << keywords.index.filledCount() << " mots clés"
        << Qt::endl;
    return 0;
}
