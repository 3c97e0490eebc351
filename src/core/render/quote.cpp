// The customer's quote as a PDF/A: built through the summary's walk with sums in whole cents, laid
// out on A4 for a window envelope so that no page break cuts a sign's block, painted with QPdfWriter.
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
#include "core/params/settings.h"
#include "core/project/app_state.h"
#include "core/render/pdf_document_info.h"
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

// The page in mm from its top-left corner. The address field and the info block stand where
// DIN 5008 form B puts them, so that a DL window envelope (window on the left) shows the address.
constexpr double kLeft = 25, kRight = 190;
constexpr double kAddressTop = 45, kAddressBottom = 90, kAddressWidth = 80;
constexpr double kInfoLeft = 125, kInfoTop = 50;
constexpr double kHeadingTop = 98.5;
constexpr double kFooterTop = 278, kPageTop = 15;

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

QString WithDecimal(QString number, QChar decimal)
{
    return number.replace(QLatin1Char('.'), decimal);
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
    QFont heading, text, bold, small, smallBold, tiny, shopName;
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
    return {MakeFont(16, true), MakeFont(10, false), MakeFont(10, true), MakeFont(8.5, false),
            MakeFont(8.5, true), MakeFont(7, false),  MakeFont(13, true)};
}

// Columns of a page: the drawing, the sign's texts, then quantity, price per piece and line total
// right-aligned at their right edges.
struct Columns {
    int drawingX = 0;
    int textX = 0;
    int textWidth = 0;
    int quantityRight = 0, priceRight = 0, totalRight = 0;
    int quantityWidth = Mm(16), priceWidth = Mm(25), totalWidth = Mm(27);
};

Columns MakeColumns()
{
    Columns c;
    const int gap = Mm(2);
    c.drawingX = Mm(kLeft);
    c.totalRight = Mm(kRight);
    c.priceRight = c.totalRight - c.totalWidth - gap;
    c.quantityRight = c.priceRight - c.priceWidth - gap;
    c.textX = c.drawingX + kQuoteDrawingBox.width() * kDrawingToDevice + Mm(3);
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
    int left = Mm(kLeft), right = Mm(kRight);
    int padding = Mm(2.5);
    int headerHeight = 0; // the column headings
    int footerTop = Mm(kFooterTop);
    int firstTableTop = 0, tableTop = 0;

    Page(const Quote &quote, QPaintDevice *d) : device(d), fonts(MakeFonts()), columns(MakeColumns())
    {
        const int headings = std::max({WrappedHeight(fonts.smallBold, device, columns.textWidth, quote.signColumn),
                                       WrappedHeight(fonts.smallBold, device, columns.quantityWidth, quote.quantityColumn),
                                       WrappedHeight(fonts.smallBold, device, columns.priceWidth, quote.piecePriceColumn),
                                       WrappedHeight(fonts.smallBold, device, columns.totalWidth, quote.lineTotalColumn)});
        headerHeight = headings + Mm(2);
        firstTableTop = Mm(kHeadingTop) + QFontMetrics(fonts.heading, device).height() + Mm(5);
        tableTop = Mm(kPageTop) + QFontMetrics(fonts.bold, device).height() + Mm(4);
    }

    int width() const { return right - left; }
    int bodyBottom() const { return footerTop - Mm(4); }

    int blockHeight(const QuoteSign &sign) const
    {
        const int texts = WrappedHeight(fonts.bold, device, columns.textWidth, sign.title) +
                          WrappedHeight(fonts.small, device, columns.textWidth, sign.size) +
                          WrappedHeight(fonts.small, device, columns.textWidth, sign.note) + Mm(1);
        const int drawing = sign.drawingSize.height() * kDrawingToDevice;
        return 2 * padding + std::max({texts, drawing, QFontMetrics(fonts.bold, device).height()});
    }

    int totalHeight(const Quote &quote) const
    {
        return 2 * padding + Mm(1) + int(quote.totals.size()) * (QFontMetrics(fonts.bold, device).height() + Mm(1));
    }

    int noteHeight(const QString &heading, const QString &text) const
    {
        return Mm(3) + WrappedHeight(fonts.smallBold, device, width(), heading) +
               WrappedHeight(fonts.small, device, width(), text);
    }
};

