#include "Carvex/Validation/OpenAPIValidationService.h"

#include "kit/core/Diagnostic.h"
#include "kit/core/ParseError.h"
#include "kit/core/TransformError.h"
#include "platform/BackgroundTask.h"

#include <QRegularExpression>

namespace Carvex {

namespace {

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

std::optional<QString> fromUtf8(const std::optional<std::string>& text) {
    if (!text) {
        return std::nullopt;
    }
    return QString::fromStdString(*text);
}

SourceLocation makeLocation(const VoziZazIreCore::SourceLocation& location) {
    return SourceLocation{QString(), location.line, location.column, location.offset};
}

bool isBlank(const QString& text) {
    for (QChar c : text) {
        if (!c.isSpace()) {
            return false;
        }
    }
    return true;
}

CarvexValidationError parsingError(QString message, std::optional<QString> description,
                                   std::optional<QString> jsonPointer,
                                   const std::optional<VoziZazIreCore::SourceRange>& range) {
    CarvexValidationError error;
    error.id = QUuid::createUuid();
    error.message = std::move(message);
    error.description = std::move(description);
    error.jsonPointer = std::move(jsonPointer);
    if (range) {
        error.sourceLocation = makeLocation(range->start);
        error.endLocation = makeLocation(range->end);
    }
    error.severity = CarvexValidationSeverity::error;
    error.isParsingError = true;
    return error;
}

// The text as the library should read it. A lone carriage return (old Mac OS line ends) breaks the
// line in the editor, but the library's readers break lines only at LF and CR LF: a YAML file would
// read as one long line and fail, and the findings of a JSON file would all land on line 1. Each
// lone CR becomes an LF, one unit for one, so offsets stay; CR LF pairs stay as they are.
QByteArray libraryText(const QString& text) {
    QByteArray utf8 = text.toUtf8();
    const qsizetype size = utf8.size();
    for (qsizetype i = utf8.indexOf('\r'); i >= 0; i = utf8.indexOf('\r', i + 1)) {
        if (i + 1 == size || utf8[i + 1] != '\n') {
            utf8[i] = '\n';
        }
    }
    return utf8;
}

}  // namespace

OpenAPIValidationService::OpenAPIValidationService(
    std::shared_ptr<CarvexPlatform::MainScheduler> scheduler)
    : scheduler_(std::move(scheduler)) {}

CarvexPlatform::WorkItem OpenAPIValidationService::validate(const QString& text,
                                                            Completion completion) const {
    // The text is shared with the caller, not copied: the background thread only reads it.
    return CarvexPlatform::BackgroundTask::run(
        [service = *this, text] { return service.validateNow(text); },
        [completion = std::move(completion)](CarvexValidationResult result) {
            if (completion) {
                completion(std::move(result));
            }
        },
        scheduler_);
}

CarvexValidationResult OpenAPIValidationService::validateNow(const QString& text) const {
    if (isBlank(text)) {
        return CarvexValidationResult::parsingError(
            parsingError(QStringLiteral("Document is empty"),
                         QStringLiteral("The document contains no content to validate."),
                         std::nullopt, std::nullopt));
    }
    try {
        const QByteArray utf8 = libraryText(text);
        const VoziZazIre::ParseResult result =
            parser_.parse(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
                          VoziZazIre::Format::auto_, VoziZazIreCore::ValidationLevel::high);
        if (result.diagnostics.empty()) {
            return CarvexValidationResult::success();
        }
        std::vector<CarvexValidationError> errors;
        errors.reserve(result.diagnostics.size());
        for (const auto& diagnostic : result.diagnostics) {
            errors.push_back(makeError(diagnostic));
        }
        return CarvexValidationResult::validationErrors(std::move(errors));
    } catch (const VoziZazIreCore::ParseError& error) {
        std::optional<QString> description;
        if (error.underlying()) {
            description = QString::fromUtf8(error.underlying()->what());
        }
        return CarvexValidationResult::parsingError(
            parsingError(fromUtf8(error.message()), description, std::nullopt, error.range()));
    } catch (const VoziZazIreCore::TransformError& error) {
        const QString message = fromUtf8(error.message());
        if (message.contains(QLatin1String("not yet supported")) ||
            message.contains(QLatin1String("not supported"))) {
            return CarvexValidationResult::unsupportedVersion(versionIn(message));
        }
        return CarvexValidationResult::parsingError(
            parsingError(message, std::nullopt, fromUtf8(error.jsonPointer()), error.range()));
    } catch (const std::exception& error) {
        return CarvexValidationResult::parsingError(
            parsingError(QStringLiteral("Failed to validate document"),
                         QString::fromUtf8(error.what()), std::nullopt, std::nullopt));
    } catch (...) {
        return CarvexValidationResult::parsingError(
            parsingError(QStringLiteral("Failed to validate document"),
                         QStringLiteral("An unknown error occurred."), std::nullopt,
                         std::nullopt));
    }
}

QString OpenAPIValidationService::versionIn(const QString& message) {
    const QRegularExpression pattern(QStringLiteral("(\\d+\\.\\d+)"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch match = pattern.match(message);
    if (!pattern.isValid() || !match.hasMatch() || match.capturedStart(1) < 0) {
        return QStringLiteral("unknown");
    }
    return match.captured(1);
}

CarvexValidationError OpenAPIValidationService::makeError(
    const VoziZazIreCore::Diagnostic& diagnostic) {
    CarvexValidationError error;
    error.id = QUuid::createUuid();
    error.message = fromUtf8(diagnostic.message());
    error.description = fromUtf8(diagnostic.context());
    error.jsonPointer = fromUtf8(diagnostic.jsonPointer());
    if (const auto& range = diagnostic.range()) {
        error.sourceLocation = makeLocation(range->start);
        error.endLocation = makeLocation(range->end);
    }
    error.severity = diagnostic.severity() == VoziZazIreCore::DiagnosticSeverity::error
                         ? CarvexValidationSeverity::error
                         : CarvexValidationSeverity::warning;
    error.isParsingError = false;
    return error;
}

}  // namespace Carvex
