// A page's drawing surface: its owner paints it and answers its mouse.
#include "ui/widgets/paint_box.h"

#include <QMouseEvent>
#include <QPainter>

namespace tablix {

void PaintBox::paintEvent(QPaintEvent *)
{
    if (!onPaint)
        return;
    QPainter painter(this);
    onPaint(painter);
}

void PaintBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && onDoubleClick)
        onDoubleClick();
    else if (event->button() != Qt::LeftButton && onMouseDown)
        onMouseDown(event->button());
}

void PaintBox::mousePressEvent(QMouseEvent *event)
{
    if (onMouseDown)
        onMouseDown(event->button());
}

} // namespace tablix
