// MainWindow: the main window, holding one page per sign and the project summary.
#include "ui/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFrame>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "ui/widgets/named.h"
#include "core/render/sign_drawing.h"
#include "core/render/summary.h"
#include "core/number/number_format.h"
#include "core/project/app_state.h"
#include "ui/startup.h"

namespace tablix {

namespace {

constexpr int kSummaryPage = 20; // index of TabSheet21
constexpr int kSummaryBarThickness = 16;
const QColor kSummaryBackground(255, 255, 202);

// Sign titles are user data: an "&" is shown, not taken as a mnemonic.
QString TabText(const QString &caption)
{
    QString text = caption;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

void PaintBox::paintEvent(QPaintEvent *)
{
    if (!onPaint)
        return;
    QPainter painter(this);
    onPaint(painter);
}

void PaintBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && onDoubleClick)
        onDoubleClick();
    else if (event->button() != Qt::LeftButton && onMouseDown)
        onMouseDown(event->button());
}

void PaintBox::mousePressEvent(QMouseEvent *event)
{
    if (onMouseDown)
        onMouseDown(event->button());
}

QString QtFileFilter(const QString &pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList filters;
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString &p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString pattern = p.trimmed();
            patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
        }
        QString description = parts[i].trimmed();
        description.remove(trailingPatterns);
        filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

int FontPixelHeight(const QFont &font)
{
    if (font.pixelSize() > 0)
        return font.pixelSize();
    // A font chosen in points: its pixel height at the screen's resolution.
    return std::max(1, int(std::lround(font.pointSizeF() * QFontMetricsF(font).fontDpi() / 72.0)));
}

MainWindow::MainWindow(AppState &state, QWidget *parent)
    : QMainWindow(parent), state(state)
{
    setObjectName(QStringLiteral("Form1"));
    openFileName_ = [](QWidget *parent, const QString &proposed, const QString &filter) {
        return QFileDialog::getOpenFileName(parent, QString(), proposed, filter);
    };
    saveFileName_ = [](QWidget *parent, const QString &proposed, const QString &filter) {
        return QFileDialog::getSaveFileName(parent, QString(), proposed, filter);
    };

    buildMenus();
    buildPages();
    resize(1000, 700);

    // The printer values are queried when printing first needs them: loading the print system
    // at start-up costs a sixth of the program's memory and nothing reads them before then.
    LoadLanguageCaptions();
    SyncPages();
    setActivePage(state.currentSign - 1);
    showSummaryMenus(false);
    refreshMenuStates();
    RefreshCaption();
}

MainWindow::~MainWindow() = default;

void MainWindow::setFileDialogs(FileNameDialog open, FileNameDialog save)
{
    openFileName_ = std::move(open);
    saveFileName_ = std::move(save);
}

template <class F> void MainWindow::guarded(F &&handler)
{
    paintOverflowReported_ = false;
    try {
        handler();
    } catch (const FloatingPointOverflow &) {
        ShowFloatingPointOverflow(this);
    }
    refreshMenuStates();
}

QMenu *MainWindow::addSubmenu(QWidget *parent, const char *name)
{
    QMenu *menu = nullptr;
    if (auto *bar = qobject_cast<QMenuBar *>(parent))
        menu = bar->addMenu(QString());
    else
        menu = static_cast<QMenu *>(parent)->addMenu(QString());
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QAction *MainWindow::addCommand(QMenu *menu, const char *name, void (MainWindow::*handler)(), const QKeySequence &shortcut)
{
    auto *action = new QAction(this);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    if (menu)
        menu->addAction(action);
    return action;
}

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    m1 = addSubmenu(bar, "m1");
    c011 = addCommand(m1, "c011", &MainWindow::c011Click);
    c11 = addCommand(m1, "c11", &MainWindow::c11Click, QKeySequence(Qt::CTRL | Qt::Key_O));
    c12 = addCommand(m1, "c12", &MainWindow::c12Click, QKeySequence(Qt::CTRL | Qt::Key_S));
    m1->addSeparator();
    c13 = addCommand(m1, "c13", &MainWindow::c13Click, QKeySequence(Qt::CTRL | Qt::Key_X));

    m2 = addSubmenu(bar, "m2");
    c32 = addCommand(m2, "c32", &MainWindow::c32Click, QKeySequence(Qt::CTRL | Qt::Key_N));
    c331 = addCommand(m2, "c331", &MainWindow::c331Click, QKeySequence(Qt::CTRL | Qt::Key_D));
    c341 = addCommand(m2, "c341", &MainWindow::c341Click, QKeySequence(Qt::CTRL | Qt::Key_Delete));
    c351 = addCommand(m2, "c351", &MainWindow::c351Click);
    m2->addSeparator();
    c22 = addSubmenu(m2, "c22");
    c2211 = addCommand(c22, "c2211", &MainWindow::c2211Click);
    c2221 = addCommand(c22, "c2221", &MainWindow::c2221Click);
    c2231 = addCommand(c22, "c2231", &MainWindow::c2231Click, QKeySequence(Qt::CTRL | Qt::Key_E));

    options1 = addSubmenu(bar, "options1");
    font1 = addCommand(options1, "font1", &MainWindow::font1Click);
    printersetup1 = addCommand(options1, "printersetup1", &MainWindow::printersetup1Click);

    drukuj1 = addCommand(nullptr, "drukuj1", &MainWindow::drukuj1Click, QKeySequence(Qt::CTRL | Qt::Key_P));
    bar->addAction(drukuj1);

    m3 = addSubmenu(bar, "m3");
    c21 = addSubmenu(m3, "c21");
    c2111 = addCommand(c21, "c2111", &MainWindow::c2111Click);
    c2121 = addSubmenu(c21, "c2121");
    c21211 = addCommand(c2121, "c21211", &MainWindow::c21211Click);
    c21221 = addCommand(c2121, "c21221", &MainWindow::c21221Click);
    c30 = addCommand(m3, "c30", &MainWindow::c30Click);
    c31 = addCommand(m3, "c31", &MainWindow::c31Click);

    connect(m1, &QMenu::aboutToShow, this, [this] { guarded([this] { m1Click(); }); });
    connect(m2, &QMenu::aboutToShow, this, [this] { guarded([this] { m2Click(); }); });
    connect(c22, &QMenu::aboutToShow, this, [this] { guarded([this] { c22Click(); }); });
}

void MainWindow::buildPages()
{
    PageControl1 = Named<QTabWidget>(this, "PageControl1");
    PageControl1->setDocumentMode(true);
    setCentralWidget(PageControl1);

    for (int i = 0; i < kMaxSigns; ++i) {
        auto *sheet = new QWidget;
        sheet->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
        auto *layout = new QVBoxLayout(sheet);
        layout->setContentsMargins(0, 0, 0, 0);
        auto *box = new PaintBox(sheet);
        box->setObjectName(QStringLiteral("PaintBox%1").arg(i + 1));
        box->onPaint = [this, i](QPainter &p) { PaintBox1Paint(p, i + 1); };
        box->onDoubleClick = [this] { guarded([this] { PaintBox1DblClick(); }); };
        box->onMouseDown = [this](Qt::MouseButton b) { guarded([this, b] { PaintBox1MouseDown(b); }); };
        layout->addWidget(box);
        TabSheets[size_t(i)] = sheet;
        PaintBoxes[size_t(i)] = box;
        PageControl1->addTab(sheet, QString());
    }

    // The summary: a paint box larger than the page when needed, moved by the two bars.
    auto *summary = new QWidget;
    summary->setObjectName(QStringLiteral("TabSheet21"));
    QPalette palette = summary->palette();
    palette.setColor(QPalette::Window, kSummaryBackground);
    summary->setPalette(palette);
    summary->setAutoFillBackground(true);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(11);
    summary->setFont(font);
    summary->installEventFilter(this);

    auto *box = new PaintBox(summary);
    box->setObjectName(QStringLiteral("PaintBox21"));
    box->setGeometry(0, 0, 800, 800);
    box->onPaint = [this](QPainter &p) { PaintBox21Paint(p); };

    ScrollBar1 = new QScrollBar(Qt::Horizontal, summary);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setFixedHeight(kSummaryBarThickness);
    ScrollBar2 = new QScrollBar(Qt::Vertical, summary);
    ScrollBar2->setObjectName(QStringLiteral("ScrollBar2"));
    ScrollBar2->setFixedWidth(kSummaryBarThickness);
    Panel2 = new QFrame(summary);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedSize(kSummaryBarThickness, kSummaryBarThickness);
    Panel2->setAutoFillBackground(true);
    for (QWidget *w : {static_cast<QWidget *>(ScrollBar1), static_cast<QWidget *>(ScrollBar2),
                       static_cast<QWidget *>(Panel2)}) {
        w->hide();
        w->raise();
    }
    connect(ScrollBar1, &QScrollBar::valueChanged, this, [this](int q) { ScrollBar1Scroll(q); });
    connect(ScrollBar2, &QScrollBar::valueChanged, this, [this](int q) { ScrollBar2Scroll(q); });

    TabSheets[kSummaryPage] = summary;
    PaintBoxes[kSummaryPage] = box;
    PageControl1->addTab(summary, QString());

    connect(PageControl1, &QTabWidget::currentChanged, this,
            [this](int index) { guarded([this, index] { PageControl1Change(index); }); });
    connect(PageControl1, &QTabWidget::tabBarDoubleClicked, this, [this](int) { guarded([this] { c351Click(); }); });
}

void MainWindow::RefreshCaption()
{
    setWindowTitle(MainWindowCaption(state.projectFileName));
}

void MainWindow::LoadLanguageCaptions()
{
    const auto entry = [this](int n) { return state.LanguageEntry(n); };
    m1->setTitle(entry(1));
    m2->setTitle(entry(2));
    m3->setTitle(entry(3));
    c11->setText(entry(4));
    c12->setText(entry(5));
    c13->setText(entry(6));
    c2111->setText(entry(7));
    c2121->setTitle(entry(8));
    c21211->setText(entry(9));
    // Entry 10 is the currency word wherever amounts are shown; this command takes the header of
    // the list it opens instead.
    c21221->setText(entry(161).isEmpty() ? QString() : entry(161) + QStringLiteral("..."));
    c2211->setText(entry(11));
    c2221->setText(entry(12));
    c2231->setText(entry(13));
    c31->setText(entry(14));
    c32->setText(entry(15));
    c21->setTitle(entry(16));
    c22->setTitle(entry(17));
    c30->setText(entry(18));
    c331->setText(entry(147));
    c341->setText(entry(148));
    c011->setText(entry(150));
    c351->setText(entry(153));
    options1->setTitle(entry(140));
    font1->setText(entry(142));
    printersetup1->setText(entry(143));
    drukuj1->setText(entry(86));
    PageControl1->setTabText(kSummaryPage, TabText(entry(145)));
    c21211->setVisible(!state.derived.HasFixedPricePercent);
    for (int k = 1; k <= kMaxSigns; ++k)
        PageControl1->setTabText(k - 1, TabText(state.tabCaptions[size_t(k - 1)]));
}

void MainWindow::ParametersChanged()
{
    c21211->setVisible(!state.derived.HasFixedPricePercent);
    if (summaryPageActive())
        MeasureSummaryPage();
    for (PaintBox *box : PaintBoxes)
        box->update();
}

void MainWindow::SyncPages()
{
    const QSignalBlocker block(PageControl1);
    for (int k = 1; k <= kMaxSigns; ++k) {
        // A hidden page holds a blank slot; when it is shown again it is a new sign.
        if (k > state.signCount)
            state.tabCaptions[size_t(k - 1)] = TabCaption(state.language, state.slot(k).titleText(), k);
        PageControl1->setTabText(k - 1, TabText(state.tabCaptions[size_t(k - 1)]));
        PageControl1->setTabVisible(k - 1, k <= state.signCount);
    }
    PageControl1->setTabVisible(kSummaryPage, state.summaryTabVisible());
    lastPageIndex_ = PageControl1->currentIndex();
}

bool MainWindow::summaryPageActive() const
{
    return PageControl1->currentIndex() == kSummaryPage;
}

void MainWindow::setActivePage(int index)
{
    const QSignalBlocker block(PageControl1);
    PageControl1->setCurrentIndex(index);
    lastPageIndex_ = PageControl1->currentIndex();
}

void MainWindow::showSummaryMenus(bool summary)
{
    options1->menuAction()->setVisible(summary);
    drukuj1->setVisible(summary);
    m2->menuAction()->setVisible(!summary);
}

void MainWindow::resetSummaryScroll()
{
    PaintBoxes[kSummaryPage]->move(0, 0);
    summaryScrollX_ = 0;
    summaryScrollY_ = 0;
    const QSignalBlocker block1(ScrollBar1);
    const QSignalBlocker block2(ScrollBar2);
    ScrollBar1->setValue(0);
    ScrollBar2->setValue(0);
}

void MainWindow::redrawCurrentSign()
{
    if (state.currentSign >= 1 && state.currentSign <= kMaxSigns)
        PaintBoxes[size_t(state.currentSign - 1)]->update();
}

void MainWindow::refreshMenuStates()
{
    m1Click();
    m2Click();
    c22Click();
}

void MainWindow::QueryPrinter()
{
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // Without an installed printer the program prints to PDF.
        if (QPrinterInfo::availablePrinterNames().isEmpty())
            printer_->setOutputFormat(QPrinter::PdfFormat);
    }
    state.printerDpiY = printer_->logicalDpiY();
    state.printerDpiX = printer_->logicalDpiX();
    state.printerPageHeight = printer_->height();
    state.printerPageWidth = printer_->width();
}

