#include "Carvex/Completion/CompletionTextOrder.h"

#include <unicode/unorm2.h>
#include <unicode/ustring.h>

namespace Carvex {

namespace {

// Below U+0300 every text is already in NFC: no character there decomposes or combines.
bool triviallyNormal(const QString& text)
{
    for (QChar unit : text) {
        if (unit.unicode() >= 0x300)
            return false;
    }
    return true;
}

// The text in NFC, or the text itself when it already is (or when normalisation fails, which
// only happens on allocation failure).
QString normalised(const QString& text)
{
    if (triviallyNormal(text))
        return text;
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
    if (U_FAILURE(status))
        return text;
    const auto* source = reinterpret_cast<const UChar*>(text.utf16());
    const auto length = static_cast<int32_t>(text.size());
    if (unorm2_quickCheck(nfc, source, length, &status) == UNORM_YES && U_SUCCESS(status))
        return text;
    status = U_ZERO_ERROR;
    // NFC of a text is at most three times its length.
    QString out(text.size() * 3, Qt::Uninitialized);
    const int32_t written = unorm2_normalize(nfc, source, length, reinterpret_cast<UChar*>(out.data()),
                                             static_cast<int32_t>(out.size()), &status);
    if (U_FAILURE(status))
        return text;
    out.truncate(written);
    return out;
}

} // namespace

int compareCompletionTexts(const QString& a, const QString& b)
{
    if (triviallyNormal(a) && triviallyNormal(b)) {
        // No surrogates either: unit order is code point order.
        const qsizetype common = std::min(a.size(), b.size());
        for (qsizetype i = 0; i < common; ++i) {
            const char16_t x = a.at(i).unicode();
            const char16_t y = b.at(i).unicode();
            if (x != y)
                return x < y ? -1 : 1;
        }
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    }
    const QString left = normalised(a);
    const QString right = normalised(b);
    const int32_t result = u_strCompare(reinterpret_cast<const UChar*>(left.utf16()), static_cast<int32_t>(left.size()),
                                        reinterpret_cast<const UChar*>(right.utf16()),
                                        static_cast<int32_t>(right.size()), true);
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

} // namespace Carvex
