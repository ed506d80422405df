#pragma once

// Made-up tables and keyword indexes for the tests of the main window's rules.

#include "additive.h"
#include "keywords.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <map>

namespace rulesfixtures {

// The 19 fields of a record in the shape of the shipped ones. Field 17 is `number`.
inline QStringList recordFields(int number, const QString &code = QStringLiteral("E100"),
                                const QString &name = QStringLiteral("Curcumine"),
                                const QString &category = QStringLiteral("Colorant"),
                                const QString &risk = QStringLiteral("3"),
                                const QString &eu = QStringLiteral("Interdit"),
                                const QString &fr = QStringLiteral("Oui"))
{
    // clang-format off
    return {code, name, category, QStringLiteral("curcumine, turmérique"), QStringLiteral("nc"), eu, fr,
            QStringLiteral("Non"), QStringLiteral("Non"), QStringLiteral("Non"), QStringLiteral("Non"),
            QStringLiteral("?"), QStringLiteral("Glace, yaourt."), QStringLiteral(" "), QStringLiteral(" "), risk,
            QString::number(number), QString::number(number), code.toLower() + QStringLiteral(" curcumine")};
    // clang-format on
}

// A table built by the real loader from records given field by field (texts in Latin-1 range).
inline korvelan::AdditiveTable tableOf(const QList<QStringList> &records)
{
    QList<QByteArray> lines;
    for (const QStringList &fields : records)
        lines.append(fields.join(QLatin1Char('$')).toLatin1());
    korvelan::DatabaseLoad load = korvelan::loadAdditiveTable(lines.join("\r\n"), int(records.size()));
    Q_ASSERT(!load.failure);
    return std::move(load.table);
}

// A keyword index whose letter lists begin with the given words and are filled up to their counts
// with words of the form "<letter>zz<n>". The index hands words out by position only, so a word
// may be placed in the list of another letter on purpose.
inline korvelan::KeywordIndex indexOf(const std::map<char, QList<QByteArray>> &firstWords)
{
    QList<QByteArray> words;
    for (int letter = 0; letter < korvelan::LetterCount; ++letter) {
        const char initial = char('a' + letter);
        const auto given = firstWords.find(initial);
        qsizetype placed = 0;
        if (given != firstWords.end()) {
            words.append(given->second);
            placed = given->second.size();
        }
        for (int s = int(placed) + 1; s <= korvelan::KeywordLetterCounts[static_cast<size_t>(letter)]; ++s)
            words.append(initial + QByteArray("zz") + QByteArray::number(s));
    }
    korvelan::KeywordLoad load = korvelan::loadKeywordIndex(words.join("\r\n") + QByteArray(2, '\0'));
    Q_ASSERT(!load.failure);
    return std::move(load.index);
}

} // namespace rulesfixtures
