// The workshop's commands in the main window's project menu: quote, cut list, cutting plan, stock settings.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "core/params/shop_details.h"
#include "core/render/quote_details.h"
#include "core/workshop/cut_list.h"
#include "core/workshop/cutting_plan.h"
#include "core/workshop/stock.h"

class QAction;
class QTimer;
class QMenu;
class QPrinter;
class QWidget;

namespace tablix {

struct AppState;
class PlanReportView;
class ProjectDocument;

// A message box named `objectName`; a "#" in `text` starts its second part.
void ShowSplitMessage(QWidget *parent, QMessageBox::Icon icon, const QString &objectName, const QString &text);
// The save commands' question before a file is replaced; true to replace. Enter keeps the file.
bool AskReplaceFile(QWidget *parent, const AppState &state, const QString &path);

class WorkshopMenu : public QObject {
    Q_OBJECT
public:
    // Asks for the file to write: parent, proposed name, Qt filter; empty when cancelled.
    using FileDialog = std::function<QString(QWidget *, const QString &, const QString &)>;

    // Appends the commands to `menu`; `window` owns this and parents its messages.
    WorkshopMenu(AppState &state, QWidget *window, QMenu *menu);
    ~WorkshopMenu() override;

    // Replaces the file dialogs of both saving commands (tests answer them).
    void setFileDialog(FileDialog dialog) { askFile_ = std::move(dialog); }
    // Replaces the quote's details dialog: the proposed details in, the answer out (nothing cancels).
    using DetailsDialog = std::function<std::optional<QuoteDetails>(QWidget *, const QuoteDetails &, const ShopDetails &)>;
    void setDetailsDialog(DetailsDialog dialog) { askDetails_ = std::move(dialog); }
    // Replaces the planner (tests make it slow); it runs off the GUI thread.
    using Planner = std::function<CuttingPlan(const CutList &, const StockSettings &, const PlanControl &)>;
    void setPlanner(Planner planner) { planner_ = std::move(planner); }

    enum class Outcome { Cancelled, Written, Shown, NoSignInUse, Failed };
    // Asks for the quote's details (filled from the project's last quote, a new number) and the
    // PDF's name, and writes the quote of the whole project there, atomically; then the shop's next
    // number advances when this quote took it, and the details are kept beside the project.
    // Failures are told to the user and leave a file already there as it was.
    Outcome saveQuote();
    // Asks for the CSV's name (".csv" added, a file already there replaced only when confirmed)
    // and writes the project's cut list there, atomically.
    Outcome saveCutList();
    // Plans the cut list with the data folder's stock settings (off the GUI thread, with progress
    // and Cancel when it takes a while) and shows the plan's window, beside the others; a window
    // already open shows the new plan.
    Outcome showCuttingPlan();
    // The plan's window, while it is open.
    PlanReportView *planView() const;
    // The plan's window follows the document's changes.
    void followDocument(ProjectDocument *document);
    // Plans again in the background (a moment after the last change) when the window is open.
    void planChanged();
    // The stock dialog for the project's profiles; Written when OK saved the file.
    Outcome editStock();

    // Captions from the language table; also done whenever the menu opens.
    void LoadLanguageCaptions();

private:
    // The project's cut list; nothing, after a message, when it cannot be made.
    std::optional<CutList> cutList();
    QPrinter &printer();
    void Replan();
    void JoinPlanners();

    AppState &state;
    QWidget *window;
    QAction *quoteAction = nullptr, *cutListAction = nullptr, *planAction = nullptr, *stockAction = nullptr;
    FileDialog askFile_;
    DetailsDialog askDetails_;
    Planner planner_;
    std::unique_ptr<QPrinter> ownPrinter_; // when the window is not the main window
    QPointer<PlanReportView> planView_;
    QTimer *replanTimer_ = nullptr;
    // Background plans after a change; a newer one cancels the older, whose plan is dropped.
    std::vector<std::thread> planners_;
    std::shared_ptr<std::atomic<bool>> replanCancel_;
    int replanGeneration_ = 0;
};

} // namespace tablix
