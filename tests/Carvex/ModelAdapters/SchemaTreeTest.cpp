#include "Carvex/ModelAdapters/OpenAPIDocumentAdapter.h"
#include "Carvex/ModelAdapters/SchemaTreeBuilder.h"
#include "Carvex/ModelAdapters/SchemaTreeCache.h"
#include "SchemaTreeTestSupport.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

using Carvex::SchemaRefResolver;
using Carvex::SchemaTreeNode;
using Mode = SchemaRefResolver::Mode;
using namespace SchemaTreeTestSupport;

const char* const kComponents = R"(paths: {}
components:
  schemas:
    Node: {type: object, properties: {next: {$ref: '#/components/schemas/Node'}, value: {type: string}}}
    A: {type: object, required: [id], properties: {id: {type: integer}, name: {type: string}}}
    B: {type: object, required: [tag], properties: {id: {type: string}, tag: {type: string}}}
    Holder:
      type: object
      properties:
        ab:
          allOf: [{$ref: '#/components/schemas/A'}, {$ref: '#/components/schemas/B'}]
          required: [own, id]
          properties: {own: {type: boolean}, id: {type: number}}
    Thrice: {allOf: [{$ref: '#/components/schemas/A'}, {$ref: '#/components/schemas/B'}, {$ref: '#/components/schemas/A'}]}
    Ext: {type: object, properties: {pet: {$ref: 'other.yaml#/components/schemas/Pet'}}}
    Miss: {type: object, required: [m], properties: {m: {$ref: '#/components/schemas/Missing'}}}
    Extra: {type: object, properties: {}, additionalProperties: {type: integer}}
    NoProps: {type: object, additionalProperties: {type: integer}}
    List: {type: array, items: {type: string}}
    Choice: {oneOf: [{type: string}, {$ref: '#/components/schemas/A'}], items: {type: string}, properties: {p: {type: string}}}
    Badged:
      type: object
      required: [x, c]
      properties:
        x: {type: string, nullable: true, readOnly: true, deprecated: true}
        y: {type: string, writeOnly: true, format: date-time, enum: [a, b], default: a}
        c: {$ref: '#/components/schemas/Node'}
)";

struct TreeRow {
    const char* name;
    const char* root; // a component name: the slot is a reference to it, or inline when `inlineRoot`
    bool inlineRoot;
    Mode mode;
    const char* expected;
};

TEST(SchemaTreeTest, TreesOfReferencesCompositionsAndLimits)
{
    const TreeRow rows[] = {
        {"cycle ends in a circular leaf", "Node", false, Mode::resolved,
         "root: object @Node\n  next: Node @Node circular\n  value: string\n"},
        {"referenced root is one leaf", "Node", false, Mode::referenced, "root: Node @Node\n"},
        {"external reference is a leaf of its own", "Ext", false, Mode::resolved,
         "root: object @Ext\n  pet: external @Pet external\n"},
        {"missing component is a leaf named after it", "Miss", false, Mode::resolved,
         "root: object @Miss\n  m: Missing [required] @Missing\n"},
        {"allOf merges its members, later properties last", "Holder", true, Mode::resolved,
         "root: object\n  ab: allOf <allOf>\n    name: string\n    id: string [required]\n    tag: string [required]\n"
         "    own: boolean [required]\n"},
        {"allOf lists its members when referenced", "Holder", true, Mode::referenced,
         "root: object\n  ab: allOf <allOf>\n    allOf[0]: A @A\n    allOf[1]: B @B\n"},
        {"a repeated allOf member merges once", "Thrice", false, Mode::resolved,
         "root: allOf <allOf> @Thrice\n  name: string\n  id: string [required]\n  tag: string [required]\n"},
        {"additional properties beside an empty map", "Extra", false, Mode::resolved,
         "root: object @Extra\n  [additional]: integer\n"},
        {"additional properties alone show nothing", "NoProps", false, Mode::resolved, "root: object @NoProps\n"},
        {"array items", "List", false, Mode::resolved, "root: array[string] @List\n  items: string\n"},
        {"oneOf hides items and properties", "Choice", false, Mode::resolved,
         "root: oneOf <oneOf> @Choice\n  oneOf[0]: string\n  oneOf[1]: object @A\n    id: integer [required]\n"
         "    name: string\n"},
        {"badges, format, enum and default", "Badged", true, Mode::resolved,
         "root: object\n  c: object [required] @Node\n    next: Node @Node circular\n    value: string\n"
         "  x: string | null [deprecated,nullable,readOnly,required]\n"
         "  y: string (date-time) enum=a|b default=a [writeOnly]\n"},
        {"referenced leaves keep their badges", "Badged", true, Mode::referenced,
         "root: object\n  c: Node [required] @Node\n  x: string | null [deprecated,nullable,readOnly,required]\n"
         "  y: string (date-time) enum=a|b default=a [writeOnly]\n"},
    };
    const auto model = modelOf(kComponents);
    const auto document = model.makeAdapter();
    for (const TreeRow& row : rows) {
        SCOPED_TRACE(row.name);
        const auto slot = refSlot(std::string("#/components/schemas/") + row.root);
        const auto root = row.inlineRoot
                              ? Carvex::RefOrValue<Carvex::SchemaAdapter>::value(document->resolveSchema(*slot.referenceValue()))
                              : slot;
        const Carvex::SchemaTreeBuilder builder{SchemaRefResolver{document, row.mode, 20}};
        EXPECT_EQ(printed(builder.buildTree(root)), row.expected);
    }
}

