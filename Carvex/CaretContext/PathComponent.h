#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>
#include <functional>
#include <variant>
#include <vector>

namespace Carvex {

// One step of the path from a document's root to the caret: a grammar key, a zero-based sequence
// position, or a key whose name the author chose (a path template, a component name, a status
// code).
class PathComponent {
public:
    enum class Case { key, index, dynamicKey };

    static PathComponent key(QString name) { return PathComponent(Storage(std::in_place_index<0>, std::move(name))); }
    static PathComponent index(int position) { return PathComponent(Storage(std::in_place_index<1>, position)); }
    static PathComponent dynamicKey(QString name)
    {
        return PathComponent(Storage(std::in_place_index<2>, std::move(name)));
    }

    // The component for a mapping key met below `parentPath`: a dynamic key when the last
    // component of the path is one of the keys whose children are named by the author
    // ("paths", "schemas", "responses", ...), a plain key otherwise.
    static PathComponent forKey(QString name, const std::vector<PathComponent>& parentPath);
    static bool isDynamicKeyParent(QStringView name);

    Case kind() const { return static_cast<Case>(value_.index()); }
    // The key's name for `key` and `dynamicKey`; empty for an index.
    const QString& name() const;
    // The position for `index`; 0 otherwise.
    int position() const { return value_.index() == 1 ? std::get<1>(value_) : 0; }

    // The key's name, or the index in decimal.
    QString text() const;
    bool isKey(QStringView name) const { return value_.index() == 0 && std::get<0>(value_) == name; }
    bool isDynamicKey() const { return value_.index() == 2; }
    bool isIndex() const { return value_.index() == 1; }

    bool operator==(const PathComponent&) const = default;
    std::size_t hash() const;

private:
    using Storage = std::variant<QString, int, QString>;
    explicit PathComponent(Storage value) : value_(std::move(value)) {}
    Storage value_;
};

// The path as a JSON Pointer: "" for the empty path, otherwise "/" + each component's text as a
// pointer token, joined by "/".
QString jsonPointer(const std::vector<PathComponent>& path);
// A key as one JSON Pointer token: "~" written "~0", then "/" written "~1".
QString jsonPointerToken(QString key);

// The path without the indices at its end; indices before the last key remain.
std::vector<PathComponent> strippingTrailingIndices(std::vector<PathComponent> path);

} // namespace Carvex

template<>
struct std::hash<Carvex::PathComponent> {
    std::size_t operator()(const Carvex::PathComponent& component) const noexcept { return component.hash(); }
};
