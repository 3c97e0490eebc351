// ReportView: the report view, the cost or specification text of the current sign, and its printout.
#include "ui/report_view.h"

#include <QActionGroup>
#include <QFontDatabase>
#include <QFontDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/widgets/named.h"
#include "ui/main_window.h"
#include "ui/widgets/paint_box.h"
#include "ui/notice_dialog.h"
#include "core/render/report_lines.h"
#include "core/number/real48.h"
#include "core/project/app_state.h"
#include "ui/main_window.h"
#include "ui/widgets/paint_box.h"
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

QAction *NamedAction(QObject *parent, const char *name, const QKeySequence &shortcut = {})
{
    auto *action = new QAction(parent);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    return action;
}

QMenu *NamedMenu(QMenuBar *bar, const char *name)
{
    auto *menu = new QMenu(bar);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
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

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    MainMenu1->setFont(QFont()); // menus in the desktop's font, the page in the report font
    ok1 = NamedAction(this, "ok1", QKeySequence(Qt::Key_Escape));
    drukuj1 = NamedAction(this, "drukuj1", QKeySequence(Qt::CTRL | Qt::Key_P));
    MainMenu1->addAction(ok1);
    MainMenu1->addAction(drukuj1);
    Rysunek1 = NamedMenu(MainMenu1, "Rysunek1");
    Tak1 = NamedAction(Rysunek1, "Tak1");
    Nie1 = NamedAction(Rysunek1, "Nie1");
    group1_ = new QActionGroup(this);
    group1_->setExclusive(true);
    for (QAction *a : {Tak1, Nie1}) {
        a->setCheckable(true);
        group1_->addAction(a);
        Rysunek1->addAction(a);
    }
    Options1 = NamedMenu(MainMenu1, "Options1");
    Font1 = NamedAction(Options1, "Font1");
    PrintSetup1 = NamedAction(Options1, "PrintSetup1");
    Options1->addAction(Font1);
    Options1->addAction(PrintSetup1);

    connect(ok1, &QAction::triggered, this, [this] { ok1Click(); });
    connect(drukuj1, &QAction::triggered, this, [this] { guarded([this] { drukuj1Click(); }); });
    connect(Tak1, &QAction::triggered, this, [this] { guarded([this] { Tak1Click(); }); });
    connect(Nie1, &QAction::triggered, this, [this] { guarded([this] { Nie1Click(); }); });
    connect(Font1, &QAction::triggered, this, [this] { guarded([this] { Font1Click(); }); });
    connect(PrintSetup1, &QAction::triggered, this, [this] { guarded([this] { PrintSetup1Click(); }); });

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setBackgroundRole(QPalette::Window);
    content_ = new QWidget;
    content_->setAutoFillBackground(true);
    PaintBox1 = Named<PaintBox>(content_, "PaintBox1");
    PaintBox1->setAutoFillBackground(true);
    PaintBox1->resize(700, 500);
    content_->resize(700 + kHorizontalMargin, 500);
    PaintBox1->onPaint = [this](QPainter &painter) { PaintBox1Paint(painter); };
    ScrollBox1->setWidget(content_);

    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setMenuBar(MainMenu1);
    box->addWidget(ScrollBox1);

    PrintDialog = [this](QPrinter &printer) {
        QPrintDialog dialog(&printer, this);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        return dialog.exec() == QDialog::Accepted;
    };
    PrintSetupDialog = [this](QPrinter &printer) {
        QPageSetupDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };

    resize(710, 569);
    CaptionDrawingMenu();
}

ReportView::~ReportView() = default;

QWidget *ReportView::paintBox() const
{
    return PaintBox1;
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
    return FontPixelHeight(PaintBox1->font());
}

int ReportView::screenDpi() const
{
    return PaintBox1->logicalDpiY();
}

QPrinter &ReportView::ProgramPrinter()
{
    MainWindow &main = windows.mainWindow();
    main.QueryPrinter();
    return main.printer();
}

bool ReportView::Measure()
{
    const QFontMetrics metrics(PaintBox1->font(), PaintBox1);
    const bool measured = MeasureReport(
        state, layout_, [&metrics](const QString &text) { return metrics.horizontalAdvance(text); }, textHeight(),
        width());
    if (measured)
        PaintBox1->update();
    return measured;
}

