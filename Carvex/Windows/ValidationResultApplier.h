#pragma once

#include "Carvex/Logging/DocumentLogger.h"
#include "Carvex/Validation/CarvexValidationResult.h"
#include "Carvex/Validation/ValidationDecoration.h"
#include "Carvex/Validation/ValidationRangeConverter.h"
#include "platform/WorkItem.h"

#include <QString>
#include <chrono>
#include <cstddef>
#include <functional>
#include <vector>

namespace Carvex {

// Brings a validation result to its document's log and places its marks a slice at a time: each
// turn of the main queue writes entries and places marks until its budget of main-thread time is
// spent and leaves the rest to the next turn, so that a result with thousands of findings never
// holds the main thread for long. The entries keep the result's order (the outcome, then one per
// finding); the marks are placed in the text that was validated, and handed over together, in the
// order of the findings, once the log is complete. Cancelling (or destroying) the applier drops
// what is left. Main thread only.
class ValidationResultApplier {
public:
    // Main-thread time one turn may take before it hands over to the next.
    static constexpr std::chrono::microseconds sliceBudget{8000};

    // Receives the marks placed in the validated text (none for a result that clears them).
    using Finished = std::function<void(std::vector<ValidationDecoration> marks)>;

    // `budget`: the main-thread time of one turn (at least one step is taken per turn).
    ValidationResultApplier(CarvexValidationResult result, DocumentLogger logger, QString validatedText,
                            Finished finished, std::chrono::microseconds budget = sliceBudget);
    ~ValidationResultApplier();
    ValidationResultApplier(const ValidationResultApplier&) = delete;
    ValidationResultApplier& operator=(const ValidationResultApplier&) = delete;

    // Runs the first slice now and the others on later turns.
    void start();
    // Drops what is not done yet; `finished` is not called.
    void cancel();
    bool isRunning() const { return running_; }

    // The entries a result writes, in order: how many, and writing the one at `index`.
    static std::size_t entryCount(const CarvexValidationResult& result);
    static void writeEntry(const CarvexValidationResult& result, std::size_t index, const DocumentLogger& logger);

private:
    void runSlice();

    CarvexValidationResult result_;
    DocumentLogger logger_;
    QString validatedText_;
    Finished finished_;
    std::chrono::microseconds budget_;
    std::vector<CarvexValidationError> findings_;
    std::vector<ValidationDecoration> placed_;
    ValidationRangeConverter converter_;
    std::size_t nextEntry_ = 0;
    std::size_t nextFinding_ = 0;
    bool running_ = false;
    CarvexPlatform::WorkItem nextSlice_;
};

}  // namespace Carvex
