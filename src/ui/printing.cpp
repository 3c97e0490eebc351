// Printouts of the report and the summary: pages inside a margin, each with a dated, numbered footer.
#include "ui/printing.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "core/files/atomic_file.h"
#include "core/number/number_format.h"
#include "core/number/real48.h"
#include "core/params/language_entries.h"
#include "core/project/app_state.h"
#include "core/document/files_in_use.h"
#include "core/render/report_layout.h"
#include "core/render/summary.h"

namespace tablix {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kFooterPoints = 8.0;

int DotsFor(double mm, int dpi)
{
    return int(std::ceil(mm / kMmPerInch * std::max(dpi, 1)));
}

// A canvas that keeps nothing, for laying out without printing.
struct Scratch {
    QImage image{1, 1, QImage::Format_RGB32};
    QPainter painter{&image};
};

} // namespace

PrintedPage LayOutPrintedPage(int width, int height, int dpiX, int dpiY, const QFont &font)
{
    PrintedPage page;
    page.footerFont = font;
    const int footerDots = std::max(1, int(std::lround(kFooterPoints / 72.0 * std::max(dpiY, 1))));
    page.footerFont.setPixelSize(footerDots);
    page.footerFont.setBold(false);
    page.footerFont.setItalic(false);

    const int mx = DotsFor(kPrintMarginMm, dpiX);
    const int my = DotsFor(kPrintMarginMm, dpiY);
    const int line = int(std::ceil(1.3 * footerDots));
    const int innerWidth = std::max(1, width - 2 * mx);
    page.footer = QRect(mx, std::max(my, height - my - line), innerWidth, line);
    // A line's height between the body and the footer keeps them apart on any page.
    page.body = QRect(mx, my, innerWidth, std::max(1, page.footer.top() - line - my));
    return page;
}

PrintedPage LayOutPrintedPage(QPrinter &printer, const QFont &font)
{
    return LayOutPrintedPage(printer.width(), printer.height(), printer.logicalDpiX(), printer.logicalDpiY(), font);
}

QString FooterDate(const AppState &state, const QDate &date)
{
    const QString format = state.LanguageEntry(text::kPrintFooterDateFormat);
    const QString shown = format.isEmpty() ? QString() : date.toString(format);
    return shown.isEmpty() ? date.toString(Qt::ISODate) : shown;
}

QString FooterPageNumber(const AppState &state, int page, int pages)
{
    QString number = state.LanguageEntry(text::kPrintFooterPage);
    // A file without the place holders still numbers its pages.
    if (!number.contains(QStringLiteral("%1")) || !number.contains(QStringLiteral("%2")))
        return QStringLiteral("%1 / %2").arg(page).arg(pages);
    return number.arg(page).arg(pages);
}

void DrawFooter(QPainter &canvas, const AppState &state, const PrintedPage &frame, int page, int pages)
{
    canvas.save();
    canvas.resetTransform();
    canvas.setClipping(false);
    canvas.setFont(frame.footerFont);
    canvas.setPen(QPen(Qt::black, 0));
    canvas.setBackgroundMode(Qt::TransparentMode);
    const int rule = frame.footer.top() - frame.footer.height() / 2;
    canvas.drawLine(frame.footer.left(), rule, frame.footer.right(), rule);
    canvas.drawText(frame.footer, Qt::AlignLeft | Qt::AlignVCenter, FooterDate(state, QDate::currentDate()));
    canvas.drawText(frame.footer, Qt::AlignRight | Qt::AlignVCenter, FooterPageNumber(state, page, pages));
    canvas.restore();
}

QPrinter *AskForPrinter(AppState &state, const std::function<QPrinter &()> &programPrinter,
                        const std::function<bool(QPrinter &)> &dialog)
{
    const int values[4] = {state.printerDpiX, state.printerDpiY, state.printerPageWidth, state.printerPageHeight};
    QPrinter &printer = programPrinter();
    if (dialog && dialog(printer)) {
        programPrinter();
        return &printer;
    }
    state.printerDpiX = values[0];
    state.printerDpiY = values[1];
    state.printerPageWidth = values[2];
    state.printerPageHeight = values[3];
    return nullptr;
}

