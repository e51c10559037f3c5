#include "Carvex/ModelAdapters/OpenAPIModelParsingService.h"
#include "Carvex/ModelAdapters/OperationDetailsBuilder.h"
#include "Carvex/ModelAdapters/OperationsIndexBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

QString readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return QString::fromStdString(text.str());
}

// Source lines differ between the twins by nature; everything else must not.
Carvex::OperationDetailsViewModel withoutLines(Carvex::OperationDetailsViewModel details)
{
    for (auto& parameter : details.parameters)
        parameter.sourceLine.reset();
    if (details.requestBody) {
        details.requestBody->sourceLine.reset();
        details.requestBody->schemaSourceLine.reset();
    }
    for (auto& response : details.responses) {
        response.sourceLine.reset();
        response.schemaSourceLine.reset();
    }
    return details;
}

TEST(OperationCorpusTest, YAMLAndJSONTwinsGiveEqualRowsAndDetails)
{
    const fs::path root = fs::path(CARVEX_SHARED_DIR) / "corpus" / "oai";
    if (!fs::exists(root))
        GTEST_SKIP() << "no corpus at " << root;
    const Carvex::OpenAPIModelParsingService service;
    const Carvex::OperationsIndexBuilder index;
    const Carvex::OperationDetailsBuilder builder;
    std::size_t detailsCompared = 0;
    for (const char* folder : {"v3.0", "v3.1"}) {
        for (const auto& entry : fs::directory_iterator(root / folder)) {
            if (entry.path().extension() != ".yaml" || entry.path().stem() == "tictactoe")
                continue; // the tictactoe twins differ by design
            SCOPED_TRACE(entry.path().string());
            const auto yaml = service.parse(readFile(entry.path()), Carvex::DocumentFormat::yaml);
            const auto json =
                service.parse(readFile(fs::path(entry.path()).replace_extension(".json")), Carvex::DocumentFormat::json);
            ASSERT_TRUE(yaml.isSuccess() && json.isSuccess());
            auto yamlRows = index.build(*yaml.model());
            auto jsonRows = index.build(*json.model());
            ASSERT_EQ(yamlRows.size(), jsonRows.size());
            for (std::size_t i = 0; i < yamlRows.size(); ++i) {
                SCOPED_TRACE(yamlRows[i].id.description().toStdString());
                EXPECT_TRUE(yamlRows[i].sourceLine.has_value());
                yamlRows[i].sourceLine.reset();
                jsonRows[i].sourceLine.reset();
                EXPECT_EQ(yamlRows[i], jsonRows[i]);
                const auto fromYAML = builder.build(yamlRows[i].id, *yaml.model());
                const auto fromJSON = builder.build(yamlRows[i].id, *json.model());
                ASSERT_TRUE(fromYAML && fromJSON);
                EXPECT_EQ(withoutLines(*fromYAML), withoutLines(*fromJSON));
                ++detailsCompared;
            }
        }
    }
    EXPECT_GE(detailsCompared, 20u);
}

} // namespace
