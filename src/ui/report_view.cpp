// ReportView: the report view, the cost or specification text of the current sign, and its printout.
#include "ui/report_view.h"

#include <QActionGroup>
#include <QFontDatabase>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/widgets/named.h"
#include "ui/notice_dialog.h"
#include "core/render/report_lines.h"
#include "core/number/real48.h"
#include "core/project/app_state.h"
#include "ui/main_window.h"
#include "ui/printing.h"
#include "ui/remembered.h"
#include "ui/widgets/font_choice.h"
#include "ui/widgets/paint_box.h"
#include "ui/widgets/scroll_bars.h"
#include "ui/startup.h"
#include "ui/window_set.h"
#include "core/params/language_entries.h"

namespace tablix {

namespace {

// The scroll range reaches this far right of the paint box.
constexpr int kHorizontalMargin = 50;

QFont ReportFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({QStringLiteral("Courier New"), font.family(), QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(11);
    return font;
}

QAction *NamedAction(QWidget *parent, const char *name, const QKeySequence &shortcut = {})
{
    auto *action = Named<QAction>(parent, QLatin1String(name));
    action->setShortcut(shortcut);
    return action;
}

QMenu *NamedMenu(QMenuBar *bar, const char *name)
{
    auto *menu = Named<QMenu>(bar, QLatin1String(name));
    // The menu's entry in the bar is found by the same name.
    menu->menuAction()->setObjectName(menu->objectName());
    bar->addMenu(menu);
    return menu;
}

} // namespace

ReportView::ReportView(AppState &state, Windows &windows, QWidget *parent)
    : QDialog(parent), state(state), windows(windows)
{
    setObjectName(QStringLiteral("Form11"));
    setFont(ReportFont());
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    menuBar = Named<QMenuBar>(this, "MainMenu1");
    menuBar->setFont(QFont()); // menus in the desktop's font, the page in the report font
    closeAction = NamedAction(this, "ok1", QKeySequence(Qt::Key_Escape));
    printAction = NamedAction(this, "drukuj1", QKeySequence(Qt::CTRL | Qt::Key_P));
    menuBar->addAction(closeAction);
    menuBar->addAction(printAction);
    drawingMenu = NamedMenu(menuBar, "Rysunek1");
    showDrawingAction = NamedAction(drawingMenu, "Tak1");
    hideDrawingAction = NamedAction(drawingMenu, "Nie1");
    drawingChoice = new QActionGroup(this);
    drawingChoice->setExclusive(true);
    for (QAction *a : {showDrawingAction, hideDrawingAction}) {
        a->setCheckable(true);
        drawingChoice->addAction(a);
        drawingMenu->addAction(a);
    }
    optionsMenu = NamedMenu(menuBar, "Options1");
    fontAction = NamedAction(optionsMenu, "Font1");
    printerSetupAction = NamedAction(optionsMenu, "PrintSetup1");
    optionsMenu->addAction(fontAction);
    optionsMenu->addAction(printerSetupAction);

    connect(closeAction, &QAction::triggered, this, [this] { closeReport(); });
    connect(printAction, &QAction::triggered, this, [this] { guarded([this] { printReport(); }); });
    connect(showDrawingAction, &QAction::triggered, this, [this] { guarded([this] { showDrawing(); }); });
    connect(hideDrawingAction, &QAction::triggered, this, [this] { guarded([this] { hideDrawing(); }); });
    connect(fontAction, &QAction::triggered, this, [this] { guarded([this] { chooseFont(); }); });
    connect(printerSetupAction, &QAction::triggered, this, [this] { guarded([this] { setUpPrinter(); }); });

    scrollArea = Named<QScrollArea>(this, "ScrollBox1");
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setWidgetResizable(false);
    scrollArea->setBackgroundRole(QPalette::Window);
    MarkScrollThumbs(scrollArea);
    content_ = new QWidget;
    content_->setAutoFillBackground(true);
    reportBox = Named<PaintBox>(content_, "PaintBox1");
    reportBox->setAutoFillBackground(true);
    reportBox->resize(700, 500);
    content_->resize(700 + kHorizontalMargin, 500);
    reportBox->onPaint = [this](QPainter &painter) { paintPage(painter); };
    if (const std::optional<QFont> chosen = remembered::font(QStringLiteral("report")))
        reportBox->setFont(*chosen);
    scrollArea->setWidget(content_);

    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setMenuBar(menuBar);
    box->addWidget(scrollArea);

    PrintDialog = SystemPrintDialog(this);
    PrintSetupDialog = SystemPageSetupDialog(this);

    resize(710, 569);
    CaptionDrawingMenu();
}

ReportView::~ReportView() = default;

QWidget *ReportView::paintBox() const
{
    return reportBox;
}

void ReportView::ShowReport(const QString &title)
{
    reportTitle = title;
    setWindowTitle(title);
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    exec();
}

template <class F> void ReportView::guarded(F &&handler)
{
    try {
        handler();
    } catch (const FloatingPointOverflow &) {
        ShowFloatingPointOverflow(this);
    }
}

int ReportView::textHeight() const
{
    return FontPixelHeight(reportBox->font());
}

int ReportView::screenDpi() const
{
    return reportBox->logicalDpiY();
}

QPrinter &ReportView::ProgramPrinter()
{
    MainWindow &main = windows.mainWindow();
    main.QueryPrinter();
    return main.printer();
}

void ReportView::Measure()
{
    const QFontMetrics metrics(reportBox->font(), reportBox);
    MeasureReport(
        state, layout_, [&metrics](const QString &text) { return metrics.horizontalAdvance(text); }, textHeight(),
        width());
    reportBox->update();
}

void ReportView::SizePaintBox()
{
    reportBox->resize(layout_.reportWidth, layout_.reportHeight);
    content_->resize(layout_.reportWidth + kHorizontalMargin, layout_.reportHeight);
}

void ReportView::CaptionDrawingMenu()
{
    const bool shown = state.reportShowsDrawing;
    showDrawingAction->setText(state.LanguageEntry(text::kMenuShowDrawing));
    hideDrawingAction->setText(state.LanguageEntry(text::kMenuHideDrawing));
    drawingMenu->setTitle((shown ? QStringLiteral("+ ") : QStringLiteral("- ")) + state.LanguageEntry(text::kMenuDrawing));
    showDrawingAction->setChecked(shown);
    hideDrawingAction->setChecked(!shown);
}

void ReportView::CaptionCommands()
{
    setWindowTitle(reportTitle);
    optionsMenu->setTitle(state.LanguageEntry(text::kMenuOptions));
    fontAction->setText(state.LanguageEntry(text::kMenuFont));
    printerSetupAction->setText(state.LanguageEntry(text::kMenuPrinterSetup));
    closeAction->setText(state.LanguageEntry(text::kOk));
    printAction->setText(state.LanguageEntry(text::kPrint));
}

void ReportView::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    guarded([this] { onActivated(); });
}

void ReportView::onActivated()
{
    CaptionDrawingMenu();
    CaptionCommands();
    Measure();
    SizePaintBox();
}

void ReportView::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (IsUnusedLine(state.ReportLines[0]))
        return;
    layout_.reportWidth = layout_.reportHeight = 100;
    guarded([this] { Measure(); });
    SizePaintBox();
    CaptionCommands();
    reportBox->update();
}