void MainWindow::reportPaintOverflow()
{
    // Every repaint would fail again; one box until the user does something else.
    if (paintOverflowReported_)
        return;
    paintOverflowReported_ = true;
    QTimer::singleShot(0, this, [this] { ShowFloatingPointOverflow(this); });
}

int MainWindow::execDialog(QDialog *dialog)
{
    return dialog ? dialog->exec() : QDialog::Rejected;
}

bool MainWindow::confirmNotice(int entry)
{
    state.elementText = state.LanguageEntry(entry);
    return dialogs_.notice && dialogs_.notice->exec() == QDialog::Accepted;
}

// ---- activation, pages and painting -------------------------------------------------------

bool MainWindow::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        QMetaObject::invokeMethod(this, [this] { guarded([this] { FormActivate(); }); }, Qt::QueuedConnection);
    return QMainWindow::event(e);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == TabSheets[kSummaryPage] && e->type() == QEvent::Resize && summaryPageActive()) {
        guarded([this] {
            resetSummaryScroll();
            MeasureSummaryPage();
            PaintBoxes[kSummaryPage]->update();
        });
    }
    return QMainWindow::eventFilter(watched, e);
}

void MainWindow::FormActivate()
{
    if (inSignDialogs_ || QApplication::activeModalWidget() || askedForCurrentSign_)
        return;
    if (state.currentSignRecord.width.get() <= 0)
        SignDialogsRule();
}

