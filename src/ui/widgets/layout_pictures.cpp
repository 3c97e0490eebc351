// The pictures of the four layouts, drawn at the size they are shown.
#include "ui/widgets/layout_pictures.h"

#include <QPainter>
#include <QPolygonF>

#include "core/params/language.h"
#include "core/params/language_entries.h"
#include "core/project/element_codes.h"
#include "core/render/sign_drawing.h"

namespace tablix {

namespace {

constexpr QColor kOutline(0, 0, 0);

void drawRows(QPainter &p, const QRectF &board, const QColor &fill, int rows)
{
    const qreal h = board.height() / rows;
    p.setBrush(fill);
    for (int i = 0; i < rows; ++i)
        p.drawRect(QRectF(board.left(), board.top() + i * h, board.width(), h));
}

// Four bars mitred at the corners, as the sign drawing shows a closed frame.
void drawFrame(QPainter &p, const QRectF &outer, qreal bar, const QColor &fill)
{
    const QRectF inner = outer.adjusted(bar, bar, -bar, -bar);
    p.setBrush(fill.darker(125));
    const QPointF o1 = outer.topLeft(), o2 = outer.topRight(), o3 = outer.bottomRight(), o4 = outer.bottomLeft();
    const QPointF i1 = inner.topLeft(), i2 = inner.topRight(), i3 = inner.bottomRight(), i4 = inner.bottomLeft();
    p.drawPolygon(QPolygonF({o1, o2, i2, i1}));
    p.drawPolygon(QPolygonF({o2, o3, i3, i2}));
    p.drawPolygon(QPolygonF({o3, o4, i4, i3}));
    p.drawPolygon(QPolygonF({o4, o1, i1, i4}));
}

} // namespace

QPixmap LayoutPicture(int layout, QSize size, qreal devicePixelRatio)
{
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    if (layout < 1 || layout > 4)
        return pixmap;

    // The same colours as the rows of the sign drawing.
    const QColor fill = *RowFillColour(layout <= 2 ? ColourClass::FamilyA : ColourClass::FamilyB);
    const qreal w = size.width(), h = size.height();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(kOutline, 1));

    const int rows = 5;
    if (layout == 1 || layout == 3) {
        const qreal bar = qMax<qreal>(4, h / 10);
        const QRectF outer(w * 0.08, h * 0.1, w * 0.84 - 1, h * 0.8 - 1);
        drawRows(p, outer.adjusted(bar, bar, -bar, -bar), fill, rows);
        drawFrame(p, outer, bar, fill);
    } else {
        const qreal post = qMax<qreal>(4, w / 16);
        const qreal ground = h - 2;
        const QRectF board(w * 0.08 + post, h * 0.08, w * 0.84 - 2 * post - 1, h * 0.62);
        drawRows(p, board, fill, rows);
        p.setBrush(fill.darker(125));
        p.drawRect(QRectF(board.left() - post, h * 0.04, post, ground - h * 0.04));
        p.drawRect(QRectF(board.right(), h * 0.04, post, ground - h * 0.04));
        p.setPen(QPen(QColor(96, 96, 96), 1));
        p.drawLine(QPointF(2, ground), QPointF(w - 3, ground));
    }
    return pixmap;
}

QString LayoutToolTip(const LanguageTable &language, Layout layout)
{
    if (!IsKnown(layout))
        return {};
    return language.LanguageEntry(HasClosedFrame(layout) ? text::kClosedFrameLayout : text::kSidePostsLayout).trimmed()
           + QLatin1Char(' ') + language.LanguageEntry(LayoutFamilyWordEntry(layout)).trimmed();
}

} // namespace tablix
