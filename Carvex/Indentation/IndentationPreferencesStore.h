#pragma once

#include "Carvex/Indentation/IndentationStyle.h"
#include "platform/Settings.h"

#include <QString>
#include <memory>

namespace Carvex {

// The user's preferred indentation unit and Tab-key behaviour, read from and written to the
// settings on every call (no cache). Main thread only.
class IndentationPreferencesStore {
public:
    static inline const QString useTabsKey = QStringLiteral("indentation.useTabs");
    static inline const QString spacesWidthKey = QStringLiteral("indentation.spacesWidth");
    static inline const QString useTabKeyForIndentKey =
        QStringLiteral("indentation.useTabKeyForIndent");

    explicit IndentationPreferencesStore(
        std::shared_ptr<CarvexPlatform::Settings> defaults = CarvexPlatform::Settings::standard());

    const std::shared_ptr<CarvexPlatform::Settings>& defaults() const { return defaults_; }

    // Tabs when "indentation.useTabs" is true; otherwise spaces of the stored width, 2 when the
    // width is absent, below 1 or above `IndentationStyle::maxSpacesWidth`.
    IndentationStyle indentationStyle() const;
    // Tabs: stores true and removes the width. Spaces: stores false and the width.
    void setIndentationStyle(const IndentationStyle& style);

    bool useTabKeyForIndent() const;  // true when absent
    void setUseTabKeyForIndent(bool value);

    // Removes the three keys.
    void reset();

private:
    std::shared_ptr<CarvexPlatform::Settings> defaults_;
};

}  // namespace Carvex
