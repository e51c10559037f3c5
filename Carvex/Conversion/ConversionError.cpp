#include "Carvex/Conversion/ConversionError.h"

namespace Carvex {

ConversionError::ConversionError(Kind kind, QString message) : kind_(kind), message_(std::move(message)) {
    what_ = localizedDescription().toStdString();
}

QString ConversionError::localizedDescription() const {
    switch (kind_) {
        case Kind::parsingFailed: return QStringLiteral("Parsing failed: ") + message_;
        case Kind::conversionFailed: return QStringLiteral("Conversion failed: ") + message_;
        case Kind::unknownFormat: return QStringLiteral("Could not determine document format");
        case Kind::emptyDocument: return QStringLiteral("Document is empty");
    }
    return {};
}

}  // namespace Carvex
