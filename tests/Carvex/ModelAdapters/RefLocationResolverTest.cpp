#include "Carvex/Text/TextPositionConverter.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"
#include "Carvex/ModelAdapters/RefLinkDetector.h"
#include "Carvex/ModelAdapters/RefLocationResolver.h"
#include "kit/facade/OpenApiParser.h"

#include <gtest/gtest.h>

namespace {

using Carvex::ParsedOpenAPIModel;
using Carvex::RefLocationResolver;
using VoziZazIreCore::SourceLocation;

// Accented letters, an emoji with a skin-tone modifier and combining marks stand before every target.
const char* const kYAML = "openapi: 3.0.3\n"
                          "info:\n"
                          "  title: Caf\xC3\xA9 \xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD e\xCC\x81\xCC\x82 na\xC3\xAFve\n"
                          "  version: '1'\n"
                          "paths:\n"
                          "  /pets:\n"
                          "    get:\n"
                          "      responses:\n"
                          "        '200':\n"
                          "          $ref: '#/components/responses/Found'\n"
                          "components:\n"
                          "  schemas:\n"
                          "    Pet:\n"
                          "      title: Pet \xF0\x9F\x90\xB6\n"
                          "    Alias:\n"
                          "      $ref: '#/components/schemas/Pet'\n"
                          "  parameters:\n"
                          "    Limit:\n"
                          "      name: l\xC3\xAFmit\n"
                          "      in: query\n"
                          "  responses:\n"
                          "    Found:\n"
                          "      description: f\xC3\xB6und\n"
                          "  requestBodies:\n"
                          "    PetBody:\n"
                          "      content: {}\n"
                          "  headers:\n"
                          "    Rate:\n"
                          "      description: r\xC3\xA2te\n"
                          "  examples:\n"
                          "    Sample:\n"
                          "      summary: s\n"
                          "  securitySchemes:\n"
                          "    Key:\n"
                          "      type: apiKey\n"
                          "      name: k\n"
                          "      in: header\n";

const char* const kJSON = "{\n"
                          "  \"openapi\": \"3.0.3\",\n"
                          "  \"info\": {\"title\": \"Caf\xC3\xA9 \xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD e\xCC\x81\xCC\x82 na\xC3\xAFve\", \"version\": \"1\"},\n"
                          "  \"paths\": {\"/pets\": {\"get\": {\"responses\": {\"200\": {\"$ref\": \"#/components/responses/Found\"}}}}},\n"
                          "  \"components\": {\n"
                          "    \"schemas\": {\n"
                          "      \"Pet\": {\"title\": \"Pet \xF0\x9F\x90\xB6\"},\n"
                          "      \"Alias\": {\"$ref\": \"#/components/schemas/Pet\"}\n"
                          "    },\n"
                          "    \"parameters\": {\"Limit\": {\"name\": \"l\xC3\xAFmit\", \"in\": \"query\"}},\n"
                          "    \"responses\": {\"Found\": {\"description\": \"f\xC3\xB6und\"}},\n"
                          "    \"requestBodies\": {\"PetBody\": {\"content\": {}}},\n"
                          "    \"headers\": {\"Rate\": {\"description\": \"r\xC3\xA2te\"}},\n"
                          "    \"examples\": {\"Sample\": {\"summary\": \"s\"}},\n"
                          "    \"securitySchemes\": {\"Key\": {\"type\": \"apiKey\", \"name\": \"k\", \"in\": \"header\"}}\n"
                          "  }\n"
                          "}\n";

std::string withCRLF(std::string text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

ParsedOpenAPIModel modelOf(const std::string& text, VoziZazIre::Format format)
{
    VoziZazIre::OpenApiParser parser;
    return ParsedOpenAPIModel(parser.parse(text, format, VoziZazIreCore::ValidationLevel::none).document);
}

// The target's start as the location lookup gives it, checked against the offset lookup and against
// whether a target is expected at all; nothing when there is none.
std::optional<SourceLocation> checkedStart(const QString& path, const ParsedOpenAPIModel& model, bool expected)
{
    const RefLocationResolver resolver;
    const std::optional<SourceLocation> start = resolver.resolveSourceLocation(path, model);
    const std::optional<int64_t> offset = resolver.resolveLocation(path, model);
    EXPECT_EQ(start.has_value(), expected);
    EXPECT_EQ(offset.has_value(), start.has_value());
    if (start && offset) {
        EXPECT_EQ(*offset, start->offset);
    }
    return start && offset && expected ? start : std::nullopt;
}

TEST(RefLocationResolverTest, TargetsLandOnTheirFirstCharacterInBothFormats)
{
    const struct {
        const char* path;
        const char* yamlTarget; // what the text holds at the target; null for no target
        const char* jsonTarget;
    } rows[] = {
        {"#/components/schemas/Pet", "title: Pet", "{\"title\": \"Pet"},
        {"#//components/schemas//Pet/properties/name", "title: Pet", "{\"title\": \"Pet"},
        {"#/components/schemas/Alias", "'#/components/schemas/Pet'", "\"#/components/schemas/Pet\"}"},
        {"#/components/parameters/Limit", "name: l\xC3\xAFmit", "{\"name\": \"l\xC3\xAFmit\""},
        {"#/components/responses/Found", "description: f\xC3\xB6und", "{\"description\": \"f\xC3\xB6und\""},
        {"#/components/requestBodies/PetBody", "content: {}", "{\"content\": {}}"},
        {"#/components/headers/Rate", "description: r\xC3\xA2te", "{\"description\": \"r\xC3\xA2te\""},
        {"#/components/examples/Sample", "summary: s", "{\"summary\": \"s\"}"},
        {"#/components/securitySchemes/Key", "type: apiKey", "{\"type\": \"apiKey\""},
        {"#/components/schemas/Missing", nullptr, nullptr},
        {"#/paths/~1pets", nullptr, nullptr},
        {"#/components", nullptr, nullptr},
        {"#/components/schemas", nullptr, nullptr},
        {"#components/schemas/Pet", nullptr, nullptr},
        {"other.yaml#/components/schemas/Pet", nullptr, nullptr},
        {"", nullptr, nullptr},
    };
    const struct {
        const char* name;
        std::string text;
        VoziZazIre::Format format;
        bool yaml;
    } documents[] = {
        {"YAML", kYAML, VoziZazIre::Format::yaml, true},
        {"YAML with CR LF", withCRLF(kYAML), VoziZazIre::Format::yaml, true},
        {"JSON", kJSON, VoziZazIre::Format::json, false},
        {"JSON with CR LF", withCRLF(kJSON), VoziZazIre::Format::json, false},
    };
    const RefLocationResolver resolver;
    for (const auto& document : documents) {
        const ParsedOpenAPIModel model = modelOf(document.text, document.format);
        const QString content = QString::fromStdString(document.text);
        // The editor shows the text with line feeds only; lines and columns agree with the file's.
        QString viewText = content;
        viewText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        const Carvex::TextPositionConverter contentPositions(content);
        const Carvex::TextPositionConverter viewPositions(viewText);
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(document.name) + " " + row.path);
            const QString path = QString::fromUtf8(row.path);
            const char* target = document.yaml ? row.yamlTarget : row.jsonTarget;
            const std::optional<SourceLocation> start = checkedStart(path, model, target != nullptr);
            if (!start)
                continue;
            const std::optional<qsizetype> inContent = RefLocationResolver::textPosition(*start, contentPositions);
            const std::optional<qsizetype> inView = RefLocationResolver::textPosition(*start, viewText);
            ASSERT_TRUE(inContent && inView);
            EXPECT_TRUE(QStringView(content).sliced(*inContent).startsWith(QString::fromUtf8(target)))
                << QStringView(content).sliced(*inContent).left(40).toString().toStdString();
            EXPECT_TRUE(QStringView(viewText).sliced(*inView).startsWith(QString::fromUtf8(target)))
                << QStringView(viewText).sliced(*inView).left(40).toString().toStdString();
            EXPECT_EQ(viewPositions.position(start->line, start->column), inView);
        }

        // A link found in the text resolves like its path; an external link to nothing.
        const Carvex::RefLinkDetector detector;
        const auto links = detector.detectLinks(content, document.yaml ? Carvex::DocumentLanguage::yaml
                                                                       : Carvex::DocumentLanguage::json);
        ASSERT_EQ(links.size(), 2u);
        for (const auto& link : links)
            EXPECT_EQ(resolver.resolveSourceLocation(link, model), resolver.resolveSourceLocation(link.refPath, model));
        const Carvex::RefLink external{{1, 1}, {0, 3}, QStringLiteral("other.yaml#/components/schemas/Pet")};
        EXPECT_FALSE(resolver.resolveLocation(external, model));
        EXPECT_FALSE(resolver.resolveSourceLocation(external, model));
    }
}

