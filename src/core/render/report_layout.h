// The report page: its measuring, screen drawing and printout, on any canvas.
#pragma once

#include <QSize>
#include <QString>
#include <functional>

class QPainter;

namespace tablix {

struct AppState;
struct EngineResults;

inline constexpr int kReportTextX = 5;
inline constexpr int kReportDrawingX = 5;
inline constexpr int kReportDrawingMarks = 6;
inline constexpr int kReportDrawingMaxHeight = 200;

// Where the page's parts lie: content size and value column in screen pixels, the top from which
// the text lines are counted in the units of the canvas last drawn on (printer dots after a print).
struct ReportLayout {
    int reportWidth = 100;
    int reportHeight = 100;
    int reportTabColumn = 0;
    int reportTextTop = 0;
};

using ReportTextWidth = std::function<int(const QString &)>;
// Writes a text with its cell's top-left corner at (x, y); unset, the functions write on the
// painter, black on white.
using ReportTextWriter = std::function<void(int x, int y, const QString &text)>;

// y of line a (1-based) of a page whose text starts at `top`, for the font height f.
int ReportLineY(int a, int f, int top);

// The title as written on the page: a leading "!" dropped.
QString ReportTitleShown(const QString &title);

// Scale of the drawing for a window `clientWidth` wide; 0 for a sign
// whose width or height is not positive, or that has no rows, which is then not drawn.
long double ReportDrawingScale(const AppState &state, const EngineResults &results, int clientWidth);

// Sets reportWidth, reportHeight and reportTabColumn for a font of height f; runs ComputeSign
// when the drawing is shown. A sign without rows has no drawing but keeps its title and lines
// (false).
bool MeasureReport(const AppState &state, ReportLayout &layout, const ReportTextWidth &textWidth, int f,
                   int clientWidth);

// The screen page: white paint box, title, drawing; sets reportTextTop. Then the text lines.
void DrawReportPicture(QPainter &canvas, const AppState &state, ReportLayout &layout, int f, int clientWidth,
                       QSize paintBox, const ReportTextWriter &write = {});
void DrawReportText(QPainter &canvas, const AppState &state, const ReportLayout &layout, int f,
                    const ReportTextWriter &write = {});

// ratio = printer dots per screen pixel, rounded to Real48; a resolution that is not positive
// counts as 96 dpi.
long double PrintRatio(int printerDpiY, int screenDpi);
// Screen font height f in printer dots, at least 1.
int PrinterFontHeight(int f, long double ratio);

struct ReportPrintPage {
    int ox = 0; // printable area's position in the painter's coordinates, printer dots
    int oy = 0;
    long double ratio = 1;
    int f = 1;           // printer font height in dots
    int clientWidth = 0; // of the report window, for the drawing's scale
    int pageBottom = 0;  // lowest y a line may reach; 0: printerPageHeight
    // Starts a new page; false when the printer refused, which stops the printout.
    std::function<bool()> newPage;
};

// Title and drawing on the first page; sets reportTextTop in printer dots.
void PrintReportPicture(QPainter &canvas, const AppState &state, ReportLayout &layout, const ReportPrintPage &page,
                        const ReportTextWriter &write = {});
// The text lines, breaking pages against page.pageBottom; later pages start at oy + 1.
// False when a new page could not be started.
bool PrintReportText(QPainter &canvas, const AppState &state, ReportLayout &layout, const ReportPrintPage &page,
                     const ReportTextWriter &write = {});

} // namespace tablix
