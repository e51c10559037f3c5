#include "Carvex/Completion/DefaultCompletionEngine.h"

#include "Carvex/CaretContext/LineReading.h"
#include "Carvex/Completion/CompletionTextOrder.h"
#include "Carvex/Completion/ScalarNameText.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <numeric>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Carvex {

namespace {

// Unicode White_Space: what "\s" matches in the declaration patterns.
bool isWhiteSpace(char16_t unit)
{
    if (unit <= 0x20)
        return unit == 0x20 || (unit >= 0x09 && unit <= 0x0D);
    if (unit < 0x85)
        return false;
    return unit == 0x85 || unit == 0xA0 || unit == 0x1680 || (unit >= 0x2000 && unit <= 0x200A) || unit == 0x2028
        || unit == 0x2029 || unit == 0x202F || unit == 0x205F || unit == 0x3000;
}

// The first 'o' or 'O' in [from, to), or `to`.
qsizetype nextLetterO(const char16_t* units, qsizetype from, qsizetype to)
{
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i caseBit = _mm_set1_epi16(0x20);
    const __m128i letter = _mm_set1_epi16(u'o');
    for (; i + 8 <= to; i += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_or_si128(chunk, caseBit), letter));
        if (mask != 0)
            return i + __builtin_ctz(unsigned(mask)) / 2;
    }
#endif
    for (; i < to; ++i) {
        if ((units[i] | 0x20) == u'o')
            return i;
    }
    return to;
}

// Whether "penapi" follows at `at`, in any letter case. Only ASCII letters take part: no other
// character folds to one of these.
bool restOfKeyAt(const char16_t* units, qsizetype at)
{
    static constexpr char16_t rest[] = u"penapi";
    for (int i = 0; i < 6; ++i) {
        if ((units[at + i] | 0x20) != rest[i])
            return false;
    }
    return true;
}

qsizetype skipWhiteSpace(const char16_t* units, qsizetype at, qsizetype size)
{
    while (at < size && isWhiteSpace(units[at]))
        ++at;
    return at;
}

// From `at`: white space, ":", white space, an optional quote (required unless `plainAllowed`), "3.0".
bool declarationValueFollows(const char16_t* units, qsizetype at, qsizetype size, bool plainAllowed)
{
    at = skipWhiteSpace(units, at, size);
    if (at >= size || units[at] != u':')
        return false;
    at = skipWhiteSpace(units, at + 1, size);
    if (at < size && (units[at] == u'"' || units[at] == u'\''))
        ++at;
    else if (!plainAllowed)
        return false;
    return size - at >= 3 && units[at] == u'3' && units[at + 1] == u'.' && units[at + 2] == u'0';
}

// A JSON literal that stands bare as a value: true, false, null or a number.
bool isBareJsonLiteral(const QString& text)
{
    if (text == u"true" || text == u"false" || text == u"null")
        return true;
    if (!text.front().isDigit() && text.front() != u'-')
        return false;
    bool number = false;
    text.toDouble(&number);
    return number;
}

// The grammar's value rows are bare words (query, string, form); a JSON value that is a word is a
// string, so outside a string it goes in with its quotes. Structure rows, literals and keys stay.
void quoteJsonValueWords(std::vector<CompletionItem>& items, std::size_t from)
{
    for (std::size_t i = from; i < items.size(); ++i) {
        CompletionItem& item = items[i];
        if (item.requiresColon || item.kind == CompletionItemKind::snippet || item.snippetMetadata)
            continue;
        const QString& text = item.insertText;
        if (text.isEmpty() || text.startsWith(u'"') || text.startsWith(u'{') || text.startsWith(u'[')
            || isBareJsonLiteral(text))
            continue;
        item.insertText = u'"' + text + u'"';
    }
}

