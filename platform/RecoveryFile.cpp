#include "platform/RecoveryFile.h"

#include "platform/FileWriting.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace CarvexPlatform::RecoveryFile {

namespace {

// Names shorter than the file system's limit of 255 bytes, with room for the time and a number.
constexpr qsizetype longestBaseName = 100;
// Numbers tried for one second before giving up.
constexpr int mostNumbers = 10000;

Error failure(const QString& documentName, const QString& what, int error) {
    return Error{Error::cocoaDomain, Error::fileWriteUnknownCode,
                 QStringLiteral("The text of \u201C%1\u201D couldn\u2019t be kept in %2: %3")
                     .arg(documentName, what, QString::fromLocal8Bit(std::strerror(error)))};
}

// Makes each missing folder of `path` (mode 0700) and closes the last one to others.
std::optional<Error> makeFolder(const QString& path, const QString& documentName) {
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString partial;
    for (const QString& part : parts) {
        partial += QLatin1Char('/') + part;
        if (::mkdir(QFile::encodeName(partial).constData(), 0700) != 0 && errno != EEXIST) {
            return failure(documentName, partial, errno);
        }
    }
    const QByteArray encoded = QFile::encodeName(path);
    struct stat status {};
    if (::stat(encoded.constData(), &status) != 0) {
        return failure(documentName, path, errno);
    }
    if (!S_ISDIR(status.st_mode)) {
        return failure(documentName, path, ENOTDIR);
    }
    if (status.st_uid == ::getuid() && (status.st_mode & 077) != 0 && ::chmod(encoded.constData(), 0700) != 0) {
        return failure(documentName, path, errno);
    }
    return std::nullopt;
}

// Renames `from` to `to` unless a file is there; falls back to a link where the file system has no
// such rename. False with errno set (EEXIST: the name is taken).
bool renameWithoutReplacing(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    if (::link(from.constData(), to.constData()) != 0) {
        return false;
    }
    ::unlink(from.constData());
    return true;
}

}  // namespace

QString folder() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(base + QStringLiteral("/Carvex/Recovered"));
}

QString fileName(const QString& documentName, const QString& extension, const QDateTime& time, int number) {
    QString base = documentName;
    const QString suffix = extension.isEmpty() ? QString() : QLatin1Char('.') + extension;
    if (!suffix.isEmpty() && base.size() > suffix.size() && base.endsWith(suffix, Qt::CaseInsensitive)) {
        base.chop(suffix.size());
    }
    base.replace(QLatin1Char('/'), QLatin1Char('-'));
    base.remove(QChar(0));
    if (base.size() > longestBaseName) {
        // Never between the halves of a surrogate pair.
        base.truncate(base.at(longestBaseName - 1).isHighSurrogate() ? longestBaseName - 1 : longestBaseName);
    }
    if (base.trimmed().isEmpty()) {
        base = QStringLiteral("Untitled");
    }
    QString cleanSuffix = suffix;
    cleanSuffix.replace(QLatin1Char('/'), QLatin1Char('-'));
    const QString counter = number > 1 ? QStringLiteral(", %1").arg(number) : QString();
    return QStringLiteral("%1 (recovered %2%3)%4")
        .arg(base, time.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")), counter, cleanSuffix);
}

namespace {

// Writes `data` to a new file of `where` (a folder that exists), as `write` describes.
std::variant<QString, Error> writeIn(const QString& where, const QString& documentName, const QString& extension,
                                     const QByteArray& data, const QDateTime& time) {
    QByteArray temporary = QFile::encodeName(where + QStringLiteral("/.recovering-XXXXXX"));
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0) {
        return failure(documentName, where, errno);
    }
    const auto abandon = [&temporary, &documentName, &where](int error) {
        ::unlink(temporary.constData());
        return failure(documentName, where, error);
    };
    // mkostemp makes the file 0600 already; said again so that no umask or library decides it.
    if (::fchmod(descriptor, 0600) != 0 || !FileWriting::writeAll(descriptor, data) || ::fsync(descriptor) != 0) {
        const int error = errno;
        ::close(descriptor);
        return abandon(error);
    }
    if (::close(descriptor) != 0) {
        return abandon(errno);
    }
    for (int number = 1; number <= mostNumbers; ++number) {
        const QString path = where + QLatin1Char('/') + fileName(documentName, extension, time, number);
        if (renameWithoutReplacing(temporary, QFile::encodeName(path))) {
            // The new name itself reaches the disk with the folder.
            const int folderDescriptor =
                ::open(QFile::encodeName(where).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (folderDescriptor >= 0) {
                ::fsync(folderDescriptor);
                ::close(folderDescriptor);
            }
            return path;
        }
        if (errno != EEXIST) {
            return abandon(errno);
        }
    }
    return abandon(EEXIST);
}

}  // namespace

std::variant<QString, Error> write(const QString& documentName, const QString& extension, const QByteArray& data,
                                   const QDateTime& time) {
    const QString where = folder();
    if (auto error = makeFolder(where, documentName)) {
        return *error;
    }
    return writeIn(where, documentName, extension, data, time);
}

QString temporaryFolder() {
    const QString variable = qEnvironmentVariable("TMPDIR");
    return QDir::cleanPath(variable.isEmpty() || QDir::isRelativePath(variable) ? QStringLiteral("/tmp") : variable);
}

std::variant<QString, Error> writeInTemporaryFolder(const QString& documentName, const QString& extension,
                                                    const QByteArray& data, const QDateTime& time) {
    const QString first = temporaryFolder();
    auto written = writeIn(first, documentName, extension, data, time);
    const QString last = QStringLiteral("/tmp");
    if (std::holds_alternative<QString>(written) || first == last) {
        return written;
    }
    // A `$TMPDIR` that cannot take the file (missing, full, not the user's) leaves the system's own.
    auto fallback = writeIn(last, documentName, extension, data, time);
    if (const auto* error = std::get_if<Error>(&fallback)) {
        return Error{error->domain, error->code,
                     std::get<Error>(written).localizedDescription + QStringLiteral("; ") + error->localizedDescription};
    }
    return fallback;
}

}  // namespace CarvexPlatform::RecoveryFile
