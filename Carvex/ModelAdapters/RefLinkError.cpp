#include "Carvex/ModelAdapters/RefLinkError.h"

namespace Carvex {

RefLinkError::RefLinkError(Kind kind, QString path)
    : kind_(kind), path_(std::move(path)), description_(errorDescription().toStdString())
{
}

QString RefLinkError::errorDescription() const
{
    switch (kind_) {
    case Kind::invalidPath:
        return QStringLiteral("Invalid reference path: ") + path_;
    case Kind::targetNotFound:
        return QStringLiteral("Cannot find target: ") + path_;
    case Kind::externalRefNotSupported:
        return QStringLiteral("External references not supported: ") + path_;
    case Kind::noModelAvailable:
        break;
    }
    return QStringLiteral("No parsed model available");
}

} // namespace Carvex
