// PlanReportView: the cutting plan as a report window of its own lines, shown and printed like the cost report.
#include "ui/plan_report_view.h"

#include <QFontDatabase>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/params/language_entries.h"
#include "core/project/app_state.h"
#include "core/render/report_layout.h"
#include "core/render/report_lines.h"
#include "ui/main_window.h"
#include "ui/printing.h"
#include "ui/remembered.h"
#include "ui/widgets/font_choice.h"
#include "ui/widgets/named.h"
#include "ui/widgets/paint_box.h"
#include "ui/widgets/scroll_bars.h"

namespace tablix {

namespace {

constexpr int kMargin = 5;

// The cost report's font, so that the two reports read alike.
QFont PlanFont()
{
    if (const std::optional<QFont> chosen = remembered::font(QStringLiteral("report")))
        return *chosen;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({QStringLiteral("Courier New"), font.family(), QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(11);
    return font;
}

int LineStep(int f)
{
    return std::max(1, int(std::lround(1.4 * f)));
}

// Lines in two columns, each in its style. Before each line `fits(y, height)` is asked whether
// `height` (the whole profile's block at its heading, else the line's) fits below y; it may move y
// to a new page, and false ends the drawing.
void DrawLines(QPainter &canvas, const AppState &state, const QStringList &lines, int tabColumn, int f,
               const std::function<bool(int &y, int height)> &fits)
{
    const QFont plain = canvas.font();
    QFont bold = plain;
    bold.setBold(true);
    int y = kMargin;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        const PlanLineStyle style = PlanLineStyleOf(state, line);
        qsizetype block = 1;
        if (style == PlanLineStyle::Heading)
            while (i + block < lines.size() && !lines[i + block].isEmpty())
                ++block;
        if (!fits(y, int(block) * LineStep(f)))
            return;
        canvas.setFont(style == PlanLineStyle::Heading ? bold : plain);
        canvas.setPen(style == PlanLineStyle::Reached      ? QColor(0, 110, 0)
                      : style == PlanLineStyle::NotReached ? QColor(170, 0, 0)
                                                           : QColor(0, 0, 0));
        const ReportColumns columns = SplitReportColumns(line);
        const int baseline = y + canvas.fontMetrics().ascent();
        canvas.drawText(kMargin, baseline, columns.label);
        if (columns.hasValue)
            canvas.drawText(tabColumn, baseline, columns.value);
        y += LineStep(f);
    }
    canvas.setFont(plain);
}

} // namespace

PlanLineStyle PlanLineStyleOf(const AppState &state, const QString &line)
{
    const ReportColumns columns = SplitReportColumns(line);
    const QString &profile = state.LanguageEntry(text::kPlanProfile);
    if (!columns.hasValue && !profile.isEmpty() && line.startsWith(profile))
        return PlanLineStyle::Heading;
    if (!columns.hasValue || columns.label != state.LanguageEntry(text::kPlanLowerBound))
        return PlanLineStyle::Plain;
    const QString &reached = state.LanguageEntry(text::kPlanBoundReached);
    const QString &notReached = state.LanguageEntry(text::kPlanBoundNotReached);
    if (!reached.isEmpty() && columns.value.endsWith(reached))
        return PlanLineStyle::Reached;
    if (!notReached.isEmpty() && columns.value.endsWith(notReached))
        return PlanLineStyle::NotReached;
    return PlanLineStyle::Plain;
}

PlanReportView::PlanReportView(AppState &state, std::function<QPrinter &()> printer, QWidget *parent)
    : QDialog(parent), state(state), printer_(std::move(printer))
{
    setObjectName(QStringLiteral("PlanReport"));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    menuBar = Named<QMenuBar>(this, QStringLiteral("PlanMenu"));
    closeAction = Named<QAction>(this, QStringLiteral("ok1"));
    closeAction->setShortcut(QKeySequence(Qt::Key_Escape));
    printAction = Named<QAction>(this, QStringLiteral("drukuj1"));
    printAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    menuBar->addAction(closeAction);
    menuBar->addAction(printAction);
    optionsMenu = Named<QMenu>(menuBar, QStringLiteral("Options1"));
    menuBar->addMenu(optionsMenu);
    fontAction = Named<QAction>(optionsMenu, QStringLiteral("Font1"));
    printerSetupAction = Named<QAction>(optionsMenu, QStringLiteral("PrintSetup1"));
    optionsMenu->addAction(fontAction);
    optionsMenu->addAction(printerSetupAction);
    connect(closeAction, &QAction::triggered, this, &QDialog::accept);
    connect(printAction, &QAction::triggered, this, &PlanReportView::printReport);
    connect(fontAction, &QAction::triggered, this, &PlanReportView::chooseFont);
    connect(printerSetupAction, &QAction::triggered, this, &PlanReportView::setUpPrinter);

    scrollArea = Named<QScrollArea>(this, QStringLiteral("ScrollBox1"));
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setBackgroundRole(QPalette::Window);
    MarkScrollThumbs(scrollArea);
    box_ = Named<PaintBox>(nullptr, QStringLiteral("PaintBox1"));
    box_->setAutoFillBackground(true);
    box_->setFont(PlanFont());
    box_->onPaint = [this](QPainter &painter) {
        painter.fillRect(box_->rect(), Qt::white);
        painter.setFont(box_->font());
        DrawLines(painter, this->state, lines_, tabColumn_, FontPixelHeight(box_->font()), [](int &, int) { return true; });
    };
    scrollArea->setWidget(box_);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menuBar);
    layout->addWidget(scrollArea);

