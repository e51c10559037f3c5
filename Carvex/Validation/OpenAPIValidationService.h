#pragma once

#include "Carvex/Validation/OpenAPIValidating.h"
#include "kit/facade/OpenApiParser.h"
#include "platform/MainScheduler.h"

#include <memory>

namespace VoziZazIreCore {
class Diagnostic;
}

namespace Carvex {

// Validates a description with the library (format detected from the text, every rule on) and
// turns what comes back, findings or a thrown error, into one `CarvexValidationResult`. The
// library keeps no state, so the work runs on a background thread: a large description never
// stalls typing; the result comes back on the main scheduler. Holds no state between calls.
class OpenAPIValidationService : public OpenAPIValidating {
public:
    explicit OpenAPIValidationService(
        std::shared_ptr<CarvexPlatform::MainScheduler> scheduler =
            CarvexPlatform::MainScheduler::shared());

    CarvexPlatform::WorkItem validate(const QString& text, Completion completion) const override;

    // The same validation on the calling thread (any thread).
    CarvexValidationResult validateNow(const QString& text) const;

    const VoziZazIre::OpenApiParser& parser() const { return parser_; }

    // The first "<digits>.<digits>" of a refusal message, or "unknown".
    static QString versionIn(const QString& message);
    // A library finding as the application keeps it.
    static CarvexValidationError makeError(const VoziZazIreCore::Diagnostic& diagnostic);

private:
    VoziZazIre::OpenApiParser parser_;
    std::shared_ptr<CarvexPlatform::MainScheduler> scheduler_;
};

}  // namespace Carvex