// Whether a closing bracket ends the text before the caret on its line, only blanks between: a
// complete JSON object or array, after which only a comma or a closing bracket may come.
bool followsClosingBracket(const QString& text, qsizetype caret)
{
    qsizetype before = std::min(caret, text.size());
    while (before > 0 && LineReading::isBlank(text[before - 1]))
        --before;
    return before > 0 && (text[before - 1] == u'}' || text[before - 1] == u']');
}

// The name of the key whose value is the YAML flow sequence opened at `open` on its line
// ("required: [", "- type: ["); none when the bracket is no sequence or no key's value.
std::optional<QString> keyOfFlowSequence(const QString& text, qsizetype open)
{
    if (text[open] != u'[')
        return std::nullopt;
    const qsizetype start = text.lastIndexOf(u'\n', open) + 1;
    const QStringView line = QStringView(text).sliced(start, open - start);
    qsizetype lead = 0;
    while (lead < line.size() && LineReading::isBlank(line[lead]))
        ++lead;
    lead += LineReading::afterDashes(line.sliced(lead));
    const std::optional<LineReading::YAMLKey> key = LineReading::yamlKey(line.sliced(lead));
    if (!key || !LineReading::trimmedBlanks(line.sliced(lead + key->colon + 1)).isEmpty())
        return std::nullopt;
    QString name = LineReading::decoded(key->name);
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

// A row that cannot stand as an item of a flow sequence: a key, a snippet, a block item or any text
// of more than one line, a nested collection. In a quoted scalar a row's text is the scalar's content.
bool isBlockOrStructureRow(const CompletionItem& item, bool inString)
{
    if (item.requiresColon || item.kind == CompletionItemKind::snippet || item.snippetMetadata)
        return true;
    const QString& text = item.insertText;
    return !inString
        && (text.contains(u'\n') || text.contains(u'\r') || text == u"-" || text.startsWith(u"- ")
            || text.startsWith(u'[') || text.startsWith(u'{'));
}

bool isSnippetBodyOnly(const CompletionItem& item)
{
    return item.kind == CompletionItemKind::snippet && item.snippetMetadata && item.snippetMetadata->isBodyOnly;
}

// A stable sort by the item order that normalises each label at most once.
void sortItems(std::vector<CompletionItem>& items)
{
    if (items.size() < 2)
        return;
    std::vector<char> plain(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        plain[i] = isPlainCompletionText(items[i].label);
    std::vector<std::size_t> order(items.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (items[a].priority != items[b].priority)
            return items[a].priority > items[b].priority;
        return compareCompletionTexts(items[a].label, plain[a], items[b].label, plain[b]) < 0;
    });
    std::vector<CompletionItem> sorted;
    sorted.reserve(items.size());
    for (std::size_t index : order)
        sorted.push_back(std::move(items[index]));
    items = std::move(sorted);
}

} // namespace

OpenAPIVersion DefaultCompletionEngine::detectVersion(QStringView text)
{
    const char16_t* units = text.utf16();
    const qsizetype size = text.size();
    constexpr qsizetype keyLength = 7; // "openapi"
    for (qsizetype at = nextLetterO(units, 0, size); size - at >= keyLength; at = nextLetterO(units, at + 1, size)) {
        if (!restOfKeyAt(units, at + 1))
            continue;
        const qsizetype end = at + keyLength;
        // openapi : "3.0   openapi : '3.0   openapi : 3.0
        if (declarationValueFollows(units, end, size, true))
            return OpenAPIVersion::openAPI30;
        // "openapi" : "3.0   "openapi" : '3.0
        if (at > 0 && units[at - 1] == u'"' && end < size && units[end] == u'"'
            && declarationValueFollows(units, end + 1, size, false))
            return OpenAPIVersion::openAPI30;
    }
    return OpenAPIVersion::openAPI31;
}