std::string nestedObjects(int levels)
{
    std::string schema = "{type: string}";
    for (int level = levels; level >= 1; --level)
        schema = "{type: object, required: [n" + std::to_string(level) + "], properties: {n" + std::to_string(level)
                 + ": " + schema + "}}";
    return "paths: {}\ncomponents:\n  schemas:\n    Deep: " + schema + "\n";
}

TEST(SchemaTreeTest, DepthLimitEndsInBadgelessPlaceholders)
{
    const auto model = modelOf(nestedObjects(25));
    const Carvex::SchemaTreeBuilder builder{SchemaRefResolver{model.makeAdapter(), Mode::resolved, 20}};
    const SchemaTreeNode::Ptr root = builder.buildTree(refSlot("#/components/schemas/Deep"));
    SchemaTreeNode::Ptr node = root;
    int depth = 0;
    while (!node->children().empty()) {
        ASSERT_EQ(node->children().size(), 1u);
        EXPECT_EQ(node->children().front()->parent(), node);
        node = node->children().front();
        ++depth;
    }
    EXPECT_EQ(depth, 20);
    EXPECT_EQ(node->name(), "n20");
    EXPECT_EQ(node->typeDescription(), "...");
    EXPECT_TRUE(node->badges().empty());
    EXPECT_EQ(node->parent()->typeDescription(), "object");
    EXPECT_TRUE(node->parent()->badges().contains(Carvex::SchemaNodeBadge::required));
}

TEST(SchemaTreeTest, LastReferenceComponent)
{
    const std::pair<const char*, const char*> rows[] = {
        {"#/components/schemas/Pet", "Pet"}, {"a/b/", "b"}, {"", ""}, {"///", "///"}, {"Pet", "Pet"},
        {"other.yaml#/components/schemas/Pet", "Pet"},
    };
    for (const auto& [ref, expected] : rows)
        EXPECT_EQ(SchemaRefResolver::lastRefComponent(QString::fromUtf8(ref)), QString::fromUtf8(expected)) << ref;
}

// Components L0 ... L<levels>, each with three properties that all refer to the next level.
std::string fanOut(int levels)
{
    std::string text = "paths: {}\ncomponents:\n  schemas:\n";
    for (int level = 0; level < levels; ++level) {
        const std::string next = "{$ref: '#/components/schemas/L" + std::to_string(level + 1) + "'}";
        text += "    L" + std::to_string(level) + ": {type: object, properties: {a: " + next + ", b: " + next
                + ", c: " + next + "}}\n";
    }
    return text + "    L" + std::to_string(levels) + ": {type: string}\n";
}