// Every section a completed pointer may name, in both formats and versions; "pathItems" is a 3.1 section.
std::string sectionsDocument(const char* version, bool yaml)
{
    const std::string text =
        yaml ? "openapi: @\n"
               "info: {title: t, version: '1'}\n"
               "paths: {}\n"
               "components:\n"
               "  schemas:\n"
               "    Pet:\n"
               "      title: Pet here\n"
               "  parameters:\n"
               "    Limit: {name: limit here, in: query}\n"
               "  responses:\n"
               "    Found: {description: found here}\n"
               "  requestBodies:\n"
               "    PetBody: {description: body here, content: {}}\n"
               "  headers:\n"
               "    Rate: {description: rate here}\n"
               "  securitySchemes:\n"
               "    Key: {type: apiKey, name: key here, in: header}\n"
               "  examples:\n"
               "    Sample: {summary: sample here}\n"
               "    Again:\n"
               "      $ref: '#/components/examples/Sample'\n"
               "  links:\n"
               "    a/b: {description: link here}\n"
               "  callbacks:\n"
               "    c~d:\n"
               "      '{$request.body#/url}': {summary: callback here}\n"
               "  pathItems:\n"
               "    Shared: {summary: path item here}\n"
             : "{\"openapi\": \"@\", \"info\": {\"title\": \"t\", \"version\": \"1\"}, \"paths\": {},\n"
               " \"components\": {\n"
               "  \"schemas\": {\"Pet\": {\"title\": \"Pet here\"}},\n"
               "  \"parameters\": {\"Limit\": {\"name\": \"limit here\", \"in\": \"query\"}},\n"
               "  \"responses\": {\"Found\": {\"description\": \"found here\"}},\n"
               "  \"requestBodies\": {\"PetBody\": {\"description\": \"body here\", \"content\": {}}},\n"
               "  \"headers\": {\"Rate\": {\"description\": \"rate here\"}},\n"
               "  \"securitySchemes\": {\"Key\": {\"type\": \"apiKey\", \"name\": \"key here\", \"in\": \"header\"}},\n"
               "  \"examples\": {\"Sample\": {\"summary\": \"sample here\"},\n"
               "    \"Again\": {\"$ref\": \"#/components/examples/Sample\"}},\n"
               "  \"links\": {\"a/b\": {\"description\": \"link here\"}},\n"
               "  \"callbacks\": {\"c~d\": {\"{$request.body#/url}\": {\"summary\": \"callback here\"}}},\n"
               "  \"pathItems\": {\"Shared\": {\"summary\": \"path item here\"}}\n"
               " }}\n";
    std::string out = text;
    out.replace(out.find('@'), 1, version);
    return out;
}

