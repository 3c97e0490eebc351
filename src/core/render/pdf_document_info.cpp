// The author and the subject of a PDF, appended as an update so that the writer's bytes stay as written.
#include "core/render/pdf_document_info.h"

#include <QRegularExpression>
#include <map>

namespace tablix {

namespace {

// A text string of the document information: UTF-16BE with its byte order mark, in hex.
QByteArray PdfTextString(const QString &text)
{
    QByteArray hex = "<FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode() | 0x10000, 16).mid(1).toUpper();
    return hex + '>';
}

QByteArray XmlEscaped(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}

// The body of object `n` ("<< ... >>" or a stream with its dictionary), from its last definition.
QByteArray ObjectBody(const QByteArray &pdf, int n)
{
    const QByteArray head = '\n' + QByteArray::number(n) + " 0 obj";
    const qsizetype at = pdf.lastIndexOf(head);
    if (at < 0)
        return {};
    const qsizetype start = at + head.size();
    const qsizetype end = pdf.indexOf("endobj", start);
    return end < 0 ? QByteArray() : pdf.mid(start, end - start).trimmed();
}

int Reference(const QByteArray &dictionary, const char *key)
{
    const QRegularExpression ref(QStringLiteral("/%1\\s+(\\d+)\\s+0\\s+R").arg(QLatin1String(key)));
    const QRegularExpressionMatch m = ref.match(QString::fromLatin1(dictionary));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace

QByteArray WithPdfAuthorAndSubject(const QByteArray &pdf, const QString &author, const QString &subject)
{
    const qsizetype trailerAt = pdf.lastIndexOf("trailer");
    const qsizetype startxrefAt = pdf.lastIndexOf("startxref");
    if (trailerAt < 0 || startxrefAt < trailerAt)
        return pdf;
    const QByteArray trailer = pdf.mid(trailerAt, startxrefAt - trailerAt);
    const QByteArray previous = pdf.mid(startxrefAt + 9).trimmed().split('\n').value(0).trimmed();
    static const QRegularExpression size(QStringLiteral("/Size\\s+(\\d+)"));
    static const QRegularExpression id(QStringLiteral("/ID\\s*\\[[^\\]]*\\]"));
    const int objects = size.match(QString::fromLatin1(trailer)).captured(1).toInt();
    const QString idArray = id.match(QString::fromLatin1(trailer)).captured(0);
    const int info = Reference(trailer, "Info");
    const int root = Reference(trailer, "Root");
    const int metadata = root > 0 ? Reference(ObjectBody(pdf, root), "Metadata") : -1;
    const QByteArray infoBody = info > 0 ? ObjectBody(pdf, info) : QByteArray();
    const QByteArray metadataBody = metadata > 0 ? ObjectBody(pdf, metadata) : QByteArray();
    const qsizetype infoEnd = infoBody.lastIndexOf(">>");
    const qsizetype streamAt = metadataBody.indexOf("stream");
    const qsizetype streamEnd = metadataBody.lastIndexOf("endstream");
    const qsizetype titleEnd = metadataBody.indexOf("</dc:title>");
    if (objects <= 0 || previous.isEmpty() || !infoBody.startsWith("<<") || infoEnd < 0 || streamAt < 0 ||
        streamEnd < streamAt || titleEnd < streamAt || infoBody.contains("/Author") || infoBody.contains("/Subject"))
        return pdf;

    std::map<int, QByteArray> replaced;
    replaced[info] = infoBody.left(infoEnd) + "/Author " + PdfTextString(author) + "\n/Subject " + PdfTextString(subject) +
                     "\n>>";
    qsizetype dataStart = streamAt + 6;
    if (metadataBody.mid(dataStart, 2) == "\r\n")
        dataStart += 2;
    else if (metadataBody.at(dataStart) == '\n')
        ++dataStart;
    QByteArray xmp = metadataBody.mid(dataStart, streamEnd - dataStart);
    if (xmp.endsWith('\n'))
        xmp.chop(1);
    const qsizetype insertAt = xmp.indexOf("</dc:title>") + 11;
    xmp.insert(insertAt, "\n      <dc:creator><rdf:Seq><rdf:li>" + XmlEscaped(author) +
                             "</rdf:li></rdf:Seq></dc:creator>\n      <dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">" +
                             XmlEscaped(subject) + "</rdf:li></rdf:Alt></dc:description>");
    replaced[metadata] = "<<\n/Type /Metadata /Subtype /XML\n/Length " + QByteArray::number(xmp.size()) + "\n>>\nstream\n" +
                         xmp + "\nendstream";

    QByteArray out = pdf;
    if (!out.endsWith('\n'))
        out += '\n';
    std::map<int, qsizetype> offsets;
    for (const auto &[n, body] : replaced) {
        offsets[n] = out.size();
        out += QByteArray::number(n) + " 0 obj\n" + body + "\nendobj\n";
    }
    const qsizetype xrefAt = out.size();
    out += "xref\n";
    for (const auto &[n, offset] : offsets)
        out += QByteArray::number(n) + " 1\n" + QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<<\n/Size " + QByteArray::number(objects) + "\n/Info " + QByteArray::number(info) + " 0 R\n/Root " +
           QByteArray::number(root) + " 0 R\n" + idArray.toLatin1() + "\n/Prev " + previous + "\n>>\nstartxref\n" +
           QByteArray::number(xrefAt) + "\n%%EOF\n";
    return out;
}

} // namespace tablix