void MainWindow::SignDialogsRule()
{
    askedForCurrentSign_ = true;
    inSignDialogs_ = true;
    struct Leave {
        bool &flag;
        ~Leave() { flag = false; }
    } leave{inSignDialogs_};
    if (state.currentSignRecord.width.get() <= 0)
        execDialog(dialogs_.assumptions);
    if (state.currentSignRecord.width.get() > 0)
        execDialog(dialogs_.construction);
    AfterSignDialogs();
}

void MainWindow::AssumptionsOnly()
{
    askedForCurrentSign_ = true;
    execDialog(dialogs_.assumptions);
    AfterSignDialogs();
}

void MainWindow::AfterSignDialogs()
{
    // The construction dialog gives the sign its title; its page shows it.
    const QString title = state.currentSignRecord.titleText();
    if (!title.isEmpty()) {
        state.tabCaptions[size_t(state.currentSign - 1)] = TabCaption(state.language, title, state.currentSign);
        PageControl1->setTabText(state.currentSign - 1, TabText(state.tabCaptions[size_t(state.currentSign - 1)]));
    }
    redrawCurrentSign();
}

void MainWindow::PageControl1Change(int index)
{
    // Keyboard and wheel steps of the tab bar may land on a hidden page: go on to the next page
    // shown in the same direction, or stay.
    if (index >= 0 && !PageControl1->isTabVisible(index)) {
        const int previous = lastPageIndex_;
        const int step = index > previous ? 1 : -1;
        int next = index;
        while (next >= 0 && next < PageControl1->count() && !PageControl1->isTabVisible(next))
            next += step;
        if (next < 0 || next >= PageControl1->count())
            next = previous;
        setActivePage(next);
        if (next == previous)
            return;
        index = next;
    }
    lastPageIndex_ = index;
    state.ReportLines.fill(QString(QChar(0)));
    if (index == kSummaryPage) {
        state.SaveCurrentSign();
        showSummaryMenus(true);
        resetSummaryScroll();
        MeasureSummaryPage();
        PaintBoxes[kSummaryPage]->update();
        return;
    }
    if (!state.pageChangeEnabled || index < 0)
        return;
    showSummaryMenus(false);
    state.SaveCurrentSign();
    state.SelectSign(index + 1);
    askedForCurrentSign_ = false;
    redrawCurrentSign();
}

