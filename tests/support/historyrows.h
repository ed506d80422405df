#pragma once

// The searches whose history both the history's own test and the search page's check: the words
// searched in turn, then the drop-down list they leave. The test declares the two columns.

#include <QStringList>
#include <QTest>

namespace fixtures {

inline void addHistoryRows()
{
    using namespace Qt::StringLiterals;
    QTest::newRow("capitals first") << QStringList{u"zinc"_s, u"acide"_s, u"Zinc"_s}
                                    << QStringList{u"Zinc"_s, u"acide"_s, u"zinc"_s};
    QTest::newRow("ac then acide") << QStringList{u"ac"_s, u"acide"_s} << QStringList{u"ac"_s, u"acide"_s};
    QTest::newRow("acide then ac") << QStringList{u"acide"_s, u"ac"_s} << QStringList{u"ac"_s, u"acide"_s};
    QTest::newRow("same word twice") << QStringList{u"acide"_s, u"acide"_s} << QStringList{u"acide"_s};
}

} // namespace fixtures
