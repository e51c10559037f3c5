#include "Carvex/Validation/ValidationDecoration.h"

namespace Carvex {

QString ValidationDecoration::tooltipText() const {
    QString text = error.message;
    if (error.sourceLocation) {
        text += QStringLiteral(" (%1:%2)")
                    .arg(error.sourceLocation->line)
                    .arg(error.sourceLocation->column);
    }
    if (error.description && !error.description->isEmpty()) {
        text += QStringLiteral("\n\n") + *error.description;
    }
    return text;
}

}  // namespace Carvex