struct Census {
    std::size_t made = 0;
    std::size_t placeholders = 0;
    int deepest = 0;
};

// Counts the nodes made so far, reading no child list that is not made yet.
Census census(const SchemaTreeNode::Ptr& root, bool readAll)
{
    Census counts;
    std::deque<std::pair<SchemaTreeNode::Ptr, int>> queue{{root, 0}};
    while (!queue.empty()) {
        auto [node, depth] = queue.front();
        queue.pop_front();
        ++counts.made;
        counts.deepest = std::max(counts.deepest, depth);
        if (node->name() == "..." && node->typeDescription() == "...")
            ++counts.placeholders;
        if (!readAll && !node->hasMadeChildren())
            continue;
        for (const auto& child : node->children())
            queue.emplace_back(child, depth + 1);
    }
    return counts;
}

TEST(SchemaTreeTest, SharedComponentsStayWithinTheNodeBudget)
{
    const auto model = modelOf(fanOut(30));
    const auto document = model.makeAdapter();
    const auto slot = refSlot("#/components/schemas/L0");

    // Showing the root and two levels makes only those.
    const Carvex::SchemaTreeBuilder builder{SchemaRefResolver{document, Mode::resolved, 20}};
    const auto root = builder.buildTree(slot);
    for (const auto& child : root->children())
        child->children();
    EXPECT_EQ(census(root, false).made, 13u);

    // A full read stops at the budget: each list that would pass it is one placeholder.
    const Census full = census(root, true);
    EXPECT_LE(full.made - full.placeholders, std::size_t(SchemaRefResolver::defaultNodeBudget));
    EXPECT_GT(full.placeholders, 0u);
    EXPECT_LE(full.deepest, 21);

    // Even without a useful depth limit.
    const Carvex::SchemaTreeBuilder unlimited{SchemaRefResolver{document, Mode::resolved, 1'000'000, 2'000}};
    const Census deep = census(unlimited.buildTree(slot), true);
    EXPECT_LE(deep.made - deep.placeholders, 2'000u);

    // Exactly where a small budget runs out, reading depth first.
    const Carvex::SchemaTreeBuilder small{SchemaRefResolver{document, Mode::resolved, 3, 10}};
    EXPECT_EQ(printed(small.buildTree(slot)), "root: object @L0\n"
                                              "  a: object @L1\n"
                                              "    a: object @L2\n"
                                              "      a: ...\n      b: ...\n      c: ...\n"
                                              "    b: object @L2\n"
                                              "      ...: ...\n"
                                              "    c: object @L2\n"
                                              "      ...: ...\n"
                                              "  b: object @L1\n"
                                              "    ...: ...\n"
                                              "  c: object @L1\n"
                                              "    ...: ...\n");
}

TEST(SchemaTreeTest, LongReferenceChainReadsAndReleasesWithoutDeepCalls)
{
    constexpr int kLength = 4'000;
    std::string text = "paths: {}\ncomponents:\n  schemas:\n";
    for (int i = 0; i < kLength; ++i)
        text += "    C" + std::to_string(i) + ": {type: object, properties: {next: {$ref: '#/components/schemas/C"
                + std::to_string(i + 1) + "'}}}\n";
    const auto model = modelOf(text);
    const Carvex::SchemaTreeBuilder builder{SchemaRefResolver{model.makeAdapter(), Mode::resolved, 1'000'000}};
    SchemaTreeNode::Ptr root = builder.buildTree(refSlot("#/components/schemas/C0"));
    SchemaTreeNode::Ptr node = root;
    int depth = 0;
    while (!node->children().empty()) {
        node = node->children().front();
        ++depth;
    }
    EXPECT_EQ(depth, kLength);
    EXPECT_EQ(node->typeDescription(), QString("C%1").arg(kLength)); // the missing last component
    node.reset();
    root.reset();
}

TEST(SchemaTreeTest, CacheKeysSeparateOperationsSourcesAndModes)
{
    using Cache = Carvex::SchemaTreeCache;
    const Carvex::OperationID get{"/pets", Carvex::HTTPMethod::get};
    const Carvex::OperationID post{"/pets", Carvex::HTTPMethod::post};
    const Cache::CacheKey base{get, "application/json", Mode::resolved, Cache::SchemaSource::response("200")};
    const struct {
        const char* name;
        Cache::CacheKey other;
        bool equal;
    } rows[] = {
        {"same values", {get, "application/json", Mode::resolved, Cache::SchemaSource::response("200")}, true},
        {"other mode", {get, "application/json", Mode::referenced, Cache::SchemaSource::response("200")}, false},
        {"other status code", {get, "application/json", Mode::resolved, Cache::SchemaSource::response("404")}, false},
        {"request body", {get, "application/json", Mode::resolved, Cache::SchemaSource::requestBody()}, false},
        {"other method", {post, "application/json", Mode::resolved, Cache::SchemaSource::response("200")}, false},
        {"other media type", {get, "application/xml", Mode::resolved, Cache::SchemaSource::response("200")}, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(base == row.other, row.equal);
        if (row.equal) {
            EXPECT_EQ(base.hash(), row.other.hash());
        }
    }
}

TEST(SchemaTreeTest, CacheReusesTreesOfOneModelAndForgetsThemForAnother)
{
    using Cache = Carvex::SchemaTreeCache;
    const auto first = modelOf(kComponents);
    Cache cache;
    const Carvex::OperationID id{"/pets", Carvex::HTTPMethod::get};
    const auto slot = refSlot("#/components/schemas/Node");
    const auto treeIn = [&](const Carvex::ParsedOpenAPIModel& model, Mode mode) {
        const Cache::CacheKey key{id, "application/json", mode, Cache::SchemaSource::requestBody()};
        return cache.tree(key, model, Carvex::SchemaTreeBuilder{SchemaRefResolver{model.makeAdapter(), mode, 20}}, slot);
    };
    const auto resolved = treeIn(first, Mode::resolved);
    const auto referenced = treeIn(first, Mode::referenced);
    EXPECT_NE(resolved, referenced);
    EXPECT_EQ(treeIn(first, Mode::resolved), resolved);
    EXPECT_EQ(cache.cache().size(), 2u);

    // The same key after the text changed gives the tree of the new text.
    const auto edited = modelOf("paths: {}\ncomponents:\n  schemas:\n    Node: {type: object, properties: {renamed: {type: string}}}\n");
    const auto fresh = treeIn(edited, Mode::resolved);
    EXPECT_NE(fresh, resolved);
    EXPECT_EQ(printed(fresh), "root: object @Node\n  renamed: string\n");
    EXPECT_EQ(cache.cache().size(), 1u);
    EXPECT_EQ(printed(resolved), "root: object @Node\n  next: Node @Node circular\n  value: string\n");
}

TEST(SchemaTreeTest, BadgeAndCompositionRawValues)
{
    for (Carvex::SchemaNodeBadge badge : Carvex::allSchemaNodeBadges)
        EXPECT_EQ(VoziZazIreCore::fromRawValue<Carvex::SchemaNodeBadge>(Carvex::rawValue(badge)), badge);
    for (Carvex::CompositionType type : Carvex::allCompositionTypes)
        EXPECT_EQ(VoziZazIreCore::fromRawValue<Carvex::CompositionType>(Carvex::rawValue(type)), type);
    for (const char* text : {"AllOf", "allof", "not", "", "required "}) {
        EXPECT_FALSE(VoziZazIreCore::fromRawValue<Carvex::CompositionType>(text)) << text;
        EXPECT_FALSE(VoziZazIreCore::fromRawValue<Carvex::SchemaNodeBadge>(text)) << text;
    }
}

} // namespace
