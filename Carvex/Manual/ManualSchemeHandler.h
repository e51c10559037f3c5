#pragma once

#include "Carvex/Manual/ManualResourceLocator.h"

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>
#include <optional>

class QWebEngineUrlRequestJob;

namespace Carvex {

// Serves the manual's files to the web view under the scheme "manual": the URL's path (the host
// is ignored) names a file under the manual's root, answered whole with a MIME type chosen by its
// extension. A path that leaves the root, once percent-decoded and cleaned, is a missing file.
// Answers each request synchronously and keeps no list of running requests. Main thread only.
class ManualSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT

public:
    static inline const QByteArray scheme = QByteArrayLiteral("manual");

    // What a request gets: the file's bytes with their type, or a failure.
    struct Answer {
        enum class Failure { fileDoesNotExist, readFailed };

        QByteArray data;
        QString mimeType;
        // "utf-8" for text types, empty otherwise.
        QString textEncodingName;
        std::optional<Failure> failure;
        // The reading error's description, when reading failed.
        QString errorDescription;

        bool succeeded() const { return !failure.has_value(); }
    };

    explicit ManualSchemeHandler(ManualResourceLocator resourceLocator, QObject* parent = nullptr);

    // Makes the scheme known to the web engine; must run before the application object exists.
    // Repeated calls do nothing.
    static void registerScheme();

    // The MIME type of a file extension, compared in lower case; "application/octet-stream" for
    // extensions outside the table.
    static QString mimeType(const QString& extension);
    // The file a URL names under `root`: its path percent-decoded, backslashes read as slashes,
    // one leading slash dropped. Nothing when the path leaves the root or holds a NUL.
    static std::optional<QString> filePath(const QString& root, const QUrl& url);

    const ManualResourceLocator& resourceLocator() const { return resourceLocator_; }

    // The answer to a request for `url`.
    Answer answer(const QUrl& url) const;

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    ManualResourceLocator resourceLocator_;
};

}  // namespace Carvex
