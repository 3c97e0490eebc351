// Every file the program writes goes through here: a failed write leaves the old file intact.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace tablix {

// What the path resolves to decides how it is written: a regular file (also one reached through a
// symbolic link, /proc/self/fd/N or /dev/stdout) or a new name is written to a temporary beside
// its real path, flushed to the disk and renamed over it, keeping the old file's mode, group and
// extended attributes; a character device, a FIFO or a socket is written in place. Nothing is ever
// appended to. A file the user may not write is refused as read-only, a dangling symbolic link is
// written through to the name it points to, a loop of links is refused. On failure `error` names
// the file and the reason and the old file is untouched.
bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *error);

// As above, but `produce` writes the new contents itself into the file it is given (the
// temporary, or the path itself when that is a device or a FIFO); it returns false with a reason
// when it failed, and nothing replaces the old file.
using FileProducer = std::function<bool(const QString &file, QString *reason)>;
bool WriteFileAtomicallyWith(const QString &path, const FileProducer &produce, QString *error);

// Temporaries are named ".NAME.tablix-XXXXXX.tmp" (NAME cut so that the whole fits in 255 bytes).
// Only names of that form left by a write of the same file are ever removed, and only when they are
// older than this, so that a write in progress in another process is never taken.
inline constexpr int kStrayTemporaryAgeSeconds = 300;
// The temporary's name for `fileName` with `suffix` as its six random characters.
QByteArray TemporaryName(const QByteArray &fileName, const QByteArray &suffix);

// True when both paths name the same existing file (device and inode).
bool IsSameFile(const QString &a, const QString &b);
// Empty when `output` is none of the existing `inputs`; otherwise the message refusing the write.
QString OutputIsInputError(const QString &output, const QStringList &inputs);

// The reason for a failed file operation, in words a user acts on.
QString FileErrorReason(int errorNumber);

} // namespace tablix
