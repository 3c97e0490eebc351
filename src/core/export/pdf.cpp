// The true-size PDF drawing of the current sign, on a page the size of the board plus a margin.
#include "core/export/pdf.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "core/engine/compute_sign.h"
#include "core/export/true_size.h"
#include "core/number/number_format.h"
#include "core/params/language_entries.h"
#include "core/project/app_state.h"

namespace tablix {

namespace {

constexpr int kDotsPerInch = 1200;
constexpr double kOutlineMm = 0.1;
constexpr int kNoteMm = 4; // text size of the scale note in the bottom margin
constexpr long double kNoteWidthMm = 90;
constexpr long double kPointsPerMm = 72 / 25.4L;

} // namespace

std::optional<QByteArray> WritePdf(const AppState &state, const EngineResults &results)
{
    const std::optional<TrueSizeDrawing> d = TrueSizeShapes(state, results);
    if (!d)
        return std::nullopt;

    const long double room = kLargestPdfPageMm - 2 * kPdfMarginMm;
    const long double fit = std::min({1.0L, room / d->widthMm, room / d->heightMm});
    const long double scale = state.exportScale.get() * fit;
    // Only a drawing at its true size goes without a note; the note needs text and a page that holds it.
    const bool note = std::fabs(scale - 100) >= 0.005L && qGuiApp != nullptr;
    // Pages are whole points; the margins take up the rest, the board stays true to size.
    long double pageWidth = d->widthMm * fit + 2 * kPdfMarginMm;
    if (note)
        pageWidth = std::max(pageWidth, kNoteWidthMm);
    const QSize points(int(std::lround(double(pageWidth * kPointsPerMm))),
                       int(std::lround(double((d->heightMm * fit + 2 * kPdfMarginMm) * kPointsPerMm))));
    pageWidth = points.width() / kPointsPerMm;
    const long double pageHeight = points.height() / kPointsPerMm;
    const long double left = (pageWidth - d->widthMm * fit) / 2;
    const long double top = (pageHeight - d->heightMm * fit) / 2;

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(d->title);
        writer.setCreator(QStringLiteral("Tablix " TABLIX_VERSION));
        writer.setResolution(kDotsPerInch);
        writer.setPageSize(QPageSize(points, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(kDotsPerInch / 25.4, kDotsPerInch / 25.4); // millimetres from here on
        if (note) {
            QFont font(QStringLiteral("Sans Serif"));
            font.setPixelSize(kNoteMm); // a pixel is a millimetre here
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(QPointF(double(std::min(left, kPdfMarginMm)), double(pageHeight - kPdfMarginMm / 2 + kNoteMm / 3.0)),
                             state.LanguageEntry(text::kDrawingScaleNote).arg(FormatFixed(scale, 0, scale >= 10 ? 1 : 3)));
        }
        painter.translate(double(left), double(top));
        painter.scale(double(fit), double(fit));
        painter.setPen(QPen(Qt::black, kOutlineMm / double(fit), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        for (const SignShape &shape : d->shapes) {
            painter.setBrush(shape.fill);
            QPolygonF polygon;
            for (const ModelPoint &p : shape.corners)
                polygon << QPointF(double(p.x), double(p.y));
            painter.drawPolygon(polygon);
        }
    }
    return buffer.data();
}

std::optional<QByteArray> PdfFile(const AppState &state)
{
    if (state.workingRows[0] == 0)
        return std::nullopt;
    return WritePdf(state, ComputeSign(state));
}

} // namespace tablix
