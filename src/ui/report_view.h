// ReportView: the report view, the cost or specification text of the current sign, and its printout.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "core/render/report_layout.h"

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QPrinter;
class QScrollArea;

namespace tablix {

struct AppState;
class Windows;
class PaintBox;

class ReportView : public QDialog {
    Q_OBJECT
public:
    ReportView(AppState &state, Windows &windows, QWidget *parent = nullptr);
    ~ReportView() override;

    // Shows ReportLines, as just split, modally under `title`.
    void ShowReport(const QString &title);

    // The print and printer set-up dialogs on the program's printer; true when confirmed.
    // Replaceable, so that printing can run without a user.
    std::function<bool(QPrinter &)> PrintDialog;
    std::function<bool(QPrinter &)> PrintSetupDialog;

    // The program's printer, its four values refreshed into the state.
    QPrinter &ProgramPrinter();

    const ReportLayout &layout() const { return layout_; }
    QWidget *paintBox() const;

    // Handlers of the window and its commands.
    void onActivated();
    void paintPage(QPainter &painter);
    void showDrawing();
    void hideDrawing();
    void chooseFont();
    void setUpPrinter();
    void closeReport();
    void printReport();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void SetDrawing(bool shown);
    void Measure();
    void SizePaintBox();
    void CaptionDrawingMenu();
    void CaptionCommands();
    template <class F> void guarded(F &&handler);
    int textHeight() const;
    int screenDpi() const;

    AppState &state;
    Windows &windows;
    QString reportTitle;
    ReportLayout layout_;

    QMenuBar *menuBar = nullptr;
    QScrollArea *scrollArea = nullptr;
    QWidget *content_ = nullptr;
    PaintBox *reportBox = nullptr;
    QAction *closeAction = nullptr, *printAction = nullptr, *showDrawingAction = nullptr, *hideDrawingAction = nullptr,
            *fontAction = nullptr, *printerSetupAction = nullptr;
    QMenu *drawingMenu = nullptr, *optionsMenu = nullptr;
    QActionGroup *drawingChoice = nullptr;
    bool overflowPending_ = false;
};

} // namespace tablix
