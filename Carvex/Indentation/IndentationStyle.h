#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

namespace Carvex {

// One indentation unit: a number of spaces, or a tab.
class IndentationStyle {
public:
    enum class Kind { spaces, tabs };

    // The widest space indent accepted from stored or serialised data.
    static constexpr int maxSpacesWidth = 16;

    static IndentationStyle spaces(int width) { return IndentationStyle(Kind::spaces, width); }
    static IndentationStyle tabs() { return IndentationStyle(Kind::tabs, 0); }
    // Two spaces.
    static IndentationStyle default_() { return spaces(2); }

    Kind kind() const { return kind_; }
    bool isTabs() const { return kind_ == Kind::tabs; }
    // The width of a space indent; 0 for tabs.
    int spacesWidth() const { return width_; }

    // "\t", or width spaces (none for a width below 1).
    QString indentString() const;
    // Columns of one level: the width for spaces, `tabWidth` for tabs.
    int width(int tabWidth) const;
    // "4 Spaces" or "Tabs".
    QString description() const;

    // {"spaces": {"width": n}} or {"tabs": {}}.
    QJsonObject encoded() const;
    QByteArray encodedJson() const;
    // The inverse of `encoded`; throws `IndentationStyleDecodingError` unless exactly one of the
    // keys "tabs" and "spaces" is present with an object, and "width" is an integer from 0 to
    // `maxSpacesWidth`.
    static IndentationStyle decode(const QJsonObject& object);
    static IndentationStyle decode(const QByteArray& json);

    bool operator==(const IndentationStyle& other) const = default;

private:
    IndentationStyle(Kind kind, int width) : kind_(kind), width_(kind == Kind::tabs ? 0 : width) {}

    Kind kind_;
    int width_;
};

}  // namespace Carvex
