#include "Carvex/ModelAdapters/AnyValueText.h"
#include "Carvex/ModelAdapters/ExampleExtractor.h"
#include "Carvex/ModelAdapters/OpenAPIModelParsingService.h"
#include "Carvex/ModelAdapters/OperationDetailsBuilder.h"
#include "Carvex/ModelAdapters/OperationsIndexBuilder.h"
#include "Carvex/ModelAdapters/SchemaTreeBuilder.h"
#include "SchemaTreeTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using Carvex::SchemaRefResolver;
using Mode = SchemaRefResolver::Mode;
using SchemaTreeTestSupport::printed;

const fs::path kCorpus = fs::path(CARVEX_SHARED_DIR) / "corpus" / "oai";

std::optional<Carvex::ParsedOpenAPIModel> load(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const auto format = path.extension() == ".json" ? Carvex::DocumentFormat::json : Carvex::DocumentFormat::yaml;
    const auto result = Carvex::OpenAPIModelParsingService().parse(QString::fromStdString(text.str()), format);
    if (!result.isSuccess())
        return std::nullopt;
    return *result.model();
}

std::string tree(const Carvex::ParsedOpenAPIModel& model, const std::string& component, Mode mode)
{
    const Carvex::SchemaTreeBuilder builder{SchemaRefResolver{model.makeAdapter(), mode, 20}};
    return printed(builder.buildTree(SchemaTreeTestSupport::refSlot("#/components/schemas/" + component)), true);
}

TEST(SchemaTreeCorpusTest, PetstoreAndUsptoTreesInBothModes)
{
    if (!fs::exists(kCorpus))
        GTEST_SKIP() << "no corpus at " << kCorpus;
    const auto petstore = load(kCorpus / "v3.0" / "petstore-expanded.yaml");
    const auto uspto = load(kCorpus / "v3.0" / "uspto.yaml");
    ASSERT_TRUE(petstore && uspto);
    const struct {
        const char* name;
        const Carvex::ParsedOpenAPIModel& model;
        const char* component;
        Mode mode;
        const char* expected;
    } rows[] = {
        {"Pet merged", *petstore, "Pet", Mode::resolved,
         "root: allOf <allOf> @Pet line 128\n  name: string [required] line 143\n  tag: string line 145\n"
         "  id: integer (int64) [required] line 135\n"},
        {"Pet as a leaf", *petstore, "Pet", Mode::referenced, "root: Pet @Pet line 128\n"},
        {"uspto dataSetList", *uspto, "dataSetList", Mode::resolved,
         "root: object @dataSetList line 188\n  apis: array[object] line 193\n    items: object line 195\n"
         "      apiDocumentationUrl: string (uri-reference) line 208\n      apiKey: string line 198\n"
         "      apiUrl: string (uri-reference) line 204\n      apiVersionNumber: string line 201\n"
         "  total: integer line 191\n"},
        {"uspto dataSetList as a leaf", *uspto, "dataSetList", Mode::referenced, "root: dataSetList @dataSetList line 188\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(tree(row.model, row.component, row.mode), row.expected);
    }
    // The list of pets: its items' allOf, as members and merged.
    const auto listOfPets = [&](Mode mode) {
        const auto adapter = petstore->makeAdapter();
        const auto schema = adapter->pathItem("/pets")->get()->responses()->items().front().response.inlineValue()
                                ->content()->begin()->second->schema();
        return printed(Carvex::SchemaTreeBuilder{SchemaRefResolver{adapter, mode, 20}}.buildTree(*schema));
    };
    EXPECT_EQ(listOfPets(Mode::referenced), "root: array[Pet]\n  items: Pet @Pet\n");
    EXPECT_EQ(listOfPets(Mode::resolved), "root: array[Pet]\n  items: allOf <allOf> @Pet\n    name: string [required]\n"
                                          "    tag: string\n    id: integer (int64) [required]\n");
    // Pet shown inline lists its members when referenced.
    const auto adapter = petstore->makeAdapter();
    const auto pet = adapter->resolveSchema(*SchemaTreeTestSupport::refSlot("#/components/schemas/Pet").referenceValue());
    EXPECT_EQ(printed(Carvex::SchemaTreeBuilder{SchemaRefResolver{adapter, Mode::referenced, 20}}.buildTree(
                  Carvex::RefOrValue<Carvex::SchemaAdapter>::value(pet))),
              "root: allOf <allOf>\n  allOf[0]: NewPet @NewPet\n  allOf[1]: object\n    id: integer (int64) [required]\n");
}

TEST(SchemaTreeCorpusTest, YAMLAndJSONTwinsGiveEqualSourcesExamplesAndTrees)
{
    if (!fs::exists(kCorpus))
        GTEST_SKIP() << "no corpus at " << kCorpus;
    const Carvex::OperationDetailsBuilder details;
    std::size_t compared = 0;
    for (const char* folder : {"v3.0", "v3.1"}) {
        for (const auto& entry : fs::directory_iterator(kCorpus / folder)) {
            if (entry.path().extension() != ".yaml" || entry.path().stem() == "tictactoe")
                continue; // the tictactoe twins differ by design
            SCOPED_TRACE(entry.path().string());
            const auto yaml = load(entry.path());
            const auto json = load(fs::path(entry.path()).replace_extension(".json"));
            ASSERT_TRUE(yaml && json);
            const Carvex::ExampleExtractor yamlExtractor(*yaml);
            const Carvex::ExampleExtractor jsonExtractor(*json);
            const auto yamlAdapter = yaml->makeAdapter();
            const auto jsonAdapter = json->makeAdapter();
            for (const auto& row : Carvex::OperationsIndexBuilder().build(*yaml)) {
                SCOPED_TRACE(row.id.description().toStdString());
                const auto yamlDetails = details.build(row.id, *yaml);
                const auto jsonDetails = details.build(row.id, *json);
                ASSERT_TRUE(yamlDetails && jsonDetails);
                const auto sources = yamlExtractor.availableSources(*yamlDetails);
                ASSERT_EQ(sources, jsonExtractor.availableSources(*jsonDetails));
                for (const auto& source : sources) {
                    EXPECT_EQ(yamlExtractor.examples(*yamlDetails, source), jsonExtractor.examples(*jsonDetails, source));
                    ++compared;
                }
            }
            // Every component schema's tree in both modes, lines left out.
            const auto& components = yaml->version() == Carvex::ModelOpenAPIVersion::openAPI30
                                         ? yaml->document30()->components
                                         : nullptr;
            std::vector<std::string> names;
            if (components && components->schemas) {
                for (const auto& [name, schema] : *components->schemas)
                    names.push_back(name);
            } else if (yaml->version() == Carvex::ModelOpenAPIVersion::openAPI31 && yaml->document31()->components
                       && yaml->document31()->components->schemas) {
                for (const auto& [name, schema] : *yaml->document31()->components->schemas)
                    names.push_back(name);
            }
            for (const std::string& name : names) {
                for (Mode mode : {Mode::referenced, Mode::resolved}) {
                    const auto slot = SchemaTreeTestSupport::refSlot("#/components/schemas/" + name);
                    EXPECT_EQ(printed(Carvex::SchemaTreeBuilder{SchemaRefResolver{yamlAdapter, mode, 20}}.buildTree(slot)),
                              printed(Carvex::SchemaTreeBuilder{SchemaRefResolver{jsonAdapter, mode, 20}}.buildTree(slot)))
                        << name;
                    ++compared;
                }
            }
        }
    }
    EXPECT_GT(compared, 50u);
}

} // namespace
