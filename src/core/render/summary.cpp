// The summary of the whole project: one block per sign in use, and the total.
#include "core/render/summary.h"

#include <QPainter>
#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/engine/compute_sign.h"
#include "core/render/sign_drawing.h"
#include "core/render/report_lines.h"
#include "core/number/number_format.h"
#include "core/project/app_state.h"
#include "core/params/language_entries.h"

namespace tablix {

namespace {

QString WithoutBang(const QString &title)
{
    return title.startsWith(QLatin1Char('!')) ? title.mid(1) : title;
}

// Puts the current sign's cost text into ReportLines, as the report view would show it.
EngineResults MakeReportLinesAvailable(AppState &state)
{
    EngineResults results = ComputeSign(state);
    state.ViewText = results.CostText;
    SplitViewText(state);
    return results;
}

// All or nothing: a sum that overflows leaves the total as it was.
void AddToTotal(Real48 &total, const std::vector<long double> &additions)
{
    Real48 sum = total;
    for (long double a : additions)
        sum.set(sum.get() + a);
    total = sum;
}

// The block of the current sign, its prices added to `total`; a sign whose numbers overflow, in
// its computation or in the total, gets the block naming it, adds nothing and is not drawn.
SummaryBlock ComputeSummaryBlock(AppState &state, Real48 &total, EngineResults &results)
{
    try {
        results = MakeReportLinesAvailable(state);
        SummaryBlock block = BuildSummaryBlock(state);
        AddToTotal(total, block.additions);
        return block;
    } catch (const FloatingPointOverflow &overflow) {
        results = EngineResults{};
        return OverflowSummaryBlock(state, QString::fromLatin1(overflow.what()));
    }
}

int RowOffset(int row, int textHeight)
{
    return int(RoundEven(1.4L * row * textHeight));
}

// Text with its cell's top-left corner at (x, y), on white.
void WriteText(QPainter &canvas, int x, int y, const QString &text)
{
    canvas.setBackgroundMode(Qt::OpaqueMode);
    canvas.setBackground(QBrush(Qt::white));
    canvas.setPen(QPen(QColor(0, 0, 0)));
    canvas.drawText(x, y + canvas.fontMetrics().ascent(), text);
}

} // namespace

AppState SignState(const AppState &state, int k)
{
    AppState sign = state;
    sign.currentSign = k;
    sign.currentSignRecord = k == state.currentSign ? state.currentSignRecord : state.slot(k);
    sign.LoadWorkingState(); // the sign's own rows, row marks and lower marks
    return sign;
}

void ForEachSignInUse(const AppState &state, const std::function<void(AppState &sign, int slot)> &perSign)
{
    for (int k = 1; k <= kMaxSigns; ++k) {
        const SignRecord &record = k == state.currentSign ? state.currentSignRecord : state.slot(k);
        if (!record.inUse())
            continue;
        AppState sign = SignState(state, k);
        perSign(sign, k);
    }
}

bool LineBeginsWith(const QString &line, const QString &entry)
{
    return !entry.isEmpty() && line.startsWith(entry);
}

QString ReportValueText(const QString &line, const QString &unit)
{
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    if (tab < 0)
        return QString();
    qsizetype start = tab + 1;
    while (start < line.size() && line.at(start) == QLatin1Char(' '))
        ++start;
    QString value = line.mid(start);
    if (!unit.isEmpty()) {
        const qsizetype at = value.indexOf(unit);
        if (at >= 0)
            value.truncate(at);
    }
    return value;
}

long double ReportValueNumber(const QString &valueText)
{
    QByteArray text = valueText.trimmed().toLatin1();
    if (text.startsWith('+'))
        text.remove(0, 1);
    if (text.isEmpty())
        return 0;
    // Not strtold: the application's locale may use a decimal comma.
    long double value = 0;
    const char *end = text.constData() + text.size();
    const auto [ptr, ec] = std::from_chars(text.constData(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        return 0;
    return value;
}

int SummaryBlock::rows() const
{
    int rows = 0;
    for (const SummaryBlockText &t : texts)
        rows = std::max(rows, t.row + 1);
    return rows;
}

SummaryBlock BuildSummaryBlock(const AppState &state)
{
    SummaryBlock block;
    QString note;
    block.title = WithoutBang(state.currentSignRecord.titleText());
    const QString unit = state.LanguageEntry(text::kCurrency);
    const QString areaLine = state.LanguageEntry(text::kCostTotalWithSurcharge);
    const QString totalLine = state.LanguageEntry(text::kOrderTotalWithSurcharge);
    const long double quantity = state.currentSignRecord.quantity.get();

    for (const QString &line : state.ReportLines) {
        if (IsUnusedLine(line))
            break;
        if (LineBeginsWith(line, areaLine)) {
            const QString value = ReportValueText(line, unit);
            block.pieceValue = value.trimmed();
            block.texts.push_back(
                {0, state.LanguageEntry(text::kSummaryAreaLabel) + QStringLiteral(" = ") + value + QLatin1Char(' ') + unit});
            if (quantity == 1)
                block.additions.push_back(RoundToReal48(ReportValueNumber(value)));
        }
        if (quantity > 1 && LineBeginsWith(line, totalLine)) {
            const QString value = ReportValueText(line, unit);
            block.orderValue = value.trimmed();
            block.texts.push_back(
                {1, state.LanguageEntry(text::kSummaryPiecesLabel) + QLatin1Char(' ') + FormatFixed(quantity, 0, 0)});
            block.texts.push_back(
                {2, state.LanguageEntry(text::kSummaryTotalLabel) + QStringLiteral(" = ") + value + QLatin1Char(' ') + unit});
            block.additions.push_back(RoundToReal48(ReportValueNumber(value)));
            block.piecesShown = true;
        }
        if (LineBeginsWith(line, state.LanguageEntry(text::kSpecialProfilesNotPriced)))
            note = line;
    }
    if (!note.isEmpty())
        block.texts.push_back({block.rows(), note});
    block.note = note;
    return block;
}

SummaryBlock OverflowSummaryBlock(const AppState &state, const QString &message)
{
    SummaryBlock block;
    block.title = WithoutBang(state.currentSignRecord.titleText());
    block.texts.push_back({0, message});
    block.note = message;
    return block;
}

QString SummaryTotalLine(const AppState &state, long double total)
{
    return state.LanguageEntry(text::kSummaryTotalLabel) + QStringLiteral(" = ") + FormatFixed(total, 0, 2) +
           QLatin1Char(' ') + state.LanguageEntry(text::kCurrency);
}

SummaryBlockPlace PlaceSummaryBlock(const AppState &state, const EngineResults &results, int cursorY, int textHeight, int textRows)
{
    SummaryBlockPlace place;
    place.y0 = cursorY + 2 * textHeight;
    const long double width = state.currentSignRecord.width.get();
    const long double height = results.geometryHeight.get();
    int drawnHeight = 0;
    if (width > 0 && height > 0) {
        const long double sx = kSummaryDrawingSize / width;
        const long double sy = kSummaryDrawingSize / height;
        place.scale = sx < sy ? sx : sy;
        place.drawable = true;
        drawnHeight = DeviceCoordinate(place.scale, results.record(62).y2.get(), 0);
    }
    place.nextCursorY = place.y0 + drawnHeight + 5;
    const long double textsHeight = 1.4L * textRows * textHeight;
    if (textRows >= 2 && place.nextCursorY - place.y0 < textsHeight)
        place.nextCursorY = place.y0 + int(RoundEven(textsHeight));
    return place;
}

Real48 WalkSummaryBlocks(const AppState &state,
                         const std::function<void(const AppState &sign, int slot, const SummaryBlock &,
                                                  const EngineResults &)> &perSign)
{
    Real48 total;
    ForEachSignInUse(state, [&](AppState &sign, int k) {
        EngineResults results;
        const SummaryBlock block = ComputeSummaryBlock(sign, total, results);
        perSign(sign, k, block, results);
    });
    return total;
}

QStringList SummaryTexts(const AppState &state)
{
    QStringList texts;
    const Real48 total = WalkSummaryBlocks(state, [&](const AppState &, int, const SummaryBlock &block, const EngineResults &) {
        texts << block.title;
        for (const SummaryBlockText &t : block.texts)
            texts << t.text;
    });
    texts << SummaryTotalLine(state, total.get());
    return texts;
}

void DrawSummarySign(QPainter &canvas, AppState &state, SummaryPass &pass, int textHeight)
{
    if (state.workingRows[0] == 0)
        return;
    WriteText(canvas, kSummaryDrawingX, pass.cursorY + 1, WithoutBang(state.currentSignRecord.titleText()));
    EngineResults results;
    const SummaryBlock block = ComputeSummaryBlock(state, pass.totalArea, results);
    const SummaryBlockPlace place = PlaceSummaryBlock(state, results, pass.cursorY, textHeight, block.rows());
    if (place.drawable)
        RenderSign(canvas, state, results, place.scale, kSummaryDrawingX, place.y0, kLowerMarks);
    pass.cursorY = place.nextCursorY;
    for (const SummaryBlockText &t : block.texts)
        WriteText(canvas, kSummaryTextX, place.y0 + RowOffset(t.row, textHeight), t.text);
}

SummaryPass DrawSummary(QPainter &canvas, QSize paintBox, AppState &state, int textHeight)
{
    SummaryPass pass;
    canvas.setBrush(QBrush(Qt::white, Qt::SolidPattern));
    canvas.fillRect(QRect(QPoint(0, 0), paintBox), Qt::white);
    size_t b = 0;
    ForEachSignInUse(state, [&](AppState &sign, int) {
        DrawSummarySign(canvas, sign, pass, textHeight);
        state.ReportLines[b++] = sign.currentSignRecord.titleText();
    });
    WriteText(canvas, kSummaryDrawingX, int(RoundEven(1.4L * textHeight + pass.cursorY)),
              SummaryTotalLine(state, pass.totalArea.get()));
    return pass;
}

std::optional<SummaryExtent> MeasureSummary(const AppState &state, const std::function<int(const QString &)> &textWidth,
                                            int textHeight, int verticalBarWidth, int horizontalBarHeight)
{
    if (!state.slot(1).inUse())
        return std::nullopt;
    SummaryExtent extent;
    int cursorY = 0;
    Real48 total;
    ForEachSignInUse(state, [&](AppState &sign, int) {
        EngineResults results;
        const SummaryBlock block = ComputeSummaryBlock(sign, total, results);
        cursorY = PlaceSummaryBlock(sign, results, cursorY, textHeight, block.rows()).nextCursorY;
        for (const SummaryBlockText &t : block.texts)
            extent.width = std::max(extent.width, kSummaryTextX + textWidth(t.text));
    });
    extent.width += verticalBarWidth;
    extent.height = cursorY + int(RoundEven(1.4L * textHeight)) + 10 + horizontalBarHeight;
    return extent;
}

} // namespace tablix
