// The customer's quote as a PDF: built through the summary's walk, laid out so that no page break
// cuts a sign's block, and painted with QPdfWriter.
#include "core/render/quote.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

#include "core/engine/compute_sign.h"
#include "core/number/number_format.h"
#include "core/params/language_entries.h"
#include "core/project/app_state.h"
#include "core/render/sign_drawing.h"
#include "core/render/summary.h"

namespace tablix {

namespace {

constexpr int kDrawingToDevice = kQuoteDpi / kQuoteDrawingDpi;
static_assert(kQuoteDpi % kQuoteDrawingDpi == 0);

int Mm(double mm)
{
    return int(std::lround(mm * kQuoteDpi / 25.4));
}

// Placeholders filled by plain replacement: a project's name may hold "%" signs of its own.
QString Filled(QString entry, const QString &first, const QString &second = QString())
{
    const qsizetype at = entry.indexOf(QStringLiteral("%1"));
    if (at >= 0)
        entry.replace(at, 2, first);
    const qsizetype at2 = entry.indexOf(QStringLiteral("%2"), at >= 0 ? at + first.size() : 0);
    if (at2 >= 0)
        entry.replace(at2, 2, second);
    return entry;
}

// A whole number of pieces as the summary writes it; anything else keeps its decimals.
QString QuantityText(long double quantity)
{
    return FormatFixed(quantity, 0, quantity == std::floor(quantity) ? 0 : 2);
}

void MeasureDrawing(const AppState &state, const EngineResults &results, QuoteSign &sign)
{
    const long double width = state.currentSignRecord.width.get();
    const long double height = results.geometryHeight.get();
    if (!(width > 0) || !(height > 0) || state.workingRows[0] == 0)
        return;
    const long double sx = kQuoteDrawingBox.width() / width;
    const long double sy = kQuoteDrawingBox.height() / height;
    const long double scale = std::min(sx, sy);
    const int drawnHeight = std::max(DeviceCoordinate(scale, height, 0),
                                     DeviceCoordinate(scale, results.record(62).y2.get(), 0));
    sign.drawingScale = scale;
    sign.drawingSize = QSize(std::clamp(DeviceCoordinate(scale, width, 0), 1, kQuoteDrawingBox.width()) + 1,
                             std::clamp(drawnHeight, 1, kQuoteDrawingBox.height()) + 1);
}

struct Fonts {
    QFont heading, text, bold, small, smallBold;
};

QFont MakeFont(double points, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

Fonts MakeFonts()
{
    return {MakeFont(16, true), MakeFont(10, false), MakeFont(10, true), MakeFont(8.5, false), MakeFont(8.5, true)};
}

// Columns of a page: the drawing, the sign's texts, then quantity, price per piece and line total
// right-aligned at their right edges.
struct Columns {
    int drawingX = 0;
    int textX = 0;
    int textWidth = 0;
    int quantityRight = 0, priceRight = 0, totalRight = 0;
    int quantityWidth = Mm(16), priceWidth = Mm(28), totalWidth = Mm(30);
};

Columns MakeColumns(int pageWidth)
{
    Columns c;
    const int gap = Mm(3);
    c.totalRight = pageWidth;
    c.priceRight = c.totalRight - c.totalWidth - gap;
    c.quantityRight = c.priceRight - c.priceWidth - gap;
    c.textX = kQuoteDrawingBox.width() * kDrawingToDevice + Mm(4);
    c.textWidth = std::max(Mm(20), c.quantityRight - c.quantityWidth - gap - c.textX);
    return c;
}

int WrappedHeight(const QFont &font, QPaintDevice *device, int width, const QString &text)
{
    if (text.isEmpty())
        return 0;
    const QFontMetrics metrics(font, device);
    return metrics.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap, text).height();
}

// Everything the layout and the painting share.
struct Page {
    QPaintDevice *device;
    Fonts fonts;
    Columns columns;
    int width, height;
    int padding = Mm(2.5);
    int headerHeight = 0;  // the column headings
    int footerTop = 0;
    int firstBodyTop = 0;

