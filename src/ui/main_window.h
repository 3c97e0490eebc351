// MainWindow: the main window, holding one page per sign and the project summary.
#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <array>
#include <functional>
#include <memory>

#include "ui/export_command.h"

class QAction;
class QDialog;
class QMenu;
class QTabWidget;

namespace tablix {

struct AppState;
class PaintBox;
class ProjectDocument;
class SummaryPage;
class Windows;

// Asks for a file name: parent, proposed name, Qt filter; an empty result means cancelled.
using FileNameDialog = std::function<QString(QWidget *, const QString &, const QString &)>;

// "Desc|*.a;*.b|..." to Qt's "Desc (*.a *.b);;...", with "*.*" meaning every file.
QString QtFileFilter(const QString &pipeFilter);

// Absolute pixel height of a font, as the summary measures its text rows.
int FontPixelHeight(const QFont &font);

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Fills the printer's resolution and page size into the state; printing calls it first.
    void QueryPrinter();
    MainWindow(AppState &state, Windows &windows, QWidget *parent = nullptr);
    ~MainWindow() override;

    void setFileDialogs(FileNameDialog open, FileNameDialog save);
    // A project named from outside (command line, a later start): the window comes to the front,
    // asks about unsaved changes, then opens it.
    void openProjectFile(const QString &path);
    void setExportFileDialog(ExportFileDialog dialog) { exportFileDialog_ = std::move(dialog); }

    // The printer of the program, as set up through printerSetupAction.
    QPrinter &printer() { return *printer_; }

    void RefreshCaption();
    // Captions every control from the language table; after loading a language.
    void LoadLanguageCaptions();
    // Pages, tab captions and menus as the sign list now stands.
    void SyncPages();
    // After the parameters were saved: the list-price command and every drawing follow them.
    void ParametersChanged();

    // At start and after a new or opened project: a current sign without a width asks for its
    // basic data, once the event loop runs and, when the window is shown, once it has been drawn.
    void AskForSignData();

    // Handlers of the window, its pages and its commands.
    void pageChanged(int index);
    void updateProjectMenu();
    void updateSignMenu();
    void updateConstructionMenu();
    void newProject();
    void openProject();
    void saveProject();
    void saveProjectAs();
    void exitProgram();
    void undo();
    void redo();
    void newSign();
    void copySign();
    void deleteSign();
    void editTitle();
    void editBasics();
    void designSign();
    void exportSign();
    void chooseSummaryFont();
    void setUpPrinter();
    void printSummary();
    void editParameters();
    void showListPrices();
    void showPricesAtPercent();
    void chooseLanguage();
    void showAbout();
    // Sizes the summary's paint box for its content.
    void MeasureSummaryPage();

    bool summaryPageActive() const;
    // What an empty sign page says to do, lines split at "#".
    QString EmptySignHint() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void buildMenus();
    void buildPages();
    QAction *addCommand(QMenu *menu, const char *name, void (MainWindow::*handler)(), const QKeySequence &shortcut = {});
    QMenu *addSubmenu(QWidget *parent, const char *name);
    template <class F> void guarded(F &&handler);

    void paintSignPage(QPainter &painter, int page);
    void signPageDoubleClicked();
    void signPagePressed(Qt::MouseButton button);

    void runSignDialogs();
    void runAssumptionsOnly();
    void afterSignDialogs();
    bool confirmNotice(int entry);
    // Asks "Save changes?" when the project was modified; false when the user stays with it.
    bool maybeSaveChanges();
    bool saveToProjectFile();
    bool saveUnderNewName();
    // The name to save under, ".tab" appended and a file already there replaced only on request.
    QString askSaveName();
    bool writeProject(const QString &path);
    // Reads the file whole and makes it the project; a file that cannot be read changes nothing.
    bool loadProject(const QString &path);
    // A project of the recent list: one no longer there is taken off the list, with a message.
    void openRecentProject(const QString &path);
    void updateRecentMenu();
    // The folder the file dialogs start in: the project's own, else the last one used.
    QString projectFolder() const;
    void askForBlankSign();
    void documentChanged();
    void updateUndoActions();
    void paintEmptySignHint(QPainter &painter, QSize size);
    void setActivePage(int index);
    void showSummaryMenus(bool summary);
    void resetSummaryScroll();
    void redrawCurrentSign();
    void refreshMenuStates();
    void reportPaintOverflow();

    AppState &state;
    Windows &windows;
    ProjectDocument &document;
    FileNameDialog openFileName_;
    FileNameDialog saveFileName_;
    ExportFileDialog exportFileDialog_ = DefaultExportFileDialog();
    std::unique_ptr<QPrinter> printer_;

    QTabWidget *pages = nullptr;
    std::array<QWidget *, 21> sheets{};
    std::array<PaintBox *, 21> paintBoxes{};
    SummaryPage *summaryPage_ = nullptr;

    QMenu *recentMenu = nullptr;
    std::array<QAction *, 8> recentActions{};
    QAction *clearRecentAction = nullptr;
    QAction *undoAction = nullptr, *redoAction = nullptr;
    QMenu *editMenu = nullptr;
    QMenu *projectMenu = nullptr, *signMenu = nullptr, *constructionMenu = nullptr, *optionsMenu = nullptr, *settingsMenu = nullptr, *parametersMenu = nullptr,
          *priceListMenu = nullptr;
    QAction *newProjectAction = nullptr, *openAction = nullptr, *saveAction = nullptr, *saveAsAction = nullptr, *exitAction = nullptr, *newSignAction = nullptr, *copySignAction = nullptr,
            *deleteSignAction = nullptr, *titleAction = nullptr, *basicsAction = nullptr, *constructionAction = nullptr, *exportAction = nullptr,
            *fontAction = nullptr, *printerSetupAction = nullptr, *printAction = nullptr, *parametersAction = nullptr, *listPricesAction = nullptr,
            *percentPricesAction = nullptr, *languageAction = nullptr, *aboutAction = nullptr;

    void askWhenWaiting();

    int lastPageIndex_ = 0;
    bool inSignDialogs_ = false;
    bool painted_ = false;
    bool askWhenPainted_ = false;
    bool paintOverflowReported_ = false;
};

} // namespace tablix