// The notes and the terms as blocks of a heading and text; only the first note has the heading.
std::vector<std::pair<QString, QString>> NoteBlocks(const Quote &quote)
{
    std::vector<std::pair<QString, QString>> blocks;
    for (qsizetype k = 0; k < quote.notes.size(); ++k)
        blocks.emplace_back(k == 0 ? quote.notesHeading : QString(), quote.notes[k]);
    if (!quote.terms.isEmpty())
        blocks.emplace_back(quote.termsHeading, quote.terms);
    return blocks;
}

QuoteLayout LayOut(const Quote &quote, const Page &page)
{
    QuoteLayout layout;
    const int top0 = page.firstTableTop + page.headerHeight;
    const int top = page.tableTop + page.headerHeight;
    layout.firstBody = QRect(0, top0, Mm(210), page.bodyBottom() - top0);
    layout.body = QRect(0, top, Mm(210), page.bodyBottom() - top);
    int pageIndex = 0;
    int y = top0;
    const auto fits = [&](int height) { return y + height <= page.bodyBottom() || y == (pageIndex == 0 ? top0 : top); };
    // A block that would cross the footer starts the next page, unless it opens a page already.
    const auto place = [&](int height, int keepWith = 0) {
        if (!fits(height + keepWith)) {
            ++pageIndex;
            y = top;
        }
        QuotePlacement placement{pageIndex, QRect(page.left, y, page.width(), height)};
        y += height;
        return placement;
    };
    const int totalHeight = page.totalHeight(quote);
    for (size_t k = 0; k < quote.signs.size(); ++k)
        // The last line and the totals go onto one page.
        layout.signs.push_back(place(page.blockHeight(quote.signs[k]), k + 1 == quote.signs.size() ? totalHeight : 0));
    layout.total = place(totalHeight);
    for (const auto &[heading, text] : NoteBlocks(quote))
        layout.notes.push_back(place(page.noteHeight(heading, text)));
    layout.pageCount = pageIndex + 1;
    return layout;
}

void DrawWrapped(QPainter &painter, const QFont &font, QRect box, int flags, const QString &text)
{
    painter.setFont(font);
    painter.drawText(box, flags | Qt::TextWordWrap, text);
}

int LineHeight(const QFont &font, QPaintDevice *device)
{
    return QFontMetrics(font, device).height();
}

void PaintLetterhead(QPainter &painter, const Quote &quote, const Page &page)
{
    QPaintDevice *d = page.device;
    const int top = Mm(12);
    int logoRight = page.left;
    if (!quote.logo.isNull()) {
        const QSize box(Mm(60), Mm(28));
        const QSize size = quote.logo.size().scaled(box, Qt::KeepAspectRatio);
        painter.drawImage(QRect(QPoint(page.left, top), size), quote.logo);
        logoRight = page.left + size.width() + Mm(5);
    }
    const int textWidth = page.right - logoRight;
    int y = top;
    if (!quote.shopName.isEmpty()) {
        const int h = LineHeight(page.fonts.shopName, d);
        painter.setFont(page.fonts.shopName);
        painter.drawText(QRect(logoRight, y, textWidth, h), Qt::AlignRight | Qt::AlignTop,
                         QFontMetrics(page.fonts.shopName, d).elidedText(quote.shopName, Qt::ElideRight, textWidth));
        y += h + Mm(1);
    }
    painter.setFont(page.fonts.small);
    const int h = LineHeight(page.fonts.small, d);
    for (const QString &line : quote.shopLines) {
        if (y + h > Mm(kAddressTop - 1))
            break;
        painter.drawText(QRect(logoRight, y, textWidth, h), Qt::AlignRight | Qt::AlignTop,
                         QFontMetrics(page.fonts.small, d).elidedText(line, Qt::ElideRight, textWidth));
        y += h;
    }
}

