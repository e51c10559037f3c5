#pragma once

#include <QByteArray>
#include <QColor>

#include <optional>

namespace Carvex {

// The stored form of a colour in the settings: a fixed header followed by the colour's model and
// its five raw 16-bit components, so that every colour reads back exactly (same model, same
// components) and anything else - other data, a truncated or extended record, impossible
// components - is recognised as not a colour.
struct ColorArchive {
    // The stored form of `color`; empty when the colour is invalid and cannot be stored.
    static QByteArray archive(const QColor& color);

    // The colour stored in `data`, or nothing when `data` is not a stored colour.
    static std::optional<QColor> unarchive(const QByteArray& data);
};

} // namespace Carvex