void MainWindow::PaintBox1Paint(QPainter &painter, int page)
{
    // Page k shows sign k; another page's box shows nothing until its sign is current.
    if (page != state.currentSign || summaryPageActive())
        return;
    try {
        DrawSignPage(painter, PaintBoxes[size_t(page - 1)]->size(), state);
    } catch (const FloatingPointOverflow &) {
        reportPaintOverflow();
    }
}

void MainWindow::PaintBox1DblClick()
{
    SignDialogsRule();
}

void MainWindow::PaintBox1MouseDown(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        AssumptionsOnly();
}

void MainWindow::PaintBox21Paint(QPainter &painter)
{
    try {
        DrawSummary(painter, PaintBoxes[kSummaryPage]->size(), state,
                    FontPixelHeight(PaintBoxes[kSummaryPage]->font()));
    } catch (const FloatingPointOverflow &) {
        reportPaintOverflow();
    }
}

void MainWindow::MeasureSummaryPage()
{
    PaintBox *box = PaintBoxes[kSummaryPage];
    const QFontMetrics metrics(box->font());
    const std::optional<SummaryExtent> extent =
        MeasureSummary(state, [&metrics](const QString &text) { return metrics.horizontalAdvance(text); },
                       FontPixelHeight(box->font()), ScrollBar2->width(), ScrollBar1->height());
    if (!extent)
        return;
    const QWidget *page = TabSheets[kSummaryPage];
    const int pageWidth = page->width();
    const int pageHeight = page->height();
    const bool vertical = pageHeight < extent->height;
    const bool horizontal = pageWidth < extent->width;
    box->resize(std::max(pageWidth, extent->width), std::max(pageHeight, extent->height));

    const int barHeight = ScrollBar1->height();
    const int barWidth = ScrollBar2->width();
    if (horizontal && vertical) {
        ScrollBar1->setGeometry(0, pageHeight - barHeight, pageWidth - barWidth, barHeight);
        ScrollBar2->setGeometry(ScrollBar1->width(), 0, barWidth, ScrollBar1->y());
        Panel2->setGeometry(ScrollBar2->x(), ScrollBar1->y(), barWidth, barHeight);
    } else if (horizontal) {
        ScrollBar1->setGeometry(0, pageHeight - barHeight, pageWidth, barHeight);
    } else if (vertical) {
        ScrollBar2->setGeometry(pageWidth - barWidth, 0, barWidth, pageHeight);
    }
    ScrollBar1->setVisible(horizontal);
    ScrollBar2->setVisible(vertical);
    Panel2->setVisible(horizontal && vertical);

    // Positions are percent of the content: the bar's page is the visible share of it.
    const auto setUp = [](QScrollBar *bar, int pageExtent, int contentExtent, int position) {
        if (!bar->isVisibleTo(bar->parentWidget()))
            return;
        const int p = int(std::trunc(double(pageExtent) / double(contentExtent) * 100.0));
        const QSignalBlocker block(bar);
        bar->setRange(0, std::max(0, 101 - p));
        bar->setPageStep(p);
        bar->setSingleStep(1);
        bar->setValue(position);
        bar->setEnabled(101 - p > 0);
    };
    setUp(ScrollBar1, pageWidth, extent->width, summaryScrollX_);
    setUp(ScrollBar2, pageHeight, extent->height, summaryScrollY_);
}

