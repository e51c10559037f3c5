#include "CompletionTablesSupport.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QStringList>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <thread>

using Carvex::CompletionItem;
using Carvex::CompletionItemKind;
using CompletionTablesSupport::NamedTable;
namespace Tables30 = Carvex::OpenAPI30Tables;
namespace Tables31 = Carvex::OpenAPI31Tables;

namespace {

const char* kSharedTables[] = {
    "contactKeys",        "serverKeys",        "serverVariableKeys",      "pathItemKeys",       "operationKeys",
    "parameterKeys",      "requestBodyKeys",   "responseKeys",            "securitySchemeKeys", "oAuthFlowsKeys",
    "oAuthFlowKeys",      "tagKeys",           "externalDocsKeys",        "exampleKeys",        "headerKeys",
    "linkKeys",           "discriminatorKeys", "xmlKeys",                 "parameterInValues",  "httpStatusCodes",
    "mediaTypes",         "booleanValues",     "styleValues",             "securitySchemeInValues",
    "httpSchemeValues",   "objectStructure",   "arrayStructure",          "yamlArrayItem",      "yamlObjectStart",
    "yamlSchemaArrayItems", "yamlServerArrayItems", "yamlParameterArrayItems", "yamlTagArrayItems",
    "yamlSecurityArrayItems"};

const std::vector<CompletionItem>& table(const std::vector<NamedTable>& tables, const std::string& name)
{
    for (const NamedTable& each : tables) {
        if (name == each.name)
            return each.read();
    }
    ADD_FAILURE() << "no table " << name;
    static const std::vector<CompletionItem> none;
    return none;
}

std::string unescape(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            out += next == 'n' ? '\n' : (next == 't' ? '\t' : next);
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string text(const std::optional<QString>& value)
{
    return value ? value->toStdString() : "~";
}

std::vector<std::string> split(const std::string& line)
{
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            return cells;
        start = tab + 1;
    }
}

// Every row of both namespaces against the transcription of the tables, one line per row, field by
// field: namespace, table, label, insert text, kind, priority, colon, value, short description,
// detail, description ("*" where the wording is free, checked by shape below; "~" for none).
TEST(CompletionTables, everyRowMatchesTheTranscription)
{
    std::ifstream file(CARVEX_SOURCE_DIR "/tests/Carvex/Completion/data/CompletionTableRows.tsv");
    ASSERT_TRUE(file.good());
    std::map<std::string, std::size_t> next;
    std::size_t count = 0;
    std::size_t only30 = 0;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty())
            continue;
        const std::vector<std::string> cells = split(line);
        ASSERT_EQ(cells.size(), 11u) << line;
        const std::string key = cells[0] + " " + cells[1];
        const auto& rows = table(cells[0] == "31" ? CompletionTablesSupport::tables31()
                                                  : CompletionTablesSupport::tables30(),
                                 cells[1]);
        const std::size_t index = next[key]++;
        ASSERT_LT(index, rows.size()) << key << " has too few rows";
        const CompletionItem& row = rows[index];
        const std::string where = key + " row " + std::to_string(index) + " " + cells[2];
        EXPECT_EQ(row.label.toStdString(), unescape(cells[2])) << where;
        EXPECT_EQ(row.insertText.toStdString(), unescape(cells[3])) << where;
        EXPECT_EQ(Carvex::rawValue(row.kind), cells[4]) << where;
        EXPECT_EQ(std::to_string(row.priority), cells[5]) << where;
        EXPECT_EQ(row.requiresColon, cells[6] == "colon") << where;
        EXPECT_EQ(row.requiresValue, cells[7] == "value") << where;
        EXPECT_EQ(text(row.shortDescription), unescape(cells[8])) << where;
        EXPECT_EQ(text(row.detail), unescape(cells[9])) << where;
        if (cells[10] != "*") {
            EXPECT_EQ(text(row.description), unescape(cells[10])) << where;
        }
        EXPECT_FALSE(row.snippetMetadata) << where;
        ++count;
        only30 += cells[0] == "30";
    }
    EXPECT_EQ(count, 359u);
    EXPECT_EQ(only30, 90u);
    for (const auto& [key, rowsRead] : next) {
        const bool is31 = key.starts_with("31 ");
        const auto& rows = table(is31 ? CompletionTablesSupport::tables31() : CompletionTablesSupport::tables30(),
                                 key.substr(3));
        EXPECT_EQ(rows.size(), rowsRead) << key << " has rows beyond the transcription";
    }
    EXPECT_TRUE(Tables31::yamlObjectStart().empty());
}

TEST(CompletionTables, everyRowOfVersion31HasItsShape)
{
    std::set<const void*> seen;
    for (const NamedTable& named : CompletionTablesSupport::tables31()) {
        const auto& rows = named.read();
        if (!seen.insert(&rows).second)
            continue; // formatValues is schemaFormatValues
        const std::string name = named.name;
        const bool keyTable = name.ends_with("Keys");
        const bool structure = name.ends_with("Structure") || name.starts_with("yaml");
        for (const CompletionItem& row : rows) {
            const std::string where = name + " " + row.label.toStdString();
            ASSERT_TRUE(row.description) << where;
            const QString& description = *row.description;
            EXPECT_GE(description.size(), 75) << where;
            EXPECT_LE(description.size(), 225) << where;
            EXPECT_FALSE(description.contains(u'\n') || description.contains(u'`'))
                << where;
            const qsizetype sentences = description.count(QStringLiteral(". ")) + 1;
            EXPECT_LE(sentences, 5) << where; // "e.g., " counts once too many at most
            ASSERT_TRUE(row.shortDescription) << where;
            EXPECT_GE(row.shortDescription->size(), 2) << where;
            EXPECT_LE(row.shortDescription->size(), 44) << where;
            EXPECT_GE(row.priority, 25) << where;
            EXPECT_LE(row.priority, 100) << where;
            EXPECT_EQ(row.detail.has_value(), keyTable || structure) << where;
            if (keyTable) {
                EXPECT_EQ(row.insertText, row.label) << where;
            }
            EXPECT_EQ(row.requiresColon, keyTable || name == "mediaTypes" || name == "httpStatusCodes") << where;
            if (!keyTable) {
                EXPECT_FALSE(row.requiresValue) << where;
            }
        }
    }
}

