// Sign titles are stored as Windows-1250 bytes, as are language files of older installations.
#pragma once

#include <QByteArray>
#include <QString>

namespace tablix {

QString DecodeCp1250(const char *data, qsizetype size);
inline QString DecodeCp1250(const QByteArray &bytes) { return DecodeCp1250(bytes.constData(), bytes.size()); }
// Characters the code page lacks become '?'.
QByteArray EncodeCp1250(const QString &text);
// True when every character has a Windows-1250 byte.
bool IsCp1250Encodable(const QString &text);

} // namespace tablix
