#include "Carvex/Conversion/DocumentConversionService.h"

#include "Carvex/Conversion/ConversionError.h"
#include "Carvex/Conversion/JSONTextWriter.h"
#include "Carvex/Conversion/StrictJSONReader.h"
#include "Carvex/Conversion/YAMLTextEmitter.h"
#include "Carvex/Conversion/YAMLValueReader.h"

#include "kit/core/ParseError.h"

#include <QByteArray>

#include <optional>
#include <string_view>

namespace Carvex {

namespace {

bool isBlank(const QString& text) {
    for (const QChar c : text) {
        if (!c.isSpace()) return false;
    }
    return true;
}

// The text as UTF-8, or nothing when it holds a lone surrogate (which has no UTF-8 form).
std::optional<QByteArray> utf8(const QString& text) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (!c.isSurrogate()) continue;
        if (c.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        return std::nullopt;
    }
    return text.toUtf8();
}

std::string_view view(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

QString DocumentConversionService::convertToJSON(const QString& text) const {
    if (isBlank(text)) throw ConversionError::emptyDocument();
    PlainValueTree tree;
    {
        const std::optional<QByteArray> bytes = utf8(text);
        if (!bytes) throw ConversionError::parsingFailed(QStringLiteral("Failed to encode as UTF-8"));
        try {
            tree = YAMLValueReader::read(view(*bytes));
        } catch (const VoziZazIreCore::ParseError& error) {
            std::string message = error.message();
            if (error.range()) message += " at " + error.range()->start.description();
            throw ConversionError::parsingFailed(QString::fromStdString(message));
        } catch (const YAMLValueReader::NonFiniteNumber& error) {
            throw ConversionError::conversionFailed(QString::fromUtf8(error.what()));
        }
    }
    if (tree.kind(tree.root()) == PlainValueTree::Kind::null)
        throw ConversionError::conversionFailed(QStringLiteral("Result is not valid JSON"));
    QString json;
    JSONTextWriter::write(tree, json);
    return json;
}

QString DocumentConversionService::convertToYAML(const QString& text) const {
    if (isBlank(text)) throw ConversionError::emptyDocument();
    PlainValueTree tree;
    {
        const std::optional<QByteArray> bytes = utf8(text);
        if (!bytes) throw ConversionError::parsingFailed(QStringLiteral("Invalid JSON syntax"));
        try {
            tree = StrictJSONReader(view(*bytes)).read();
        } catch (const StrictJSONReader::SyntaxError&) {
            throw ConversionError::parsingFailed(QStringLiteral("Invalid JSON syntax"));
        }
    }
    QString yaml;
    YAMLTextEmitter::write(tree, yaml);
    return yaml;
}

}  // namespace Carvex
