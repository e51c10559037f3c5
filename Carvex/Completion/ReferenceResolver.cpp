#include "Carvex/Completion/ReferenceResolver.h"

#include "Carvex/Completion/CompletionTextOrder.h"
#include "Carvex/Completion/ScalarNameText.h"

#include <algorithm>

namespace Carvex {

namespace {

bool isPrefixTrimCharacter(QChar c)
{
    return c == u'"' || c == u'\'' || c == u'#';
}

struct Candidate {
    const ReferenceTarget* target;
    bool nameMatches;
    bool plainName;
};

// Case-insensitive start test by lower-casing both sides; ASCII texts skip the copies.
bool startsWithLowered(const QString& text, const QString& loweredNeedle)
{
    if (loweredNeedle.size() > text.size() * 3)
        return false;
    bool ascii = true;
    for (QChar c : loweredNeedle) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii && text.size() >= loweredNeedle.size()) {
        bool plain = true;
        for (qsizetype i = 0; i < loweredNeedle.size(); ++i) {
            const char16_t c = text[i].unicode();
            if (c >= 0x80) {
                plain = false;
                break;
            }
            const char16_t lowered = c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
            if (lowered != loweredNeedle[i].unicode())
                return false;
        }
        if (plain)
            return true;
    }
    return text.toLower().startsWith(loweredNeedle);
}

} // namespace

int ReferenceResolver::priority(ReferenceKind kind)
{
    switch (kind) {
    case ReferenceKind::schema: return 100;
    case ReferenceKind::response: return 90;
    case ReferenceKind::parameter: return 85;
    case ReferenceKind::requestBody: return 80;
    case ReferenceKind::header: return 75;
    case ReferenceKind::securityScheme: return 70;
    case ReferenceKind::pathItem: return 65;
    case ReferenceKind::example: return 60;
    case ReferenceKind::link: return 55;
    case ReferenceKind::callback: return 50;
    case ReferenceKind::unknown: return 40;
    }
    return 40;
}

CompletionItemKind ReferenceResolver::itemKind(ReferenceKind kind)
{
    switch (kind) {
    case ReferenceKind::schema: return CompletionItemKind::schema;
    case ReferenceKind::response: return CompletionItemKind::response;
    case ReferenceKind::parameter: return CompletionItemKind::parameter;
    case ReferenceKind::requestBody: return CompletionItemKind::requestBody;
    case ReferenceKind::header: return CompletionItemKind::property;
    case ReferenceKind::securityScheme: return CompletionItemKind::security;
    case ReferenceKind::pathItem: return CompletionItemKind::pathItem;
    case ReferenceKind::example: return CompletionItemKind::value;
    case ReferenceKind::link: return CompletionItemKind::link;
    case ReferenceKind::callback: return CompletionItemKind::callback;
    case ReferenceKind::unknown: return CompletionItemKind::link;
    }
    return CompletionItemKind::link;
}

QString ReferenceResolver::descriptionWord(ReferenceKind kind)
{
    const std::string_view raw = rawValue(kind);
    QString word = QString::fromLatin1(raw.data(), static_cast<qsizetype>(raw.size())).toLower();
    if (!word.isEmpty())
        word[0] = word[0].toUpper();
    return word;
}

std::vector<CompletionItem> ReferenceResolver::suggestions(const CompletionContext& context,
                                                           const std::vector<GrammarContext>&,
                                                           const ReferenceIndex& index, QStringView text) const
{
    const CompletionHints& hints = context.hints;
    if (!hints.isRefValueContext)
        return {};

    std::vector<ReferenceTarget> all;
    const std::vector<ReferenceTarget>* source = nullptr;
    if (hints.expectedReferenceKind && *hints.expectedReferenceKind != ReferenceKind::unknown) {
        source = &index.targets(*hints.expectedReferenceKind);
    } else {
        all = index.allTargets();
        source = &all;
    }

    std::vector<Candidate> candidates;
    candidates.reserve(source->size());
    qsizetype start = 0;
    qsizetype end = context.prefix.size();
    while (start < end && isPrefixTrimCharacter(context.prefix[start]))
        ++start;
    while (end > start && isPrefixTrimCharacter(context.prefix[end - 1]))
        --end;
    if (start == end) {
        for (const ReferenceTarget& target : *source)
            candidates.push_back({&target, false, false});
    } else {
        const QString rest = context.prefix.sliced(start, end - start);
        const QString nameNeedle = rest.toLower();
        // Only a typed pointer ("#/", "components/sch") is matched against the pointers: a word alone
        // ("c") narrows by the name, or every "#/components/..." pointer would match it.
        const bool pointerTyped = rest.contains(u'/');
        const QString pointerNeedle = ((rest.startsWith(u'/') ? QStringLiteral("#") : QStringLiteral("#/")) + rest).toLower();
        for (const ReferenceTarget& target : *source) {
            const bool nameMatches = startsWithLowered(target.name, nameNeedle);
            if (nameMatches || (pointerTyped && startsWithLowered(target.pointer, pointerNeedle)))
                candidates.push_back({&target, nameMatches, isPlainCompletionText(target.name)});
        }
        std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
            if (a.nameMatches != b.nameMatches)
                return a.nameMatches;
            return compareCompletionTexts(a.target->name, a.plainName, b.target->name, b.plainName) < 0;
        });
    }

    QString words[allReferenceKinds.size()];
    for (ReferenceKind kind : allReferenceKinds)
        words[static_cast<std::size_t>(kind)] = descriptionWord(kind) + QStringLiteral(": ");
    // Outside a string the pointer goes in as a double-quoted string; in one, as the string's content.
    // A YAML block scalar takes it as it is.
    const bool json = context.format == DocumentFormat::json;
    const std::optional<QChar> quote =
        hints.isInString && !json ? ScalarNameText::openYAMLQuote(text, context.caretLocation) : std::nullopt;
    const auto written = [&](const QString& pointer) {
        if (json)
            return hints.isInString ? ScalarNameText::jsonStringContent(pointer) : ScalarNameText::jsonString(pointer);
        if (!hints.isInString)
            return u'"' + ScalarNameText::yamlQuotedContent(pointer, u'"') + u'"';
        return quote ? ScalarNameText::yamlQuotedContent(pointer, *quote) : pointer;
    };
    std::vector<CompletionItem> items;
    items.reserve(candidates.size());
    for (const Candidate& candidate : candidates) {
        const ReferenceTarget& target = *candidate.target;
        QString insertText = written(target.pointer);
        const QString& word = words[static_cast<std::size_t>(target.kind)];
        QString description;
        description.reserve(word.size() + target.name.size());
        description.append(word);
        description.append(target.name);
        items.emplace_back(target.pointer, std::move(insertText), itemKind(target.kind), std::nullopt,
                           std::move(description), std::nullopt, priority(target.kind), false, false, std::nullopt);
    }
    return items;
}

} // namespace Carvex
