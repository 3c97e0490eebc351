// The cutting plan drawn with QPainter: laid out once in rows, painted by rows so that long plans
// stay quick on screen, and paged for paper without splitting a profile that fits a page.
#include "core/workshop/plan_drawing.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "core/number/number_format.h"
#include "core/params/language.h"
#include "core/params/language_entries.h"

namespace tablix {

namespace {

constexpr double kLane = 14;       // the line of lengths above a strip, for boxes too narrow to hold theirs
constexpr double kTextPad = 3;

QFont PlanFont(double pixels, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(int(pixels));
    font.setBold(bold);
    return font;
}

// Colours told apart also in grey by their lightness and a texture laid over them; a profile's
// lengths take them in turn, longest first.
const QColor kPalette[] = {QColor(0xa6, 0xce, 0xe3), QColor(0xff, 0xd9, 0x2f), QColor(0xb2, 0xdf, 0x8a), QColor(0xfc, 0x8d, 0x62),
                           QColor(0xca, 0xb2, 0xd6), QColor(0x8d, 0xa0, 0xcb), QColor(0xe5, 0xc4, 0x94), QColor(0x66, 0xc2, 0xa5)};
const Qt::BrushStyle kTextures[] = {Qt::NoBrush, Qt::Dense7Pattern, Qt::VerPattern, Qt::HorPattern};

double WrappedHeight(const QFont &font, double width, const QString &text)
{
    return QFontMetricsF(font).boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, text).height();
}

} // namespace

QString PrintedDate(const LanguageTable &language, QDate date)
{
    const QString format = language.LanguageEntry(text::kPrintFooterDateFormat);
    const QString shown = format.isEmpty() ? QString() : date.toString(format);
    return shown.isEmpty() ? date.toString(Qt::ISODate) : shown;
}

QString PrintedPageNumber(const LanguageTable &language, int page, int pages)
{
    const QString number = language.LanguageEntry(text::kPrintFooterPage);
    if (!number.contains(QStringLiteral("%1")) || !number.contains(QStringLiteral("%2")))
        return QStringLiteral("%1 / %2").arg(page).arg(pages);
    return number.arg(page).arg(pages);
}

QString PlanDrawing::length(CutLength units) const
{
    return WithDecimalSeparator(CutLengthText(units), separator_);
}

