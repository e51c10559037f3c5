#pragma once

#include <QString>

namespace Carvex {

// The one text order of completion: Unicode scalar values one by one, after canonical (NFC)
// normalisation, no case folding. UTF-16 unit order would put U+1F600 before U+E000; this order
// does not. Canonically equal texts compare equal, so a stable sort keeps them in place.
// Negative, zero or positive.
int compareCompletionTexts(const QString& a, const QString& b);

inline bool completionTextLess(const QString& a, const QString& b)
{
    return compareCompletionTexts(a, b) < 0;
}

} // namespace Carvex
