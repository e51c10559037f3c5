#include "Carvex/Windows/ValidationResultApplier.h"

#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Validation/ValidationDecorationController.h"
#include "platform/MainScheduler.h"

#include <QElapsedTimer>

namespace Carvex {

ValidationResultApplier::ValidationResultApplier(CarvexValidationResult result, DocumentLogger logger,
                                                 QString validatedText, Finished finished,
                                                 std::chrono::microseconds budget)
    : result_(std::move(result)),
      logger_(std::move(logger)),
      validatedText_(std::move(validatedText)),
      finished_(std::move(finished)),
      budget_(budget) {}

ValidationResultApplier::~ValidationResultApplier() { nextSlice_.cancel(); }

void ValidationResultApplier::start() {
    if (running_) {
        return;
    }
    running_ = true;
    findings_ = result_.findings();
    placed_.reserve(findings_.size());
    runSlice();
}

void ValidationResultApplier::cancel() {
    nextSlice_.cancel();
    running_ = false;
    finished_ = nullptr;
}

std::size_t ValidationResultApplier::entryCount(const CarvexValidationResult& result) {
    const auto* findings = result.validationErrorsValue();
    return findings ? findings->size() + 1 : 1;
}

void ValidationResultApplier::writeEntry(const CarvexValidationResult& result, std::size_t index,
                                         const DocumentLogger& logger) {
    switch (result.kind()) {
        case CarvexValidationResult::Kind::success:
            logger.success(QStringLiteral("Document is valid"));
            return;
        case CarvexValidationResult::Kind::unsupportedVersion:
            logger.error(QStringLiteral("Unsupported OpenAPI version"),
                         QStringLiteral("OpenAPI version '") + *result.unsupportedVersionValue() +
                             QStringLiteral("' is not supported. Please use OpenAPI 3.0 or 3.1."));
            return;
        case CarvexValidationResult::Kind::parsingError: {
            const CarvexValidationError& error = *result.parsingErrorValue();
            const QString lead = error.isParsingError ? QStringLiteral("Parsing error") : QStringLiteral("Validation error");
            logger.error(lead + QStringLiteral(": ") + error.message, error.description, error.sourceLocation,
                         error.jsonPointer);
            return;
        }
        case CarvexValidationResult::Kind::validationErrors:
            break;
    }
    const std::vector<CarvexValidationError>& findings = *result.validationErrorsValue();
    if (index == 0) {
        qsizetype errors = 0;
        qsizetype warnings = 0;
        for (const CarvexValidationError& finding : findings) {
            (finding.severity == CarvexValidationSeverity::error ? errors : warnings) += 1;
        }
        if (errors > 0) {
            logger.error(QStringLiteral("Validation failed with %1 error(s) and %2 warning(s)").arg(errors).arg(warnings));
        } else {
            logger.warning(QStringLiteral("Validation completed with %1 warning(s)").arg(warnings));
        }
        return;
    }
    if (index > findings.size()) {
        return;
    }
    const CarvexValidationError& finding = findings[index - 1];
    if (finding.severity == CarvexValidationSeverity::error) {
        logger.error(finding.message, finding.description, finding.sourceLocation, finding.jsonPointer);
    } else {
        logger.warning(finding.message, finding.description, finding.sourceLocation, finding.jsonPointer);
    }
}

void ValidationResultApplier::runSlice() {
    if (!running_) {
        return;
    }
    QElapsedTimer spent;
    spent.start();
    const qint64 budget = std::chrono::nanoseconds(budget_).count();
    // At least one step per turn, so that every turn moves on.
    const std::size_t entries = entryCount(result_);
    do {
        if (nextEntry_ < entries) {
            writeEntry(result_, nextEntry_++, logger_);
        } else if (nextFinding_ < findings_.size()) {
            if (auto decoration = ValidationDecorationController::place(findings_[nextFinding_], converter_, validatedText_)) {
                placed_.push_back(std::move(*decoration));
            }
            ++nextFinding_;
        } else {
            running_ = false;
            Finished finished = std::move(finished_);
            finished_ = nullptr;
            std::vector<ValidationDecoration> placed = std::move(placed_);
            if (finished) {
                finished(std::move(placed));  // may end this applier: nothing after it
            }
            return;
        }
    } while (spent.nsecsElapsed() < budget);
    nextSlice_ = CarvexPlatform::MainScheduler::shared()->postCancellable([this] { runSlice(); });
}

}  // namespace Carvex