namespace {

// Used only inside WriteFileAtomicallyWith: the printer paints into the writer's temporary, which the
// writer then checks and renames. A printer opens its file when painting begins, so naming the user's
// file again afterwards (for the next print dialog) opens nothing: every printout goes through
// PrintPages, and a printout to a file never paints under the user's name.
class PaintInto {
public:
    PaintInto(QPrinter &printer, const QString &temporary) : printer_(printer), kept_(printer.outputFileName())
    {
        printer_.setOutputFileName(temporary);
    }
    ~PaintInto() { printer_.setOutputFileName(kept_); }
    PaintInto(const PaintInto &) = delete;
    PaintInto &operator=(const PaintInto &) = delete;

private:
    QPrinter &printer_;
    const QString kept_;
};

PrintOutcome PaintPages(QPrinter &printer, const AppState &state, const QFont &font, const PrintPass &pass)
{
    const PrintedPage frame = LayOutPrintedPage(printer, font);
    int pages = 1;
    {
        Scratch scratch;
        pass(scratch.painter, frame, [&pages] {
            ++pages;
            return true;
        });
    }

    QPainter painter;
    if (!painter.begin(&printer))
        return PrintOutcome::NotStarted;
    int page = 1;
    const auto nextPage = [&] {
        DrawFooter(painter, state, frame, page, std::max(page, pages));
        ++page;
        return printer.newPage();
    };
    bool printed = false;
    try {
        printed = pass(painter, frame, nextPage);
        if (printed)
            DrawFooter(painter, state, frame, page, std::max(page, pages));
    } catch (...) {
        printer.abort();
        painter.end();
        throw;
    }
    if (!printed)
        printer.abort();
    const bool ended = painter.end();
    if (!printed || !ended || printer.printerState() == QPrinter::Error)
        return PrintOutcome::NotFinished;
    return PrintOutcome::Printed;
}

} // namespace

PrintResult PrintPages(QPrinter &printer, const AppState &state, const QFont &font, const PrintPass &pass)
{
    const QString file = printer.outputFileName();
    if (printer.outputFormat() != QPrinter::PdfFormat || file.isEmpty())
        return {PaintPages(printer, state, font, pass), {}};
    // A printout to a file is painted into a temporary and replaces the file only when whole.
    PrintResult result{PrintOutcome::FileNotWritten, OutputIsInputError(file, FilesInUse(state, true))};
    if (!result.fileError.isEmpty())
        return result;
    // A temporary that could not be made means the printout never started.
    PrintOutcome painted = PrintOutcome::NotStarted;
    const bool written = WriteFileAtomicallyWith(
        file,
        [&](const QString &temporary, QString *reason) {
            const PaintInto into(printer, temporary);
            painted = PaintPages(printer, state, font, pass);
            if (painted != PrintOutcome::Printed)
                *reason = QStringLiteral("the printout could not be finished");
            return painted == PrintOutcome::Printed;
        },
        &result.fileError);
    if (written)
        return {PrintOutcome::Printed, {}};
    result.outcome = painted == PrintOutcome::NotStarted ? PrintOutcome::NotStarted : PrintOutcome::FileNotWritten;
    return result;
}

void ShowPrintOutcome(QWidget *parent, const AppState &state, const PrintResult &result)
{
    if (result.outcome == PrintOutcome::Printed)
        return;
    const int message = result.outcome == PrintOutcome::NotStarted ? text::kPrintNotStarted : text::kPrintNotFinished;
    QMessageBox box(QMessageBox::Critical, state.LanguageEntry(text::kPrintErrorCaption), state.LanguageEntry(message),
                    QMessageBox::Ok, parent);
    box.setInformativeText(result.fileError);
    box.setObjectName(QStringLiteral("PrintErrorBox"));
    box.exec();
}