void PaintAddressAndInfo(QPainter &painter, const Quote &quote, const Page &page)
{
    QPaintDevice *d = page.device;
    const int width = Mm(kAddressWidth);
    if (!quote.returnAddress.isEmpty() && !quote.customerLines.isEmpty()) {
        QFont font = page.fonts.tiny;
        font.setUnderline(true);
        painter.setFont(font);
        const int h = LineHeight(font, d);
        painter.drawText(QRect(page.left, Mm(kAddressTop + 12.7) - h - Mm(1), width, h), Qt::AlignLeft | Qt::AlignBottom,
                         QFontMetrics(font, d).elidedText(quote.returnAddress, Qt::ElideRight, width));
    }
    int y = Mm(kAddressTop + 12.7);
    for (qsizetype k = 0; k < quote.customerLines.size(); ++k) {
        const QFont &font = k == 0 ? page.fonts.bold : page.fonts.text;
        const int h = LineHeight(font, d);
        if (y + h > Mm(kAddressBottom))
            break;
        painter.setFont(font);
        painter.drawText(QRect(page.left, y, width, h), Qt::AlignLeft | Qt::AlignTop,
                         QFontMetrics(font, d).elidedText(quote.customerLines[k], Qt::ElideRight, width));
        y += h;
    }
    y = Mm(kInfoTop);
    painter.setFont(page.fonts.text);
    const int infoWidth = page.right - Mm(kInfoLeft);
    for (const QString &line : {quote.dateLine, quote.validUntilLine, quote.referenceLine}) {
        if (line.isEmpty())
            continue;
        const int h = WrappedHeight(page.fonts.text, d, infoWidth, line);
        DrawWrapped(painter, page.fonts.text, QRect(Mm(kInfoLeft), y, infoWidth, h), Qt::AlignLeft | Qt::AlignTop, line);
        y += h + Mm(1);
    }
    painter.setFont(page.fonts.heading);
    const QFontMetrics heading(page.fonts.heading, d);
    painter.drawText(QRect(page.left, Mm(kHeadingTop), page.width(), heading.height()), Qt::AlignLeft | Qt::AlignTop,
                     heading.elidedText(quote.title, Qt::ElideRight, page.width()));
    // Fold marks and the punch mark at the left edge.
    painter.setPen(QPen(QColor(150, 150, 150), Mm(0.2)));
    for (const double mm : {105.0, 210.0})
        painter.drawLine(Mm(4), Mm(mm), Mm(8), Mm(mm));
    painter.drawLine(Mm(4), Mm(148.5), Mm(10), Mm(148.5));
    painter.setPen(Qt::black);
}