TEST(RefLocationResolverTest, EverySectionCompletionWritesIsATarget)
{
    const struct {
        const char* path;
        const char* yamlTarget; // the text that starts at the component's entry; null for no target
        const char* jsonTarget;
        bool only31 = false;
    } rows[] = {
        {"#/components/schemas/Pet", "title: Pet here", "{\"title\": \"Pet here\""},
        {"#/components/parameters/Limit", "{name: limit here", "{\"name\": \"limit here\""},
        {"#/components/responses/Found", "{description: found here", "{\"description\": \"found here\""},
        {"#/components/requestBodies/PetBody", "{description: body here", "{\"description\": \"body here\""},
        {"#/components/headers/Rate", "{description: rate here", "{\"description\": \"rate here\""},
        {"#/components/securitySchemes/Key", "{type: apiKey, name: key here", "{\"type\": \"apiKey\", \"name\": \"key here\""},
        {"#/components/examples/Sample", "{summary: sample here", "{\"summary\": \"sample here\""},
        {"#/components/examples/Again", "'#/components/examples/Sample'", "\"#/components/examples/Sample\"}"},
        {"#/components/links/a~1b", "{description: link here", "{\"description\": \"link here\""},
        {"#/components/callbacks/c~0d", "'{$request.body#/url}'", "{\"{$request.body#/url}\""},
        {"#/components/pathItems/Shared", "{summary: path item here", "{\"summary\": \"path item here\"", true},
        {"#/components/links/a/b", nullptr, nullptr},
        {"#/components/callbacks/c~1d", nullptr, nullptr},
        {"#/components/examples/Missing", nullptr, nullptr},
        {"#/components/securitySchemes", nullptr, nullptr},
        {"#/components/definitions/Pet", nullptr, nullptr},
    };
    for (const char* version : {"3.0.3", "3.1.0"}) {
        for (const bool yaml : {true, false}) {
            const std::string document = sectionsDocument(version, yaml);
            const ParsedOpenAPIModel model =
                modelOf(document, yaml ? VoziZazIre::Format::yaml : VoziZazIre::Format::json);
            const QString text = QString::fromStdString(document);
            const bool is31 = version[2] == '1';
            for (const auto& row : rows) {
                SCOPED_TRACE(std::string(version) + (yaml ? " YAML " : " JSON ") + row.path);
                const char* target = row.only31 && !is31 ? nullptr : yaml ? row.yamlTarget : row.jsonTarget;
                const QString path = QString::fromUtf8(row.path);
                const std::optional<SourceLocation> start = checkedStart(path, model, target != nullptr);
                if (!start)
                    continue;
                // The target text stands once in the document; its line and column are the entry's.
                const qsizetype at = text.indexOf(QString::fromUtf8(target));
                ASSERT_GE(at, 0);
                ASSERT_EQ(text.indexOf(QString::fromUtf8(target), at + 1), -1);
                const qsizetype lineStart = text.lastIndexOf(u'\n', at) + 1;
                EXPECT_EQ(start->line, text.first(at).count(u'\n') + 1);
                EXPECT_EQ(start->column, at - lineStart + 1);
                EXPECT_EQ(RefLocationResolver::textPosition(*start, text), at);
            }
        }
    }
}

TEST(RefLocationResolverTest, LocationsOutsideTheTextGiveNoPosition)
{
    // Lines: "ab" (2 units), "e" + combining acute (one column), "" (last, empty).
    const QString text = QStringLiteral("ab\ne\u0301\n");
    const struct {
        const char* name;
        int64_t line;
        int64_t column;
        std::optional<qsizetype> position;
    } rows[] = {
        {"first character", 1, 1, 0},
        {"line end", 1, 3, 2},
        {"past the line end", 1, 4, std::nullopt},
        {"after a combining mark", 2, 2, 5},
        {"past a line of one cluster", 2, 3, std::nullopt},
        {"empty last line", 3, 1, 6},
        {"line past the end", 4, 1, std::nullopt},
        {"line 0", 0, 1, std::nullopt},
        {"column 0", 1, 0, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(RefLocationResolver::textPosition(SourceLocation{row.line, row.column, 0}, text), row.position);
    }
}

} // namespace
