#include "Carvex/Snippets/SnippetTemplateCoding.h"
#include "Carvex/Snippets/TemplateCatalog.h"
#include "platform/TestApplication.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

using namespace Carvex;

namespace {

// Points the generic data home at a fresh folder for the test's lifetime.
class ScopedDataHome {
public:
    ScopedDataHome() : home_(qgetenv("HOME")), xdg_(qgetenv("XDG_DATA_HOME")) {
        CarvexPlatform::TestApplication::ensure();
        qputenv("HOME", dir_.path().toUtf8());
        qputenv("XDG_DATA_HOME", (dir_.path() + "/share").toUtf8());
    }
    ~ScopedDataHome() {
        qputenv("HOME", home_);
        if (xdg_.isEmpty()) {
            qunsetenv("XDG_DATA_HOME");
        } else {
            qputenv("XDG_DATA_HOME", xdg_);
        }
    }
    // <data home>/Carvex/Templates/openapi-<version>/<format>, made.
    QString folder(const QString& version, const QString& format) const {
        const QString path = *TemplateCatalog::userTemplatesDirectory() + "/openapi-" + version + "/" + format;
        QDir().mkpath(path);
        return path;
    }
    QString root() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QByteArray home_;
    QByteArray xdg_;
};

std::string templateJson(const std::string& id, int depthScore = 0) {
    std::string json = R"({"id":")";
    json.append(id).append(R"(","name":"N","triggerKeywords":["x:"],"content":"c","openAPIVersion":"3.0","depthScore":)");
    return json.append(std::to_string(depthScore)).append("}");
}

MatchContext contextOf(const char* keyword, int indentLevel, QStringList path) {
    return MatchContext{QString(), 0, QString::fromUtf8(keyword), indentLevel, std::move(path), FileFormat::yaml};
}

void write(const QString& path, const std::string& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes.data(), qint64(bytes.size()));
}

QStringList idsOf(const std::vector<SnippetTemplate>& templates) {
    QStringList ids;
    for (const SnippetTemplate& t : templates) ids.push_back(t.id);
    return ids;
}

using Populate = std::function<void(const QString& folder)>;

struct SourceRow {
    const char* name;
    Populate populate;
    QStringList expectedIds;  // empty: the built-in table
};

std::string nested(int depth) { return std::string(size_t(depth), '[') + std::string(size_t(depth), ']'); }

// A valid template padded with blanks to exactly `size` bytes.
std::string paddedTemplate(const std::string& id, qint64 size) {
    std::string json = templateJson(id);
    json.append(size_t(size) - json.size(), ' ');
    return json;
}

TEST(TemplateCatalogTest, SourcesAndFolderEntries) {
    const SourceRow rows[] = {
        {"one valid user file replaces all", [](const QString& f) { write(f + "/mine.json", templateJson("mine")); },
         {"mine"}},
        {"undecodable files fall back to the built-ins",
         [](const QString& f) {
             write(f + "/broken.json", "{\"id\":");
             write(f + "/array.json", std::string("[").append(templateJson("in-array")).append("]"));
             write(f + "/deep.json", nested(10000));
             write(f + "/deep-object.json", std::string(10000, '{'));
             write(f + "/wrong-types.json", R"({"id":1,"name":"N","triggerKeywords":"x","content":"c","openAPIVersion":"3.0"})");
             write(f + "/latin1.json", "{\"id\":\"caf\xe9\",\"name\":\"N\",\"triggerKeywords\":[],\"content\":\"c\","
                                       "\"openAPIVersion\":\"3.0\"}");
             write(f + "/empty.json", "");
         },
         {}},
        {"names and kinds that are passed over",
         [](const QString& f) {
             write(f + "/UPPER.JSON", templateJson("upper"));
             write(f + "/lower.Json", templateJson("mixed"));
             write(f + "/.hidden.json", templateJson("hidden"));
             write(f + "/other.yaml", templateJson("other"));
             write(f + "/json", templateJson("bare"));
             write(f + "/backup.json.bak", templateJson("backup"));
             QDir(f).mkpath("folder.json");
             write(f + "/folder.json/inner.json", templateJson("inner"));
             ASSERT_EQ(::mkfifo(QFile::encodeName(f + "/pipe.json").constData(), 0600), 0);
             ASSERT_EQ(::symlink("loop-b.json", QFile::encodeName(f + "/loop-a.json").constData()), 0);
             ASSERT_EQ(::symlink("loop-a.json", QFile::encodeName(f + "/loop-b.json").constData()), 0);
             ASSERT_EQ(::symlink("missing.json", QFile::encodeName(f + "/dangling.json").constData()), 0);
             ASSERT_EQ(::symlink("/dev/null", QFile::encodeName(f + "/device.json").constData()), 0);
             write(f + "/big.json", paddedTemplate("big", 2 * 1024 * 1024));
             write(f + "/only.json", templateJson("only"));
         },
         {"only"}},
        {"size limit is inclusive",
         [](const QString& f) {
             write(f + "/at-limit.json", paddedTemplate("at-limit", TemplateCatalog::maximumTemplateFileSize));
             write(f + "/over-limit.json", paddedTemplate("over-limit", TemplateCatalog::maximumTemplateFileSize + 1));
         },
         {"at-limit"}},
        {"links to regular files are followed",
         [](const QString& f) {
             QDir(f).mkpath("../elsewhere");
             write(f + "/../elsewhere/real.txt", templateJson("linked"));
             ASSERT_EQ(::symlink("../elsewhere/real.txt", QFile::encodeName(f + "/link.json").constData()), 0);
         },
         {"linked"}},
        {"listed in file-name order, whatever the scores",
         [](const QString& f) {
             write(f + "/b.json", templateJson("b", 1));
             write(f + "/C.json", templateJson("C", 9));
             write(f + "/a.json", templateJson("a", 5));
             write(f + "/a-2.json", templateJson("a-2"));
         },
         {"C", "a-2", "a", "b"}},
        {"a folder of another version is not read",
         [](const QString& f) { write(f + "/../../openapi-3.1/yaml/other.json", templateJson("other-version")); },
         {}},
    };
    for (const SourceRow& row : rows) {
        SCOPED_TRACE(row.name);
        ScopedDataHome home;
        const QString folder = home.folder("3.0", "yaml");
        home.folder("3.1", "yaml");
        row.populate(folder);
        const TemplateCatalog catalog("3.0", FileFormat::yaml);
        if (row.expectedIds.isEmpty()) {
            EXPECT_EQ(catalog.templates(), TemplateCatalog::builtInTemplates("3.0", FileFormat::yaml));
        } else {
            EXPECT_EQ(idsOf(catalog.templates()), row.expectedIds);
        }
    }
}

