// Scroll bars whose thumb reads as the thumb, whatever the colour of the page behind them.
#include "ui/widgets/scroll_bars.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QPalette>
#include <QScrollBar>

namespace tablix {

namespace {

const QColor kTrackColour(0xec, 0xec, 0xec);
const char *const kScrollBarStyle = R"(
QScrollBar { background: #ececec; border: none; margin: 0; }
QScrollBar:vertical { width: 16px; }
QScrollBar:horizontal { height: 16px; }
QScrollBar::handle { background: #8c8c8c; border-radius: 4px; }
QScrollBar::handle:hover { background: #6e6e6e; }
QScrollBar::handle:pressed { background: #505050; }
QScrollBar::handle:vertical { min-height: 24px; margin: 2px 3px; }
QScrollBar::handle:horizontal { min-width: 24px; margin: 3px 2px; }
QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; border: none; background: none; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
)";

} // namespace

void MarkScrollThumbs(QAbstractScrollArea *area)
{
    for (QScrollBar *bar : {area->horizontalScrollBar(), area->verticalScrollBar()})
        bar->setStyleSheet(QString::fromLatin1(kScrollBarStyle));
    if (QWidget *corner = area->cornerWidget()) {
        QPalette palette = corner->palette();
        palette.setColor(QPalette::Window, kTrackColour);
        corner->setPalette(palette);
    }
}

} // namespace tablix
