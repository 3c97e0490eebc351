// Piece labels in saw order painted on label sheets with QPdfWriter.
#include "core/workshop/piece_labels.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "core/number/number_format.h"
#include "core/params/language.h"
#include "core/params/language_entries.h"

namespace tablix {

QRectF LabelSheet::labelRect(int index) const
{
    const int onSheet = index % std::max(1, perSheet());
    const int column = onSheet % columns, row = onSheet / columns;
    return QRectF(left + column * (labelWidth + gapX), top + row * (labelHeight + gapY), labelWidth, labelHeight);
}

const std::vector<LabelSheet> &LabelSheets()
{
    static const std::vector<LabelSheet> sheets = {
        {QStringLiteral("3x8"), 3, 8, 70, 36, 0, 4.5, 0, 0},
        {QStringLiteral("2x7"), 2, 7, 99.1, 38.1, 4.65, 15.15, 2.5, 0},
    };
    return sheets;
}

std::optional<LabelSheet> LabelSheetNamed(const QString &name)
{
    for (const LabelSheet &sheet : LabelSheets())
        if (sheet.name.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return sheet;
    return std::nullopt;
}

std::vector<PieceLabel> PieceLabelsOf(const CuttingPlan &plan)
{
    std::vector<PieceLabel> labels;
    for (const ProfilePlan &p : plan.profiles)
        for (size_t b = 0; b < p.bars.size(); ++b)
            for (size_t c = 0; c < p.bars[b].cuts.size(); ++c)
                labels.push_back({c < p.bars[b].signs.size() ? p.bars[b].signs[c] : QString(), p.profile, p.bars[b].cuts[c], int(b) + 1,
                                  int(c) + 1});
    return labels;
}

std::optional<QByteArray> PieceLabelsPdf(const std::vector<PieceLabel> &labels, const LabelSheet &sheet, const QString &project,
                                         const LanguageTable &language)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return std::nullopt;
    {
        constexpr double kDpi = 600;
        QPdfWriter writer(&buffer);
        writer.setResolution(int(kDpi));
        // The sheet's own margins place the labels; the page has none of its own.
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        writer.setTitle(project);
        writer.setCreator(QStringLiteral("Tablix"));
        QPainter painter;
        if (!painter.begin(&writer))
            return std::nullopt;
        // Millimetres from here on.
        painter.scale(kDpi / 25.4, kDpi / 25.4);
        const QChar separator = DecimalSeparator(language);
        const QString cm = language.LanguageEntry(text::kCentimetreUnit);
        const auto font = [](double mm, bool bold) {
            QFont f;
            f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
            f.setPixelSize(100); // drawn scaled: an em of 100 units becomes `mm`
            f.setBold(bold);
            return std::pair{f, mm / 100};
        };
        // A text `mm` high, shrunk to fit the width.
        const auto write = [&](const QRectF &box, double mm, bool bold, const QString &text, int align) {
            auto [f, scale] = font(mm, bold);
            const double natural = QFontMetricsF(f).horizontalAdvance(text) * scale;
            if (natural > box.width() && natural > 0)
                scale *= box.width() / natural;
            painter.save();
            painter.translate(box.left(), box.top());
            painter.scale(scale, scale);
            painter.setFont(f);
            painter.drawText(QRectF(0, 0, box.width() / scale, box.height() / scale), align | Qt::AlignVCenter, text);
            painter.restore();
        };
        for (size_t i = 0; i < labels.size(); ++i) {
            if (i > 0 && i % size_t(sheet.perSheet()) == 0)
                writer.newPage();
            const PieceLabel &label = labels[i];
            const QRectF r = sheet.labelRect(int(i)).adjusted(3, 2.5, -3, -2.5);
            const double line = r.height() / 5;
            painter.setPen(Qt::black);
            write(QRectF(r.left(), r.top(), r.width(), line), line * 0.6, false, project, Qt::AlignLeft);
            write(QRectF(r.left(), r.top() + line, r.width(), line), line * 0.75, true, label.sign.isEmpty() ? QStringLiteral("–") : label.sign,
                  Qt::AlignLeft);
            write(QRectF(r.left(), r.top() + 2 * line, r.width(), line), line * 0.6, false, label.profile, Qt::AlignLeft);
            write(QRectF(r.left(), r.top() + 3 * line, r.width(), line * 1.2), line * 0.95, true,
                  WithDecimalSeparator(CutLengthText(label.length), separator) + cm, Qt::AlignLeft);
            write(QRectF(r.left(), r.top() + 4.2 * line, r.width(), line * 0.8), line * 0.55, false,
                  language.LanguageEntry(text::kLabelBarAndCut).arg(label.bar).arg(label.cut), Qt::AlignRight);
        }
        if (!painter.end())
            return std::nullopt;
    }
    return bytes;
}

} // namespace tablix
