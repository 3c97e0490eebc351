// MainWindow: the main window, holding one page per sign and the project summary.
#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QDialog;
class QFrame;
class QMenu;
class QScrollBar;
class QTabWidget;

namespace tablix {

struct AppState;

// A page's drawing surface; the main window paints it and answers its mouse.
class PaintBox : public QWidget {
public:
    explicit PaintBox(QWidget *parent = nullptr) : QWidget(parent) {}

    std::function<void(QPainter &)> onPaint;
    std::function<void()> onDoubleClick;
    std::function<void(Qt::MouseButton)> onMouseDown;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
};

// The dialogs the main window opens, created elsewhere and shown modally with exec().
struct MainWindowDialogs {
    QDialog *languageChooser = nullptr;    // language chooser
    QDialog *aboutBox = nullptr;
    QDialog *assumptions = nullptr;    // assumptions
    QDialog *construction = nullptr;    // construction
    QDialog *notice = nullptr;    // notice; reads its message from AppState::elementText
    QDialog *titleDialog = nullptr; // children Edit1 and CheckBox1
};

// Commands served by windows other than the dialogs above; an unset one does nothing.
struct MainWindowCommands {
    std::function<void()> c2111;  // parameter editor
    std::function<void()> c21211; // price list at 100 percent
    std::function<void()> c21221; // price list with a percentage
    std::function<void()> c2231;  // plotter and metafile export
};

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
    explicit MainWindow(AppState &state, QWidget *parent = nullptr);
    ~MainWindow() override;

    void setDialogs(const MainWindowDialogs &dialogs) { dialogs_ = dialogs; }
    MainWindowCommands &commands() { return commands_; }
    void setFileDialogs(FileNameDialog open, FileNameDialog save);

    // The printer of the program, as set up through printersetup1.
    QPrinter &printer() { return *printer_; }

    void RefreshCaption();
    // Captions every control from the language table; after loading a language.
    void LoadLanguageCaptions();
    // Pages, tab captions and menus as the sign list now stands.
    void SyncPages();
    // After the parameters were saved: the list-price command and every drawing follow them.
    void ParametersChanged();

    // Handlers, named after their control and event.
    void FormActivate();
    void PageControl1Change(int index);
    void m1Click();
    void m2Click();
    void c22Click();
    void c011Click();
    void c11Click();
    void c12Click();
    void c13Click();
    void c32Click();
    void c331Click();
    void c341Click();
    void c351Click();
    void c2211Click();
    void c2221Click();
    void c2231Click();
    void font1Click();
    void printersetup1Click();
    void drukuj1Click();
    void c2111Click();
    void c21211Click();
    void c21221Click();
    void c30Click();
    void c31Click();
    void ScrollBar1Scroll(int position);
    void ScrollBar2Scroll(int position);
    // Sizes PaintBox21 and places the scroll bars for the summary's content.
    void MeasureSummaryPage();

    bool summaryPageActive() const;
    int summaryScrollX() const { return summaryScrollX_; }
    int summaryScrollY() const { return summaryScrollY_; }

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildPages();
    QAction *addCommand(QMenu *menu, const char *name, void (MainWindow::*handler)(), const QKeySequence &shortcut = {});
    QMenu *addSubmenu(QWidget *parent, const char *name);
    template <class F> void guarded(F &&handler);

    void PaintBox1Paint(QPainter &painter, int page);
    void PaintBox1DblClick();
    void PaintBox1MouseDown(Qt::MouseButton button);
    void PaintBox21Paint(QPainter &painter);

    void SignDialogsRule();
    void AssumptionsOnly();
    void AfterSignDialogs();
    int execDialog(QDialog *dialog);
    bool confirmNotice(int entry);
    void setActivePage(int index);
    void showSummaryMenus(bool summary);
    void resetSummaryScroll();
    void redrawCurrentSign();
    void refreshMenuStates();
    void reportPaintOverflow();

    AppState &state;
    MainWindowDialogs dialogs_;
    MainWindowCommands commands_;
    FileNameDialog openFileName_;
    FileNameDialog saveFileName_;
    std::unique_ptr<QPrinter> printer_;

    QTabWidget *PageControl1 = nullptr;
    std::array<QWidget *, 21> TabSheets{};
    std::array<PaintBox *, 21> PaintBoxes{};
    QScrollBar *ScrollBar1 = nullptr;
    QScrollBar *ScrollBar2 = nullptr;
    QFrame *Panel2 = nullptr;

    QMenu *m1 = nullptr, *m2 = nullptr, *c22 = nullptr, *options1 = nullptr, *m3 = nullptr, *c21 = nullptr,
          *c2121 = nullptr;
    QAction *c011 = nullptr, *c11 = nullptr, *c12 = nullptr, *c13 = nullptr, *c32 = nullptr, *c331 = nullptr,
            *c341 = nullptr, *c351 = nullptr, *c2211 = nullptr, *c2221 = nullptr, *c2231 = nullptr,
            *font1 = nullptr, *printersetup1 = nullptr, *drukuj1 = nullptr, *c2111 = nullptr, *c21211 = nullptr,
            *c21221 = nullptr, *c30 = nullptr, *c31 = nullptr;

    int lastPageIndex_ = 0;
    int summaryScrollX_ = 0;
    int summaryScrollY_ = 0;
    // The sign's dialogs open by themselves once per sign that becomes current without a width,
    // so that cancelling them does not bring them back at every activation.
    bool askedForCurrentSign_ = false;
    bool inSignDialogs_ = false;
    bool paintOverflowReported_ = false;
};

} // namespace tablix