PlanDrawing::PlanDrawing(const CuttingPlan &plan, const LanguageTable &language, const QString &title)
    : plan_(plan), separator_(DecimalSeparator(language)), title_(PlanFont(18, true)), bold_(PlanFont(14, true)),
      text_(PlanFont(12, false)), small_(PlanFont(11, false))
{
    const auto E = [&](int n) { return language.LanguageEntry(n); };
    cm_ = E(text::kCentimetreUnit);
    offcut_ = E(text::kPlanOffcutWord);
    bar_ = E(text::kPlanBar);
    double y = 0;
    const auto add = [&](Row row) {
        row.top = y;
        y += row.height;
        rows_.push_back(std::move(row));
    };
    const double textWidth = kWidth - kStripLeft;
    add({Row::Title, -1, 0, 1, 0, 30, 0, title.isEmpty() ? E(text::kPlanTitle) : E(text::kPlanTitle) + QStringLiteral(" – ") + title});
    if (plan.interrupted())
        add({Row::Note, -1, 0, 1, 0, WrappedHeight(text_, kWidth, E(text::kPlanInterrupted)) + 4, 0, E(text::kPlanInterrupted)});
    if (plan.empty())
        add({Row::Note, -1, 0, 1, 0, WrappedHeight(text_, kWidth, E(text::kPlanNoSignInUse)) + 4, 0, E(text::kPlanNoSignInUse)});
    add({Row::Gap, -1, 0, 1, 0, 8, 0, {}});

    const QFontMetricsF smallMetrics(small_);
    for (size_t n = 0; n < plan.profiles.size(); ++n) {
        const ProfilePlan &p = plan.profiles[n];
        const int profile = int(n);
        std::vector<CutLength> lengths;
        for (const PieceDemand &d : p.pieces)
            lengths.push_back(d.length);
        lengths_.push_back(lengths);

        add({Row::Header, profile, 0, 1, 0, 22, 0, E(text::kPlanProfile) + u' ' + p.profile});
        long long pieces = 0;
        for (const PieceDemand &d : p.pieces)
            pieces += d.count;
        const QString dot = QStringLiteral("  ·  ");
        const QString stats = E(text::kPlanStockBar) + u' ' + length(p.stock.barLength) + cm_ + dot + E(text::kPlanKerf) + u' '
                              + length(p.stock.kerf) + cm_ + dot + E(text::kPlanTrim) + u' ' + length(p.stock.trim) + cm_ + dot
                              + E(text::kPlanPieces) + u' ' + QString::number(pieces) + dot + E(text::kPlanBarsToOrder) + u' '
                              + QString::number(p.bars.size()) + dot + E(text::kPlanWaste) + u' '
                              + FormatFixed(p.wastePercent(), 0, 2, separator_) + E(text::kPercentUnit) + dot
                              + (p.optimal ? E(text::kPlanProvenOptimal) : E(text::kPlanNotProvenOptimal).arg(p.lowerBound));
        add({Row::Stats, profile, 0, 1, 0, WrappedHeight(text_, kWidth, stats) + 8, 0, stats});

        const double scale = (kWidth - kStripLeft) / double(std::max<CutLength>(1, p.stock.barLength));
        for (size_t b = 0; b < p.bars.size();) {
            size_t same = b;
            while (same < p.bars.size() && p.bars[same].cuts == p.bars[b].cuts)
                ++same;
            const PlannedBar &bar = p.bars[b];
            // A lane above the strip only when some length does not fit its box.
            bool lane = false;
            for (CutLength c : bar.cuts)
                lane = lane || smallMetrics.horizontalAdvance(length(c)) + 2 * kTextPad > double(c) * scale;
            lane = lane || smallMetrics.horizontalAdvance(offcut_ + u' ' + length(bar.offcut)) + 2 * kTextPad > double(bar.offcut) * scale;
            const QString numbers = same - b > 1 ? QStringLiteral("%1 %2–%3").arg(bar_).arg(b + 1).arg(same) : QStringLiteral("%1 %2").arg(bar_).arg(b + 1);
            add({Row::Strip, profile, int(b), int(same - b), 0, (lane ? kLane : 0) + kStripHeight + 6, lane ? kLane : 0, numbers});
            for (size_t k = b; k < same; ++k) {
                const PlannedBar &cut = p.bars[k];
                QStringList parts;
                for (size_t c = 0; c < cut.cuts.size(); ++c) {
                    QString part = QStringLiteral("%1) %2%3").arg(c + 1).arg(length(cut.cuts[c]), cm_);
                    if (c < cut.signs.size() && !cut.signs[c].isEmpty())
                        part += QStringLiteral(" → ") + cut.signs[c];
                    parts << part;
                }
                // Single spaces, so that text read back from the PDF keeps a bar's cuts on its line.
                const QString line = QStringLiteral("%1 %2: ").arg(bar_).arg(k + 1) + parts.join(QStringLiteral("; "));
                add({Row::SawLine, profile, int(k), 1, 0, WrappedHeight(small_, textWidth, line) + 2, 0, line});
            }
            add({Row::Gap, profile, 0, 1, 0, 8, 0, {}});
            b = same;
        }
        for (const PieceDemand &d : p.tooLong) {
            const QString line = E(text::kPlanTooLong) + QStringLiteral(": %1 × %2%3").arg(d.count).arg(length(d.length), cm_);
            add({Row::Note, profile, 0, 1, 0, WrappedHeight(text_, kWidth, line) + 4, 0, line});
        }
        add({Row::Gap, profile, 0, 1, 0, 18, 0, {}});
    }
    height_ = y;
}

double PlanDrawing::x(const ProfilePlan &p, CutLength at) const
{
    return kStripLeft + double(at) * (kWidth - kStripLeft) / double(std::max<CutLength>(1, p.stock.barLength));
}

QColor PlanDrawing::pieceColour(int profile, CutLength length) const
{
    if (profile < 0 || size_t(profile) >= lengths_.size())
        return kPalette[0];
    const auto &lengths = lengths_[size_t(profile)];
    const size_t i = size_t(std::find(lengths.begin(), lengths.end(), length) - lengths.begin());
    return kPalette[i % std::size(kPalette)];
}

const PlanDrawing::Row *PlanDrawing::stripOf(int profile, int bar) const
{
    for (const Row &row : rows_)
        if (row.kind == Row::Strip && row.profile == profile && bar >= row.bar && bar < row.bar + row.bars)
            return &row;
    return nullptr;
}

QRectF PlanDrawing::pieceRect(int profile, int bar, int cut) const
{
    const Row *row = stripOf(profile, bar);
    if (!row)
        return {};
    const ProfilePlan &p = plan_.profiles[size_t(profile)];
    const PlannedBar &b = p.bars[size_t(bar)];
    if (cut < 0 || size_t(cut) >= b.cuts.size())
        return {};
    CutLength at = p.stock.trim;
    for (int k = 0; k < cut; ++k)
        at += b.cuts[size_t(k)] + p.stock.kerf;
    return QRectF(QPointF(x(p, at), row->top + row->lane), QPointF(x(p, at + b.cuts[size_t(cut)]), row->top + row->lane + kStripHeight));
}

