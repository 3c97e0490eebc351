// The report page: its measuring, screen drawing and printout, on any canvas.
#include "core/render/report_layout.h"

#include <QPainter>
#include <algorithm>

#include "core/engine/compute_sign.h"
#include "core/render/sign_drawing.h"
#include "core/render/report_lines.h"
#include "core/number/number_format.h"
#include "core/number/real48.h"
#include "core/project/app_state.h"

namespace tablix {

namespace {

int Round(long double value)
{
    return int(RoundEven(value));
}

bool EmptySign(const AppState &state)
{
    return state.workingRows[0] == 0;
}

// A sign without rows has nothing to draw; its title and lines are still shown.
bool ShowsDrawing(const AppState &state)
{
    return state.reportShowsDrawing && !EmptySign(state);
}

// Black on the window colour, so that a text over the drawing stays readable.
ReportTextWriter PainterWriter(QPainter &canvas)
{
    return [&canvas](int x, int y, const QString &text) {
        canvas.setBackgroundMode(Qt::OpaqueMode);
        canvas.setBackground(QBrush(Qt::white));
        canvas.setPen(QPen(QColor(0, 0, 0)));
        canvas.drawText(x, y + canvas.fontMetrics().ascent(), text);
    };
}

// Height of the drawing's bottom bar on the canvas, for a scale of 0 when it is not drawn.
int DrawingBottom(const EngineResults &results, long double scale)
{
    return scale > 0 ? DeviceCoordinate(scale, results.record(62).y2.get(), 0) : 0;
}

} // namespace

int ReportLineY(int a, int f, int top)
{
    return Round(1.4L * a * f + top);
}

QString ReportTitleShown(const QString &title)
{
    return title.startsWith(QLatin1Char('!')) ? title.mid(1) : title;
}

long double ReportDrawingScale(const AppState &state, const EngineResults &results, int clientWidth)
{
    const long double width = state.currentSignRecord.width.get();
    const long double height = results.geometryHeight.get();
    // A sign without rows would show a bare frame; its report is the line saying it has none.
    if (!(width > 0) || !(height > 0) || state.workingRows[0] == 0)
        return 0;
    const long double sx = clientWidth / (1.05L * width);
    const long double sy = kReportDrawingMaxHeight / height;
    return std::max<long double>(0, std::min(sx, sy));
}

bool MeasureReport(const AppState &state, ReportLayout &layout, const ReportTextWidth &textWidth, int f, int clientWidth)
{
    layout.reportWidth = textWidth(state.currentSignRecord.titleText()) + 5;
    int top = 2 * f + 5;
    if (ShowsDrawing(state)) {
        const EngineResults results = ComputeSign(state);
        const long double scale = ReportDrawingScale(state, results, clientWidth);
        top += DrawingBottom(results, scale);
        if (scale > 0)
            layout.reportWidth = std::max(
                layout.reportWidth, DeviceCoordinate(scale, results.record(62).x2.get(), 0) + 5);
    }

    int tab = 0;
    for (const QString &line : state.ReportLines) {
        if (IsUnusedLine(line))
            break;
        const ReportColumns columns = SplitReportColumns(line);
        if (columns.hasValue)
            tab = std::max(tab, textWidth(columns.label) + 5);
    }
    layout.reportTabColumn = tab + 15;

    int a = 0;
    layout.reportHeight = top;
    for (const QString &line : state.ReportLines) {
        if (IsUnusedLine(line))
            break;
        ++a;
        layout.reportHeight = ReportLineY(a, f, top);
        const ReportColumns columns = SplitReportColumns(line);
        layout.reportWidth = std::max(layout.reportWidth, columns.hasValue
                                                              ? textWidth(columns.value) + layout.reportTabColumn
                                                              : textWidth(line) + 5);
    }
    layout.reportHeight += 2 * f;
    return !EmptySign(state);
}

void DrawReportPicture(QPainter &canvas, const AppState &state, ReportLayout &layout, int f, int clientWidth,
                       QSize paintBox, const ReportTextWriter &write)
{
    const ReportTextWriter &out = write ? write : PainterWriter(canvas);
    canvas.fillRect(QRect(QPoint(0, 0), paintBox), Qt::white);
    out(5, 1, ReportTitleShown(state.currentSignRecord.titleText()));
    if (ShowsDrawing(state)) {
        const EngineResults results = ComputeSign(state);
        const long double scale = ReportDrawingScale(state, results, clientWidth);
        if (scale > 0)
            RenderSign(canvas, state, results, scale, kReportDrawingX, 2 * f, kReportDrawingMarks);
        layout.reportTextTop = 2 * f + DrawingBottom(results, scale) + 5;
    } else {
        layout.reportTextTop = 2 * f + 5;
    }
}

void DrawReportText(QPainter &canvas, const AppState &state, const ReportLayout &layout, int f,
                    const ReportTextWriter &write)
{
    const ReportTextWriter &out = write ? write : PainterWriter(canvas);
    int a = 0;
    for (const QString &line : state.ReportLines) {
        if (IsUnusedLine(line))
            break;
        const int y = ReportLineY(++a, f, layout.reportTextTop);
        const ReportColumns columns = SplitReportColumns(line);
        out(kReportTextX, y, columns.label);
        if (columns.hasValue)
            out(layout.reportTabColumn, y, columns.value);
    }
}

long double PrintRatio(int printerDpiY, int screenDpi)
{
    const long double printer = printerDpiY > 0 ? printerDpiY : 96;
    const long double screen = screenDpi > 0 ? screenDpi : 96;
    return RoundToReal48(printer / screen);
}

int PrinterFontHeight(int f, long double ratio)
{
    return std::max(1, Round(f * ratio));
}

void PrintReportPicture(QPainter &canvas, const AppState &state, ReportLayout &layout, const ReportPrintPage &page,
                        const ReportTextWriter &write)
{
    const ReportTextWriter &out = write ? write : PainterWriter(canvas);
    out(page.ox + 5, page.oy + 1, ReportTitleShown(state.currentSignRecord.titleText()));
    const int f = page.f;
    if (ShowsDrawing(state)) {
        const EngineResults results = ComputeSign(state);
        const long double scale = ReportDrawingScale(state, results, page.clientWidth) * page.ratio;
        if (scale > 0)
            RenderSign(canvas, state, results, scale, page.ox + kReportDrawingX, 2 * f, kReportDrawingMarks);
        layout.reportTextTop = 2 * f + DrawingBottom(results, scale) + Round(5 * page.ratio);
    } else {
        layout.reportTextTop = 2 * f + page.oy + 1 + Round(5 * page.ratio);
    }
}

bool PrintReportText(QPainter &canvas, const AppState &state, ReportLayout &layout, const ReportPrintPage &page,
                     const ReportTextWriter &write)
{
    const ReportTextWriter &out = write ? write : PainterWriter(canvas);
    const int f = page.f;
    const int valueX = Round(page.ratio * layout.reportTabColumn);
    const int bottom = page.pageBottom > 0 ? page.pageBottom : state.printerPageHeight;
    int d = 1;
    for (const QString &line : state.ReportLines) {
        if (IsUnusedLine(line))
            break;
        if (Round(1.4L * d * f + layout.reportTextTop + f) > bottom) {
            layout.reportTextTop = page.oy + 1;
            d = 0;
            if (page.newPage && !page.newPage())
                return false;
        }
        const int y = ReportLineY(d, f, layout.reportTextTop);
        const ReportColumns columns = SplitReportColumns(line);
        out(page.ox + kReportTextX, y, columns.label);
        if (columns.hasValue)
            out(valueX, y, columns.value);
        ++d;
    }
    return true;
}

} // namespace tablix
