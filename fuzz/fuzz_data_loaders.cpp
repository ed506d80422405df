// Feeds arbitrary bytes to both loaders, with the shipped record count and with a few others, and to the
// reader of the registers.
#include "additive.h"
#include "keywords.h"
#include "register.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    for (int count : {korvelan::RecordCount, 3, korvelan::RecordCapacity + 1}) {
        const korvelan::DatabaseLoad database = korvelan::loadAdditiveTable(bytes, count);
        for (int r = 0; r <= korvelan::RecordCapacity + 1; ++r)
            for (int k = 0; k <= korvelan::FieldCount + 1; ++k)
                (void)database.table.field(k, r).size();
    }
    const korvelan::KeywordLoad keywords = korvelan::loadKeywordIndex(bytes);
    for (int letter = 0; letter < korvelan::LetterCount; ++letter) {
        const korvelan::LetterList list = keywords.index.letter(letter);
        for (int s = 0; s <= list.size() + 1; ++s)
            (void)list.entry(s).size();
    }
    // The registers as they stand, and behind a header that makes every line a row.
    const QByteArray header = "record\tfield\tshown\tworld\tsource\treason\tvalue\n";
    for (const QByteArray &text : {bytes.toByteArray(), header + bytes.toByteArray()}) {
        const korvelan::FactRegister facts = korvelan::FactRegister::parse(text, text);
        for (int r = 0; r <= korvelan::RecordCapacity + 1; ++r) {
            for (int k = 0; k <= korvelan::FieldCount + 1; ++k) {
                if (const auto forced = facts.forced(r, k, u"Oui"))
                    (void)(forced->world.size() + forced->source.size() + forced->reason.size());
                if (const auto sourced = facts.sourced(r, k, u"Oui"))
                    (void)sourced->source.size();
            }
        }
    }
    return 0;
}
