#include "Carvex/Completion/ReferenceTarget.h"

#include "Carvex/CaretContext/PathComponent.h"
#include "Carvex/Completion/CompletionTextOrder.h"

#include <QByteArrayView>
#include <QHash>

#include <utility>

namespace Carvex {

ReferenceTarget::ReferenceTarget(ReferenceKind kind, QString name)
    : kind(kind)
    , name(std::move(name))
    , pointer(pointerPrefix(kind) + jsonPointerToken(this->name))
{
}

ReferenceTarget::ReferenceTarget(ReferenceKind kind, QString name, QString pointer)
    : kind(kind)
    , name(std::move(name))
    , pointer(std::move(pointer))
{
}

std::size_t ReferenceTarget::hash() const
{
    const std::string_view raw = rawValue(kind);
    return qHashMulti(0, QByteArrayView(raw.data(), static_cast<qsizetype>(raw.size())), name, pointer);
}

bool operator<(const ReferenceTarget& a, const ReferenceTarget& b)
{
    const std::string_view left = rawValue(a.kind);
    const std::string_view right = rawValue(b.kind);
    if (left == right)
        return compareCompletionTexts(a.name, b.name) < 0;
    return left < right;
}

} // namespace Carvex
