#pragma once

#include <QJsonObject>

#include <optional>

namespace Carvex {

// How the properties pane follows the text: the pause after the last change before parsing, and whether
// a text that stops parsing keeps the last good rows and details.
struct PropertiesViewUpdatePolicy {
    int debounceMilliseconds = 250;
    bool keepLastValidStateOnError = true;

    // 250 milliseconds, keeping the last state.
    static PropertiesViewUpdatePolicy default_() { return {}; }

    // Coded under the keys "debounceMilliseconds" and "keepLastValidStateOnError".
    QJsonObject encoded() const;
    // Nothing when a key is missing or of the wrong type.
    static std::optional<PropertiesViewUpdatePolicy> decoded(const QJsonObject& object);

    friend bool operator==(const PropertiesViewUpdatePolicy&, const PropertiesViewUpdatePolicy&) = default;
};

} // namespace Carvex
