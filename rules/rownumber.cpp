#include "rownumber.h"

#include "additive.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace korvelan {

QStringView textAfterSeparator(QStringView row)
{
    const qsizetype dollar = row.indexOf(u'$');
    return dollar < 0 ? row : row.sliced(dollar + 1);
}

RowNumber toInt16(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;

    bool negative = false;
    if (begin < end && (text[begin] == u'-' || text[begin] == u'+')) {
        negative = text[begin] == u'-';
        ++begin;
    }
    if (begin == end)
        return {0, TypeMismatch};

    // Accumulate with a ceiling, so that any number of digits is read without overflowing here.
    constexpr qint64 kCeiling = qint64(std::numeric_limits<qint16>::max()) + 2;
    qint64 value = 0;
    for (qsizetype i = begin; i < end; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return {0, TypeMismatch};
        value = std::min(value * 10 + (c - u'0'), kCeiling);
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        return {0, OverflowError};
    return {int(value), NoSelectionError};
}

RowNumber rowRecordNumber(QStringView row)
{
    RowNumber number = toInt16(textAfterSeparator(row));
    if (number.ok() && !AdditiveTable::isSlot(number.record))
        return {0, SubscriptOutOfRange};
    return number;
}

QString errorDescription(int code)
{
    switch (code) {
    case OverflowError: return u"Dépassement de capacité"_s;
    case SubscriptOutOfRange: return u"L'indice n'appartient pas à la sélection"_s;
    case TypeMismatch: return u"Type incompatible"_s;
    default: return u"Erreur définie par l'application ou par l'objet"_s;
    }
}

QString selectionErrorText(int code)
{
    return u"Erreur programme "_s + QString::number(code) + u"\r\nInterne 101\r\n\r\n"_s + errorDescription(code) +
        u'.';
}

} // namespace korvelan
