#include "Carvex/CaretContext/PathComponent.h"

#include <gtest/gtest.h>

#include <unordered_set>

using Carvex::PathComponent;
using Path = std::vector<PathComponent>;

namespace {

TEST(PathComponent, equalityTextAndPredicatesDistinguishTheCases)
{
    EXPECT_NE(PathComponent::key("a"), PathComponent::dynamicKey("a"));
    EXPECT_EQ(PathComponent::index(3), PathComponent::index(3));
    EXPECT_NE(PathComponent::index(3), PathComponent::index(4));
    EXPECT_NE(PathComponent::key("1"), PathComponent::index(1));

    const std::unordered_set<PathComponent> set = {PathComponent::key("a"), PathComponent::dynamicKey("a"),
                                                   PathComponent::index(0), PathComponent::key("a")};
    EXPECT_EQ(set.size(), 3u);

    EXPECT_EQ(PathComponent::index(42).text(), "42");
    EXPECT_EQ(PathComponent::dynamicKey("/pets").text(), "/pets");
    EXPECT_TRUE(PathComponent::key("get").isKey(u"get"));
    EXPECT_FALSE(PathComponent::dynamicKey("get").isKey(u"get"));
    EXPECT_FALSE(PathComponent::index(0).isKey(u"0"));
    EXPECT_TRUE(PathComponent::dynamicKey("x").isDynamicKey());
    EXPECT_FALSE(PathComponent::key("x").isDynamicKey());
}

TEST(PathComponent, dynamicKeyRuleLooksOneLevelUpAtPlainKeysOnly)
{
    struct Row {
        const char* name;
        Path parent;
        bool dynamic;
    };
    const Row rows[] = {
        {"root", {}, false},
        {"under_paths", {PathComponent::key("paths")}, true},
        {"under_schemas", {PathComponent::key("components"), PathComponent::key("schemas")}, true},
        {"under_path_items", {PathComponent::key("pathItems")}, true},
        {"under_webhooks", {PathComponent::key("webhooks")}, false},
        {"under_dynamic_named_paths", {PathComponent::dynamicKey("paths")}, false},
        {"under_index", {PathComponent::key("responses"), PathComponent::index(0)}, false},
        {"two_levels_down", {PathComponent::key("paths"), PathComponent::dynamicKey("/p")}, false},
        {"case_matters", {PathComponent::key("Schemas")}, false},
    };
    for (const Row& row : rows) {
        const PathComponent made = PathComponent::forKey("x", row.parent);
        EXPECT_EQ(made, row.dynamic ? PathComponent::dynamicKey("x") : PathComponent::key("x")) << row.name;
    }
}

TEST(PathComponent, jsonPointerEscapesTildeBeforeSlashAndStrippingKeepsInnerIndices)
{
    EXPECT_EQ(Carvex::jsonPointer({}), "");
    EXPECT_EQ(Carvex::jsonPointer({PathComponent::key("a~b/c")}), "/a~0b~1c");
    EXPECT_EQ(Carvex::jsonPointer({PathComponent::key("~1")}), "/~01");
    EXPECT_EQ(Carvex::jsonPointer({PathComponent::key("paths"), PathComponent::dynamicKey("/pets/{id}"),
                                   PathComponent::key("get")}),
              "/paths/~1pets~1{id}/get");
    EXPECT_EQ(Carvex::jsonPointer({PathComponent::key("tags"), PathComponent::index(2)}), "/tags/2");
    EXPECT_EQ(Carvex::jsonPointer({PathComponent::key("")}), "/");

    const Path mixed = {PathComponent::key("tags"), PathComponent::index(0), PathComponent::key("x"),
                        PathComponent::index(3), PathComponent::index(1)};
    EXPECT_EQ(Carvex::strippingTrailingIndices(mixed), (Path{mixed[0], mixed[1], mixed[2]}));
    EXPECT_EQ(Carvex::strippingTrailingIndices({PathComponent::index(0)}), Path{});
    EXPECT_EQ(Carvex::strippingTrailingIndices({}), Path{});
}

} // namespace
