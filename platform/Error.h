#pragma once
#include <QString>

namespace CarvexPlatform {

// A failure reported to the caller and, where it reaches the user, shown: a domain, a code within
// it and the description the user reads.
struct Error {
    static inline const QString osStatusDomain = QStringLiteral("NSOSStatusErrorDomain");
    static inline const QString cocoaDomain = QStringLiteral("NSCocoaErrorDomain");
    // The user cancelled (a panel, an alert): nothing to report.
    static constexpr int userCancelledCode = 3072;
    // A file that could not be read or written.
    static constexpr int fileReadUnknownCode = 256;
    static constexpr int fileWriteUnknownCode = 512;

    QString domain;
    int code = 0;
    QString localizedDescription;

    static Error userCancelled() {
        return Error{cocoaDomain, userCancelledCode, QStringLiteral("The operation was cancelled.")};
    }
    bool isUserCancelled() const { return domain == cocoaDomain && code == userCancelledCode; }
    bool operator==(const Error&) const = default;
};

}  // namespace CarvexPlatform
