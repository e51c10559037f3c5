#include "platform/FileWatch.h"

#include <QFileInfo>
#include <sys/stat.h>

namespace CarvexPlatform {

FileWatch::FileWatch(std::function<void()> onChange) : onChange_(std::move(onChange)) {
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this](const QString&) { fileChanged(); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this,
            [this](const QString&) { folderChanged(); });
}

FileWatch::~FileWatch() = default;

void FileWatch::watch(const QString& path) {
    if (!watcher_.files().isEmpty()) {
        watcher_.removePaths(watcher_.files());
    }
    if (!watcher_.directories().isEmpty()) {
        watcher_.removePaths(watcher_.directories());
    }
    path_.clear();
    folder_.clear();
    last_ = {};
    if (path.isEmpty()) {
        return;
    }
    const QFileInfo info(path);
    const QString target = info.canonicalFilePath();
    path_ = target.isEmpty() ? info.absoluteFilePath() : target;
    folder_ = QFileInfo(path_).absolutePath();
    watcher_.addPath(folder_);
    rewatchFile();
    last_ = signatureOf(path_);
}

FileWatch::Signature FileWatch::signatureOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return {};
    }
    return Signature{
        .exists = true,
        .device = static_cast<unsigned long long>(status.st_dev),
        .inode = static_cast<unsigned long long>(status.st_ino),
        .size = static_cast<long long>(status.st_size),
        .modifiedNanoseconds = static_cast<long long>(status.st_mtim.tv_sec) * 1'000'000'000LL +
                               status.st_mtim.tv_nsec,
        .changedNanoseconds = static_cast<long long>(status.st_ctim.tv_sec) * 1'000'000'000LL +
                              status.st_ctim.tv_nsec,
    };
}

void FileWatch::rewatchFile() {
    if (!path_.isEmpty() && !watcher_.files().contains(path_) && QFileInfo::exists(path_)) {
        watcher_.addPath(path_);
    }
}

void FileWatch::fileChanged() {
    // A file replaced or deleted drops out of the watch; its successor is watched again.
    rewatchFile();
    last_ = signatureOf(path_);
    if (onChange_) {
        onChange_();
    }
}

void FileWatch::folderChanged() {
    const Signature now = signatureOf(path_);
    if (now == last_) {
        return;
    }
    last_ = now;
    rewatchFile();
    if (onChange_) {
        onChange_();
    }
}

}  // namespace CarvexPlatform
