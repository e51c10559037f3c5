#include "platform/FileWriting.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace CarvexPlatform::FileWriting {

namespace {

// Links followed before a path counts as a loop.
constexpr int mostLinks = 128;
// Names tried for the new file before giving up.
constexpr int mostNames = 100;
// A file name of at most 255 bytes, with room for the dot and the random part.
constexpr qsizetype longestNamePart = 200;

// The file `path` names, its links followed as far as they go, even when the last one points to
// no file yet; the path itself when the links loop.
QString followingLinks(const QString& path) {
    QFileInfo info(path);
    if (!info.isSymLink()) {
        return path;
    }
    int remaining = mostLinks;
    while (--remaining > 0 && info.isSymLink()) {
        info.setFile(info.symLinkTarget());
    }
    return remaining > 0 ? info.filePath() : path;
}

// A name in `folder` for the new file: hidden, after the file's own name, with a random ending.
QByteArray temporaryName(const QString& folder, const QString& fileName) {
    QByteArray base = QFile::encodeName(fileName);
    if (base.size() > longestNamePart) {
        base.truncate(longestNamePart);
    }
    static constexpr char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray ending(8, '0');
    for (char& character : ending) {
        character = digits[QRandomGenerator::global()->bounded(static_cast<int>(sizeof digits - 1))];
    }
    return QFile::encodeName(folder) + "/." + base + '.' + ending;
}

// A flush the file system does not offer (some special and network file systems) is no failure:
// the data went as far as it can.
bool flushed(int descriptor) {
    return ::fsync(descriptor) == 0 || errno == EINVAL || errno == ENOSYS;
}

}  // namespace

void ignoreFileSizeSignal() {
    struct sigaction action {};
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGXFSZ, &action, nullptr);
}

bool writeAll(int descriptor, const QByteArray& data) {
    qsizetype offset = 0;
    while (offset < data.size()) {
        const ssize_t written =
            ::write(descriptor, data.constData() + offset, static_cast<size_t>(data.size() - offset));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = EIO;
            }
            return false;
        }
        offset += written;
    }
    return true;
}

int replaceFile(const QString& path, const QByteArray& data) {
    const QString finalPath = followingLinks(path);
    const QByteArray target = QFile::encodeName(finalPath);
    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (!exists && errno != ENOENT) {
        return errno;
    }
    if (exists && S_ISDIR(old.st_mode)) {
        return EISDIR;
    }
    if (exists && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0) {
        return errno;
    }
    const QFileInfo info(finalPath);
    const QString folder = info.absolutePath();
    QByteArray temporary;
    int descriptor = -1;
    for (int attempt = 0; attempt < mostNames && descriptor < 0; ++attempt) {
        temporary = temporaryName(folder, info.fileName());
        // Closed to others until it has the old file's permissions; a new document gets the usual
        // ones.
        descriptor = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
        if (descriptor < 0 && errno != EEXIST) {
            return errno;
        }
    }
    if (descriptor < 0) {
        return EEXIST;
    }
    const auto abandon = [&temporary, &descriptor](int error) {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
        ::unlink(temporary.constData());
        return error;
    };
    if (exists) {
        // The owner first: a change of owner may clear mode bits. Who may not give the file to its
        // owner (anyone but root) may still keep its group when a member of it; where neither is
        // allowed the file becomes the writer's, as any new file would.
        if (::fchown(descriptor, old.st_uid, old.st_gid) != 0) {
            [[maybe_unused]] const int groupOnly = ::fchown(descriptor, static_cast<uid_t>(-1), old.st_gid);
        }
        if (::fchmod(descriptor, old.st_mode & 0777) != 0) {
            return abandon(errno);
        }
    }
    if (!writeAll(descriptor, data) || !flushed(descriptor)) {
        return abandon(errno);
    }
    const int closed = ::close(descriptor);
    descriptor = -1;
    if (closed != 0 && errno != EINTR) {
        return abandon(errno);
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        return abandon(errno);
    }
    // The new name reaches the disk with the folder.
    const int folderDescriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderDescriptor >= 0) {
        ::fsync(folderDescriptor);
        ::close(folderDescriptor);
    }
    return 0;
}

}  // namespace CarvexPlatform::FileWriting
