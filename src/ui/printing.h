// Printouts of the report and the summary: pages inside a margin, each with a dated, numbered footer.
#pragma once

#include <QDate>
#include <QFont>
#include <QRect>
#include <QString>
#include <functional>

class QPainter;
class QPaintDevice;
class QPrinter;
class QWidget;

namespace tablix {

struct AppState;
struct ReportLayout;

// The system's print and page set-up dialogs over `parent`, as the windows that print ask them;
// each answers whether the user went on.
std::function<bool(QPrinter &)> SystemPrintDialog(QWidget *parent);
std::function<bool(QPrinter &)> SystemPageSetupDialog(QWidget *parent);

// The name of a PDF to write, or empty when cancelled.
QString AskPdfFileName(QWidget *parent, const QString &proposed, const QString &filter);

// Every printed page keeps this far inside the printer's printable area.
inline constexpr double kPrintMarginMm = 10.0;

// Where a page's parts lie, in device dots of the printable area.
struct PrintedPage {
    QRect body;   // the content
    QRect footer; // below the body: the date at the left, the page number at the right
    QFont footerFont;
};

// The page of a device `width` × `height` dots at `dpiX` × `dpiY`, its footer in `font`'s family.
PrintedPage LayOutPrintedPage(int width, int height, int dpiX, int dpiY, const QFont &font);
PrintedPage LayOutPrintedPage(QPrinter &printer, const QFont &font);

QString FooterDate(const AppState &state, const QDate &date);
QString FooterPageNumber(const AppState &state, int page, int pages);
void DrawFooter(QPainter &canvas, const AppState &state, const PrintedPage &frame, int page, int pages);

// A printout's content: paints inside frame.body and calls newPage() between pages; false when a
// page could not be started, which ends the printout.
using PrintPass = std::function<bool(QPainter &canvas, const PrintedPage &frame, const std::function<bool()> &newPage)>;

// Opens `dialog` on the program's printer (which `programPrinter` returns after refreshing the four
// printer values of the state). Confirmed: the values are refreshed again and the printer returned;
// cancelled: they stay as they were and nothing is returned.
QPrinter *AskForPrinter(AppState &state, const std::function<QPrinter &()> &programPrinter,
                        const std::function<bool(QPrinter &)> &dialog);

enum class PrintOutcome { Printed, NotStarted, NotFinished, FileNotWritten };

// A print to a file that was not written says why (file name and reason).
struct PrintResult {
    PrintOutcome outcome = PrintOutcome::Printed;
    QString fileError;
    bool operator==(PrintOutcome o) const { return outcome == o; }
};

// Runs the pass once on a canvas that keeps nothing, to count the pages, then on the printer, with
// a footer on every page. An exception from the pass aborts the job and goes on.
PrintResult PrintPages(QPrinter &printer, const AppState &state, const QFont &font, const PrintPass &pass);

// The message box of a failed printout, in the user's language; nothing for a printed one.
void ShowPrintOutcome(QWidget *parent, const AppState &state, const PrintResult &outcome);

// The report page as the report view lays it out: title, drawing and lines, scaled by `ratio`
// (printer dots per screen pixel) in `font` made `f` printer dots high, breaking pages at the
// body's foot. Sets layout.reportTextTop as the printout leaves it.
PrintPass ReportPrintPass(AppState &state, ReportLayout &layout, const QFont &font, long double ratio, int f,
                          int clientWidth);

// The summary page as the window shows it (every sign's block, then the project total) in the
// screen font `font` of `textHeight` pixels, scaled by `ratio` or less so that `contentWidth`
// screen pixels fit the body. A block is never split; it starts a new page when it does not fit.
PrintPass SummaryPrintPass(AppState &state, const QFont &font, int textHeight, int contentWidth, long double ratio);

} // namespace tablix
