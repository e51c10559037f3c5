#include "Carvex/ModelAdapters/HTTPMethod.h"
#include "Carvex/ModelAdapters/OperationID.h"
#include "Carvex/ModelAdapters/ParamLocation.h"

#include <gtest/gtest.h>

#include <unordered_set>

namespace {

using Carvex::HTTPMethod;
using Carvex::ParamLocation;

TEST(HTTPMethodTest, RawValuesNamesOrderAndColours)
{
    const struct {
        HTTPMethod method;
        const char* raw;
        float red, green, blue;
    } rows[] = {
        {HTTPMethod::get, "GET", 0.3f, 0.69f, 0.31f},        {HTTPMethod::post, "POST", 0.25f, 0.47f, 0.85f},
        {HTTPMethod::put, "PUT", 0.8f, 0.55f, 0.2f},         {HTTPMethod::patch, "PATCH", 0.7f, 0.65f, 0.25f},
        {HTTPMethod::delete_, "DELETE", 0.8f, 0.3f, 0.3f},   {HTTPMethod::head, "HEAD", 0.55f, 0.4f, 0.7f},
        {HTTPMethod::options, "OPTIONS", 0.5f, 0.5f, 0.55f}, {HTTPMethod::trace, "TRACE", 0.5f, 0.5f, 0.55f},
    };
    ASSERT_EQ(std::size(rows), Carvex::allHTTPMethods.size());
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const auto& row = rows[i];
        SCOPED_TRACE(row.raw);
        EXPECT_EQ(Carvex::allHTTPMethods[i], row.method);
        EXPECT_EQ(Carvex::rawValue(row.method), row.raw);
        EXPECT_EQ(VoziZazIreCore::fromRawValue<HTTPMethod>(row.raw), row.method);
        std::string lower(row.raw), mixed(row.raw);
        for (std::size_t c = 0; c < lower.size(); ++c) {
            lower[c] = static_cast<char>(std::tolower(lower[c]));
            if (c % 2)
                mixed[c] = lower[c];
        }
        EXPECT_FALSE(VoziZazIreCore::fromRawValue<HTTPMethod>(lower).has_value());
        EXPECT_EQ(Carvex::httpMethodFromName(lower), row.method);
        EXPECT_EQ(Carvex::httpMethodFromName(mixed), row.method);
        const QColor colour = Carvex::badgeColor(row.method);
        EXPECT_NEAR(colour.redF(), row.red, 1e-4);
        EXPECT_NEAR(colour.greenF(), row.green, 1e-4);
        EXPECT_NEAR(colour.blueF(), row.blue, 1e-4);
        EXPECT_EQ(colour.alphaF(), 1.0f);
    }
    for (const char* other : {"", "GETS", "connect", "ge", "get "})
        EXPECT_FALSE(Carvex::httpMethodFromName(other).has_value()) << other;
}

TEST(OperationIDTest, DescriptionEqualityAndHashing)
{
    const Carvex::OperationID a{"/a", HTTPMethod::get};
    EXPECT_EQ(a.description(), QStringLiteral("GET /a"));
    EXPECT_EQ(a, (Carvex::OperationID{"/a", HTTPMethod::get}));
    EXPECT_NE(a, (Carvex::OperationID{"/a", HTTPMethod::post}));
    EXPECT_NE(a, (Carvex::OperationID{"/A", HTTPMethod::get}));
    std::unordered_set<Carvex::OperationID> set{a, {"/a", HTTPMethod::get}, {"/a", HTTPMethod::post}};
    EXPECT_EQ(set.size(), 2u);
}

TEST(ParamLocationTest, RawValuesDisplayNamesAndTextOrder)
{
    const struct {
        ParamLocation location;
        const char* raw;
        const char* display;
    } rows[] = {{ParamLocation::query, "query", "Query"},
                {ParamLocation::header, "header", "Header"},
                {ParamLocation::path, "path", "Path"},
                {ParamLocation::cookie, "cookie", "Cookie"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.raw);
        EXPECT_EQ(Carvex::rawValue(row.location), row.raw);
        EXPECT_EQ(VoziZazIreCore::fromRawValue<ParamLocation>(row.raw), row.location);
        EXPECT_EQ(Carvex::displayName(row.location), QString::fromLatin1(row.display));
        EXPECT_FALSE(VoziZazIreCore::fromRawValue<ParamLocation>(row.display).has_value());
    }
    std::vector<ParamLocation> sorted{ParamLocation::query, ParamLocation::path, ParamLocation::header,
                                      ParamLocation::cookie};
    std::sort(sorted.begin(), sorted.end(), Carvex::rawValueLess);
    EXPECT_EQ(sorted, (std::vector<ParamLocation>{ParamLocation::cookie, ParamLocation::header, ParamLocation::path,
                                                  ParamLocation::query}));
}

} // namespace