TEST(TemplateCatalogTest, VersionAndFormatNameTheFolderAndFillTheBuiltIns) {
    ScopedDataHome home;
    EXPECT_TRUE(TemplateCatalog::userTemplatesDirectory()->startsWith(home.root()));
    EXPECT_EQ(TemplateCatalog::bundleTemplatesDirectory(), QStringLiteral(":/Templates"));
    write(home.folder("3.0", "json") + "/json-only.json", templateJson("json-only"));

    const TemplateCatalog json30("3.0", FileFormat::json);
    EXPECT_EQ(idsOf(json30.templates()), QStringList{"json-only"});

    const TemplateCatalog yaml30("3.0", FileFormat::yaml);
    ASSERT_EQ(yaml30.templates().size(), 38u);
    EXPECT_EQ(yaml30.templates()[5].triggerKeywords, QStringList{"-"});

    const TemplateCatalog json31("3.1", FileFormat::json);
    ASSERT_EQ(json31.templates().size(), 38u);
    EXPECT_EQ(json31.templates()[5].triggerKeywords, QStringList{"{"});
    for (const SnippetTemplate& row : json31.templates()) EXPECT_EQ(row.openAPIVersion, "3.1");
}

TEST(TemplateCatalogTest, FactoryMakesCatalogsThatLoadWhenAsked) {
    ScopedDataHome home;
    write(home.folder("3.0", "yaml") + "/mine.json", templateJson("mine"));
    TemplateCatalog::Factory previous = std::exchange(TemplateCatalog::factory(), {});
    EXPECT_EQ(TemplateCatalog::make({}, "3.0", FileFormat::yaml), nullptr);
    TemplateCatalog::installFactory();
    std::unique_ptr<TemplateCatalog> made = TemplateCatalog::make({}, "3.0", FileFormat::yaml);
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->templates().empty());
    made->loadTemplates();
    made->loadTemplates();
    EXPECT_EQ(idsOf(made->templates()), QStringList{"mine"});
    TemplateCatalog::factory() = previous;
}

struct KeywordRow {
    const char* name;
    const char* word;
    QStringList expectedIds;
};

TEST(TemplateCatalogTest, KeywordAndContextStages) {
    ScopedDataHome home;
    const QString folder = home.folder("3.0", "yaml");
    const auto file = [&folder](const char* name, const std::string& json) { write(folder + "/" + name, json); };
    const std::string head = R"({"name":"N","content":"c","openAPIVersion":"3.0",)";
    file("1.json", head + R"("id":"colon","triggerKeywords":[":"]})");
    file("2.json", head + R"("id":"get","triggerKeywords":["get:","get :"],"context":{}})");
    file("3.json", head + R"("id":"any","triggerKeywords":[""],"context":{"minIndentLevel":0}})");
    file("4.json", head + R"("id":"never","triggerKeywords":[]})");
    file("5.json", head + R"("id":"under-paths","triggerKeywords":["get:"],"context":{"parentPath":["paths"]}})");
    file("6.json", head + R"("id":"twice","triggerKeywords":["t:","et:"]})");
    const TemplateCatalog catalog("3.0", FileFormat::yaml);
    ASSERT_EQ(catalog.templates().size(), 6u);

    const KeywordRow rows[] = {
        {"ends with colon", "get:", {"colon", "get", "any", "under-paths", "twice"}},
        {"second keyword", "get :", {"colon", "get", "any"}},
        {"suffix of a longer word", "forget:", {"colon", "get", "any", "under-paths", "twice"}},
        {"case matters", "GET:", {"colon", "any"}},
        {"empty word", "", {"any"}},
        {"no colon", "get", {"any"}},
    };
    for (const KeywordRow& row : rows) {
        EXPECT_EQ(idsOf(catalog.keywordCandidates(QString::fromUtf8(row.word))), row.expectedIds) << row.name;
    }

    MatchContext context = contextOf("get:", 0, {});
    EXPECT_EQ(idsOf(catalog.contextCandidates(context)), (QStringList{"colon", "get", "any", "twice"}));
    context.parentPath = {"paths", "/items"};
    EXPECT_EQ(idsOf(catalog.contextCandidates(context)), (QStringList{"colon", "get", "any", "under-paths", "twice"}));
    context.parentPath = {"components", "paths"};
    EXPECT_EQ(idsOf(catalog.contextCandidates(context)), (QStringList{"colon", "get", "any", "twice"}));
}

}  // namespace
