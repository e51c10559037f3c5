#include "Carvex/ModelAdapters/OpenAPIModelParsingService.h"

#include "kit/core/ParseError.h"
#include "kit/core/TransformError.h"

#include <exception>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Carvex {

namespace {

QString fromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

bool OpenAPIModelParsingService::isBlank(const QString& text)
{
    for (QChar c : text) {
        if (!c.isSpace())
            return false;
    }
    return true;
}

std::optional<QByteArray> OpenAPIModelParsingService::strictUtf8(const QString& text)
{
    const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype count = text.size();
    // Surrogates are rare: they are looked for eight units at a time, and each one found must be the
    // high half of a pair whose low half follows.
    const auto pairedAt = [&](qsizetype i) {
        return units[i] < 0xDC00 && i + 1 < count && (units[i + 1] & 0xFC00) == 0xDC00;
    };
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i surrogateBits = _mm_set1_epi16(short(0xF800));
    const __m128i surrogate = _mm_set1_epi16(short(0xD800));
    while (i + 8 <= count) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i));
        const int hits = _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(chunk, surrogateBits), surrogate));
        if (hits == 0) {
            i += 8;
            continue;
        }
        i += __builtin_ctz(unsigned(hits)) / 2;
        if (!pairedAt(i))
            return std::nullopt;
        i += 2;
    }
#endif
    for (; i < count; ++i) {
        if ((units[i] & 0xF800) != 0xD800)
            continue;
        if (!pairedAt(i))
            return std::nullopt;
        ++i;
    }
    return text.toUtf8();
}

OpenAPIModelParseResult OpenAPIModelParsingService::parse(const QString& text, DocumentFormat format) const
{
    if (isBlank(text))
        return OpenAPIParseError::emptyDocument();
    VoziZazIre::Format facadeFormat;
    switch (format) {
    case DocumentFormat::yaml: facadeFormat = VoziZazIre::Format::yaml; break;
    case DocumentFormat::json: facadeFormat = VoziZazIre::Format::json; break;
    case DocumentFormat::unknown:
    default: return OpenAPIParseError::unsupportedFormat();
    }
    try {
        const std::optional<QByteArray> utf8 = strictUtf8(text);
        if (!utf8)
            return OpenAPIParseError::decodingFailed(QStringLiteral("Failed to convert string to UTF-8 data"));
        const std::string_view bytes(utf8->constData(), static_cast<std::size_t>(utf8->size()));
        VoziZazIre::ParseResult result = parser.parse(bytes, facadeFormat, VoziZazIreCore::ValidationLevel::none);
        return ParsedOpenAPIModel(result.document);
    } catch (const VoziZazIreCore::TransformError& error) {
        const QString message = fromUtf8(error.message());
        if (error.message().find("not yet supported") != std::string::npos)
            return OpenAPIParseError::unsupportedVersion(message);
        return OpenAPIParseError::decodingFailed(message);
    } catch (const VoziZazIreCore::ParseError& error) {
        return OpenAPIParseError::decodingFailed(fromUtf8(error.description()));
    } catch (const std::bad_alloc&) {
        return OpenAPIParseError::decodingFailed(QStringLiteral("Not enough memory to parse the document"));
    } catch (const std::exception& error) {
        return OpenAPIParseError::decodingFailed(QString::fromUtf8(error.what()));
    } catch (...) {
        return OpenAPIParseError::decodingFailed(QStringLiteral("Unknown error"));
    }
}

} // namespace Carvex
