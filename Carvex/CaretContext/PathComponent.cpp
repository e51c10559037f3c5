#include "Carvex/CaretContext/PathComponent.h"

#include <QHash>

#include <array>

namespace Carvex {

namespace {

const QString& emptyName()
{
    static const QString empty;
    return empty;
}

} // namespace

bool PathComponent::isDynamicKeyParent(QStringView name)
{
    static constexpr std::array<QStringView, 11> parents = {
        QStringView(u"paths"),           QStringView(u"schemas"),  QStringView(u"responses"),
        QStringView(u"parameters"),      QStringView(u"examples"), QStringView(u"requestBodies"),
        QStringView(u"headers"),         QStringView(u"securitySchemes"), QStringView(u"links"),
        QStringView(u"callbacks"),       QStringView(u"pathItems"),
    };
    for (QStringView parent : parents) {
        if (name.size() == parent.size() && name == parent)
            return true;
    }
    return false;
}

PathComponent PathComponent::forKey(QString name, const std::vector<PathComponent>& parentPath)
{
    if (!parentPath.empty()) {
        const PathComponent& last = parentPath.back();
        if (last.kind() == Case::key && isDynamicKeyParent(std::get<0>(last.value_)))
            return dynamicKey(std::move(name));
    }
    return key(std::move(name));
}

const QString& PathComponent::name() const
{
    switch (value_.index()) {
    case 0: return std::get<0>(value_);
    case 2: return std::get<2>(value_);
    default: return emptyName();
    }
}

QString PathComponent::text() const
{
    if (value_.index() == 1)
        return QString::number(std::get<1>(value_));
    return name();
}

std::size_t PathComponent::hash() const
{
    std::size_t seed = value_.index();
    const std::size_t payload =
        value_.index() == 1 ? std::hash<int>()(std::get<1>(value_)) : static_cast<std::size_t>(qHash(name()));
    // Boost-style combine of the discriminator and the payload.
    seed ^= payload + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    return seed;
}

QString jsonPointer(const std::vector<PathComponent>& path)
{
    QString pointer;
    for (const PathComponent& component : path) {
        pointer += u'/';
        pointer += jsonPointerToken(component.text());
    }
    return pointer;
}

QString jsonPointerToken(QString key)
{
    key.replace(u'~', QStringLiteral("~0"));
    key.replace(u'/', QStringLiteral("~1"));
    return key;
}

std::vector<PathComponent> strippingTrailingIndices(std::vector<PathComponent> path)
{
    while (!path.empty() && path.back().isIndex())
        path.pop_back();
    return path;
}

} // namespace Carvex
