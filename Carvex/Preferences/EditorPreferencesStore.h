#pragma once

#include "platform/Settings.h"

#include <QString>
#include <memory>

namespace Carvex {

// Typed access to the editor settings. Each getter applies its own default when the key is
// absent (nothing is registered). Posts no notification. Main thread only.
class EditorPreferencesStore {
public:
    static inline const QString highlightCurrentLineKey = QStringLiteral("editor.highlightCurrentLine");
    static inline const QString autoReloadExternalChangesKey =
        QStringLiteral("editor.autoReloadExternallyModifiedDocument");
    static inline const QString showIndentGuidesKey = QStringLiteral("editor.showIndentGuides");

    explicit EditorPreferencesStore(
        std::shared_ptr<CarvexPlatform::Settings> defaults = CarvexPlatform::Settings::standard());

    // The store over the standard settings, created on first use.
    static EditorPreferencesStore& shared();

    const std::shared_ptr<CarvexPlatform::Settings>& defaults() const { return defaults_; }

    bool highlightCurrentLine() const;           // true when absent
    void setHighlightCurrentLine(bool value);
    bool autoReloadExternalChanges() const;      // true when absent
    void setAutoReloadExternalChanges(bool value);
    bool showIndentGuides() const;               // true when absent
    void setShowIndentGuides(bool value);

    // Removes the three keys, so every getter returns its default again.
    void reset();

private:
    bool read(const QString& key, bool whenAbsent) const;

    std::shared_ptr<CarvexPlatform::Settings> defaults_;
};

}  // namespace Carvex
