#include "Carvex/Manual/ManualSchemeHandler.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <array>
#include <utility>

namespace Carvex {

namespace {

ManualSchemeHandler::Answer failed(ManualSchemeHandler::Answer::Failure failure,
                                   QString description = {}) {
    ManualSchemeHandler::Answer answer;
    answer.failure = failure;
    answer.errorDescription = std::move(description);
    return answer;
}

// Whether `path` lies inside `root` once links are followed (folders on disk only; the compiled-in
// resources have none).
bool staysInsideOnDisk(const QString& root, const QString& path) {
    if (root.startsWith(u':')) {
        return true;
    }
    const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
    const QString canonicalPath = QFileInfo(path).canonicalFilePath();
    return !canonicalRoot.isEmpty() && canonicalPath.startsWith(canonicalRoot + u'/');
}

}  // namespace

ManualSchemeHandler::ManualSchemeHandler(ManualResourceLocator resourceLocator, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), resourceLocator_(std::move(resourceLocator)) {}

void ManualSchemeHandler::registerScheme() {
    if (QWebEngineUrlScheme::schemeByName(scheme).name() == scheme) {
        return;
    }
    QWebEngineUrlScheme manual(scheme);
    manual.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    manual.setFlags(QWebEngineUrlScheme::SecureScheme);
    QWebEngineUrlScheme::registerScheme(manual);
}

QString ManualSchemeHandler::mimeType(const QString& extension) {
    static const std::array<std::pair<QLatin1String, QLatin1String>, 9> table = {{
        {QLatin1String("html"), QLatin1String("text/html")},
        {QLatin1String("css"), QLatin1String("text/css")},
        {QLatin1String("js"), QLatin1String("application/javascript")},
        {QLatin1String("png"), QLatin1String("image/png")},
        {QLatin1String("jpg"), QLatin1String("image/jpeg")},
        {QLatin1String("jpeg"), QLatin1String("image/jpeg")},
        {QLatin1String("svg"), QLatin1String("image/svg+xml")},
        {QLatin1String("gif"), QLatin1String("image/gif")},
        {QLatin1String("webp"), QLatin1String("image/webp")},
    }};
    const QString lower = extension.toLower();
    for (const auto& [ext, type] : table) {
        if (lower == ext) {
            return type;
        }
    }
    return QStringLiteral("application/octet-stream");
}

std::optional<QString> ManualSchemeHandler::filePath(const QString& root, const QUrl& url) {
    QString path = url.path(QUrl::FullyDecoded);
    if (path.contains(QChar(u'\0'))) {
        return std::nullopt;
    }
    path.replace(u'\\', u'/');
    if (path.startsWith(u'/')) {
        path.remove(0, 1);
    }
    // A parent step anywhere is refused outright, even one that would come back inside.
    for (const QStringView segment : QStringView(path).split(u'/')) {
        if (segment == u"..") {
            return std::nullopt;
        }
    }
    const QString cleanRoot = QDir::cleanPath(root);
    const QString joined = QDir::cleanPath(cleanRoot + u'/' + path);
    if (!joined.startsWith(cleanRoot + u'/')) {
        return std::nullopt;
    }
    return joined;
}

ManualSchemeHandler::Answer ManualSchemeHandler::answer(const QUrl& url) const {
    using Failure = Answer::Failure;
    if (url.isEmpty()) {
        return failed(Failure::fileDoesNotExist);
    }
    const std::optional<QString> root = resourceLocator_.rootFolder();
    if (!root) {
        return failed(Failure::fileDoesNotExist);
    }
    const std::optional<QString> path = filePath(*root, url);
    if (!path || !QFileInfo(*path).isFile() || !staysInsideOnDisk(*root, *path)) {
        return failed(Failure::fileDoesNotExist);
    }
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly)) {
        return failed(Failure::readFailed, file.errorString());
    }
    Answer result;
    result.data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return failed(Failure::readFailed, file.errorString());
    }
    result.mimeType = mimeType(QFileInfo(*path).suffix());
    if (result.mimeType.startsWith(QLatin1String("text/"))) {
        result.textEncodingName = QStringLiteral("utf-8");
    }
    return result;
}

void ManualSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const Answer result = answer(job->requestUrl());
    if (!result.succeeded()) {
        job->fail(*result.failure == Answer::Failure::readFailed
                      ? QWebEngineUrlRequestJob::RequestFailed
                      : QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    QByteArray contentType = result.mimeType.toLatin1();
    if (!result.textEncodingName.isEmpty()) {
        contentType += ";charset=" + result.textEncodingName.toLatin1();
    }
    // The job deletes the buffer when the request ends.
    auto* buffer = new QBuffer(job);
    buffer->setData(result.data);
    buffer->open(QIODevice::ReadOnly);
    job->reply(contentType, buffer);
}

}  // namespace Carvex
