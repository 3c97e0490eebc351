// The true-size SVG drawing of the current sign: one group per element class.
#include "core/export/svg.h"

#include <QBuffer>
#include <QPainter>
#include <QPolygonF>
#include <QSvgGenerator>

#include "core/engine/compute_sign.h"
#include "core/export/true_size.h"
#include "core/number/number_format.h"
#include "core/params/language_entries.h"
#include "core/project/app_state.h"

namespace tablix {

namespace {

// Outlines a tenth of a millimetre wide stay visible in a viewer and thin enough for a cutter.
constexpr double kOutlineMm = 0.1;

QByteArray Number(long double v)
{
    return QByteArray::number(double(v), 'g', 10);
}

// The shapes of one class as the generator writes them, without its document around them. The
// generator writes no ids, so each class is drawn on its own and given its group afterwards.
QByteArray PartBody(const TrueSizeDrawing &d, SignPart part)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setViewBox(QRectF(0, 0, double(d.widthMm), double(d.heightMm)));
    {
        QPainter painter(&generator);
        painter.setPen(QPen(Qt::black, kOutlineMm, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        for (const SignShape &shape : d.shapes) {
            if (shape.part != part)
                continue;
            painter.setBrush(shape.fill);
            QPolygonF polygon;
            for (const ModelPoint &p : shape.corners)
                polygon << QPointF(double(p.x), double(p.y));
            painter.drawPolygon(polygon);
        }
    }
    const QByteArray svg = buffer.data();
    const qsizetype start = svg.indexOf("</defs>");
    const qsizetype end = svg.lastIndexOf("</svg>");
    if (start < 0 || end < start)
        return {};
    return svg.mid(start + 7, end - start - 7).trimmed();
}

} // namespace

std::optional<QByteArray> WriteSvg(const AppState &state, const EngineResults &results)
{
    const std::optional<TrueSizeDrawing> d = TrueSizeShapes(state, results);
    if (!d)
        return std::nullopt;
    const QByteArray w = Number(d->widthMm), h = Number(d->heightMm);
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\""
                     + w + "mm\" height=\"" + h + "mm\" viewBox=\"0 0 " + w + ' ' + h + "\">\n";
    out += "<title>" + d->title.toHtmlEscaped().toUtf8() + "</title>\n";
    const QString scale = WithDecimalSeparator(QString::fromLatin1(Number(d->mmPerCm * 10)), DecimalSeparator(state.language));
    QString description = state.LanguageEntry(text::kSvgDescription);
    description.replace(QStringLiteral("%1"), QStringLiteral(TABLIX_VERSION)).replace(QStringLiteral("%2"), scale);
    if (!description.isEmpty())
        out += "<desc>" + description.toHtmlEscaped().toUtf8() + "</desc>\n";
    for (SignPart part : kSignParts) {
        const QByteArray body = PartBody(*d, part);
        out += QByteArray("<g id=\"") + SignPartName(part) + "\">\n" + body + (body.isEmpty() ? "" : "\n") + "</g>\n";
    }
    out += "</svg>\n";
    return out;
}

std::optional<QByteArray> SvgFile(const AppState &state)
{
    if (state.workingRows[0] == 0)
        return std::nullopt;
    return WriteSvg(state, ComputeSign(state));
}

} // namespace tablix
