#include "Carvex/ModelAdapters/OperationsIndexBuilder.h"
#include "kit/facade/OpenApiParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

using Carvex::HTTPMethod;
using Carvex::OperationRowViewModel;

Carvex::ParsedOpenAPIModel modelOf(const std::string& paths, const char* version = "3.0.3")
{
    const std::string text =
        std::string("openapi: ") + version + "\ninfo: {title: t, version: '1'}\npaths:\n" + paths;
    return Carvex::ParsedOpenAPIModel(VoziZazIre::OpenApiParser()
                                          .parse(text, VoziZazIre::Format::yaml, VoziZazIreCore::ValidationLevel::none)
                                          .document);
}

std::vector<std::string> ids(const std::vector<OperationRowViewModel>& rows)
{
    std::vector<std::string> result;
    for (const auto& row : rows)
        result.push_back(row.id.description().toStdString());
    return result;
}

TEST(OperationsIndexBuilderTest, PathsByLocalizedOrderAndMethodsByCaseOrder)
{
    const struct {
        const char* name;
        std::string paths;
        std::vector<std::string> expected;
    } rows[] = {
        {"shorter path first, digits by value",
         "  /pets/{id}: {get: {responses: {}}}\n  /pets/10: {get: {responses: {}}}\n  /pets: {get: {responses: {}}}\n"
         "  /pets/2: {get: {responses: {}}}\n",
         {"GET /pets", "GET /pets/{id}", "GET /pets/2", "GET /pets/10"}},
        {"methods in case order whatever the text's",
         "  /a:\n    delete: {responses: {}}\n    get: {responses: {}}\n    patch: {responses: {}}\n"
         "    post: {responses: {}}\n",
         {"GET /a", "POST /a", "PATCH /a", "DELETE /a"}},
        {"case ignored between different letters", "  /b: {get: {responses: {}}}\n  /A: {get: {responses: {}}}\n",
         {"GET /A", "GET /b"}},
        {"no operations", "  /only: {parameters: []}\n", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        for (const char* version : {"3.0.3", "3.1.0"})
            EXPECT_EQ(ids(Carvex::OperationsIndexBuilder().build(modelOf(row.paths, version))), row.expected) << version;
    }
}

TEST(OperationsIndexBuilderTest, RowsReadTheOperation)
{
    const auto rows = Carvex::OperationsIndexBuilder().build(
        modelOf("  /p:\n    get:\n      summary: ''\n      operationId: listP\n      deprecated: true\n"
                "      responses: {}\n    put: {responses: {}, operationId: ''}\n    post: {summary: Make, responses: {}}\n"));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].displaySummary(), QStringLiteral("listP"));
    EXPECT_TRUE(rows[0].deprecated);
    EXPECT_EQ(rows[0].sourceLine, 6);
    EXPECT_EQ(rows[1].displaySummary(), QStringLiteral("Make"));
    EXPECT_EQ(rows[2].displaySummary(), QStringLiteral("/p"));
    EXPECT_FALSE(rows[2].summary.has_value());
    EXPECT_EQ(rows[2].operationId, QString());
    EXPECT_EQ(rows[0].path(), QStringLiteral("/p"));
    EXPECT_EQ(rows[0].method(), HTTPMethod::get);
}

// Paths that differ only in letter case compare equal; the rows of each stay together, in the order
// the document lists the paths, and the order is the same every run.
TEST(OperationsIndexBuilderTest, CaseOnlyDifferencesStayGroupedInDocumentOrder)
{
    std::vector<std::string> paths{"/pets", "/Pets", "/PETS", "/pEts", "/a", "/z"};
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        std::shuffle(paths.begin(), paths.end(), random);
        std::string text;
        for (const auto& path : paths)
            text += "  " + path + ":\n    post: {responses: {}}\n    get: {responses: {}}\n";
        const auto model = modelOf(text);
        const auto rows = Carvex::OperationsIndexBuilder().build(model);
        ASSERT_EQ(rows.size(), 12u);
        EXPECT_EQ(rows.front().id.path, QStringLiteral("/a"));
        EXPECT_EQ(rows.back().id.path, QStringLiteral("/z"));
        std::vector<QString> expectedPets;
        for (const auto& path : paths) {
            if (path != "/a" && path != "/z")
                expectedPets.push_back(QString::fromStdString(path));
        }
        for (std::size_t i = 0; i < expectedPets.size(); ++i) {
            EXPECT_EQ(rows[2 + 2 * i].id, (Carvex::OperationID{expectedPets[i], HTTPMethod::get}));
            EXPECT_EQ(rows[3 + 2 * i].id, (Carvex::OperationID{expectedPets[i], HTTPMethod::post}));
        }
        EXPECT_EQ(Carvex::OperationsIndexBuilder().build(model), rows);
    }
}

} // namespace
