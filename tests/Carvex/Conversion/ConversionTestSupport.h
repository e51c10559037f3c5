#pragma once

// Reading converted text back with our own readers, and comparing what was read.

#include "Carvex/Conversion/PlainValueTree.h"
#include "Carvex/Conversion/StrictJSONReader.h"
#include "Carvex/Conversion/YAMLValueReader.h"

#include <QString>

#include <cmath>
#include <string>

namespace ConversionTestSupport {

using Carvex::PlainValueTree;

inline std::string utf8(const QString& text) { return text.toStdString(); }

inline PlainValueTree readJSON(const QString& text) { return Carvex::StrictJSONReader(utf8(text)).read(); }

inline PlainValueTree readYAML(const QString& text) { return Carvex::YAMLValueReader::read(utf8(text)); }

inline bool isNumber(PlainValueTree::Kind k) {
    return k == PlainValueTree::Kind::integer || k == PlainValueTree::Kind::real ||
           k == PlainValueTree::Kind::numberText;
}

// Numbers compare by value: an integer equals the double of the same value, a number kept as text equals
// the same text.
inline bool sameNumber(const PlainValueTree& a, PlainValueTree::Index i, const PlainValueTree& b,
                       PlainValueTree::Index j) {
    using K = PlainValueTree::Kind;
    const K ka = a.kind(i);
    const K kb = b.kind(j);
    if (ka == K::numberText || kb == K::numberText) return ka == kb && a.text(i) == b.text(j);
    if (ka == K::integer && kb == K::integer) return a.integer(i) == b.integer(j);
    if (ka == K::real && kb == K::real) return a.real(i) == b.real(j);
    // An integer and a double: equal when the double is that very integer.
    const double d = ka == K::real ? a.real(i) : b.real(j);
    const std::int64_t n = ka == K::integer ? a.integer(i) : b.integer(j);
    return d == std::floor(d) && std::fabs(d) < 9223372036854775808.0 && static_cast<std::int64_t>(d) == n;
}

// Deep equality of two values; `where` receives the path of the first difference.
inline bool sameValue(const PlainValueTree& a, PlainValueTree::Index i, const PlainValueTree& b,
                      PlainValueTree::Index j, std::string& where) {
    using K = PlainValueTree::Kind;
    if (isNumber(a.kind(i)) && isNumber(b.kind(j))) return sameNumber(a, i, b, j);
    if (a.kind(i) != b.kind(j)) return false;
    switch (a.kind(i)) {
        case K::null: return true;
        case K::boolean: return a.boolean(i) == b.boolean(j);
        case K::text: return a.text(i) == b.text(j);
        case K::list:
            if (a.count(i) != b.count(j)) return false;
            for (std::size_t k = 0; k < a.count(i); ++k) {
                if (!sameValue(a, a.element(i, k), b, b.element(j, k), where)) {
                    where = "/" + std::to_string(k) + where;
                    return false;
                }
            }
            return true;
        case K::dictionary: {
            if (a.count(i) != b.count(j)) return false;
            for (std::size_t k = 0; k < a.count(i); ++k) {
                bool found = false;
                for (std::size_t m = 0; m < b.count(j) && !found; ++m) {
                    if (a.key(i, k) != b.key(j, m)) continue;
                    found = true;
                    if (!sameValue(a, a.value(i, k), b, b.value(j, m), where)) {
                        where = "/" + std::string(a.key(i, k)) + where;
                        return false;
                    }
                }
                if (!found) {
                    where = "/" + std::string(a.key(i, k)) + " (missing)" + where;
                    return false;
                }
            }
            return true;
        }
        default: return false;
    }
}

inline bool sameValue(const PlainValueTree& a, const PlainValueTree& b, std::string& where) {
    return sameValue(a, a.root(), b, b.root(), where);
}

}  // namespace ConversionTestSupport
