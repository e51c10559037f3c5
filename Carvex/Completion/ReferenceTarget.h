#pragma once

#include "Carvex/CaretContext/ReferenceKind.h"

#include <QString>

#include <cstddef>
#include <functional>

namespace Carvex {

// One named component of the document and the `$ref` value that reaches it.
struct ReferenceTarget {
    ReferenceKind kind = ReferenceKind::unknown;
    // The name as the document means it (a quoted key's escapes read).
    QString name;
    // The `$ref` value: the kind's pointer prefix followed by the name as a pointer token ("a/b"
    // written "a~1b", "x~y" written "x~0y").
    QString pointer;

    ReferenceTarget(ReferenceKind kind, QString name);
    ReferenceTarget(ReferenceKind kind, QString name, QString pointer);

    bool operator==(const ReferenceTarget& other) const = default;
    // Combines the kind's raw value, the name and the pointer, in this order.
    std::size_t hash() const;
};

// Kinds ordered by their raw values as text (callback, example, header, ...), then names in the
// completion text order (upper case before lower case). Equal kinds and names are not less.
bool operator<(const ReferenceTarget& a, const ReferenceTarget& b);
inline bool operator>(const ReferenceTarget& a, const ReferenceTarget& b) { return b < a; }
inline bool operator<=(const ReferenceTarget& a, const ReferenceTarget& b) { return !(b < a); }
inline bool operator>=(const ReferenceTarget& a, const ReferenceTarget& b) { return !(a < b); }

} // namespace Carvex

template<>
struct std::hash<Carvex::ReferenceTarget> {
    std::size_t operator()(const Carvex::ReferenceTarget& target) const { return target.hash(); }
};
