#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace Carvex {

// Where in a document a template may be offered; an absent field sets no condition.
struct TemplateContext {
    std::optional<QStringList> parentPath;
    std::optional<QString> requiredParent;
    std::optional<QString> immediateParent;
    std::optional<int> minIndentLevel;

    bool operator==(const TemplateContext&) const = default;
};

// A piece of OpenAPI text with numbered placeholders, the words that trigger it, where it may be
// offered and its rank.
struct SnippetTemplate {
    QString id;
    QString name;
    QStringList triggerKeywords;
    std::optional<TemplateContext> context;
    QString content;
    QString openAPIVersion;
    int depthScore = 0;

    bool operator==(const SnippetTemplate&) const = default;
};

}  // namespace Carvex