PrintPass ReportPrintPass(AppState &state, ReportLayout &layout, const QFont &font, long double ratio, int f,
                          int clientWidth)
{
    return [&state, &layout, font, ratio, f, clientWidth](QPainter &canvas, const PrintedPage &frame,
                                                           const std::function<bool()> &newPage) {
        QFont printed = font;
        printed.setPixelSize(std::max(1, f));
        canvas.save();
        // The report's own coordinates start at the body's corner; nothing reaches the margin.
        const auto place = [&canvas, &frame] {
            canvas.setTransform(QTransform::fromTranslate(frame.body.x(), frame.body.y()));
            canvas.setClipRect(QRect(QPoint(0, 0), frame.body.size()));
        };
        place();
        canvas.setFont(printed);
        ReportPrintPage page;
        page.ox = 0;
        page.oy = 0;
        page.ratio = ratio;
        page.f = std::max(1, f);
        page.clientWidth = clientWidth;
        page.pageBottom = frame.body.height();
        page.newPage = [&newPage, &place] {
            const bool started = newPage();
            place();
            return started;
        };
        PrintReportPicture(canvas, state, layout, page);
        const bool done = PrintReportText(canvas, state, layout, page);
        canvas.restore();
        return done;
    };
}

PrintPass SummaryPrintPass(AppState &state, const QFont &font, int textHeight, int contentWidth, long double ratio)
{
    return [&state, font, textHeight, contentWidth, ratio](QPainter &canvas, const PrintedPage &frame,
                                                          const std::function<bool()> &newPage) {
        double scale = double(ratio) > 0 ? double(ratio) : 1.0;
        if (contentWidth > 0)
            scale = std::min(scale, double(frame.body.width()) / contentWidth);
        const int pageHeight = std::max(1, int(frame.body.height() / scale));
        const int lineStep = int(RoundEven(1.4L * textHeight));

        canvas.save();
        const auto place = [&] {
            QTransform transform = QTransform::fromTranslate(frame.body.x(), frame.body.y());
            transform.scale(scale, scale);
            canvas.setTransform(transform);
            canvas.setClipRect(QRectF(0, 0, frame.body.width() / scale, frame.body.height() / scale));
        };
        place();
        canvas.setFont(font);
        Scratch probe;
        probe.painter.setFont(font);

        SummaryPass pass;
        int cursor = 0;
        bool started = true;
        const auto breakPage = [&] {
            started = newPage();
            place();
            cursor = 0;
            return started;
        };
        ForEachSignInUse(state, [&](AppState &sign, int) {
            if (!started)
                return;
            SummaryPass measured;
            DrawSummarySign(probe.painter, sign, measured, textHeight);
            if (measured.cursorY <= 0)
                return; // a sign without rows has no block
            if (cursor > 0 && cursor + measured.cursorY > pageHeight && !breakPage())
                return;
            pass.cursorY = cursor;
            DrawSummarySign(canvas, sign, pass, textHeight);
            cursor = pass.cursorY;
        });
        if (started && cursor > 0 && cursor + 2 * lineStep > pageHeight)
            breakPage();
        if (started) {
            canvas.setBackgroundMode(Qt::OpaqueMode);
            canvas.setBackground(Qt::white);
            canvas.setPen(Qt::black);
            const int y = cursor > 0 ? cursor + lineStep : 0;
            canvas.drawText(kSummaryDrawingX, y + canvas.fontMetrics().ascent(),
                            SummaryTotalLine(state, pass.totalArea.get()));
        }
        canvas.restore();
        return started;
    };
}

std::function<bool(QPrinter &)> SystemPrintDialog(QWidget *parent)
{
    return [parent](QPrinter &printer) {
        QPrintDialog dialog(&printer, parent);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        return dialog.exec() == QDialog::Accepted;
    };
}

std::function<bool(QPrinter &)> SystemPageSetupDialog(QWidget *parent)
{
    return [parent](QPrinter &printer) {
        QPageSetupDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
}

QString AskPdfFileName(QWidget *parent, const QString &proposed, const QString &filter)
{
    // A dialog of our own, so that ".pdf" is added before Qt asks about replacing a file.
    QFileDialog dialog(parent, QString(), QFileInfo(proposed).absolutePath(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(QFileInfo(proposed).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace tablix
