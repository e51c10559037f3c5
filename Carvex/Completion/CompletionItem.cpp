#include "Carvex/Completion/CompletionItem.h"

#include "Carvex/Completion/CompletionTextOrder.h"

#include <QHash>
#include <QRandomGenerator>

#include <cstdint>
#include <random>
#include <utility>

namespace Carvex {

namespace {

// A random (version 4) UUID. The system generator costs a system call per id, far too slow for
// thousands of proposals per request, so each thread draws from a generator seeded from it once.
QUuid newItemId()
{
    thread_local std::mt19937_64 generator = [] {
        std::seed_seq seed{QRandomGenerator::system()->generate(), QRandomGenerator::system()->generate(),
                           QRandomGenerator::system()->generate(), QRandomGenerator::system()->generate()};
        return std::mt19937_64(seed);
    }();
    const std::uint64_t high = generator();
    const std::uint64_t low = generator();
    std::uint8_t bytes[16];
    for (int i = 0; i < 8; ++i) {
        bytes[i] = static_cast<std::uint8_t>(high >> (56 - 8 * i));
        bytes[8 + i] = static_cast<std::uint8_t>(low >> (56 - 8 * i));
    }
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40); // version 4
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    return QUuid::fromRfc4122(QByteArrayView(bytes, 16));
}

} // namespace

CompletionItem::CompletionItem(QString label, std::optional<QString> insertText, CompletionItemKind kind,
                               std::optional<QString> shortDescription, std::optional<QString> description,
                               std::optional<QString> detail, int priority, bool requiresColon, bool requiresValue,
                               std::optional<SnippetMetadata> snippetMetadata)
    : id(newItemId())
    , label(std::move(label))
    , insertText(insertText ? std::move(*insertText) : this->label)
    , kind(kind)
    , shortDescription(std::move(shortDescription))
    , description(std::move(description))
    , detail(std::move(detail))
    , priority(priority)
    , requiresColon(requiresColon)
    , requiresValue(requiresValue)
    , snippetMetadata(std::move(snippetMetadata))
{
}

std::size_t CompletionItem::hash() const
{
    return qHash(id);
}

bool operator<(const CompletionItem& a, const CompletionItem& b)
{
    if (a.priority != b.priority)
        return a.priority > b.priority;
    return compareCompletionTexts(a.label, b.label) < 0;
}

} // namespace Carvex