void ReportView::SizePaintBox()
{
    PaintBox1->resize(layout_.reportWidth, layout_.reportHeight);
    content_->resize(layout_.reportWidth + kHorizontalMargin, layout_.reportHeight);
}

void ReportView::CaptionDrawingMenu()
{
    const bool shown = state.reportShowsDrawing;
    Tak1->setText(state.LanguageEntry(text::kMenuShowDrawing));
    Nie1->setText(state.LanguageEntry(text::kMenuHideDrawing));
    Rysunek1->setTitle((shown ? QStringLiteral("+ ") : QStringLiteral("- ")) + state.LanguageEntry(text::kMenuDrawing));
    Tak1->setChecked(shown);
    Nie1->setChecked(!shown);
}

void ReportView::CaptionCommands()
{
    setWindowTitle(reportTitle);
    Options1->setTitle(state.LanguageEntry(text::kMenuOptions));
    Font1->setText(state.LanguageEntry(text::kMenuFont));
    PrintSetup1->setText(state.LanguageEntry(text::kMenuPrinterSetup));
    ok1->setText(state.LanguageEntry(text::kOk));
    drukuj1->setText(state.LanguageEntry(text::kPrint));
}

void ReportView::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    guarded([this] { FormActivate(); });
}

void ReportView::FormActivate()
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
    PaintBox1->update();
}

void ReportView::PaintBox1Paint(QPainter &painter)
{
    try {
        DrawReportPicture(painter, state, layout_, textHeight(), width(), PaintBox1->size());
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
    PaintBox1->update();
}

void ReportView::Tak1Click()
{
    SetDrawing(true);
}

void ReportView::Nie1Click()
{
    SetDrawing(false);
}

void ReportView::Font1Click()
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, PaintBox1->font(), this, QString(), QFontDialog::MonospacedFonts);
    if (!ok)
        return;
    PaintBox1->setFont(font);
    Measure();
    SizePaintBox();
    PaintBox1->update();
}

void ReportView::PrintSetup1Click()
{
    // Only a confirmed set-up changes the printer values.
    const int values[4] = {state.printerDpiX, state.printerDpiY, state.printerPageWidth, state.printerPageHeight};
    QPrinter &printer = ProgramPrinter();
    state.printerDpiX = values[0];
    state.printerDpiY = values[1];
    state.printerPageWidth = values[2];
    state.printerPageHeight = values[3];
    if (PrintSetupDialog && PrintSetupDialog(printer))
        ProgramPrinter();
}

void ReportView::ok1Click()
{
    close();
}

void ReportView::printFailed(const QString &message)
{
    QMessageBox::critical(this, QStringLiteral("Print Error"), message);
}

void ReportView::drukuj1Click()
{
    const int values[4] = {state.printerDpiX, state.printerDpiY, state.printerPageWidth, state.printerPageHeight};
    QPrinter &printer = ProgramPrinter();
    if (!PrintDialog || !PrintDialog(printer)) {
        state.printerDpiX = values[0];
        state.printerDpiY = values[1];
        state.printerPageWidth = values[2];
        state.printerPageHeight = values[3];
        return;
    }
    ProgramPrinter();
    const long double ratio = PrintRatio(state.printerDpiY, screenDpi());
    if (ReportWiderThanPage(state, layout_, ratio) && !windows.notice().ask(state.LanguageEntry(text::kTooWideNotice)))
        return;

    printer.setDocName(QStringLiteral("TABLIX"));
    QPainter painter;
    if (!painter.begin(&printer)) {
        printFailed(tr("The print job could not be started."));
        return;
    }
    ReportPrintPage page;
    // The painter's origin is the printable area's corner already.
    page.ox = 0;
    page.oy = 0;
    page.ratio = ratio;
    page.f = PrinterFontHeight(textHeight(), ratio);
    page.clientWidth = width();
    page.newPage = [&printer] { return printer.newPage(); };
    QFont font = PaintBox1->font();
    font.setPixelSize(page.f);
    painter.setFont(font);

    bool printed = true;
    try {
        PrintReportPicture(painter, state, layout_, page);
        printed = PrintReportText(painter, state, layout_, page);
    } catch (const FloatingPointOverflow &) {
        printer.abort();
        painter.end();
        throw;
    }
    if (!printed)
        printer.abort();
    const bool ended = painter.end();
    if (!printed || !ended || printer.printerState() == QPrinter::Error)
        printFailed(tr("The print job could not be finished."));
}

} // namespace tablix
