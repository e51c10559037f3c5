#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"
#include "kit/facade/OpenApiParser.h"

#include <gtest/gtest.h>

#include <unordered_set>

namespace {

using Carvex::ModelOpenAPIVersion;
using Carvex::ParsedOpenAPIModel;

ParsedOpenAPIModel parseModel(std::string_view text)
{
    VoziZazIre::OpenApiParser parser;
    return ParsedOpenAPIModel(
        parser.parse(text, VoziZazIre::Format::yaml, VoziZazIreCore::ValidationLevel::none).document);
}

TEST(ModelOpenAPIVersionTest, RawValuesRoundTripAndNothingElseIsAccepted)
{
    const struct {
        ModelOpenAPIVersion version;
        std::string_view raw;
    } rows[] = {{ModelOpenAPIVersion::openAPI30, "3.0"},
                {ModelOpenAPIVersion::openAPI31, "3.1"},
                {ModelOpenAPIVersion::unknown, "unknown"}};
    std::unordered_set<ModelOpenAPIVersion> seen;
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.raw));
        EXPECT_EQ(Carvex::rawValue(row.version), row.raw);
        EXPECT_EQ(VoziZazIreCore::fromRawValue<ModelOpenAPIVersion>(row.raw), row.version);
        seen.insert(row.version);
    }
    EXPECT_EQ(seen.size(), 3u);
    for (std::string_view other : {"", "3.0.0", "3", "Unknown", " 3.1", "openAPI30"})
        EXPECT_FALSE(VoziZazIreCore::fromRawValue<ModelOpenAPIVersion>(other).has_value()) << other;
}

TEST(ParsedOpenAPIModelTest, CaseFollowsTheDeclaredVersionAndSharesTheDocument)
{
    const ParsedOpenAPIModel model30 = parseModel("openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths: {}\n");
    EXPECT_EQ(model30.version(), ModelOpenAPIVersion::openAPI30);
    ASSERT_NE(model30.document30(), nullptr);
    EXPECT_EQ(model30.document31(), nullptr);

    const ParsedOpenAPIModel model31 = parseModel("openapi: 3.1.0\ninfo: {title: t, version: '1'}\npaths: {}\n");
    EXPECT_EQ(model31.version(), ModelOpenAPIVersion::openAPI31);
    ASSERT_NE(model31.document31(), nullptr);
    EXPECT_EQ(model31.document30(), nullptr);

    const ParsedOpenAPIModel copy = model31;
    EXPECT_EQ(copy.document31().get(), model31.document31().get());
    EXPECT_EQ(copy, model31);
    EXPECT_FALSE(model30 == model31);
}

} // namespace