void MainWindow::ScrollBar1Scroll(int position)
{
    PaintBox *box = PaintBoxes[kSummaryPage];
    box->move(int(RoundEven(-box->width() * position * 0.01L)), box->y());
    summaryScrollX_ = position;
}

void MainWindow::ScrollBar2Scroll(int position)
{
    PaintBox *box = PaintBoxes[kSummaryPage];
    box->move(box->x(), int(RoundEven(-box->height() * position * 0.01L)));
    summaryScrollY_ = position;
}

// ---- menus ----------------------------------------------------------------------------------

void MainWindow::m1Click()
{
    c12->setEnabled(state.currentSignRecord.inUse());
}

void MainWindow::m2Click()
{
    const bool sign = !summaryPageActive();
    for (QAction *a : {c32, c22->menuAction(), c331, c341, c351})
        a->setEnabled(sign);
    if (!sign)
        return;
    if (state.signCount == 1)
        c341->setEnabled(false);
    if (state.signCount == kMaxSigns) {
        c32->setEnabled(false);
        c331->setEnabled(false);
    }
    if (state.currentSignRecord.titleText().isEmpty())
        c351->setEnabled(false);
}

void MainWindow::c22Click()
{
    c2231->setEnabled(state.currentSignRecord.inUse());
}

void MainWindow::c011Click()
{
    if (!confirmNotice(151))
        return;
    state.NewProject();
    state.LoadWorkingState();
    SyncPages();
    setActivePage(0);
    showSummaryMenus(false);
    RefreshCaption();
    resetSummaryScroll();
    askedForCurrentSign_ = false;
    redrawCurrentSign();
}

