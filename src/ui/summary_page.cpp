// The summary page of the main window: every sign's block and the project total, scrolled and printed.
#include "ui/summary_page.h"

#include <QEvent>
#include <QFrame>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <algorithm>

#include "core/number/real48.h"
#include "core/project/app_state.h"
#include "core/render/report_layout.h"
#include "ui/main_window.h"
#include "ui/printing.h"
#include "ui/remembered.h"
#include "ui/widgets/font_choice.h"
#include "ui/widgets/named.h"
#include "ui/widgets/paint_box.h"
#include "ui/widgets/scroll_bars.h"

namespace tablix {

namespace {

const QColor kSummaryBackground(255, 255, 202);

QFont SummaryFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(11);
    return font;
}

} // namespace

SummaryPage::SummaryPage(AppState &state, QWidget *parent) : QScrollArea(parent), state(state)
{
    setObjectName(QStringLiteral("TabSheet21"));
    setFrameShape(QFrame::NoFrame);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kSummaryBackground);
    setPalette(palette);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    viewport()->setBackgroundRole(QPalette::Window);
    setFont(SummaryFont());
    setWidgetResizable(false);

    // The bars and the corner keep the names the page's controls always had.
    horizontalScrollBar()->setObjectName(QStringLiteral("ScrollBar1"));
    verticalScrollBar()->setObjectName(QStringLiteral("ScrollBar2"));
    auto *corner = Named<QFrame>(nullptr, QStringLiteral("Panel2"));
    corner->setAutoFillBackground(true);
    setCornerWidget(corner);
    MarkScrollThumbs(this);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);

    box_ = Named<PaintBox>(nullptr, QStringLiteral("PaintBox21"));
    box_->resize(800, 800);
    box_->onPaint = [this](QPainter &painter) { paintSummary(painter); };
    if (const std::optional<QFont> chosen = remembered::font(QStringLiteral("summary")))
        box_->setFont(*chosen);
    setWidget(box_);
    viewport()->installEventFilter(this);

    PrintDialog = SystemPrintDialog(this);
}

int SummaryPage::textHeight() const
{
    return FontPixelHeight(box_->font());
}

void SummaryPage::paintSummary(QPainter &painter)
{
    try {
        DrawSummary(painter, box_->size(), state, textHeight());
    } catch (const FloatingPointOverflow &) {
        if (onPaintOverflow)
            onPaintOverflow();
    }
}

void SummaryPage::Measure()
{
    const QFontMetrics metrics(box_->font());
    // The page's own bars take their room from the view, not from the content.
    extent_ = MeasureSummary(
        state, [&metrics](const QString &text) { return metrics.horizontalAdvance(text); }, textHeight(), 0, 0);
    fitPaintBox();
    box_->update();
}

void SummaryPage::fitPaintBox()
{
    const QSize view = viewport()->size();
    QSize size = view;
    if (extent_)
        size = size.expandedTo(QSize(extent_->width, extent_->height));
    if (box_->size() != size)
        box_->resize(size);
}

bool SummaryPage::eventFilter(QObject *watched, QEvent *event)
{
    // The bars come and go with the content, and the view's size with them: the box follows, and
    // the scroll position stays where it was.
    if (watched == viewport() && event->type() == QEvent::Resize)
        fitPaintBox();
    return QScrollArea::eventFilter(watched, event);
}

void SummaryPage::ResetScroll()
{
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void SummaryPage::ChooseFont(const QString &title)
{
    const std::optional<QFont> font = ChooseFixedPitchFont(this, box_->font(), title);
    if (!font)
        return;
    box_->setFont(*font);
    remembered::saveFont(QStringLiteral("summary"), *font);
    ResetScroll();
    Measure();
}

void SummaryPage::Print()
{
    if (!programPrinter)
        return;
    QPrinter *printer = AskForPrinter(state, programPrinter, PrintDialog);
    if (!printer)
        return;
    const QFont font = box_->font();
    const QFontMetrics metrics(font, box_);
    const std::optional<SummaryExtent> extent = MeasureSummary(
        state, [&metrics](const QString &text) { return metrics.horizontalAdvance(text); }, textHeight(), 0, 0);
    const long double ratio = PrintRatio(printer->logicalDpiY(), box_->logicalDpiY());
    printer->setDocName(QStringLiteral("TABLIX"));
    const PrintResult outcome =
        PrintPages(*printer, state, font, SummaryPrintPass(state, font, textHeight(), extent ? extent->width : 0, ratio));
    ShowPrintOutcome(this, state, outcome);
}

} // namespace tablix
