// PlanReportView: the cutting plan as a report window of its own lines, shown and printed like the cost report.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QPrinter;
class QScrollArea;

namespace tablix {

struct AppState;
class PaintBox;

class PlanReportView : public QDialog {
    Q_OBJECT
public:
    // `printer` is the program's printer, its values refreshed into the state.
    PlanReportView(AppState &state, std::function<QPrinter &()> printer, QWidget *parent = nullptr);

    // The report text's lines end with '\r', a tab splits a line's label from its value.
    void setReport(const QString &title, const QString &text);
    // Shows the report modally.
    int exec() override;

    const QStringList &lines() const { return lines_; }
    QWidget *paintBox() const;

    // Replaceable, so that printing can run without a user.
    std::function<bool(QPrinter &)> PrintDialog;
    std::function<bool(QPrinter &)> PrintSetupDialog;

    void printReport();
    void chooseFont();
    void setUpPrinter();

private:
    void Caption();
    void Measure();

    AppState &state;
    std::function<QPrinter &()> printer_;
    QString title_;
    QStringList lines_;
    int tabColumn_ = 0; // screen pixels from the left edge

    QMenuBar *menuBar = nullptr;
    QScrollArea *scrollArea = nullptr;
    PaintBox *box_ = nullptr;
    QAction *closeAction = nullptr, *printAction = nullptr, *fontAction = nullptr, *printerSetupAction = nullptr;
    QMenu *optionsMenu = nullptr;
};

// How a line of the plan is written: a profile's heading bold, the bound line green when the plan
// reaches it (provably fewest bars) and red when it does not.
enum class PlanLineStyle { Plain, Heading, Reached, NotReached };
PlanLineStyle PlanLineStyleOf(const AppState &state, const QString &line);

} // namespace tablix
