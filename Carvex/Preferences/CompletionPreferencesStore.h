#pragma once

#include "platform/Settings.h"

#include <QString>
#include <memory>

namespace Carvex {

// Typed access to the completion settings, read each time they are needed. Each getter applies
// its own default when the key is absent. Posts no notification. Main thread only.
class CompletionPreferencesStore {
public:
    static inline const QString autoCompletionEnabledKey =
        QStringLiteral("completion.autoCompletionEnabled");
    static inline const QString directInsertEnabledKey =
        QStringLiteral("completion.directInsertSingleMatch");
    static inline const QString inlineSnippetEnabledKey =
        QStringLiteral("completion.inlineSnippetSuggestions");

    explicit CompletionPreferencesStore(
        std::shared_ptr<CarvexPlatform::Settings> defaults = CarvexPlatform::Settings::standard());

    // The store over the standard settings, created on first use.
    static CompletionPreferencesStore& shared();

    const std::shared_ptr<CarvexPlatform::Settings>& defaults() const { return defaults_; }

    bool isAutoCompletionEnabled() const;  // false when absent
    void setAutoCompletionEnabled(bool value);
    bool isDirectInsertEnabled() const;    // true when absent
    void setDirectInsertEnabled(bool value);
    bool isInlineSnippetEnabled() const;   // true when absent
    void setInlineSnippetEnabled(bool value);

    // Removes the three keys, so every getter returns its default again.
    void reset();

private:
    bool read(const QString& key, bool whenAbsent) const;

    std::shared_ptr<CarvexPlatform::Settings> defaults_;
};

}  // namespace Carvex