bool DefaultCompletionEngine::isValueKey(QStringView key)
{
    static constexpr std::array<std::u16string_view, 6> valueKeys = {u"type", u"in", u"format",
                                                                   u"scheme", u"style", u"default"};
    if (key.size() > 7)
        return false;
    const QString lowered = key.toString().toLower();
    const std::u16string_view loweredView(reinterpret_cast<const char16_t*>(lowered.utf16()), std::size_t(lowered.size()));
    return std::find(valueKeys.begin(), valueKeys.end(), loweredView) != valueKeys.end();
}

CompletionResult DefaultCompletionEngine::complete(const QString& text, qsizetype caretLocation,
                                                   DocumentFormat format) const
{
    return completions(text, caretLocation, format, {});
}

CompletionResult DefaultCompletionEngine::completions(const QString& text, qsizetype caretLocation,
                                                      DocumentFormat format,
                                                      const std::vector<SnippetTemplate>& snippetTemplates) const
{
    // Version: a 3.0 declaration anywhere selects the 3.0 grammar.
    const OpenAPIVersion version = detectVersion(text);
    const bool is30 = version == OpenAPIVersion::openAPI30;
    const OpenAPIGrammar& grammar = is30 ? static_cast<const OpenAPIGrammar&>(grammar30) : grammar31;

    CompletionContext context = cursorService.extractContext(text, caretLocation, format);
    if (context.hints.isInComment)
        return CompletionResult::empty(std::move(context));
    // Past a closed quoted scalar nothing fits: whatever was proposed would be written after it.
    // Inside one, a proposal replaces the scalar from its opening quote, so what the author typed
    // since that quote, read as the quoting reads it, narrows the proposals.
    const bool jsonText = context.format == DocumentFormat::json;
    const LineReading::QuotedAtCaret quoted = LineReading::quotedAtCaret(text, caretLocation, jsonText);
    if (quoted.followsClosed)
        return CompletionResult::empty(std::move(context));
    if (const auto& scalar = quoted.holding) {
        const QStringView typed = QStringView(text).sliced(scalar->open + 1, caretLocation - scalar->open - 1);
        context.prefix = ScalarNameText::decoded({typed, scalar->quoting});
    }
    // Past a closed flow collection nothing fits either. Inside a YAML flow collection the caret
    // stands where the line's block reading does not see it: only an item of a flow sequence that is
    // a key's value is read, as an item of that key's list, and gets what such an item may be written
    // as on its own; a flow mapping, a nested collection or a sequence no key holds gets nothing.
    bool flowItem = false;
    const auto nothingFits = [&] {
        CompletionResult result = CompletionResult::empty(std::move(context));
        result.version = version;
        return result;
    };
    if (jsonText) {
        if (!quoted.holding && followsClosingBracket(text, caretLocation))
            return nothingFits();
    } else if (!context.hints.isInString || quoted.holding) {
        // A block scalar's text (a string no quote holds) has no flow collections.
        const LineReading::YAMLFlowAtCaret flow = LineReading::yamlFlowAtCaret(text, caretLocation);
        if (flow.followsClosed)
            return nothingFits();
        if (flow.depth > 0) {
            std::optional<QString> key = flow.depth == 1 ? keyOfFlowSequence(text, flow.innermost) : std::nullopt;
            if (!key)
                return nothingFits();
            context.role = CursorRole::sequenceItem;
            // A sequence that a line above opened has its key among the caret line's parents already.
            const qsizetype lineStart = caretLocation > 0 ? text.lastIndexOf(u'\n', caretLocation - 1) + 1 : 0;
            const bool keyAbove = flow.innermost < lineStart && !context.path.empty()
                && context.path.back().text() == *key;
            if (!keyAbove)
                context.path.push_back(PathComponent::forKey(*key, context.path));
            context.path.push_back(PathComponent::index(0));
            context.currentKey = std::move(key);
            context.existingKeys.clear();
            flowItem = true;
        }
    }

    std::vector<GrammarContext> grammarContexts = grammar.classify(context);

    if (context.currentKey && *context.currentKey == u"$ref" && context.role == CursorRole::mappingValue) {
        context.hints.isRefValueContext = true;
        // A plain YAML pointer or name is replaced whole, from the value's start: it narrows as a whole
        // ("a b", "a:" of "a:b"), not by its last word.
        if (!jsonText && !context.hints.isInString) {
            if (const auto start = LineReading::yamlPlainValueStart(text, caretLocation, u"$ref"))
                context.prefix = text.sliced(*start, caretLocation - *start);
        }
        context.hints.expectedReferenceKind = is30 ? grammar30.expectedReferenceKind(grammarContexts)
                                                   : grammar31.expectedReferenceKind(grammarContexts);
    }
    const CompletionHints& hints = context.hints;

    // The caret on an item of a "required" or a "type" list.
    bool requiredList = false;
    bool typeList = false;
    if (context.role == CursorRole::sequenceItem) {
        auto last = context.path.rbegin();
        while (last != context.path.rend() && last->isIndex())
            ++last;
        if (last != context.path.rend()) {
            requiredList = last->isKey(u"required");
            typeList = last->isKey(u"type");
        }
    }

    if (hints.isInString) {
        const bool passes = (format == DocumentFormat::json && context.role == CursorRole::mappingKey)
            || hints.isRefValueContext || (context.currentKey && isValueKey(*context.currentKey)) || requiredList
            || typeList;
        if (!passes)
            return CompletionResult::empty(std::move(context));
    }

    std::vector<CompletionItem> items;
    if (hints.isRefValueContext) {
        const ReferenceIndex index = referenceIndexer.buildIndex(text, format);
        items = referenceResolver.suggestions(context, grammarContexts, index, text);
    }

    const auto append = [&items](std::vector<CompletionItem>&& more) {
        items.insert(items.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    };
    append(requiredFieldResolver.suggestions(context, text));
    append(typeArrayResolver.suggestions(context, text, version));
    std::vector<CompletionItem> enumValues = enumDefaultResolver.suggestions(context, text);
    if (!enumValues.empty()) {
        append(std::move(enumValues));
    } else if (!hints.isRefValueContext && !requiredList && !typeList && items.empty()) {
        const std::size_t grammarStart = items.size();
        for (GrammarContext grammarContext : grammarContexts)
            append(grammar.suggestions(grammarContext, context.role, context.currentKey, format));
        if (format == DocumentFormat::json && context.role != CursorRole::mappingKey && !hints.isInString)
            quoteJsonValueWords(items, grammarStart);
    }

    if (flowItem) {
        std::erase_if(items, [&](const CompletionItem& item) { return isBlockOrStructureRow(item, hints.isInString); });
    } else if (!snippetTemplates.empty()) {
        std::vector<CompletionItem> snippets = snippetProvider.suggestions(context, snippetTemplates);
        if (!snippets.empty()) {
            QSet<QString> labels;
            labels.reserve(qsizetype(items.size()));
            for (const CompletionItem& item : items)
                labels.insert(item.label);
            for (CompletionItem& snippet : snippets) {
                const bool bodyOnly = snippet.snippetMetadata && snippet.snippetMetadata->isBodyOnly;
                if (bodyOnly || labels.contains(snippet.label))
                    items.push_back(std::move(snippet));
            }
        }
    }

    if (context.role == CursorRole::mappingKey && !context.existingKeys.isEmpty()) {
        std::erase_if(items, [&](const CompletionItem& item) {
            return context.existingKeys.contains(item.label) && !isSnippetBodyOnly(item);
        });
    }

    if (!hints.isRefValueContext && !context.prefix.isEmpty()) {
        const QString prefix = context.prefix.toLower();
        std::erase_if(items, [&](const CompletionItem& item) { return !item.label.toLower().startsWith(prefix); });
    }

    sortItems(items);
    return CompletionResult{.version = version,
                            .context = std::move(context),
                            .grammarContexts = std::move(grammarContexts),
                            .items = std::move(items),
                            .isIncomplete = false};
}

} // namespace Carvex
