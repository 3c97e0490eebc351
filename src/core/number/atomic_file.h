// Every file the program writes goes through here: a failed write leaves the old file intact.
#pragma once

#include <QByteArray>
#include <QString>

namespace tablix {

// A regular file (or a new one) is written to a temporary beside it, flushed to the disk and
// renamed over the old one only when every byte is there; a device, a FIFO or a file reached
// through /dev/stdout and its kin is written in place. On failure `error` names the file and the
// reason and returns false; the old file is untouched. Temporaries a killed write left beside the
// file ("NAME.XXXXXX") are removed first.
bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *error);

// The reason for a failed file operation, in words a user acts on.
QString FileErrorReason(int errorNumber);

} // namespace tablix
