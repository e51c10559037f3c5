#include "Carvex/ModelAdapters/ExampleSource.h"

#include <QHash>

namespace Carvex {

namespace {

std::size_t combine(std::size_t seed, std::size_t value) noexcept
{
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

std::string_view trimmingQuotes(std::string_view text)
{
    const auto isQuote = [](char c) { return c == '\'' || c == '"'; };
    while (!text.empty() && isQuote(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isQuote(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

QString ExampleSource::displayTitle() const
{
    if (kind_ == Kind::requestBody)
        return QStringLiteral("Request Body (") + contentType_ + QLatin1Char(')');
    return statusCode_ + QStringLiteral(" Response (") + contentType_ + QLatin1Char(')');
}

std::size_t ExampleSource::hash() const noexcept
{
    std::size_t seed = combine(0, kind_ == Kind::requestBody ? 0 : 1);
    if (kind_ == Kind::response)
        seed = combine(seed, qHash(statusCode_));
    return combine(seed, qHash(contentType_));
}

bool statusCodesMatch(std::string_view key, std::string_view code)
{
    return trimmingQuotes(key) == trimmingQuotes(code);
}

} // namespace Carvex
