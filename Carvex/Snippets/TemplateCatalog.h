#pragma once

#include "Carvex/Text/FileFormat.h"
#include "Carvex/Snippets/MatchContext.h"
#include "Carvex/Snippets/SnippetTemplate.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Carvex {

// The snippet templates offered for one OpenAPI version and one file format, taken from the first
// source that yields at least one template: the user's template folder, the application's
// template resources, the built-in table. Sources are never merged. Files that cannot be read or
// decoded are passed over silently.
//
// The editor makes catalogs through `make`, which gives nothing until `installFactory` has run;
// the catalog it gets is empty until `loadTemplates` fills it.
class TemplateCatalog {
public:
    using Factory = std::function<std::unique_ptr<TemplateCatalog>(
        std::vector<SnippetTemplate> templates, QString openAPIVersion, FileFormat fileFormat)>;

    // The largest template file read; larger files are passed over.
    static constexpr qint64 maximumTemplateFileSize = 1024 * 1024;

    // A catalog loaded at once.
    TemplateCatalog(QString openAPIVersion, FileFormat fileFormat);
    virtual ~TemplateCatalog() = default;

    // The installed factory (empty when none is installed).
    static Factory& factory();
    // A catalog from the installed factory, or null.
    static std::unique_ptr<TemplateCatalog> make(std::vector<SnippetTemplate> templates,
                                                 QString openAPIVersion, FileFormat fileFormat);
    // Installs the factory of this class: the catalog it makes holds the given templates until
    // it is loaded.
    static void installFactory();

    // In load order, which breaks ties between templates of equal depth score.
    const std::vector<SnippetTemplate>& templates() const { return templates_; }
    const QString& openAPIVersion() const { return openAPIVersion_; }
    FileFormat fileFormat() const { return fileFormat_; }

    // Replaces the templates with those of the first source that yields one, reading
    // <root>/openapi-<version>/<yaml or json> under the user's root, then the application's root.
    virtual void loadTemplates();
    // Appends the templates of a folder: its regular files (links followed) whose name ends in
    // ".json" exactly, hidden files left out, at most `maximumTemplateFileSize` bytes each, in
    // file-name order. A folder that cannot be listed adds nothing.
    void loadTemplatesFrom(const QString& folder);

    // <generic data home>/Carvex/Templates; none when the platform names no data home.
    static std::optional<QString> userTemplatesDirectory();
    // The resource folder ":/Templates".
    static std::optional<QString> bundleTemplatesDirectory();
    // The built-in table with the format's bodies and triggers, each row carrying `openAPIVersion`.
    static std::vector<SnippetTemplate> builtInTemplates(const QString& openAPIVersion, FileFormat format);

    // Templates one of whose trigger keywords ends `word` (the first keyword that does decides),
    // in catalog order. An empty keyword ends every word.
    std::vector<SnippetTemplate> keywordCandidates(QStringView word) const;
    // The keyword candidates of the context's `lastKeyword` whose template context holds at the
    // caret, in catalog order.
    std::vector<SnippetTemplate> contextCandidates(const MatchContext& context) const;
    // Whether a template's context holds for a match context; an absent context always holds.
    static bool contextHolds(const SnippetTemplate& snippet, const MatchContext& context);

protected:
    TemplateCatalog(std::vector<SnippetTemplate> templates, QString openAPIVersion, FileFormat fileFormat)
        : templates_(std::move(templates)), openAPIVersion_(std::move(openAPIVersion)), fileFormat_(fileFormat) {}

    std::vector<SnippetTemplate> templates_;
    QString openAPIVersion_;
    FileFormat fileFormat_;
};

}  // namespace Carvex
