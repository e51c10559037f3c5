#pragma once
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <functional>

namespace CarvexPlatform {

// Watches one file for changes made on disk, by anyone, and reports each to its handler on the
// thread that owns the watch. A symbolic link is followed to the file it names. It keeps watching
// when a program replaces the file rather than writing into it (a new file renamed over the old
// one, or the old one deleted and a new one made): its folder is watched as well, and a change
// there counts when the file itself is different afterwards (another file, size or time).
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
    // What tells one state of the file from another.
    struct Signature {
        bool exists = false;
        unsigned long long device = 0;
        unsigned long long inode = 0;
        long long size = 0;
        long long modifiedNanoseconds = 0;
        long long changedNanoseconds = 0;
        bool operator==(const Signature&) const = default;
    };
    static Signature signatureOf(const QString& path);
    void fileChanged();
    void folderChanged();
    void rewatchFile();

    std::function<void()> onChange_;
    QFileSystemWatcher watcher_;
    QString path_;
    QString folder_;
    Signature last_;
};

}  // namespace CarvexPlatform
