#include "Carvex/Indentation/AutoIndentEngine.h"

namespace Carvex {

IndentationStyle AutoIndentEngine::detectIndentationStyle(QStringView text) const
{
    return detector.detect(text).value_or(preferencesStore.indentationStyle());
}

std::optional<AutoIndentEditPlan> AutoIndentEngine::computeEditPlan(const QString& text, qsizetype caretLocation,
                                                                    DocumentLanguage language,
                                                                    std::optional<IndentationStyle> detectedStyle,
                                                                    bool shouldAutoCloseBracket) const
{
    const IndentationStyle style = detectedStyle ? *detectedStyle : detectIndentationStyle(text);
    const AutoIndentContext context = AutoIndentContext::make(text, caretLocation, style, shouldAutoCloseBracket);
    if (language == DocumentLanguage::yaml)
        return yamlStrategy.computeIndent(context);
    return jsonStrategy.computeIndent(context);
}

} // namespace Carvex
