// The author and the subject of a PDF that QPdfWriter wrote, added as an incremental update.
#pragma once

#include <QByteArray>
#include <QString>

namespace tablix {

// The PDF with /Author and /Subject in its document information and the same in its XMP metadata
// (dc:creator, dc:description), as PDF/A asks; the bytes unchanged when their structure is not the
// one expected (a trailer with /Info and /Root, a catalog with /Metadata).
QByteArray WithPdfAuthorAndSubject(const QByteArray &pdf, const QString &author, const QString &subject);

} // namespace tablix