    Page(const Quote &quote, QPaintDevice *d) : device(d), fonts(MakeFonts()), columns(MakeColumns(d->width())),
                                                width(d->width()), height(d->height())
    {
        const int headings = std::max({WrappedHeight(fonts.smallBold, device, columns.textWidth, quote.signColumn),
                                       WrappedHeight(fonts.smallBold, device, columns.quantityWidth, quote.quantityColumn),
                                       WrappedHeight(fonts.smallBold, device, columns.priceWidth, quote.piecePriceColumn),
                                       WrappedHeight(fonts.smallBold, device, columns.totalWidth, quote.lineTotalColumn)});
        headerHeight = headings + Mm(2);
        footerTop = height - QFontMetrics(fonts.small, device).height() - Mm(3);
        firstBodyTop = titleHeight() + headerHeight;
    }

    int titleHeight() const
    {
        return QFontMetrics(fonts.heading, device).height() + QFontMetrics(fonts.text, device).height() + Mm(8);
    }

    int blockHeight(const QuoteSign &sign) const
    {
        const int texts = WrappedHeight(fonts.bold, device, columns.textWidth, sign.title) +
                          WrappedHeight(fonts.text, device, columns.textWidth, sign.size) +
                          WrappedHeight(fonts.small, device, columns.textWidth, sign.note) + Mm(1);
        const int drawing = sign.drawingSize.height() * kDrawingToDevice;
        return 2 * padding + std::max({texts, drawing, QFontMetrics(fonts.bold, device).height()});
    }

