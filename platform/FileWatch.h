#pragma once
#include "platform/FileSignature.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace CarvexPlatform {

// Watches one file for changes made on disk, by anyone, and reports each to its handler on the
// thread that owns the watch. A symbolic link is followed to the file it names. It keeps watching
// when a program replaces the file rather than writing into it (a new file renamed over the old
// one, or the old one deleted and a new one made): its folder is watched as well, and a change
// there counts when the file itself is different afterwards (another `FileSignature`).
class FileWatch : public QObject {
    Q_OBJECT

public:
    explicit FileWatch(std::function<void()> onChange);
    ~FileWatch() override;

    // Starts watching `path` (an empty path stops watching).
    void watch(const QString& path);
    // The file watched (its link resolved), or empty.
    const QString& path() const { return path_; }

private:
    void fileChanged();
    void folderChanged();
    void rewatchFile();

    std::function<void()> onChange_;
    QFileSystemWatcher watcher_;
    QString path_;
    QString folder_;
    std::optional<FileSignature> last_;
};

}  // namespace CarvexPlatform
