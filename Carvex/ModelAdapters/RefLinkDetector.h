#pragma once

#include "Carvex/ModelAdapters/RefLink.h"
#include "Carvex/Syntax/DocumentLanguage.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <vector>

namespace Carvex {

// Finds the `$ref` values of a JSON or YAML text from its characters alone, so a text that does not
// parse still has its links. Positions are UTF-16 units of the text.
//
// Each scanner keeps one search position: it finds the next key marker at or after it ("\"$ref\"" in
// JSON, "$ref" in YAML), examines what follows, and either records a link and resumes after its value,
// or resumes just after the marker. The text is read in place, once; only the value of a recorded link
// is copied. Nothing is kept between calls.
class RefLinkDetector {
public:
    // One examination of a scanner: the marker's position, where the search resumes, and the link
    // when one was recorded.
    struct Step {
        qsizetype marker = 0;
        qsizetype next = 0;
        std::optional<RefLink> link;
    };

    // Hands out the path texts of recorded links, sharing one text among equal short values (a
    // description names the same targets again and again), so most links cost no allocation.
    class PathCache {
    public:
        QString path(QStringView value);

    private:
        std::array<QString, 256> slots_;
    };

    // The links of `text` in text order: the JSON or YAML scanner, none for an unknown language.
    std::vector<RefLink> detectLinks(QStringView text, DocumentLanguage language) const;
    std::vector<RefLink> detectJSONLinks(QStringView text) const;
    std::vector<RefLink> detectYAMLLinks(QStringView text) const;

    // Examines the first key marker at or after `from` in `text`; nothing when no key marker follows.
    // A YAML occurrence glued to a preceding word is passed over without a step. The scanners are
    // these steps repeated from 0, each starting at the previous one's `next`.
    static std::optional<Step> nextJSONStep(QStringView text, qsizetype from, PathCache& paths);
    static std::optional<Step> nextYAMLStep(QStringView text, qsizetype from, PathCache& paths);
};

} // namespace Carvex
