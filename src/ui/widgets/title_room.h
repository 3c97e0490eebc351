// Small dialogs grow to keep their window caption readable in the title bar.
#pragma once

#include <QBoxLayout>
#include <QDialog>
#include <QFontMetrics>
#include <QSpacerItem>

namespace tablix {

// An empty item that widens the layout; empty items take no spacing in a box layout.
inline QSpacerItem *AddTitleRoom(QBoxLayout *layout)
{
    auto *room = new QSpacerItem(0, 0, QSizePolicy::Fixed, QSizePolicy::Fixed);
    layout->addSpacerItem(room);
    return room;
}

// After setWindowTitle: room for the caption, set in a bolder font by most title bars, and the
// title bar's icon and buttons.
inline void FitTitleRoom(QDialog *dialog, QSpacerItem *room)
{
    QFont bold = dialog->font();
    bold.setBold(true);
    const int width = QFontMetrics(bold).horizontalAdvance(dialog->windowTitle()) * 6 / 5 + 120;
    room->changeSize(width, 0, QSizePolicy::Fixed, QSizePolicy::Fixed);
    dialog->layout()->invalidate();
}

} // namespace tablix