    int totalHeight() const { return 2 * padding + QFontMetrics(fonts.bold, device).height() + Mm(2); }
};

QuoteLayout LayOut(const Quote &quote, const Page &page)
{
    QuoteLayout layout;
    layout.firstBody = QRect(0, page.firstBodyTop, page.width, page.footerTop - page.firstBodyTop);
    layout.body = QRect(0, page.headerHeight, page.width, page.footerTop - page.headerHeight);
    int pageIndex = 0;
    int y = layout.firstBody.top();
    // A block that would cross the footer starts the next page, unless it opens a page already.
    const auto place = [&](int height) {
        const int top = pageIndex == 0 ? layout.firstBody.top() : layout.body.top();
        if (y + height > page.footerTop && y > top) {
            ++pageIndex;
            y = layout.body.top();
        }
        QuotePlacement placement{pageIndex, QRect(0, y, page.width, height)};
        y += height;
        return placement;
    };
    for (const QuoteSign &sign : quote.signs)
        layout.signs.push_back(place(page.blockHeight(sign)));
    layout.total = place(page.totalHeight());
    layout.pageCount = pageIndex + 1;
    return layout;
}

void DrawWrapped(QPainter &painter, const QFont &font, QRect box, int flags, const QString &text)
{
    painter.setFont(font);
    painter.drawText(box, flags | Qt::TextWordWrap, text);
}

void PaintPageFrame(QPainter &painter, const Quote &quote, const Page &page, int pageIndex, int pageCount)
{
    const Columns &c = page.columns;
    int top = 0;
    if (pageIndex == 0) {
        painter.setFont(page.fonts.heading);
        const QFontMetrics heading(page.fonts.heading, page.device);
        painter.drawText(QRect(0, 0, page.width, heading.height()), Qt::AlignLeft | Qt::AlignTop,
                         heading.elidedText(quote.heading, Qt::ElideRight, page.width));
        painter.setFont(page.fonts.text);
        painter.drawText(QRect(0, heading.height() + Mm(2), page.width, QFontMetrics(page.fonts.text, page.device).height()),
                         Qt::AlignLeft | Qt::AlignTop, quote.dateLine);
        top = page.titleHeight();
    }
    const int h = page.headerHeight - Mm(2);
    DrawWrapped(painter, page.fonts.smallBold, QRect(c.textX, top, c.textWidth, h), Qt::AlignLeft | Qt::AlignBottom,
                quote.signColumn);
    DrawWrapped(painter, page.fonts.smallBold, QRect(c.quantityRight - c.quantityWidth, top, c.quantityWidth, h),
                Qt::AlignRight | Qt::AlignBottom, quote.quantityColumn);
    DrawWrapped(painter, page.fonts.smallBold, QRect(c.priceRight - c.priceWidth, top, c.priceWidth, h),
                Qt::AlignRight | Qt::AlignBottom, quote.piecePriceColumn);
    DrawWrapped(painter, page.fonts.smallBold, QRect(c.totalRight - c.totalWidth, top, c.totalWidth, h),
                Qt::AlignRight | Qt::AlignBottom, quote.lineTotalColumn);
    painter.setPen(QPen(Qt::black, Mm(0.3)));
    painter.drawLine(0, top + page.headerHeight - Mm(0.5), page.width, top + page.headerHeight - Mm(0.5));

    painter.setFont(page.fonts.small);
    painter.drawText(QRect(0, page.footerTop + Mm(1), page.width, page.height - page.footerTop - Mm(1)),
                     Qt::AlignRight | Qt::AlignBottom,
                     Filled(quote.pageFooter, QString::number(pageIndex + 1), QString::number(pageCount)));
    painter.drawText(QRect(0, page.footerTop + Mm(1), page.width / 2, page.height - page.footerTop - Mm(1)),
                     Qt::AlignLeft | Qt::AlignBottom,
                     QFontMetrics(page.fonts.small, page.device).elidedText(quote.heading, Qt::ElideRight, page.width / 2));
}

// `results` of the sign computed, or nothing to draw when there are none.
void PaintSign(QPainter &painter, const AppState &state, const EngineResults *results, const QuoteSign &sign,
               const Page &page, QRect block)
{
    const Columns &c = page.columns;
    const int top = block.top() + page.padding;
    if (results && !sign.drawingSize.isEmpty()) {
        painter.save();
        painter.translate(c.drawingX, top);
        // Whole units of the drawing, so that its one-unit outlines stay visible on paper.
        painter.scale(kDrawingToDevice, kDrawingToDevice);
        painter.setClipRect(QRect(QPoint(0, 0), sign.drawingSize));
        RenderSign(painter, state, *results, sign.drawingScale, 0, 0, kLowerMarks);
        painter.restore();
    }
    painter.setPen(Qt::black);
    int y = top;
    const auto write = [&](const QFont &font, const QString &text) {
        const int h = WrappedHeight(font, page.device, c.textWidth, text);
        DrawWrapped(painter, font, QRect(c.textX, y, c.textWidth, h), Qt::AlignLeft | Qt::AlignTop, text);
        y += h;
    };
    write(page.fonts.bold, sign.title);
    write(page.fonts.text, sign.size);
    y += Mm(1);
    write(page.fonts.small, sign.note);

    painter.setFont(page.fonts.text);
    const int rowHeight = QFontMetrics(page.fonts.bold, page.device).height();
    // Amounts wider than their column run to the left rather than being cut.
    const auto amount = [&](int right, const QString &text) {
        const int w = std::max(QFontMetrics(page.fonts.text, page.device).horizontalAdvance(text), 1);
        painter.drawText(QRect(right - w - Mm(1), top, w + Mm(1), rowHeight), Qt::AlignRight | Qt::AlignVCenter, text);
    };
    amount(c.quantityRight, sign.quantity);
    amount(c.priceRight, sign.piecePrice);
    amount(c.totalRight, sign.lineTotal);

    painter.setPen(QPen(QColor(170, 170, 170), Mm(0.15)));
    painter.drawLine(0, block.bottom(), page.width, block.bottom());
    painter.setPen(Qt::black);
}

void PaintTotal(QPainter &painter, const Quote &quote, const Page &page, QRect block)
{
    painter.setPen(QPen(Qt::black, Mm(0.3)));
    painter.drawLine(page.columns.textX, block.top(), page.width, block.top());
    painter.setFont(page.fonts.bold);
    const QRect row(page.columns.textX, block.top() + page.padding + Mm(1), page.width - page.columns.textX,
                    QFontMetrics(page.fonts.bold, page.device).height());
    painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, quote.totalLabel);
    painter.drawText(row, Qt::AlignRight | Qt::AlignVCenter, quote.total);
}

} // namespace

QString QuoteProjectName(const AppState &state, const QString &projectFilePath)
{
    const QString name = QFileInfo(projectFilePath).completeBaseName();
    return name.isEmpty() ? state.LanguageEntry(text::kQuoteUntitledProject) : name;
}

