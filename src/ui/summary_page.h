// The summary page of the main window: every sign's block and the project total, scrolled and printed.
#pragma once

#include <QScrollArea>
#include <functional>
#include <optional>

#include "core/render/summary.h"

class QPrinter;

namespace tablix {

struct AppState;
class PaintBox;

class SummaryPage : public QScrollArea {
    Q_OBJECT
public:
    explicit SummaryPage(AppState &state, QWidget *parent = nullptr);

    PaintBox *paintBox() const { return box_; }

    // Lays the summary out for the paint box's font; the box covers the content and the page.
    void Measure();
    // Back to the top left corner.
    void ResetScroll();
    // The font dialog on the paint box's font; a new font lays the page out again from the top.
    void ChooseFont(const QString &title);
    // The print dialog, then the printout of what the page shows.
    void Print();

    // The program's printer, its four values refreshed into the state.
    std::function<QPrinter &()> programPrinter;
    // The print dialog; replaceable, so that printing can run without a user.
    std::function<bool(QPrinter &)> PrintDialog;
    // A paint failed with an overflow; called from inside the paint.
    std::function<void()> onPaintOverflow;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void paintSummary(QPainter &painter);
    void fitPaintBox();
    int textHeight() const;

    AppState &state;
    PaintBox *box_ = nullptr;
    std::optional<SummaryExtent> extent_;
};

} // namespace tablix
