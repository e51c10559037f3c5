#include "Carvex/Indentation/IndentationStyle.h"

#include "Carvex/Indentation/IndentationStyleDecodingError.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QJsonValue>
#include <cmath>

namespace Carvex {

QString IndentationStyle::indentString() const {
    if (kind_ == Kind::tabs) {
        return QStringLiteral("\t");
    }
    return QString(std::max(0, width_), QLatin1Char(' '));
}

int IndentationStyle::width(int tabWidth) const { return kind_ == Kind::tabs ? tabWidth : width_; }

QString IndentationStyle::description() const {
    if (kind_ == Kind::tabs) {
        return QStringLiteral("Tabs");
    }
    return QString::number(width_) + QStringLiteral(" Spaces");
}

QJsonObject IndentationStyle::encoded() const {
    if (kind_ == Kind::tabs) {
        return QJsonObject{{QStringLiteral("tabs"), QJsonObject{}}};
    }
    return QJsonObject{
        {QStringLiteral("spaces"), QJsonObject{{QStringLiteral("width"), width_}}}};
}

QByteArray IndentationStyle::encodedJson() const {
    return QJsonDocument(encoded()).toJson(QJsonDocument::Compact);
}

IndentationStyle IndentationStyle::decode(const QJsonObject& object) {
    const bool hasTabs = object.contains(QStringLiteral("tabs"));
    const bool hasSpaces = object.contains(QStringLiteral("spaces"));
    if (hasTabs == hasSpaces) {
        throw IndentationStyleDecodingError("Invalid number of keys found, expected one.");
    }
    const QString caseKey = hasTabs ? QStringLiteral("tabs") : QStringLiteral("spaces");
    const QJsonValue nested = object.value(caseKey);
    if (!nested.isObject()) {
        throw IndentationStyleDecodingError("Expected an object for key '" + caseKey.toStdString() +
                                            "'.");
    }
    if (hasTabs) {
        return tabs();
    }
    const QJsonObject fields = nested.toObject();
    if (!fields.contains(QStringLiteral("width"))) {
        throw IndentationStyleDecodingError("No value associated with key 'width'.");
    }
    const QJsonValue width = fields.value(QStringLiteral("width"));
    const double number = width.toDouble(std::nan(""));
    if (!width.isDouble() || !std::isfinite(number) || number != std::floor(number)) {
        throw IndentationStyleDecodingError("Expected an integer for key 'width'.");
    }
    if (number < 0 || number > maxSpacesWidth) {
        throw IndentationStyleDecodingError("Indentation width " + QString::number(number).toStdString() +
                                            " is out of range 0 to " +
                                            std::to_string(maxSpacesWidth) + ".");
    }
    return spaces(static_cast<int>(number));
}

IndentationStyle IndentationStyle::decode(const QByteArray& json) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        throw IndentationStyleDecodingError("The given data was not valid JSON: " +
                                            error.errorString().toStdString() + " at offset " +
                                            std::to_string(error.offset) + ".");
    }
    if (!document.isObject()) {
        throw IndentationStyleDecodingError("Expected an object at the top level.");
    }
    return decode(document.object());
}

}  // namespace Carvex
