// Every file the program writes goes through here: a failed write leaves the old file intact.
#include "core/number/atomic_file.h"

#include <QSaveFile>

namespace tablix {

bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace tablix
