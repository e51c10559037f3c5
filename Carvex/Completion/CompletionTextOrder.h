#pragma once

#include <QString>

namespace Carvex {

// The one text order of completion: Unicode scalar values one by one, after canonical (NFC)
// normalisation, no case folding. UTF-16 unit order would put U+1F600 before U+E000; this order
// does not. Canonically equal texts compare equal, so a stable sort keeps them in place.
// Negative, zero or positive.
int compareCompletionTexts(const QString& a, const QString& b);

// True when every unit lies below U+0300: such texts are in NFC whatever their neighbours, and
// their unit order is the completion text order. Sorts of many texts test this once per text.
bool isPlainCompletionText(const QString& text);
// The completion text order when both texts are known to be plain (or not).
int compareCompletionTexts(const QString& a, bool aPlain, const QString& b, bool bPlain);

inline bool completionTextLess(const QString& a, const QString& b)
{
    return compareCompletionTexts(a, b) < 0;
}

} // namespace Carvex