TEST(CompletionTables, idsAreDistinctStableAndSharedBetweenNamespaces)
{
    for (const auto* tables : {&CompletionTablesSupport::tables31(), &CompletionTablesSupport::tables30()}) {
        for (const NamedTable& named : *tables) {
            const auto& first = named.read();
            QSet<QUuid> ids;
            for (const CompletionItem& row : first)
                ids.insert(row.id);
            EXPECT_EQ(ids.size(), qsizetype(first.size())) << named.name;
            const auto& second = named.read();
            EXPECT_EQ(&first, &second) << named.name; // the stored array, no copy
        }
    }
    for (const char* name : kSharedTables)
        EXPECT_EQ(&table(CompletionTablesSupport::tables30(), name), &table(CompletionTablesSupport::tables31(), name))
            << name;
    EXPECT_EQ(&Tables31::formatValues(), &Tables31::schemaFormatValues());
    EXPECT_EQ(&Tables30::formatValues(), &Tables30::schemaFormatValues());
    EXPECT_NE(&Tables30::schemaKeys(), &Tables31::schemaKeys());
}

// A fresh process per order: the 3.0 namespace read first, then the 3.1 one, and the reverse.
TEST(CompletionTablesDeathTest, sharedIdsDoNotDependOnWhichNamespaceIsReadFirst)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (bool thirtyFirst : {true, false}) {
        EXPECT_EXIT(
            {
                std::vector<QUuid> first;
                std::vector<QUuid> second;
                for (const char* name : kSharedTables) {
                    const auto& a = table(thirtyFirst ? CompletionTablesSupport::tables30()
                                                      : CompletionTablesSupport::tables31(),
                                          name);
                    for (const CompletionItem& row : a)
                        first.push_back(row.id);
                }
                for (const char* name : kSharedTables) {
                    const auto& b = table(thirtyFirst ? CompletionTablesSupport::tables31()
                                                      : CompletionTablesSupport::tables30(),
                                          name);
                    for (const CompletionItem& row : b)
                        second.push_back(row.id);
                }
                std::exit(first == second && first.size() == 53 + 106 ? 0 : 1);
            },
            testing::ExitedWithCode(0), "");
    }
}

// A fresh process whose first reads come from eight threads at once: one set of ids.
TEST(CompletionTablesDeathTest, concurrentFirstReadsBuildOneSetOfIds)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::vector<std::vector<QUuid>> seen(8);
            {
                std::vector<std::jthread> threads;
                for (int t = 0; t < 8; ++t) {
                    threads.emplace_back([t, &seen] {
                        const auto& tables = t % 2 ? CompletionTablesSupport::tables30()
                                                   : CompletionTablesSupport::tables31();
                        for (const char* name : kSharedTables) {
                            for (const CompletionItem& row : table(tables, name))
                                seen[t].push_back(row.id);
                        }
                    });
                }
            }
            const bool same = std::all_of(seen.begin(), seen.end(), [&](const auto& ids) { return ids == seen[0]; });
            std::exit(same && !seen[0].empty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

std::vector<CompletionItem> sorted(std::vector<CompletionItem> rows)
{
    std::stable_sort(rows.begin(), rows.end());
    return rows;
}

QStringList labels(const std::vector<CompletionItem>& rows)
{
    QStringList out;
    for (const CompletionItem& row : rows)
        out << row.label;
    return out;
}

TEST(CompletionTables, examplesOfTheTables)
{
    std::set<int> priorities;
    for (const CompletionItem& row : Tables31::schemaKeys())
        priorities.insert(row.priority);
    EXPECT_EQ(priorities.size(), 38u);

    for (const NamedTable& named : CompletionTablesSupport::tables31()) {
        for (const CompletionItem& row : named.read()) {
            if (row.label == "$ref") {
                EXPECT_EQ(row.priority, std::string(named.name) == "schemaKeys" ? 100 : 95) << named.name;
                EXPECT_EQ(row.kind, CompletionItemKind::link) << named.name;
            }
        }
    }
    EXPECT_EQ(labels(sorted(Tables31::httpStatusCodes())),
              QStringList({"200", "201", "204", "400", "404", "401", "default", "403", "500"}));
    const CompletionItem& twoLines = Tables31::yamlParameterArrayItems().at(1);
    EXPECT_EQ(twoLines.insertText, "- name: \n  in: ");
    const QStringList schemes = labels(sorted(Tables31::httpSchemeValues()));
    EXPECT_LT(schemes.indexOf("bearer"), schemes.indexOf("basic"));
    EXPECT_EQ(schemes.last(), "vapid");
    EXPECT_EQ(labels(Tables30::componentsKeys()).size(), 9);
    EXPECT_FALSE(labels(Tables30::componentsKeys()).contains("pathItems"));
    EXPECT_TRUE(labels(Tables31::componentsKeys()).contains("pathItems"));
    EXPECT_EQ(Tables30::securitySchemeKeys().at(0).detail, "REQUIRED. apiKey/http/mutualTLS/oauth2/openIdConnect");
}

} // namespace
