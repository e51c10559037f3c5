#pragma once

#include "Carvex/Syntax/DocumentLanguage.h"

#include <QStringView>

class QUrl;

namespace Carvex {

// Decides which language a document is written in, from its file name or from its text.
struct DocumentLanguageDetector {
    // The language of the URL's path extension.
    DocumentLanguage detect(const QUrl& url) const;

    // "json" gives json; "yaml" and "yml" give yaml, in any letter case; anything else unknown.
    DocumentLanguage detectFromExtension(QStringView extension) const;

    // Looks at the text's first non-blank characters and its first line.
    DocumentLanguage detectFromContent(QStringView content) const;
};

} // namespace Carvex
