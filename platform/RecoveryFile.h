#pragma once
#include "platform/Error.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <variant>

namespace CarvexPlatform {

// Where a document's text goes when it cannot go to its own file and no one is there to ask (the
// application ends on a signal): a file of its own in the user's data folder (or, when that cannot
// be written, in the temporary folder), never one that is there already. Main thread or any, one
// call at a time per folder.
namespace RecoveryFile {

// `$XDG_DATA_HOME/Carvex/Recovered` (an absolute XDG_DATA_HOME only, as the base directory rules
// ask), otherwise `~/.local/share/Carvex/Recovered`.
QString folder();

// The name of a recovered text: the document's name without the extension (when it ends in it),
// the time, and the extension: "pets (recovered 2026-12-08 05-12-33).yaml". A `number` above 1
// tells it from an earlier one of the same second: "pets (recovered 2026-12-08 05-12-33, 2).yaml".
// A slash in the document's name becomes a hyphen, and a long name is shortened.
QString fileName(const QString& documentName, const QString& extension, const QDateTime& time, int number = 1);

// Writes `data` to a new file of `folder()` named by `fileName`, the folder made (mode 0700) when
// missing: first a temporary file of mode 0600, flushed to the disk, then renamed to a name no file
// holds (the next number when one does). Answers the new file's path, or why it failed; a failure
// leaves no file behind.
std::variant<QString, Error> write(const QString& documentName, const QString& extension, const QByteArray& data,
                                   const QDateTime& time = QDateTime::currentDateTime());

// `$TMPDIR` when it is an absolute path, otherwise `/tmp`.
QString temporaryFolder();

// Where a text goes when `write` failed: a new file of `temporaryFolder()`, or of `/tmp` when that
// one cannot take it, written as `write` writes one (mode 0600, the same name). The folder is neither
// made nor changed: it may be shared with other users, and the file itself is closed to them.
std::variant<QString, Error> writeInTemporaryFolder(const QString& documentName, const QString& extension,
                                                    const QByteArray& data,
                                                    const QDateTime& time = QDateTime::currentDateTime());

}  // namespace RecoveryFile

}  // namespace CarvexPlatform
