#pragma once

#include "Carvex/ModelAdapters/HTTPMethod.h"

#include <QString>

#include <functional>

namespace Carvex {

// An operation's identity across the properties browser: its path template as written and its method.
struct OperationID {
    QString path;
    HTTPMethod method = HTTPMethod::get;

    // The method's raw value, a blank and the path: "GET /pets".
    QString description() const;
    // The path, then the method's raw value.
    std::size_t hash() const noexcept;

    friend bool operator==(const OperationID&, const OperationID&) = default;
};

} // namespace Carvex

template<>
struct std::hash<Carvex::OperationID> {
    std::size_t operator()(const Carvex::OperationID& id) const noexcept { return id.hash(); }
};
