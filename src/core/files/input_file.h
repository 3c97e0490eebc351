// Reading a file the user names: only regular files, never blocking, never more than its format holds.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tablix {

// Text files (language files, JSON) are read whole up to this size; anything larger is refused.
inline constexpr qint64 kTextFileLimit = 4 * 1024 * 1024;

struct InputFile {
    std::optional<QByteArray> bytes;
    QString error;          // names the file once, with the reason
    QString reason;         // when the open failed: the reason alone
    bool openFailed = false; // the file could not be opened at all (absent, no permission)
    bool longer = false;     // with a prefix read: the file holds more than was read
};

// A FIFO, a device or a folder is refused with a message and without waiting for a writer.
// `limit` bytes at most are read: a larger file is an error when `prefixOnly` is false (`what`
// names the kind of file, as in "a language file"), otherwise its first `limit` bytes are given
// and `longer` is set.
InputFile ReadInputFile(const QString &path, qint64 limit, bool prefixOnly, const QString &what);

} // namespace tablix
