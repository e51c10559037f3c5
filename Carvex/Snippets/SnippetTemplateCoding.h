#pragma once

#include "Carvex/Snippets/SnippetTemplate.h"

#include <QRegularExpression>

#include <optional>
#include <string>
#include <string_view>

namespace Carvex {

// The JSON form of a snippet template, one template per file. Decoding is all or nothing: a missing
// or null required key, a value of the wrong JSON type, an integer that is not integral or not in
// range, text that is not JSON or not UTF-8 all refuse the whole file. Unknown keys are ignored;
// strings are taken as they are.
class SnippetTemplateCoding {
public:
    static std::optional<SnippetTemplate> decode(std::string_view json);
    // Keys in the order id, name, triggerKeywords, context (when present, with its present keys),
    // content, openAPIVersion, depthScore (always).
    static std::string encode(const SnippetTemplate& snippet);

    // Finds placeholders in a template's content: "${", the index digits, ":", a default text of one
    // or more characters without "}", and "}". Captures 1 and 2 are the index and the default.
    static const QRegularExpression& placeholderPattern();
    // The index of a placeholder's digit run; 0 when it does not read as an in-range integer of the
    // digits 0 to 9.
    static int placeholderIndex(QStringView digits);
};

}  // namespace Carvex
