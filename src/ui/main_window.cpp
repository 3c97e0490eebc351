// MainWindow: the main window, holding one page per sign and the project summary.
#include "ui/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
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
#include <tuple>
#include <cmath>

#include "ui/about_box.h"
#include "ui/assumptions_dialog.h"
#include "ui/construction_dialog.h"
#include "ui/language_chooser.h"
#include "ui/notice_dialog.h"
#include "ui/parameter_editor.h"
#include "ui/qt_translation.h"
#include "ui/price_list_window.h"
#include "ui/remembered.h"
#include "ui/summary_page.h"
#include "ui/title_dialog.h"
#include "ui/widgets/named.h"
#include "ui/widgets/paint_box.h"
#include "ui/window_set.h"
#include "ui/quote_dialogs.h"
#include "ui/workshop_menu.h"
#include "core/render/sign_drawing.h"
#include "core/render/summary.h"
#include "core/number/number_format.h"
#include "core/project/app_state.h"
#include "core/document/project_document.h"
#include "ui/startup.h"
#include "core/params/language_entries.h"
#include "core/files/atomic_file.h"
#include "core/document/files_in_use.h"

namespace tablix {

namespace {

constexpr int kSummaryPage = 20; // the last page, after the twenty signs

// The product word, as the caption of the program's own questions.
const QString kProductWord = QStringLiteral("Tablix");
const QString kGeometryKey = QStringLiteral("mainWindow");

// Sign titles are user data: an "&" is shown, not taken as a mnemonic.
QString TabText(const QString &caption)
{
    QString text = caption;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

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

MainWindow::MainWindow(AppState &state, Windows &windows, QWidget *parent)
    : QMainWindow(parent), state(state), windows(windows), document(windows.document())
{
    setObjectName(QStringLiteral("Form1"));
    openFileName_ = [](QWidget *parent, const QString &proposed, const QString &filter) {
        return QFileDialog::getOpenFileName(parent, QString(), proposed, filter);
    };
    saveFileName_ = [](QWidget *parent, const QString &proposed, const QString &filter) {
        // The program appends ".tab" first and then asks about a file already there itself.
        return QFileDialog::getSaveFileName(parent, QString(), proposed, filter, nullptr, QFileDialog::DontConfirmOverwrite);
    };

    buildMenus();
    buildPages();
    resize(1000, 700);
    remembered::restoreGeometry(kGeometryKey, *this);

    // The printer values are queried when printing first needs them: loading the print system
    // at start-up costs a sixth of the program's memory and nothing reads them before then.
    LoadLanguageCaptions();
    SyncPages();
    setActivePage(state.currentSign - 1);
    showSummaryMenus(false);
    refreshMenuStates();
    RefreshCaption();

    connect(&document, &ProjectDocument::changed, this, &MainWindow::documentChanged);
    connect(&document, &ProjectDocument::pageRestored, this, [this] {
        setActivePage(this->state.currentSign - 1);
        showSummaryMenus(false);
    });
    connect(&document.undoStack(), &QUndoStack::indexChanged, this, &MainWindow::updateUndoActions);
    updateUndoActions();
}

void MainWindow::documentChanged()
{
    SyncPages();
    if (summaryPageActive())
        MeasureSummaryPage();
    for (PaintBox *box : paintBoxes)
        box->update();
    refreshMenuStates();
    RefreshCaption();
}

void MainWindow::updateUndoActions()
{
    const QUndoStack &stack = document.undoStack();
    const auto named = [](const QString &command, const QString &step) {
        return step.isEmpty() ? command : command + QLatin1Char(' ') + TabText(step);
    };
    undoAction->setEnabled(stack.canUndo());
    undoAction->setText(named(state.LanguageEntry(text::kMenuUndo), stack.undoText()));
    redoAction->setEnabled(stack.canRedo());
    redoAction->setText(named(state.LanguageEntry(text::kMenuRedo), stack.redoText()));
}

void MainWindow::undo()
{
    document.undoStack().undo();
}

void MainWindow::redo()
{
    document.undoStack().redo();
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
    // Every change to the project comes through a command or a dialog opened by one.
    setWindowModified(state.ProjectModified());
}

QMenu *MainWindow::addSubmenu(QWidget *parent, const char *name)
{
    auto *menu = Named<QMenu>(parent, QLatin1String(name));
    if (auto *bar = qobject_cast<QMenuBar *>(parent))
        bar->addMenu(menu);
    else
        static_cast<QMenu *>(parent)->addMenu(menu);
    // The menu's entry in its parent is found by the same name.
    menu->menuAction()->setObjectName(menu->objectName());
    return menu;
}

QAction *MainWindow::addCommand(QMenu *menu, const char *name, void (MainWindow::*handler)(), const QKeySequence &shortcut)
{
    auto *action = Named<QAction>(this, QLatin1String(name));
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    if (menu)
        menu->addAction(action);
    return action;
}

void MainWindow::buildMenus()
{
    auto *bar = Named<QMenuBar>(this, "MainMenu1");
    setMenuBar(bar);

    projectMenu = addSubmenu(bar, "m1");
    newProjectAction = addCommand(projectMenu, "c011", &MainWindow::newProject);
    openAction = addCommand(projectMenu, "c11", &MainWindow::openProject, QKeySequence(Qt::CTRL | Qt::Key_O));
    saveAction = addCommand(projectMenu, "c12", &MainWindow::saveProject, QKeySequence(Qt::CTRL | Qt::Key_S));
    saveAsAction = addCommand(projectMenu, "c121", &MainWindow::saveProjectAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    (new WorkshopMenu(state, this, projectMenu))->followDocument(&document);
    projectMenu->addSeparator();
    recentMenu = addSubmenu(projectMenu, "RecentProjects");
    static_assert(std::tuple_size_v<decltype(recentActions)> == kRecentProjectCount);
    for (int i = 0; i < kRecentProjectCount; ++i) {
        QAction *action = Named<QAction>(this, QStringLiteral("RecentProject%1").arg(i + 1));
        // The path is read when the entry is chosen: the list may have changed in another window.
        connect(action, &QAction::triggered, this,
                [this, action] { guarded([this, action] { openRecentProject(action->data().toString()); }); });
        recentMenu->addAction(action);
        recentActions[size_t(i)] = action;
    }
    recentMenu->addSeparator();
    clearRecentAction = Named<QAction>(this, "ClearRecentProjects");
    connect(clearRecentAction, &QAction::triggered, this, [this] {
        guarded([this] {
            remembered::clearRecentProjects();
            updateRecentMenu();
        });
    });
    recentMenu->addAction(clearRecentAction);
    projectMenu->addSeparator();
    exitAction = addCommand(projectMenu, "c13", &MainWindow::exitProgram, QKeySequence(Qt::CTRL | Qt::Key_X));
    // Ctrl+X is "cut" to most users; the usual quit keys end the program too.
    QList<QKeySequence> exitKeys{QKeySequence(Qt::CTRL | Qt::Key_X)};
    const QList<QKeySequence> quitKeys = QKeySequence::keyBindings(QKeySequence::Quit) << QKeySequence(Qt::CTRL | Qt::Key_Q);
    for (const QKeySequence &keys : quitKeys)
        if (!exitKeys.contains(keys))
            exitKeys << keys;
    exitAction->setShortcuts(exitKeys);

    editMenu = addSubmenu(bar, "EditMenu");
    undoAction = addCommand(editMenu, "Undo", &MainWindow::undo);
    undoAction->setShortcuts(QKeySequence::Undo);
    redoAction = addCommand(editMenu, "Redo", &MainWindow::redo);
    // Ctrl+Y as well, whatever the desktop's own redo keys are.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence &keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})
        if (!redoKeys.contains(keys))
            redoKeys << keys;
    redoAction->setShortcuts(redoKeys);

    signMenu = addSubmenu(bar, "m2");
    newSignAction = addCommand(signMenu, "c32", &MainWindow::newSign, QKeySequence(Qt::CTRL | Qt::Key_N));
    copySignAction = addCommand(signMenu, "c331", &MainWindow::copySign, QKeySequence(Qt::CTRL | Qt::Key_D));
    deleteSignAction = addCommand(signMenu, "c341", &MainWindow::deleteSign, QKeySequence(Qt::CTRL | Qt::Key_Delete));
    titleAction = addCommand(signMenu, "c351", &MainWindow::editTitle);
    signMenu->addSeparator();
    constructionMenu = addSubmenu(signMenu, "c22");
    basicsAction = addCommand(constructionMenu, "c2211", &MainWindow::editBasics);
    constructionAction = addCommand(constructionMenu, "c2221", &MainWindow::designSign);
    exportAction = addCommand(constructionMenu, "c2231", &MainWindow::exportSign, QKeySequence(Qt::CTRL | Qt::Key_E));

    optionsMenu = addSubmenu(bar, "options1");
    fontAction = addCommand(optionsMenu, "font1", &MainWindow::chooseSummaryFont);
    printerSetupAction = addCommand(optionsMenu, "printersetup1", &MainWindow::setUpPrinter);

    printAction = addCommand(nullptr, "drukuj1", &MainWindow::printSummary, QKeySequence(Qt::CTRL | Qt::Key_P));
    bar->addAction(printAction);

    settingsMenu = addSubmenu(bar, "m3");
    parametersMenu = addSubmenu(settingsMenu, "c21");
    parametersAction = addCommand(parametersMenu, "c2111", &MainWindow::editParameters);
    new ShopDetailsCommand(state, this, parametersMenu);
    priceListMenu = addSubmenu(parametersMenu, "c2121");
    listPricesAction = addCommand(priceListMenu, "c21211", &MainWindow::showListPrices);
    percentPricesAction = addCommand(priceListMenu, "c21221", &MainWindow::showPricesAtPercent);
    languageAction = addCommand(settingsMenu, "c30", &MainWindow::chooseLanguage);
    aboutAction = addCommand(settingsMenu, "c31", &MainWindow::showAbout);

    connect(projectMenu, &QMenu::aboutToShow, this, [this] { guarded([this] { updateProjectMenu(); }); });
    connect(recentMenu, &QMenu::aboutToShow, this, [this] { guarded([this] { updateRecentMenu(); }); });
    connect(signMenu, &QMenu::aboutToShow, this, [this] { guarded([this] { updateSignMenu(); }); });
    connect(constructionMenu, &QMenu::aboutToShow, this, [this] { guarded([this] { updateConstructionMenu(); }); });
}

void MainWindow::buildPages()
{
    pages = Named<QTabWidget>(this, "PageControl1");
    pages->setDocumentMode(true);
    setCentralWidget(pages);

    for (int i = 0; i < kMaxSigns; ++i) {
        auto *sheet = Named<QWidget>(nullptr, QStringLiteral("TabSheet%1").arg(i + 1));
        auto *layout = new QVBoxLayout(sheet);
        layout->setContentsMargins(0, 0, 0, 0);
        auto *box = Named<PaintBox>(sheet, QStringLiteral("PaintBox%1").arg(i + 1));
        box->onPaint = [this, i](QPainter &p) { paintSignPage(p, i + 1); };
        box->onDoubleClick = [this] { guarded([this] { signPageDoubleClicked(); }); };
        box->onMouseDown = [this](Qt::MouseButton b) { guarded([this, b] { signPagePressed(b); }); };
        layout->addWidget(box);
        sheets[size_t(i)] = sheet;
        paintBoxes[size_t(i)] = box;
        pages->addTab(sheet, QString());
    }

    // The summary: its paint box scrolled inside the page.
    summaryPage_ = new SummaryPage(state);
    summaryPage_->programPrinter = [this]() -> QPrinter & {
        QueryPrinter();
        return *printer_;
    };
    summaryPage_->onPaintOverflow = [this] { reportPaintOverflow(); };
    sheets[kSummaryPage] = summaryPage_;
    paintBoxes[kSummaryPage] = summaryPage_->paintBox();
    pages->addTab(summaryPage_, QString());

    connect(pages, &QTabWidget::currentChanged, this,
            [this](int index) { guarded([this, index] { pageChanged(index); }); });
    connect(pages, &QTabWidget::tabBarDoubleClicked, this, [this](int) { guarded([this] { editTitle(); }); });
}

void MainWindow::RefreshCaption()
{
    // "[*]" is where the window shows "*" while the project has unsaved changes; a "[*]" in the
    // file name is doubled so that it is shown as it is.
    QString name = state.projectFileName;
    name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    const QString caption = MainWindowCaption(state.language, name);
    setWindowTitle(caption.endsWith(QLatin1Char(' ')) ? caption.chopped(1) + QStringLiteral("[*] ")
                                                      : caption + QStringLiteral("[*]"));
    setWindowModified(state.ProjectModified());
}

void MainWindow::LoadLanguageCaptions()
{
    const auto entry = [this](int n) { return state.LanguageEntry(n); };
    projectMenu->setTitle(entry(text::kMenuProject));
    editMenu->setTitle(entry(text::kMenuEdit));
    updateUndoActions();
    signMenu->setTitle(entry(text::kMenuSigns));
    settingsMenu->setTitle(entry(text::kMenuSettings));
    openAction->setText(entry(text::kMenuOpenProject));
    saveAction->setText(entry(text::kMenuSaveProject));
    saveAsAction->setText(entry(text::kMenuSaveProjectAs));
    exitAction->setText(entry(text::kMenuEnd));
    parametersAction->setText(entry(text::kMenuParameterEditor));
    priceListMenu->setTitle(entry(text::kMenuPriceLists));
    listPricesAction->setText(entry(text::kMenuListPrices));
    // Entry 10 is the currency word wherever amounts are shown; this command takes the header of
    // the list it opens instead.
    percentPricesAction->setText(entry(text::kPercentPricesHeader).isEmpty() ? QString()
                                 : entry(text::kPercentPricesHeader) + QStringLiteral("..."));
    basicsAction->setText(entry(text::kMenuAssumptions));
    constructionAction->setText(entry(text::kMenuSignDialogs));
    exportAction->setText(entry(text::kMenuExport));
    aboutAction->setText(entry(text::kMenuAbout));
    newSignAction->setText(entry(text::kMenuNewSign));
    parametersMenu->setTitle(entry(text::kMenuParameters));
    constructionMenu->setTitle(entry(text::kMenuConstruction));
    languageAction->setText(entry(text::kLanguageChooser));
    copySignAction->setText(entry(text::kMenuCopySign));
    deleteSignAction->setText(entry(text::kMenuDeleteSign));
    newProjectAction->setText(entry(text::kMenuNewProject));
    recentMenu->setTitle(entry(text::kMenuRecentProjects));
    clearRecentAction->setText(entry(text::kClearRecentProjects));
    titleAction->setText(entry(text::kSignTitle));
    optionsMenu->setTitle(entry(text::kMenuOptions));
    fontAction->setText(entry(text::kMenuFont));
    printerSetupAction->setText(entry(text::kMenuPrinterSetup));
    printAction->setText(entry(text::kPrint));
    pages->setTabText(kSummaryPage, TabText(entry(text::kSummaryTab)));
    listPricesAction->setVisible(!state.derived.HasFixedPricePercent);
    for (int k = 1; k <= kMaxSigns; ++k)
        pages->setTabText(k - 1, TabText(state.tabCaptions[size_t(k - 1)]));
}

void MainWindow::ParametersChanged()
{
    listPricesAction->setVisible(!state.derived.HasFixedPricePercent);
    if (summaryPageActive())
        MeasureSummaryPage();
    for (PaintBox *box : paintBoxes)
        box->update();
}

void MainWindow::SyncPages()
{
    const QSignalBlocker block(pages);
    for (int k = 1; k <= kMaxSigns; ++k) {
        pages->setTabText(k - 1, TabText(state.tabCaptions[size_t(k - 1)]));
        pages->setTabVisible(k - 1, k <= state.signCount);
    }
    pages->setTabVisible(kSummaryPage, state.summaryTabVisible());
    lastPageIndex_ = pages->currentIndex();
}

bool MainWindow::summaryPageActive() const
{
    return pages->currentIndex() == kSummaryPage;
}

void MainWindow::setActivePage(int index)
{
    const QSignalBlocker block(pages);
    pages->setCurrentIndex(index);
    lastPageIndex_ = pages->currentIndex();
}

void MainWindow::showSummaryMenus(bool summary)
{
    optionsMenu->menuAction()->setVisible(summary);
    printAction->setVisible(summary);
    signMenu->menuAction()->setVisible(!summary);
}

void MainWindow::resetSummaryScroll()
{
    summaryPage_->ResetScroll();
}

void MainWindow::redrawCurrentSign()
{
    if (state.currentSign >= 1 && state.currentSign <= kMaxSigns)
        paintBoxes[size_t(state.currentSign - 1)]->update();
}

void MainWindow::refreshMenuStates()
{
    updateProjectMenu();
    updateSignMenu();
    updateConstructionMenu();
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

bool MainWindow::confirmNotice(int entry)
{
    return windows.notice().ask(state.LanguageEntry(entry));
}

// ---- activation, pages and painting -------------------------------------------------------

void MainWindow::AskForSignData()
{
    // At start the window is drawn first and the dialog opens over it; a window that is not drawn
    // (started minimised) gets the dialog a moment later all the same.
    askWhenPainted_ = true;
    if (isVisible() && !painted_)
        QTimer::singleShot(500, this, [this] { askWhenWaiting(); });
    else
        askWhenWaiting();
}

void MainWindow::askWhenWaiting()
{
    if (!askWhenPainted_)
        return;
    askWhenPainted_ = false;
    QMetaObject::invokeMethod(this, [this] { guarded([this] { askForBlankSign(); }); }, Qt::QueuedConnection);
}

bool MainWindow::event(QEvent *e)
{
    const bool handled = QMainWindow::event(e);
    if (e->type() == QEvent::Paint && !painted_) {
        painted_ = true;
        askWhenWaiting();
    }
    return handled;
}

void MainWindow::closeEvent(QCloseEvent *e)
{
    bool leave = false;
    guarded([this, &leave] { leave = maybeSaveChanges(); });
    if (leave) {
        remembered::saveGeometry(kGeometryKey, *this);
        e->accept();
    }
    else
        e->ignore();
}

void MainWindow::askForBlankSign()
{
    if (inSignDialogs_ || QApplication::activeModalWidget())
        return;
    if (state.currentSignRecord.width.get() <= 0)
        runSignDialogs();
}

void MainWindow::runSignDialogs()
{
    inSignDialogs_ = true;
    struct Leave {
        bool &flag;
        ~Leave() { flag = false; }
    } leave{inSignDialogs_};
    if (state.currentSignRecord.width.get() <= 0)
        windows.assumptions().exec();
    if (state.currentSignRecord.width.get() > 0)
        windows.construction().exec();
    afterSignDialogs();
}

void MainWindow::runAssumptionsOnly()
{
    windows.assumptions().exec();
    afterSignDialogs();
}

void MainWindow::afterSignDialogs()
{
    redrawCurrentSign();
}

void MainWindow::pageChanged(int index)
{
    // Keyboard and wheel steps of the tab bar may land on a hidden page: go on to the next page
    // shown in the same direction, or stay.
    if (index >= 0 && !pages->isTabVisible(index)) {
        const int previous = lastPageIndex_;
        const int step = index > previous ? 1 : -1;
        int next = index;
        while (next >= 0 && next < pages->count() && !pages->isTabVisible(next))
            next += step;
        if (next < 0 || next >= pages->count())
            next = previous;
        setActivePage(next);
        if (next == previous)
            return;
        index = next;
    }
    lastPageIndex_ = index;
    state.ReportLines.fill(QString(QChar(0)));
    if (index == kSummaryPage) {
        showSummaryMenus(true);
        resetSummaryScroll();
        MeasureSummaryPage();
        paintBoxes[kSummaryPage]->update();
        return;
    }
    if (!state.pageChangeEnabled || index < 0)
        return;
    showSummaryMenus(false);
    document.SelectSign(index + 1);
}

void MainWindow::paintSignPage(QPainter &painter, int page)
{
    // Page k shows sign k; another page's box shows nothing until its sign is current.
    if (page != state.currentSign || summaryPageActive())
        return;
    try {
        DrawSignPage(painter, paintBoxes[size_t(page - 1)]->size(), state);
    } catch (const FloatingPointOverflow &) {
        reportPaintOverflow();
    }
    if (state.workingRows[0] == 0)
        paintEmptySignHint(painter, paintBoxes[size_t(page - 1)]->size());
}

QString MainWindow::EmptySignHint() const
{
    // The command as its menus show it, without the dots that promise a dialog.
    const auto plain = [](QString caption) {
        caption.remove(QRegularExpression(QStringLiteral("&(?=[^&])")));
        caption.remove(QRegularExpression(QStringLiteral("(\\.\\.\\.|\u2026)\\s*$")));
        return caption.trimmed();
    };
    const QString path = plain(signMenu->title()) + QStringLiteral(" > ") + plain(constructionMenu->title())
                         + QStringLiteral(" > ") + plain(constructionAction->text());
    QString hint = state.LanguageEntry(text::kEmptySignHint);
    return hint.replace(QStringLiteral("%1"), path);
}

void MainWindow::paintEmptySignHint(QPainter &painter, QSize size)
{
    const QStringList lines = EmptySignHint().split(QLatin1Char('#'));
    const QRect area = QRect(QPoint(0, 0), size).adjusted(24, 24, -24, -24);
    if (lines.join(QString()).trimmed().isEmpty() || area.width() < 40 || area.height() < 20)
        return;
    QFont headline = paintBoxes[0]->font();
    headline.setPointSizeF(std::max(headline.pointSizeF(), 9.0) * 1.4);
    headline.setBold(true);
    QFont body = paintBoxes[0]->font();
    body.setPointSizeF(std::max(body.pointSizeF(), 9.0) * 1.15);
    const QString rest = lines.mid(1).join(QLatin1Char('\n'));
    const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
    const QRect first = QFontMetrics(headline).boundingRect(area, flags, lines[0]);
    const QRect second = rest.isEmpty() ? QRect() : QFontMetrics(body).boundingRect(area, flags, rest);
    const int gap = rest.isEmpty() ? 0 : first.height() / 2;
    int top = area.top() + std::max(0, (area.height() - first.height() - gap - second.height()) / 2);

    painter.save();
    // Quieter than the menus, still easy to read.
    QColor ink = palette().color(QPalette::WindowText);
    ink.setAlphaF(0.6f);
    painter.setPen(ink);
    painter.setFont(headline);
    painter.drawText(QRect(area.left(), top, area.width(), first.height()), flags, lines[0]);
    top += first.height() + gap;
    painter.setFont(body);
    painter.drawText(QRect(area.left(), top, area.width(), area.bottom() - top), flags, rest);
    painter.restore();
}

void MainWindow::signPageDoubleClicked()
{
    runSignDialogs();
}

void MainWindow::signPagePressed(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        runAssumptionsOnly();
}

void MainWindow::MeasureSummaryPage()
{
    summaryPage_->Measure();
}

// ---- menus ----------------------------------------------------------------------------------

void MainWindow::updateProjectMenu()
{
    const bool signs = state.HoldsSignInUse();
    saveAction->setEnabled(signs);
    saveAsAction->setEnabled(signs);
    updateRecentMenu();
}

void MainWindow::updateRecentMenu()
{
    const QStringList paths = remembered::recentProjects();
    for (int i = 0; i < kRecentProjectCount; ++i) {
        QAction *action = recentActions[size_t(i)];
        const bool used = i < paths.size();
        action->setVisible(used);
        action->setData(used ? paths[i] : QString());
        // "&" in a path is shown, not taken as a mnemonic; the number is the mnemonic.
        action->setText(used ? QStringLiteral("&%1  %2").arg(i + 1).arg(TabText(QDir::toNativeSeparators(paths[i])))
                             : QString());
    }
    recentMenu->menuAction()->setEnabled(!paths.isEmpty());
}

QString MainWindow::projectFolder() const
{
    if (!state.projectFilePath.isEmpty())
        return QFileInfo(state.projectFilePath).absolutePath();
    return remembered::lastProjectFolder();
}

void MainWindow::updateSignMenu()
{
    const bool sign = !summaryPageActive();
    for (QAction *a : {newSignAction, constructionMenu->menuAction(), copySignAction, deleteSignAction, titleAction})
        a->setEnabled(sign);
    if (!sign)
        return;
    if (state.signCount == 1)
        deleteSignAction->setEnabled(false);
    if (state.signCount == kMaxSigns) {
        newSignAction->setEnabled(false);
        copySignAction->setEnabled(false);
    }
    if (state.currentSignRecord.titleText().isEmpty())
        titleAction->setEnabled(false);
}

void MainWindow::updateConstructionMenu()
{
    exportAction->setEnabled(state.currentSignRecord.inUse());
}

void MainWindow::newProject()
{
    // Unmodified, nothing is lost: the project is still in its file.
    if (!maybeSaveChanges())
        return;
    document.NewProject();
    resetSummaryScroll();
    AskForSignData();
}

void MainWindow::openProject()
{
    if (!maybeSaveChanges())
        return;
    const QString chosen = openFileName_(this, projectFolder(), QtFileFilter(state.LanguageEntry(text::kProjectFileFilter)));
    if (chosen.isEmpty())
        return;
    loadProject(chosen);
}

bool MainWindow::loadProject(const QString &path)
{
    const ProjectLoad load = ReadProjectFile(path, state.LanguageEntry(text::kDamagedProject), &state.language);
    if (!load.signs) {
        ShowIoError(this, load.error);
        return false;
    }
    document.OpenProject(*load.signs, path);
    remembered::addRecentProject(path);
    resetSummaryScroll();
    AskForSignData();
    return true;
}

void MainWindow::openRecentProject(const QString &path)
{
    if (path.isEmpty())
        return;
    if (!QFileInfo(path).isFile()) {
        remembered::removeRecentProject(path);
        updateRecentMenu();
        QMessageBox box(QMessageBox::Warning, kProductWord, QString(), QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("RecentMissingBox"));
        QString message = state.LanguageEntry(text::kRecentProjectMissing);
        message.replace(QStringLiteral("%1"), QDir::toNativeSeparators(path));
        const qsizetype split = message.indexOf(QLatin1Char('#'));
        box.setText(message.isEmpty() ? QDir::toNativeSeparators(path) : message.left(split));
        if (split >= 0)
            box.setInformativeText(message.mid(split + 1));
        box.exec();
        return;
    }
    if (!maybeSaveChanges())
        return;
    loadProject(path);
}

void MainWindow::saveProject()
{
    if (state.HoldsSignInUse())
        saveToProjectFile();
}

void MainWindow::saveProjectAs()
{
    if (state.HoldsSignInUse())
        saveUnderNewName();
}

bool MainWindow::maybeSaveChanges()
{
    if (!state.ProjectModified())
        return true;
    // Standard buttons, so that a language file without these entries still shows usable ones.
    QMessageBox box(QMessageBox::Question, kProductWord, QString(), QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("SaveChangesBox"));
    const QString question = state.LanguageEntry(text::kSaveChangesQuestion);
    const qsizetype split = question.indexOf(QLatin1Char('#'));
    box.setText(question.isEmpty() ? QStringLiteral("Save changes?") : question.left(split));
    if (split >= 0)
        box.setInformativeText(question.mid(split + 1));
    const std::array<std::tuple<QMessageBox::StandardButton, int, const char *>, 3> buttons{{
        {QMessageBox::Save, text::kSaveButton, "SaveButton"},
        {QMessageBox::Discard, text::kDiscardButton, "DiscardButton"},
        {QMessageBox::Cancel, text::kCancel, "CancelButton"},
    }};
    for (const auto &[which, entry, name] : buttons) {
        QAbstractButton *button = box.button(which);
        button->setObjectName(QLatin1String(name));
        if (!state.LanguageEntry(entry).isEmpty())
            button->setText(state.LanguageEntry(entry));
    }
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == box.button(QMessageBox::Discard))
        return true;
    if (box.clickedButton() == box.button(QMessageBox::Save))
        return saveToProjectFile();
    return false;
}

bool MainWindow::saveToProjectFile()
{
    return state.projectFilePath.isEmpty() ? saveUnderNewName() : writeProject(state.projectFilePath);
}

bool MainWindow::saveUnderNewName()
{
    const QString path = askSaveName();
    return !path.isEmpty() && writeProject(path);
}

QString MainWindow::askSaveName()
{
    const QString filter = QtFileFilter(state.LanguageEntry(text::kProjectFileFilter));
    QString proposed = state.projectFilePath.isEmpty() ? projectFolder() : state.projectFilePath;
    for (;;) {
        const QString chosen = saveFileName_(this, proposed, filter);
        if (chosen.isEmpty())
            return {};
        const QString path = ProjectWritePath(chosen);
        if (!QFileInfo::exists(path))
            return path;
        if (AskReplaceFile(this, state, path))
            return path;
        proposed = path;
    }
}

bool MainWindow::writeProject(const QString &path)
{
    QString error = OutputIsInputError(path, FilesInUse(state, false));
    if (!error.isEmpty() || !WriteProjectFile(path, state.SignSlots, &error)) {
        ShowIoError(this, error + QStringLiteral("\n\n") + state.LanguageEntry(text::kSaveFailedNote));
        return false;
    }
    document.MarkSaved(path);
    remembered::addRecentProject(state.projectFilePath);
    return true;
}

void MainWindow::exitProgram()
{
    close();
}

void MainWindow::newSign()
{
    if (summaryPageActive())
        return;
    // The new page and its basic data are one step; cancelled, the page goes again.
    document.BeginEdit();
    if (!document.NewSign()) {
        document.EndEdit(false);
        return;
    }
    setActivePage(state.signCount - 1);
    inSignDialogs_ = true;
    struct Leave {
        bool &flag;
        ~Leave() { flag = false; }
    } leave{inSignDialogs_};
    windows.assumptions().exec();
    const bool given = state.currentSignRecord.width.get() > 0;
    document.EndEdit(given, text::kStepNewSign);
    if (!given)
        return;
    windows.construction().exec();
    afterSignDialogs();
}

void MainWindow::copySign()
{
    if (summaryPageActive() || !document.CopySign())
        return;
    setActivePage(state.signCount - 1);
}

void MainWindow::deleteSign()
{
    if (summaryPageActive() || state.signCount < 2)
        return;
    if (!confirmNotice(text::kDeleteSignNotice))
        return;
    if (document.DeleteSign())
        setActivePage(0);
}

void MainWindow::editTitle()
{
    const QString title = state.currentSignRecord.titleText();
    if (summaryPageActive() || title.isEmpty())
        return;
    const std::optional<TitleAnswer> answer = windows.titleDialog().ask(title);
    if (!answer)
        return;
    document.SetSignTitle(answer->text, answer->automatic);
}

void MainWindow::editBasics()
{
    if (summaryPageActive())
        return;
    runAssumptionsOnly();
}

void MainWindow::designSign()
{
    if (summaryPageActive())
        return;
    runSignDialogs();
}

void MainWindow::exportSign()
{
    if (summaryPageActive() || !state.currentSignRecord.inUse())
        return;
    ExportCurrentSign(state, windows, this, exportFileDialog_);
}

void MainWindow::chooseSummaryFont()
{
    summaryPage_->ChooseFont(fontAction->text());
}

void MainWindow::setUpPrinter()
{
    QueryPrinter();
    QPageSetupDialog dialog(printer_.get(), this);
    if (dialog.exec() == QDialog::Accepted)
        QueryPrinter();
}

void MainWindow::printSummary()
{
    summaryPage_->Print();
}

void MainWindow::editParameters()
{
    if (windows.parameterEditor().exec() == QDialog::Accepted)
        ParametersChanged();
}

void MainWindow::showListPrices()
{
    windows.priceList().ShowListPrices();
}

void MainWindow::showPricesAtPercent()
{
    windows.priceList().ShowPercentPrices();
}

void MainWindow::chooseLanguage()
{
    if (windows.languageChooser().exec() != QDialog::Accepted)
        return;
    InstallQtTranslation(state);
    document.LanguageChanged();
    LoadLanguageCaptions();
    RefreshCaption();
    SyncPages();
    if (summaryPageActive())
        MeasureSummaryPage();
    for (PaintBox *box : paintBoxes)
        box->update();
}

void MainWindow::showAbout()
{
    windows.aboutBox().exec();
}

void MainWindow::openProjectFile(const QString &path)
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    if (!maybeSaveChanges())
        return;
    loadProject(path);
}

} // namespace tablix
