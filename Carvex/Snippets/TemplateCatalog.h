#pragma once

#include "Carvex/Documents/FileFormat.h"
#include "Carvex/Snippets/SnippetTemplate.h"

#include <functional>
#include <memory>
#include <vector>

namespace Carvex {

// The snippet templates offered for one file format. Made empty; `loadTemplates` fills it (it
// reports no failure). Made through `make`, which gives nothing until the snippet subsystem installs
// its factory.
class TemplateCatalog {
public:
    using Factory = std::function<std::unique_ptr<TemplateCatalog>(
        std::vector<SnippetTemplate> templates, QString openAPIVersion, FileFormat fileFormat)>;

    virtual ~TemplateCatalog() = default;

    // The installed factory (empty when none is installed).
    static Factory& factory();
    // A catalog from the installed factory, or null.
    static std::unique_ptr<TemplateCatalog> make(std::vector<SnippetTemplate> templates,
                                                 QString openAPIVersion, FileFormat fileFormat);

    const std::vector<SnippetTemplate>& templates() const { return templates_; }
    const QString& openAPIVersion() const { return openAPIVersion_; }
    FileFormat fileFormat() const { return fileFormat_; }

    virtual void loadTemplates() = 0;

protected:
    TemplateCatalog(std::vector<SnippetTemplate> templates, QString openAPIVersion, FileFormat fileFormat)
        : templates_(std::move(templates)), openAPIVersion_(std::move(openAPIVersion)), fileFormat_(fileFormat) {}

    std::vector<SnippetTemplate> templates_;
    QString openAPIVersion_;
    FileFormat fileFormat_;
};

}  // namespace Carvex
