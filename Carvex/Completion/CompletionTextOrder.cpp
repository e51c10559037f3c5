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
    // Fast path: below U+0300 every character is a starter that neither decomposes nor composes
    // with a neighbour below U+0300, and unit order is scalar order. The first difference decides
    // when it and the characters right after it lie below U+0300.
    constexpr char16_t kFirstCombining = 0x300;
    const qsizetype common = std::min(a.size(), b.size());
    const QChar* left = a.constData();
    const QChar* right = b.constData();
    qsizetype i = 0;
    while (i < common && left[i] == right[i] && left[i].unicode() < kFirstCombining)
        ++i;
    auto below = [kFirstCombining](const QString& text, qsizetype position) {
        return position >= text.size() || text.at(position).unicode() < kFirstCombining;
    };
    if (i == common) {
        if (below(a, i) && below(b, i))
            return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    } else if (below(a, i) && below(b, i) && below(a, i + 1) && below(b, i + 1)) {
        return left[i].unicode() < right[i].unicode() ? -1 : 1;
    }
    const QString leftText = normalised(a);
    const QString rightText = normalised(b);
    const int32_t result = u_strCompare(reinterpret_cast<const UChar*>(leftText.utf16()),
                                        static_cast<int32_t>(leftText.size()),
                                        reinterpret_cast<const UChar*>(rightText.utf16()),
                                        static_cast<int32_t>(rightText.size()), true);
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

bool isPlainCompletionText(const QString& text)
{
    return triviallyNormal(text);
}

int compareCompletionTexts(const QString& a, bool aPlain, const QString& b, bool bPlain)
{
    if (aPlain && bPlain) {
        const int result = QStringView(a).compare(QStringView(b));
        return result < 0 ? -1 : (result > 0 ? 1 : 0);
    }
    return compareCompletionTexts(a, b);
}

} // namespace Carvex
