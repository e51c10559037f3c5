#pragma once

#include "Carvex/Indentation/AutoIndentEditPlan.h"
#include "Carvex/Indentation/IndentationDetector.h"
#include "Carvex/Indentation/IndentationPreferencesStore.h"
#include "Carvex/Indentation/JSONAutoIndentStrategy.h"
#include "Carvex/Indentation/YAMLAutoIndentStrategy.h"
#include "Carvex/Syntax/DocumentLanguage.h"

#include <optional>

namespace Carvex {

// The pure part of auto-indentation: chooses the indentation unit and the strategy, and plans
// what Return inserts.
struct AutoIndentEngine {
    JSONAutoIndentStrategy jsonStrategy;
    YAMLAutoIndentStrategy yamlStrategy;
    IndentationDetector detector{200};
    IndentationPreferencesStore preferencesStore;

    explicit AutoIndentEngine(IndentationPreferencesStore store) : preferencesStore(std::move(store)) {}

    // The style the text shows, else the user's.
    IndentationStyle detectIndentationStyle(QStringView text) const;

    // YAML plans by the YAML strategy, every other language by the JSON one.
    std::optional<AutoIndentEditPlan> computeEditPlan(const QString& text, qsizetype caretLocation,
                                                      DocumentLanguage language,
                                                      std::optional<IndentationStyle> detectedStyle,
                                                      bool shouldAutoCloseBracket) const;
};

} // namespace Carvex
