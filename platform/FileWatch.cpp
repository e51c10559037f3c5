#include "platform/FileWatch.h"

#include <QFileInfo>

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
    last_ = FileSignature::ofFile(path_);
}

void FileWatch::rewatchFile() {
    if (!path_.isEmpty() && !watcher_.files().contains(path_) && QFileInfo::exists(path_)) {
        watcher_.addPath(path_);
    }
}

void FileWatch::fileChanged() {
    // A file replaced or deleted drops out of the watch; its successor is watched again.
    rewatchFile();
    last_ = FileSignature::ofFile(path_);
    if (onChange_) {
        onChange_();
    }
}

void FileWatch::folderChanged() {
    const auto now = FileSignature::ofFile(path_);
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