void PlanDrawing::paintStrip(QPainter &painter, const Row &row, double y) const
{
    const ProfilePlan &p = plan_.profiles[size_t(row.profile)];
    const PlannedBar &bar = p.bars[size_t(row.bar)];
    const double top = y + row.lane, h = kStripHeight;
    const QPen outline(QColor(40, 40, 40), 0.8);

    QFont label = text_;
    label.setBold(true);
    painter.setFont(label);
    painter.setPen(Qt::black);
    // Bars cut alike: their numbers above, how many below.
    if (row.bars > 1) {
        painter.drawText(QRectF(0, top - 2, kStripLeft - 8, h / 2 + 1), Qt::AlignLeft | Qt::AlignBottom, row.text);
        painter.drawText(QRectF(0, top + h / 2 + 1, kStripLeft - 8, h / 2), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("× %1").arg(row.bars));
    } else {
        painter.drawText(QRectF(0, top, kStripLeft - 8, h), Qt::AlignLeft | Qt::AlignVCenter, row.text);
    }

    painter.setFont(small_);
    const QFontMetricsF metrics(small_);
    double laneRight = -1e9; // lengths in the lane never overlap
    const auto inLane = [&](double left, double right, const QString &text, bool alignRight) {
        const double w = metrics.horizontalAdvance(text);
        const double at = alignRight ? std::max(right - w, laneRight + 4) : std::max(left, laneRight + 4);
        if (at + w > kWidth + 0.5)
            return;
        painter.setPen(Qt::black);
        painter.drawText(QRectF(at, y, w + 1, row.lane), Qt::AlignLeft | Qt::AlignVCenter, text);
        laneRight = at + w;
    };

    // Trim at the left end, then each piece and its kerf, the offcut to the right end.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(90, 90, 90));
    painter.drawRect(QRectF(QPointF(x(p, 0), top), QPointF(std::max(x(p, p.stock.trim), x(p, 0) + 1), top + h)));
    CutLength at = p.stock.trim;
    const auto &lengths = lengths_[size_t(row.profile)];
    for (CutLength cut : bar.cuts) {
        const QRectF box(QPointF(x(p, at), top), QPointF(x(p, at + cut), top + h));
        const size_t i = size_t(std::find(lengths.begin(), lengths.end(), cut) - lengths.begin());
        painter.setPen(outline);
        painter.setBrush(kPalette[i % std::size(kPalette)]);
        painter.drawRect(box);
        if (const Qt::BrushStyle texture = kTextures[i % std::size(kTextures)]; texture != Qt::NoBrush) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QBrush(QColor(0, 0, 0, 70), texture));
            painter.drawRect(box);
        }
        const QString text = length(cut);
        if (metrics.horizontalAdvance(text) + 2 * kTextPad <= box.width()) {
            painter.setPen(Qt::black);
            painter.drawText(box, Qt::AlignCenter, text);
        } else {
            inLane(box.left(), box.right(), text, false);
        }
        at += cut;
        // The kerf is thinner than a line at most zooms: at least a hairline of it shows.
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawRect(QRectF(QPointF(x(p, at), top), QPointF(std::max(x(p, at + p.stock.kerf), x(p, at) + 0.8), top + h)));
        at += p.stock.kerf;
    }
    const QRectF rest(QPointF(x(p, at), top), QPointF(x(p, p.stock.barLength), top + h));
    if (rest.width() > 0) {
        painter.setPen(outline);
        painter.setBrush(Qt::white);
        painter.drawRect(rest);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QBrush(QColor(120, 120, 120), Qt::BDiagPattern));
        painter.drawRect(rest);
    }
    const QString restText = offcut_ + u' ' + length(bar.offcut);
    if (metrics.horizontalAdvance(restText) + 2 * kTextPad <= rest.width()) {
        // On a white ground of its own, so the hatching does not cross the figures.
        const double w = metrics.horizontalAdvance(restText) + 2 * kTextPad;
        const QRectF label(rest.center().x() - w / 2, top + h / 2 - metrics.height() / 2, w, metrics.height());
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawRect(label);
        painter.setPen(Qt::black);
        painter.drawText(label, Qt::AlignCenter, restText);
    } else {
        inLane(rest.left(), x(p, p.stock.barLength), restText, true);
    }
    painter.setBrush(Qt::NoBrush);
}