void MainWindow::c11Click()
{
    const QString chosen = openFileName_(this, QString(), QtFileFilter(state.LanguageEntry(149)));
    if (chosen.isEmpty())
        return;
    const ProjectLoad load = ReadProjectFile(chosen);
    if (!load.signs) {
        ShowIoError(this, load.error);
        return;
    }
    state.OpenProject(*load.signs, chosen);
    // The drawing shows the sign's own marks, as after selecting its page.
    state.LoadWorkingState();
    SyncPages();
    setActivePage(0);
    showSummaryMenus(false);
    RefreshCaption();
    resetSummaryScroll();
    askedForCurrentSign_ = false;
    redrawCurrentSign();
}

void MainWindow::c12Click()
{
    if (!state.currentSignRecord.inUse())
        return;
    const QString chosen = saveFileName_(this, state.projectFileName, QtFileFilter(state.LanguageEntry(149)));
    if (chosen.isEmpty())
        return;
    state.SaveCurrentSign();
    QString error;
    if (!WriteProjectFile(ProjectWritePath(chosen), state.SignSlots, &error)) {
        ShowIoError(this, error + QStringLiteral("\n\nNothing was written: a file already there keeps its previous "
                                                 "contents."));
        return;
    }
    state.projectFileName = QFileInfo(chosen).fileName();
    RefreshCaption();
}

