#pragma once
#include <QByteArray>
#include <QString>

namespace CarvexPlatform {

// How the application puts bytes on the disk. A write counts only once the system has taken every
// byte and the flush to the disk has succeeded: a write that was buffered and failed later (a full
// disk, the process's file-size limit, a quota) fails the whole operation. Any thread.
namespace FileWriting {

// Makes a write past the process's file-size limit fail with EFBIG where the signal sent for it
// (SIGXFSZ) would end the process. Called once at start, before any file is written.
void ignoreFileSizeSignal();

// Writes all of `data` to `descriptor`, taking short writes and interruptions in its stride. False
// with errno set when the system refused a byte (a write that took none is EIO).
bool writeAll(int descriptor, const QByteArray& data);

// Replaces the file at `path` with `data`: a new file beside it takes the data, is flushed to the
// disk and closed, and only then is renamed over the old one, which stays whole until then. A
// symbolic link is followed (the file it names is replaced, the link stays a link). The new file
// keeps the old one's permission bits and, where the process may set them, its owner and group; a
// file that did not exist gets the usual mode (0666 less the umask). A file that exists but that
// the process may not write is refused (EACCES). Answers 0, or the errno of the step that failed;
// a failure removes the new file and leaves the old one as it was.
int replaceFile(const QString& path, const QByteArray& data);

}  // namespace FileWriting

}  // namespace CarvexPlatform