void PaintPageFrame(QPainter &painter, const Quote &quote, const Page &page, int pageIndex, int pageCount)
{
    QPaintDevice *d = page.device;
    const Columns &c = page.columns;
    int top = page.tableTop;
    if (pageIndex == 0) {
        PaintLetterhead(painter, quote, page);
        PaintAddressAndInfo(painter, quote, page);
        top = page.firstTableTop;
    } else {
        // A running head: which quote, whose.
        painter.setFont(page.fonts.bold);
        const int h = LineHeight(page.fonts.bold, d);
        painter.drawText(QRect(page.left, Mm(kPageTop), page.width() / 2, h), Qt::AlignLeft | Qt::AlignTop, quote.title);
        painter.setFont(page.fonts.small);
        painter.drawText(QRect(page.left + page.width() / 2, Mm(kPageTop), page.width() / 2, h),
                         Qt::AlignRight | Qt::AlignVCenter, quote.shopName);
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
    painter.drawLine(page.left, top + page.headerHeight - Mm(0.5), page.right, top + page.headerHeight - Mm(0.5));

    // The footer: the shop's details on the left, the page on the right.
    painter.setPen(QPen(QColor(120, 120, 120), Mm(0.15)));
    painter.drawLine(page.left, page.footerTop, page.right, page.footerTop);
    painter.setPen(Qt::black);
    painter.setFont(page.fonts.tiny);
    const QFontMetrics tiny(page.fonts.tiny, d);
    const QString pageText = Filled(quote.pageFooter, QString::number(pageIndex + 1), QString::number(pageCount));
    const int pageWidth = tiny.horizontalAdvance(pageText) + Mm(1);
    int y = page.footerTop + Mm(1.5);
    painter.drawText(QRect(page.right - pageWidth, y, pageWidth, tiny.height()), Qt::AlignRight | Qt::AlignTop, pageText);
    const int lineWidth = page.width() - pageWidth - Mm(3);
    for (const QString &line : quote.footerLines) {
        painter.drawText(QRect(page.left, y, lineWidth, tiny.height()), Qt::AlignLeft | Qt::AlignTop,
                         tiny.elidedText(line, Qt::ElideRight, lineWidth));
        y += tiny.height();
    }
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
    write(page.fonts.small, sign.size);
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
    amount(c.priceRight, sign.unitPrice);
    amount(c.totalRight, sign.lineTotal);

    painter.setPen(QPen(QColor(170, 170, 170), Mm(0.15)));
    painter.drawLine(page.left, block.bottom(), page.right, block.bottom());
    painter.setPen(Qt::black);
}

void PaintTotals(QPainter &painter, const Quote &quote, const Page &page, QRect block)
{
    const Columns &c = page.columns;
    painter.setPen(QPen(Qt::black, Mm(0.3)));
    painter.drawLine(c.textX, block.top(), page.right, block.top());
    int y = block.top() + page.padding + Mm(1);
    for (const QuoteTotalRow &row : quote.totals) {
        const QFont &font = row.emphasised ? page.fonts.bold : page.fonts.text;
        painter.setFont(font);
        const int h = QFontMetrics(page.fonts.bold, page.device).height();
        const QRect line(c.textX, y, page.right - c.textX, h);
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, row.label);
        painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, row.amount);
        y += h + Mm(1);
    }
}

void PaintNote(QPainter &painter, const Page &page, const QString &heading, const QString &text, QRect block)
{
    int y = block.top() + Mm(3);
    const int hh = WrappedHeight(page.fonts.smallBold, page.device, page.width(), heading);
    DrawWrapped(painter, page.fonts.smallBold, QRect(page.left, y, page.width(), hh), Qt::AlignLeft | Qt::AlignTop, heading);
    y += hh;
    DrawWrapped(painter, page.fonts.small, QRect(page.left, y, page.width(), block.bottom() - y + 1),
                Qt::AlignLeft | Qt::AlignTop, text);
}

QStringList Lines(const QString &block)
{
    QStringList lines;
    for (const QString &line : block.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    return lines;
}

// The quantity as the project holds it, for a note: whole numbers without decimals.
QString QuantityText(long double quantity, QChar decimal)
{
    if (!std::isfinite(quantity))
        return QStringLiteral("?");
    return WithDecimal(FormatFixed(quantity, 0, quantity == std::floor(quantity) ? 0 : 2), decimal);
}

} // namespace

QString QuoteProjectName(const AppState &state, const QString &projectFilePath)
{
    const QString name = QFileInfo(projectFilePath).completeBaseName();
    return name.isEmpty() ? state.LanguageEntry(text::kQuoteUntitledProject) : name;
}

