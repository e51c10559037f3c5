#include "Carvex/CaretContext/CursorLocationService.h"
#include "Carvex/Completion/EnumDefaultResolver.h"
#include "Carvex/Completion/OpenAPI31Tables.h"
#include "Carvex/Completion/RequiredFieldResolver.h"
#include "Carvex/Completion/TypeArrayResolver.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>

#include <random>

using Carvex::CompletionContext;
using Carvex::CompletionItem;
using Carvex::CursorRole;
using Carvex::DocumentFormat;
using Carvex::PathComponent;

namespace {

// Corpus texts, mutated at random (deleted, doubled or inserted brackets, quotes, colons, dashes and
// line breaks), with random carets: the enum and required proposals only ever name text that stands
// in the document, the type proposals only type names, and nothing breaks.
TEST(ProposalResolvers, mutatedCorpusTextsGiveOnlyNamesFromTheText)
{
    const QDir corpus(CARVEX_SHARED_DIR "/corpus/oai");
    if (!corpus.exists())
        GTEST_SKIP() << "no corpus";
    QSet<QString> typeNames;
    for (const CompletionItem& row : Carvex::OpenAPI31Tables::schemaTypeValues())
        typeNames.insert(row.label);
    const char16_t noise[] = {u'{', u'}', u'[', u']', u'"', u'\'', u':', u'-', u'\n', u' ', u'\r', u'#'};
    std::mt19937 random(424242);
    const Carvex::CursorLocationService service;
    int requiredAnswers = 0;
    int enumAnswers = 0;
    for (const QString& version : {QStringLiteral("v3.0"), QStringLiteral("v3.1")}) {
        const QDir folder(corpus.filePath(version));
        for (const QString& name : folder.entryList({"*.yaml", "*.json"}, QDir::Files, QDir::Name)) {
            QFile file(folder.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QString original = QString::fromUtf8(file.readAll());
            const DocumentFormat format = name.endsWith(".json") ? DocumentFormat::json : DocumentFormat::yaml;
            for (int round = 0; round < 6; ++round) {
                QString text = original;
                const int edits = round == 0 ? 0 : std::uniform_int_distribution<int>(1, 30)(random);
                for (int e = 0; e < edits && !text.isEmpty(); ++e) {
                    const auto at = std::uniform_int_distribution<qsizetype>(0, text.size() - 1)(random);
                    switch (random() % 3) {
                    case 0: text.remove(at, 1 + random() % 8); break;
                    case 1: text.insert(at, QChar(noise[random() % std::size(noise)])); break;
                    default: text.insert(at, text.mid(at, 1 + random() % 20)); break;
                    }
                }
                for (int probe = 0; probe < 25; ++probe) {
                    const auto caret = std::uniform_int_distribution<qsizetype>(-2, text.size() + 2)(random);
                    CompletionContext context = service.extractContext(text, caret, format);
                    const std::string where = name.toStdString() + " round " + std::to_string(round) + " caret "
                                              + std::to_string(caret);

                    CompletionContext enumContext = context;
                    enumContext.role = CursorRole::mappingValue;
                    enumContext.currentKey = QStringLiteral("default");
                    for (const CompletionItem& item : Carvex::EnumDefaultResolver().suggestions(enumContext, text)) {
                        EXPECT_TRUE(text.contains(item.label)) << where;
                        ++enumAnswers;
                    }

                    CompletionContext requiredContext = context;
                    requiredContext.role = CursorRole::sequenceItem;
                    requiredContext.path.push_back(PathComponent::key("required"));
                    requiredContext.path.push_back(PathComponent::index(0));
                    for (const CompletionItem& item :
                         Carvex::RequiredFieldResolver().suggestions(requiredContext, text)) {
                        EXPECT_TRUE(text.contains(item.label)) << where;
                        ++requiredAnswers;
                    }

                    CompletionContext typeContext = context;
                    typeContext.role = CursorRole::sequenceItem;
                    typeContext.path.push_back(PathComponent::key("type"));
                    for (const CompletionItem& item : Carvex::TypeArrayResolver().suggestions(
                             typeContext, text, Carvex::OpenAPIVersion::openAPI31))
                        EXPECT_TRUE(typeNames.contains(item.label)) << where;

                    // The context as the caret scanners report it, unchanged.
                    for (const CompletionItem& item : Carvex::RequiredFieldResolver().suggestions(context, text))
                        EXPECT_TRUE(text.contains(item.label)) << where;
                    for (const CompletionItem& item : Carvex::EnumDefaultResolver().suggestions(context, text))
                        EXPECT_TRUE(text.contains(item.label)) << where;
                }
            }
        }
    }
    EXPECT_GT(requiredAnswers, 0);
    RecordProperty("enumAnswers", enumAnswers);
}

} // namespace
