#include "Carvex/Documents/OpenAPIDocumentGenerator.h"

#include "Carvex/Documents/NewDocumentConfigurationValidator.h"

#include <QStringList>
#include <vector>

namespace Carvex {

namespace {

bool writesPaths(const NewDocumentConfiguration& configuration) {
    return configuration.includeInitialPath && configuration.initialPath && !configuration.methods.empty();
}

QString pathOf(const NewDocumentConfiguration& configuration) {
    const QString path = NewDocumentConfigurationValidator::normalizePath(configuration.initialPath.value_or(QString()));
    return path.isEmpty() ? QStringLiteral("/") : path;
}

// The chosen methods in declaration order, whatever order the set keeps.
std::vector<QString> methodNames(const NewDocumentConfiguration& configuration) {
    std::vector<QString> names;
    for (HTTPMethod method : allHTTPMethods) {
        if (configuration.methods.count(method)) {
            names.push_back(QString::fromLatin1(rawValue(method)).toLower());
        }
    }
    return names;
}

QString quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

}  // namespace

QString OpenAPIDocumentGenerator::generate(const NewDocumentConfiguration& configuration) const {
    return configuration.format == DocumentFormat::yaml ? generateYAML(configuration) : generateJSON(configuration);
}

QString OpenAPIDocumentGenerator::generateJSON(const NewDocumentConfiguration& configuration) const {
    QStringList lines;
    lines << QStringLiteral("{")
          << QStringLiteral("  \"openapi\": ") + quoted(versionString(configuration.version)) + QLatin1Char(',')
          << QStringLiteral("  \"info\": {") << QStringLiteral("    \"title\": \"New API\",")
          << QStringLiteral("    \"version\": \"1.0.0\"") << QStringLiteral("  },");
    if (!writesPaths(configuration)) {
        lines << QStringLiteral("  \"paths\": {}");
    } else {
        lines << QStringLiteral("  \"paths\": {")
              << QStringLiteral("    ") + quoted(escapeJSONString(pathOf(configuration))) + QStringLiteral(": {");
        const std::vector<QString> names = methodNames(configuration);
        for (std::size_t index = 0; index < names.size(); ++index) {
            lines << QStringLiteral("      ") + quoted(names[index]) + QStringLiteral(": {")
                  << QStringLiteral("        \"responses\": {") << QStringLiteral("          \"200\": {")
                  << QStringLiteral("            \"description\": \"OK\"") << QStringLiteral("          }")
                  << QStringLiteral("        }")
                  << (index + 1 < names.size() ? QStringLiteral("      },") : QStringLiteral("      }"));
        }
        lines << QStringLiteral("    }") << QStringLiteral("  }");
    }
    lines << QStringLiteral("}");
    return lines.join(QLatin1Char('\n'));
}

QString OpenAPIDocumentGenerator::generateYAML(const NewDocumentConfiguration& configuration) const {
    QStringList lines;
    lines << QStringLiteral("openapi: ") + quoted(versionString(configuration.version)) << QStringLiteral("info:")
          << QStringLiteral("  title: New API") << QStringLiteral("  version: \"1.0.0\"");
    if (!writesPaths(configuration)) {
        lines << QStringLiteral("paths: {}");
    } else {
        lines << QStringLiteral("paths:") << QStringLiteral("  ") + pathOf(configuration) + QLatin1Char(':');
        for (const QString& name : methodNames(configuration)) {
            lines << QStringLiteral("    ") + name + QLatin1Char(':') << QStringLiteral("      responses:")
                  << QStringLiteral("        \"200\":") << QStringLiteral("          description: OK");
        }
    }
    return lines.join(QLatin1Char('\n'));
}

QString OpenAPIDocumentGenerator::escapeJSONString(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    escaped.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    escaped.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    escaped.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    return escaped;
}

}  // namespace Carvex
