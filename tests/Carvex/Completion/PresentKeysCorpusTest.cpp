#include "Carvex/Completion/DefaultCompletionEngine.h"
#include "Carvex/Text/TextPositionConverter.h"

#include "kit/parsing/YAMLParser.h"

#include "CompletionEngineSupport.h"

#include <gtest/gtest.h>

#include <QSet>

#include <string>

using namespace Carvex;

namespace {

// Where a new key of a block mapping is written after one of its members: on a new line after the
// member's value, at the mapping's column.
struct NewLine {
    qsizetype after = 0;  // the end of the value's last line
    qsizetype column = 0; // the mapping's column
    QSet<QString> keys;   // every key of the mapping
};

// The last position of `text` before `end` that is no white space, or `from`.
qsizetype lastContentBefore(QStringView text, qsizetype from, qsizetype end)
{
    while (end > from && text[end - 1].isSpace())
        --end;
    return end;
}

void collectNewLines(const VoziZazIreCore::GenericNode& node, QStringView text, const TextPositionConverter& places,
                     std::vector<NewLine>& out)
{
    if (const auto elements = node.arrayValue()) {
        for (const VoziZazIreCore::GenericNode* element : *elements)
            collectNewLines(*element, text, places, out);
        return;
    }
    const auto members = node.objectValue();
    if (!members || members->empty())
        return;
    const VoziZazIreCore::SourceRange range = node.range();
    const std::optional<qsizetype> start = places.position(range.start.line, range.start.column);
    const std::optional<qsizetype> lineStart = places.lineStart(range.start.line);
    // Flow mappings take their keys between braces, not on lines of their own.
    const bool block = start && lineStart && *start < text.size() && text[*start] != u'{';
    QSet<QString> keys;
    for (const auto& member : *members)
        keys.insert(QString::fromUtf8(member.key.data(), qsizetype(member.key.size())));
    for (const auto& member : *members) {
        if (block) {
            const VoziZazIreCore::SourceRange value = member.value->range();
            const std::optional<qsizetype> end = places.position(value.end.line, value.end.column);
            if (end) {
                const qsizetype last = lastContentBefore(text, *start, *end);
                qsizetype after = text.indexOf(u'\n', last);
                out.push_back({after < 0 ? text.size() : after, *start - *lineStart, keys});
            }
        }
        collectNewLines(*member.value, text, places, out);
    }
}

qsizetype indentationOf(const QString& line)
{
    qsizetype i = 0;
    while (i < line.size() && line[i] == u' ')
        ++i;
    return i;
}

// The same description with every item list moved to its key's column ("tags:" over "- a"), the
// other common way to write one: a key line ending in ":" whose next line is an item two columns
// deeper than the key has its whole block moved two columns left.
QString withListsAtTheirKeysColumn(const QString& text)
{
    QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QString trimmed = lines[i].trimmed();
        if (!trimmed.endsWith(u':') || trimmed.startsWith(u'#'))
            continue;
        const qsizetype keyColumn = indentationOf(lines[i]) + (trimmed.startsWith(u"- ") ? 2 : 0);
        const QString& next = lines[i + 1];
        if (indentationOf(next) != keyColumn + 2 || !next.trimmed().startsWith(u"- "))
            continue;
        for (qsizetype j = i + 1; j < lines.size(); ++j) {
            if (lines[j].trimmed().isEmpty())
                continue;
            if (indentationOf(lines[j]) <= keyColumn)
                break;
            lines[j].remove(0, 2);
        }
    }
    return lines.join(u'\n');
}

// Opens a new line after each member of each block mapping of a YAML text, at the mapping's column,
// and asks for completions there; answers how many places were asked.
int askAfterEachMember(const QString& original, const std::string& name)
{
    const DefaultCompletionEngine engine;
    const QByteArray utf8 = original.toUtf8();
    const VoziZazIreCore::NodePtr root =
        VoziZazIreParsing::YAMLParser().parse(std::string_view(utf8.constData(), std::size_t(utf8.size())));
    EXPECT_TRUE(root) << name;
    if (!root)
        return 0;
    const TextPositionConverter places(original);
    std::vector<NewLine> newLines;
    collectNewLines(*root, original, places, newLines);
    for (const NewLine& place : newLines) {
        QString text = original;
        text.insert(place.after, u'\n' + QString(place.column, u' '));
        const qsizetype caret = place.after + 1 + place.column;
        const std::string where =
            name + " line " + std::to_string(QStringView(text).first(caret).count(u'\n') + 1);
        const CompletionResult result = engine.complete(text, caret, DocumentFormat::yaml);
        EXPECT_EQ(result.context.role, CursorRole::mappingKey) << where;
        for (const QString& key : place.keys)
            EXPECT_TRUE(result.context.existingKeys.contains(key)) << where << ": " << key.toStdString();
        for (const CompletionItem& item : result.items)
            EXPECT_FALSE(place.keys.contains(item.label)) << where << ": " << item.label.toStdString();
    }
    return int(newLines.size());
}

// Every block mapping of the shared corpus's YAML descriptions, as written and with their lists at
// their keys' column: whatever lists, comments, block scalars or blank lines stand around a new line
// after a member, the keys the mapping already has are known as present and none of them is offered.
TEST(PresentKeysCorpus, aNewLineAfterEachMemberOffersNoKeyTheMappingHas)
{
    const std::vector<CompletionEngineSupport::CorpusFile> files = CompletionEngineSupport::corpusFiles();
    if (files.empty())
        GTEST_SKIP() << "no corpus";
    int asked = 0;
    int rewritten = 0;
    for (const auto& file : files) {
        if (file.format != DocumentFormat::yaml)
            continue;
        asked += askAfterEachMember(file.text, file.name.toStdString());
        const QString moved = withListsAtTheirKeysColumn(file.text);
        if (moved != file.text) {
            asked += askAfterEachMember(moved, file.name.toStdString() + " (lists at their keys' column)");
            ++rewritten;
        }
    }
    EXPECT_GT(asked, 1000);
    EXPECT_GT(rewritten, 4);
}

} // namespace