void ReportView::paintPage(QPainter &painter)
{
    try {
        DrawReportPicture(painter, state, layout_, textHeight(), width(), reportBox->size());
        DrawReportText(painter, state, layout_, textHeight());
    } catch (const FloatingPointOverflow &) {
        // Not from inside a paint event: the box would paint again under it.
        if (overflowPending_)
            return;
        overflowPending_ = true;
        QTimer::singleShot(0, this, [this] {
            ShowFloatingPointOverflow(this);
            overflowPending_ = false;
        });
    }
}

void ReportView::SetDrawing(bool shown)
{
    const bool old = state.reportShowsDrawing;
    state.reportShowsDrawing = shown;
    CaptionDrawingMenu();
    if (old == shown)
        return;
    Measure();
    SizePaintBox();
    reportBox->update();
}

void ReportView::showDrawing()
{
    SetDrawing(true);
}

void ReportView::hideDrawing()
{
    SetDrawing(false);
}

void ReportView::chooseFont()
{
    const std::optional<QFont> font = ChooseFixedPitchFont(this, reportBox->font(), fontAction->text());
    if (!font)
        return;
    reportBox->setFont(*font);
    remembered::saveFont(QStringLiteral("report"), *font);
    Measure();
    SizePaintBox();
    reportBox->update();
}

void ReportView::setUpPrinter()
{
    // Only a confirmed set-up changes the printer values.
    AskForPrinter(state, [this]() -> QPrinter & { return ProgramPrinter(); }, PrintSetupDialog);
}

void ReportView::closeReport()
{
    close();
}

void ReportView::printReport()
{
    QPrinter *printer = AskForPrinter(state, [this]() -> QPrinter & { return ProgramPrinter(); }, PrintDialog);
    if (!printer)
        return;
    const long double ratio = PrintRatio(state.printerDpiY, screenDpi());
    const PrintedPage page = LayOutPrintedPage(*printer, reportBox->font());
    if (page.body.width() < ratio * layout_.reportWidth && !windows.notice().ask(state.LanguageEntry(text::kTooWideNotice)))
        return;

    printer->setDocName(QStringLiteral("TABLIX"));
    const PrintResult outcome =
        PrintPages(*printer, state, reportBox->font(),
                   ReportPrintPass(state, layout_, reportBox->font(), ratio, PrinterFontHeight(textHeight(), ratio),
                                   width()));
    ShowPrintOutcome(this, state, outcome);
}

} // namespace tablix
