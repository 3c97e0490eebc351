// PlanReportView: the cutting plan's window: bar diagrams with the saw order, the text report a tab away, labels.
#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

#include "core/workshop/cutting_plan.h"

class QAction;
class QMenu;
class QMenuBar;
class QPrinter;
class QScrollArea;
class QTabWidget;
class QToolBar;

namespace tablix {

struct AppState;
class PaintBox;
class PlanDrawing;
class PlanCanvas;

// An ordinary window beside the others: whoever shows it gives it the plan again when the project
// or the stock settings change.
class PlanReportView : public QWidget {
    Q_OBJECT
public:
    // `printer` is the program's printer, its values refreshed into the state.
    PlanReportView(AppState &state, std::function<QPrinter &()> printer, QWidget *parent = nullptr);
    ~PlanReportView() override;

    // The plan drawn and as text; `project` names it on paper and on the labels.
    void setPlan(const CuttingPlan &plan, const QString &project);
    // The report text's lines end with '\r', a tab splits a line's label from its value.
    void setReport(const QString &title, const QString &text);

    const QStringList &lines() const { return lines_; }
    const CuttingPlan &plan() const { return plan_; }
    const PlanDrawing *drawing() const { return drawing_.get(); }
    QWidget *paintBox() const;
    QWidget *canvas() const;
    QTabWidget *tabs() const { return tabs_; }
    double zoom() const { return zoom_; }
    void setZoom(double zoom);
    void fitWidth();
    // Captions from the language table, and the plan's words again.
    void languageChanged();

    // Replaceable, so that printing and saving can run without a user.
    std::function<bool(QPrinter &)> PrintDialog;
    std::function<bool(QPrinter &)> PrintSetupDialog;
    // The label sheet's name and the file to write; empty when cancelled.
    std::function<QString(QWidget *, const QString &proposed)> AskLabelSheet;
    std::function<QString(QWidget *, const QString &proposed, const QString &filter)> AskLabelFile;

    // Prints what the window shows: the diagrams, or the text on its tab.
    void printReport();
    void printDiagrams();
    void printText();
    // Asks for the sheet and the file, then writes the labels atomically; false when nothing was written.
    bool saveLabels();
    void chooseFont();
    void setUpPrinter();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void Caption();
    void Measure();
    void Resize();

    AppState &state;
    std::function<QPrinter &()> printer_;
    QString title_;
    QStringList lines_;
    int tabColumn_ = 0; // screen pixels from the left edge

    CuttingPlan plan_;
    QString project_;
    std::unique_ptr<PlanDrawing> drawing_;
    double zoom_ = 1;
    bool fitted_ = false; // the first showing fits the bars to the window

    QMenuBar *menuBar = nullptr;
    QScrollArea *scrollArea = nullptr, *diagramArea = nullptr;
    QTabWidget *tabs_ = nullptr;
    QToolBar *toolBar = nullptr;
    PaintBox *box_ = nullptr;
    PlanCanvas *canvas_ = nullptr;
    QAction *closeAction = nullptr, *printAction = nullptr, *fontAction = nullptr, *printerSetupAction = nullptr;
    QAction *labelsAction = nullptr, *zoomInAction = nullptr, *zoomOutAction = nullptr, *fitAction = nullptr;
    QMenu *optionsMenu = nullptr;
};

// How a line of the plan is written: a profile's heading bold, the bound line green when the plan
// reaches it (provably fewest bars) and red when it does not.
enum class PlanLineStyle { Plain, Heading, Reached, NotReached };
PlanLineStyle PlanLineStyleOf(const AppState &state, const QString &line);

} // namespace tablix
