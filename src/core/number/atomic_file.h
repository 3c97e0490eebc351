// Every file the program writes goes through here: a failed write leaves the old file intact.
#pragma once

#include <QByteArray>
#include <QString>

namespace tablix {

bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *error);

} // namespace tablix