std::optional<Quote> BuildQuote(AppState &state, const QString &projectName, const QuoteDetails &details,
                                const ShopDetails &shop)
{
    Quote quote;
    const QChar decimal = DecimalSeparator(state.language);
    const QChar group = GroupSeparator(state.language);
    const QString currency = CurrencyWord(state.language);
    const auto money = [&](Cents c) -> QString {
        return FormatCents(c, decimal, group) + (currency.isEmpty() ? QString() : QString(u' ' + currency));
    };
    const QString dateFormat = state.LanguageEntry(text::kPrintFooterDateFormat);
    const auto dateText = [&](QDate date) {
        return dateFormat.isEmpty() ? date.toString(Qt::ISODate) : date.toString(dateFormat);
    };
    const auto entry = [&](int n) { return state.LanguageEntry(n); };

    quote.title = details.number.isEmpty() ? Filled(entry(text::kQuoteHeading), projectName)
                                           : Filled(entry(text::kQuoteTitleNumber), details.number);
    if (details.date.isValid())
        quote.dateLine = Filled(entry(text::kQuoteDateLine), dateText(details.date));
    if (details.validUntil.isValid())
        quote.validUntilLine = Filled(entry(text::kQuoteValidUntilLine), dateText(details.validUntil));
    quote.referenceLine = Filled(entry(text::kQuoteReferenceLine),
                                 details.reference.trimmed().isEmpty() ? projectName : details.reference.trimmed());
    quote.signColumn = entry(text::kQuoteSignColumn);
    quote.quantityColumn = entry(text::kQuoteQuantityColumn);
    quote.piecePriceColumn = entry(text::kQuotePiecePriceColumn);
    quote.lineTotalColumn = entry(text::kQuoteLineTotalColumn);
    quote.pageFooter = entry(text::kPrintFooterPage);
    quote.notesHeading = entry(text::kQuoteNotes);
    quote.termsHeading = entry(text::kShopTerms);

    // The letterhead, the return address and the footer, from whatever the shop filled in.
    quote.shopName = shop.name;
    const QStringList address = Lines(shop.address);
    quote.shopLines = address;
    QStringList contact;
    for (const QString &c : {shop.phone, shop.email, shop.web})
        if (!c.isEmpty())
            contact << c;
    quote.shopLines += contact;
    if (!shop.taxNumber.isEmpty())
        quote.shopLines << Filled(entry(text::kQuoteTaxNumberLine), shop.taxNumber);
    QStringList identity;
    if (!shop.name.isEmpty())
        identity << shop.name;
    identity += address;
    quote.returnAddress = identity.join(QStringLiteral(", "));
    if (!identity.isEmpty())
        quote.footerLines << identity.join(QStringLiteral(" · "));
    if (!contact.isEmpty())
        quote.footerLines << contact.join(QStringLiteral(" · "));
    QStringList money2;
    if (!shop.taxNumber.isEmpty())
        money2 << Filled(entry(text::kQuoteTaxNumberLine), shop.taxNumber);
    if (!shop.bankAccount.isEmpty())
        money2 << Filled(entry(text::kQuoteBankLine), shop.bankAccount);
    if (!money2.isEmpty())
        quote.footerLines << money2.join(QStringLiteral(" · "));
    quote.logo = ShopLogoImage(state.dataFolder, shop.logo, QSize(Mm(60), Mm(28)) / 2);
    if (!details.customerName.trimmed().isEmpty())
        quote.customerLines << details.customerName.trimmed();
    quote.customerLines += Lines(details.customerAddress);
    quote.author = shop.name.isEmpty() ? QStringLiteral("Tablix") : shop.name;
    quote.subject = Filled(entry(text::kQuoteSubject),
                           details.customerName.trimmed().isEmpty() ? projectName : details.customerName.trimmed());
    if (!details.notes.trimmed().isEmpty())
        quote.notes << details.notes.trimmed();

    QStringList leftOut;
    Cents sum = 0;
    bool any = false;
    WalkSummaryBlocks(state, [&](const AppState &signState, int slot, const SummaryBlock &block,
                                 const EngineResults &results) {
        any = true;
        const long double quantity = signState.currentSignRecord.quantity.get();
        // What no dialog stores still reaches the customer only with a word of explanation.
        if (!(quantity > 0) || !(quantity <= 1e9L)) {
            const QString why = Filled(entry(text::kQuoteLeftOut), block.title, QuantityText(quantity, decimal));
            leftOut << why;
            quote.notices << why;
            return;
        }
        QuoteSign sign;
        sign.slot = slot;
        sign.title = block.title;
        sign.pieces = std::int64_t(std::ceil(quantity));
        sign.quantity = QString::number(sign.pieces);
        QStringList notes;
        if (sign.pieces != quantity) {
            notes << Filled(entry(text::kQuoteRoundedUp), QuantityText(quantity, decimal), sign.quantity);
            quote.notices << block.title + QStringLiteral(": ") + notes.last();
        }
        const long double width = signState.currentSignRecord.width.get();
        const long double height = results.geometryHeight.get();
        if (width > 0 && height > 0)
            sign.size = Filled(entry(text::kQuoteSize), WithDecimal(FormatFixed(width, 0, 2), decimal),
                               WithDecimal(FormatFixed(height, 0, 2), decimal));
        if (!block.pieceValue.isEmpty())
            sign.unit = CentsFromDecimalText(block.pieceValue);
        std::optional<Cents> line = sign.unit ? MultiplyCents(*sign.unit, sign.pieces) : std::nullopt;
        if (line && (*line > kMaxCents - sum || *line < -kMaxCents - sum))
            line.reset();
        if (line) {
            sign.line = *line;
            sum += *line;
            sign.unitPrice = money(*sign.unit);
            sign.lineTotal = money(*line);
        } else {
            sign.unit.reset();
            const QString why = Filled(entry(text::kQuoteNotPriced), block.title);
            notes << why;
            quote.notices << why;
        }
        if (!block.note.isEmpty())
            notes << block.note;
        sign.note = notes.join(QLatin1Char('\n'));
        MeasureDrawing(signState, results, sign);
        quote.signs.push_back(std::move(sign));
    });
    if (!any)
        return std::nullopt;
    quote.notes += leftOut;

    if (!shop.taxRate) {
        quote.net = quote.gross = sum;
        quote.totals.push_back({entry(text::kQuoteProjectTotal), money(sum), true});
    } else {
        quote.taxStated = true;
        const int rate = *shop.taxRate;
        if (shop.pricesGross) {
            quote.gross = sum;
            quote.tax = TaxInGross(sum, rate);
            quote.net = sum - quote.tax;
            quote.notes << entry(text::kQuotePricesIncludeTax);
        } else {
            quote.net = sum;
            quote.tax = TaxOfNet(sum, rate);
            quote.gross = sum + quote.tax;
        }
        quote.totals.push_back({entry(text::kQuoteNetTotal), money(quote.net), false});
        quote.totals.push_back({Filled(entry(text::kQuoteTaxLine), FormatRate(rate, decimal)), money(quote.tax), false});
        quote.totals.push_back({entry(text::kQuoteGrossTotal), money(quote.gross), true});
    }
    quote.terms = shop.terms.trimmed();
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
        writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
        writer.setResolution(kQuoteDpi);
        // The page from its corner: the letterhead, the window's address and the fold marks stand in mm from its edges.
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                         QPageLayout::Millimeter));
        writer.setTitle(quote.title);
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
        PaintTotals(painter, quote, page, layout.total.rect);
        const auto notes = NoteBlocks(quote);
        for (size_t n = 0; n < notes.size(); ++n) {
            turnTo(layout.notes[n].page);
            PaintNote(painter, page, notes[n].first, notes[n].second, layout.notes[n].rect);
        }
        if (!painter.end())
            return std::nullopt;
        if (layoutOut)
            *layoutOut = layout;
    }
    return WithPdfAuthorAndSubject(bytes, quote.author, quote.subject);
}

} // namespace tablix
