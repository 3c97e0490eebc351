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

    // Handlers, named after their control and event.
    void FormActivate();
    void PaintBox1Paint(QPainter &painter);
    void Tak1Click();
    void Nie1Click();
    void Font1Click();
    void PrintSetup1Click();
    void ok1Click();
    void drukuj1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void SetDrawing(bool shown);
    bool Measure();
    void SizePaintBox();
    void CaptionDrawingMenu();
    void CaptionCommands();
    template <class F> void guarded(F &&handler);
    int textHeight() const;
    int screenDpi() const;
    void printFailed(const QString &message);

    AppState &state;
    Windows &windows;
    QString reportTitle;
    ReportLayout layout_;

    QMenuBar *MainMenu1 = nullptr;
    QScrollArea *ScrollBox1 = nullptr;
    QWidget *content_ = nullptr;
    PaintBox *PaintBox1 = nullptr;
    QAction *ok1 = nullptr, *drukuj1 = nullptr, *Tak1 = nullptr, *Nie1 = nullptr, *Font1 = nullptr,
            *PrintSetup1 = nullptr;
    QMenu *Rysunek1 = nullptr, *Options1 = nullptr;
    QActionGroup *group1_ = nullptr;
    bool overflowPending_ = false;
};

} // namespace tablix