std::optional<Quote> BuildQuote(AppState &state, const QString &projectName, QDate date)
{
    Quote quote;
    const QString currency = state.LanguageEntry(text::kCurrency);
    const QString dateFormat = state.LanguageEntry(text::kPrintFooterDateFormat);
    quote.heading = Filled(state.LanguageEntry(text::kQuoteHeading), projectName);
    quote.dateLine = Filled(state.LanguageEntry(text::kQuoteDateLine),
                            dateFormat.isEmpty() ? date.toString(Qt::ISODate) : date.toString(dateFormat));
    quote.signColumn = state.LanguageEntry(text::kQuoteSignColumn);
    quote.quantityColumn = state.LanguageEntry(text::kQuoteQuantityColumn);
    quote.piecePriceColumn = state.LanguageEntry(text::kQuotePiecePriceColumn);
    quote.lineTotalColumn = state.LanguageEntry(text::kQuoteLineTotalColumn);
    quote.totalLabel = state.LanguageEntry(text::kQuoteProjectTotal);
    quote.pageFooter = state.LanguageEntry(text::kPrintFooterPage);

    const Real48 total = WalkSummaryBlocks(state, [&](const AppState &signState, int slot, const SummaryBlock &block,
                                                           const EngineResults &results) {
        QuoteSign sign;
        sign.slot = slot;
        sign.title = block.title;
        sign.note = block.note;
        sign.quantity = QuantityText(signState.currentSignRecord.quantity.get());
        const long double width = signState.currentSignRecord.width.get();
        const long double height = results.geometryHeight.get();
        if (width > 0 && height > 0)
            sign.size = Filled(state.LanguageEntry(text::kQuoteSize), FormatFixed(width, 0, 2), FormatFixed(height, 0, 2));
        if (!block.pieceValue.isEmpty())
            sign.piecePrice = block.pieceValue + currency;
        long double lineTotal = 0;
        for (long double addition : block.additions)
            lineTotal += addition;
        sign.lineTotal = FormatFixed(lineTotal, 0, 2) + currency;
        MeasureDrawing(signState, results, sign);
        quote.signs.push_back(std::move(sign));
    });
    if (quote.signs.empty())
        return std::nullopt;
    quote.total = FormatFixed(total.get(), 0, 2) + currency;
    return quote;
}

std::optional<QByteArray> QuotePdf(AppState &state, const Quote &quote, QuoteLayout *layoutOut)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return std::nullopt;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kQuoteDpi);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 12),
                                         QPageLayout::Millimeter));
        writer.setTitle(quote.heading);
        writer.setCreator(QStringLiteral("Tablix"));

        const Page page(quote, &writer);
        const QuoteLayout layout = LayOut(quote, page);
        QPainter painter;
        if (!painter.begin(&writer))
            return std::nullopt;
        PaintPageFrame(painter, quote, page, 0, layout.pageCount);
        int current = 0;
        const auto turnTo = [&](int pageIndex) {
            while (current < pageIndex) {
                writer.newPage();
                PaintPageFrame(painter, quote, page, ++current, layout.pageCount);
            }
        };
        // Drawn in the one walk, page after page; a block whose sign the walk does not find (a
        // state changed since the quote was built) keeps its texts without a drawing.
        size_t k = 0;
        const auto paint = [&](const AppState &sign, const EngineResults *results) {
            turnTo(layout.signs[k].page);
            PaintSign(painter, sign, results, quote.signs[k], page, layout.signs[k].rect);
            ++k;
        };
        ForEachSignInUse(state, [&](AppState &sign, int slot) {
            while (k < quote.signs.size() && quote.signs[k].slot < slot)
                paint(state, nullptr);
            if (k == quote.signs.size() || quote.signs[k].slot != slot)
                return;
            std::optional<EngineResults> results;
            try {
                results = ComputeSign(sign);
            } catch (const FloatingPointOverflow &) {
            }
            paint(sign, results ? &*results : nullptr);
        });
        while (k < quote.signs.size())
            paint(state, nullptr);
        turnTo(layout.total.page);
        PaintTotal(painter, quote, page, layout.total.rect);
        if (!painter.end())
            return std::nullopt;
        if (layoutOut)
            *layoutOut = layout;
    }
    return bytes;
}

} // namespace tablix