    PrintDialog = SystemPrintDialog(this);
    PrintSetupDialog = SystemPageSetupDialog(this);
    resize(710, 569);
}

QWidget *PlanReportView::paintBox() const
{
    return box_;
}

void PlanReportView::setReport(const QString &title, const QString &text)
{
    title_ = title;
    lines_ = text.split(QLatin1Char('\r'));
    while (!lines_.isEmpty() && lines_.constLast().isEmpty())
        lines_.removeLast();
    Caption();
    Measure();
}

int PlanReportView::exec()
{
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    return QDialog::exec();
}

void PlanReportView::Caption()
{
    setWindowTitle(title_);
    closeAction->setText(state.LanguageEntry(text::kOk));
    printAction->setText(state.LanguageEntry(text::kPrint));
    optionsMenu->setTitle(state.LanguageEntry(text::kMenuOptions));
    fontAction->setText(state.LanguageEntry(text::kMenuFont));
    printerSetupAction->setText(state.LanguageEntry(text::kMenuPrinterSetup));
}

void PlanReportView::Measure()
{
    QFont bold = box_->font();
    bold.setBold(true);
    const QFontMetrics metrics(box_->font(), box_);
    const QFontMetrics boldMetrics(bold, box_);
    int label = 0;
    for (const QString &line : lines_) {
        const ReportColumns columns = SplitReportColumns(line);
        if (columns.hasValue)
            label = std::max(label, metrics.horizontalAdvance(columns.label));
    }
    tabColumn_ = kMargin + label + 15;
    int width = 100;
    for (const QString &line : lines_) {
        const ReportColumns columns = SplitReportColumns(line);
        width = std::max(width, columns.hasValue ? tabColumn_ + metrics.horizontalAdvance(columns.value)
                                                 : kMargin + boldMetrics.horizontalAdvance(line));
    }
    const int f = FontPixelHeight(box_->font());
    box_->resize(width + 5 * kMargin, 2 * kMargin + int(lines_.size()) * LineStep(f) + f);
    box_->update();
}

void PlanReportView::chooseFont()
{
    const std::optional<QFont> font = ChooseFixedPitchFont(this, box_->font(), fontAction->text());
    if (!font)
        return;
    box_->setFont(*font);
    remembered::saveFont(QStringLiteral("report"), *font);
    Measure();
}

void PlanReportView::setUpPrinter()
{
    AskForPrinter(state, printer_, PrintSetupDialog);
}

void PlanReportView::printReport()
{
    QPrinter *printer = AskForPrinter(state, printer_, PrintDialog);
    if (!printer)
        return;
    const QFont font = box_->font();
    const int f = FontPixelHeight(font);
    const int contentWidth = box_->width();
    const long double ratio = PrintRatio(state.printerDpiY, box_->logicalDpiY());
    printer->setDocName(QStringLiteral("TABLIX"));
    const PrintPass pass = [this, font, f, contentWidth, ratio](QPainter &canvas, const PrintedPage &frame,
                                                                const std::function<bool()> &newPage) {
        // The screen's layout, scaled to the printer and narrowed to the body when it is wider.
        double scale = std::min(double(ratio), double(frame.body.width()) / std::max(1, contentWidth));
        if (!(scale > 0))
            scale = 1;
        const int pageHeight = std::max(1, int(frame.body.height() / scale));
        canvas.save();
        const auto place = [&] {
            QTransform transform = QTransform::fromTranslate(frame.body.x(), frame.body.y());
            transform.scale(scale, scale);
            canvas.setTransform(transform);
            canvas.setClipRect(QRectF(0, 0, frame.body.width() / scale, frame.body.height() / scale));
        };
        place();
        QFont printed = font;
        printed.setPixelSize(f);
        canvas.setFont(printed);
        bool started = true;
        // A profile's block starts a new page when it does not fit, unless it fills a page itself.
        DrawLines(canvas, state, lines_, tabColumn_, f, [&](int &y, int height) {
            if (y + height <= pageHeight || y == kMargin || (height > pageHeight - kMargin && y + LineStep(f) <= pageHeight))
                return true;
            started = newPage();
            place();
            y = kMargin;
            return started;
        });
        canvas.restore();
        return started;
    };
    ShowPrintOutcome(this, state, PrintPages(*printer, state, font, pass));
}

} // namespace tablix