void PlanDrawing::paintRow(QPainter &painter, const Row &row, double y) const
{
    const QRectF full(0, y, kWidth, row.height);
    switch (row.kind) {
    case Row::Title:
        painter.setFont(title_);
        painter.setPen(Qt::black);
        painter.drawText(full, Qt::AlignLeft | Qt::AlignTop, row.text);
        break;
    case Row::Note:
        painter.setFont(text_);
        painter.setPen(QColor(170, 0, 0));
        painter.drawText(full, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, row.text);
        break;
    case Row::Header:
        painter.setFont(bold_);
        painter.setPen(Qt::black);
        painter.drawText(full, Qt::AlignLeft | Qt::AlignBottom, row.text);
        painter.setPen(QPen(Qt::black, 0.8));
        painter.drawLine(QPointF(0, y + row.height), QPointF(kWidth, y + row.height));
        break;
    case Row::Stats: {
        const ProfilePlan &p = plan_.profiles[size_t(row.profile)];
        painter.setFont(text_);
        painter.setPen(p.optimal ? QColor(0, 100, 0) : QColor(150, 0, 0));
        painter.drawText(full.adjusted(0, 4, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, row.text);
        break;
    }
    case Row::Strip:
        paintStrip(painter, row, y);
        break;
    case Row::SawLine:
        painter.setFont(small_);
        painter.setPen(QColor(30, 30, 30));
        painter.drawText(QRectF(kStripLeft, y, kWidth - kStripLeft, row.height), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                         row.text);
        break;
    case Row::Gap:
        break;
    }
}

void PlanDrawing::paint(QPainter &painter, double top, double bottom) const
{
    // Rows stand in order: the first that reaches `top` is found by halving.
    auto it = std::lower_bound(rows_.begin(), rows_.end(), top, [](const Row &row, double y) { return row.top + row.height < y; });
    for (; it != rows_.end() && it->top < bottom; ++it)
        paintRow(painter, *it, it->top);
}

void PlanDrawing::paintRows(QPainter &painter, size_t begin, size_t end) const
{
    if (begin >= rows_.size())
        return;
    const double offset = rows_[begin].top;
    for (size_t r = begin; r < end && r < rows_.size(); ++r)
        paintRow(painter, rows_[r], rows_[r].top - offset);
}

std::vector<std::pair<size_t, size_t>> PlanDrawing::paginate(double pageHeight) const
{
    std::vector<std::pair<size_t, size_t>> pages;
    size_t begin = 0;
    double y = 0;
    const auto breakAt = [&](size_t r) {
        pages.push_back({begin, r});
        begin = r;
        y = 0;
    };
    for (size_t b = 0; b < rows_.size();) {
        size_t e = b;
        while (e < rows_.size() && rows_[e].profile == rows_[b].profile)
            ++e;
        const double block = rows_[e - 1].top + rows_[e - 1].height - rows_[b].top;
        if (y > 0 && y + block > pageHeight)
            breakAt(b);
        // Only a block taller than a page is split, between its rows.
        for (size_t r = b; r < e; ++r) {
            if (y > 0 && y + rows_[r].height > pageHeight)
                breakAt(r);
            y += rows_[r].height;
        }
        b = e;
    }
    if (begin < rows_.size() || pages.empty())
        pages.push_back({begin, rows_.size()});
    return pages;
}

std::optional<QByteArray> CuttingPlanPdf(const PlanDrawing &drawing, const LanguageTable &language, QDate date)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return std::nullopt;
    {
        constexpr int kDpi = 600;
        QPdfWriter writer(&buffer);
        writer.setResolution(kDpi);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        writer.setTitle(language.LanguageEntry(text::kPlanTitle));
        writer.setCreator(QStringLiteral("Tablix"));
        const double width = writer.width(), height = writer.height();
        QFont footerFont = PlanFont(12, false);
        footerFont.setPixelSize(kDpi * 9 / 72);
        const double footerHeight = QFontMetricsF(footerFont, &writer).height();
        const double bodyHeight = height - 2 * footerHeight;
        const double scale = width / PlanDrawing::kWidth;
        const auto pages = drawing.paginate(bodyHeight / scale);
        QPainter painter;
        if (!painter.begin(&writer))
            return std::nullopt;
        painter.setRenderHint(QPainter::Antialiasing);
        for (size_t n = 0; n < pages.size(); ++n) {
            if (n > 0)
                writer.newPage();
            painter.save();
            painter.scale(scale, scale);
            drawing.paintRows(painter, pages[n].first, pages[n].second);
            painter.restore();
            const QRectF footer(0, height - footerHeight, width, footerHeight);
            painter.setPen(QPen(Qt::black, 0));
            painter.drawLine(QPointF(0, footer.top() - footerHeight / 2), QPointF(width, footer.top() - footerHeight / 2));
            painter.setFont(footerFont);
            painter.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter, PrintedDate(language, date));
            painter.drawText(footer, Qt::AlignRight | Qt::AlignVCenter, PrintedPageNumber(language, int(n) + 1, int(pages.size())));
        }
        if (!painter.end())
            return std::nullopt;
    }
    return bytes;
}

} // namespace tablix