void MainWindow::c13Click()
{
    close();
}

void MainWindow::c32Click()
{
    if (summaryPageActive() || !state.NewSign())
        return;
    SyncPages();
    setActivePage(state.signCount - 1);
    redrawCurrentSign();
    SignDialogsRule();
}

void MainWindow::c331Click()
{
    if (summaryPageActive() || !state.CopySign())
        return;
    SyncPages();
    setActivePage(state.signCount - 1);
    askedForCurrentSign_ = false;
    redrawCurrentSign();
}

void MainWindow::c341Click()
{
    if (summaryPageActive() || state.signCount < 2)
        return;
    if (!confirmNotice(146))
        return;
    state.DeleteSign();
    state.LoadWorkingState();
    SyncPages();
    setActivePage(0);
    askedForCurrentSign_ = false;
    redrawCurrentSign();
}

void MainWindow::c351Click()
{
    const QString title = state.currentSignRecord.titleText();
    if (summaryPageActive() || title.isEmpty() || !dialogs_.titleDialog)
        return;
    QDialog *dialog = dialogs_.titleDialog;
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("Edit1"));
    auto *automatic = dialog->findChild<QCheckBox *>(QStringLiteral("CheckBox1"));
    if (!edit || !automatic)
        return;
    dialog->setWindowTitle(state.LanguageEntry(153));
    automatic->setText(state.LanguageEntry(154));
    const bool setByHand = title.startsWith(QLatin1Char('!'));
    {
        // Filling the box must not run the dialog's own reaction to the user ticking it.
        const QSignalBlocker block(automatic);
        automatic->setChecked(!setByHand);
    }
    edit->setText(setByHand ? title.mid(1) : title);
    if (dialog->exec() != QDialog::Accepted)
        return;
    state.SetSignTitle(edit->text(), automatic->isChecked());
    PageControl1->setTabText(state.currentSign - 1, TabText(state.tabCaptions[size_t(state.currentSign - 1)]));
}

void MainWindow::c2211Click()
{
    if (summaryPageActive())
        return;
    AssumptionsOnly();
}

void MainWindow::c2221Click()
{
    if (summaryPageActive())
        return;
    SignDialogsRule();
}

void MainWindow::c2231Click()
{
    if (summaryPageActive() || !state.currentSignRecord.inUse())
        return;
    if (commands_.c2231)
        commands_.c2231();
}

void MainWindow::font1Click()
{
    PaintBox *box = PaintBoxes[kSummaryPage];
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, box->font(), this, font1->text(), QFontDialog::MonospacedFonts);
    if (!ok)
        return;
    box->setFont(font);
    resetSummaryScroll();
    MeasureSummaryPage();
    box->update();
}

void MainWindow::printersetup1Click()
{
    QueryPrinter();
    QPageSetupDialog dialog(printer_.get(), this);
    if (dialog.exec() == QDialog::Accepted)
        QueryPrinter();
}

void MainWindow::drukuj1Click()
{
    QMessageBox::information(this, QStringLiteral("Juz za momencik..."),
                             QStringLiteral("Jeszce nie zrobione, ale wkrótce..."));
}

void MainWindow::c2111Click()
{
    if (commands_.c2111)
        commands_.c2111();
}

void MainWindow::c21211Click()
{
    if (commands_.c21211)
        commands_.c21211();
}

void MainWindow::c21221Click()
{
    if (commands_.c21221)
        commands_.c21221();
}

void MainWindow::c30Click()
{
    if (execDialog(dialogs_.languageChooser) != QDialog::Accepted)
        return;
    LoadLanguageCaptions();
    SyncPages();
    if (summaryPageActive())
        MeasureSummaryPage();
    for (PaintBox *box : PaintBoxes)
        box->update();
}

void MainWindow::c31Click()
{
    execDialog(dialogs_.aboutBox);
}

} // namespace tablix
