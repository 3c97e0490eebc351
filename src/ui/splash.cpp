// The splash window shown while the program loads its data.
#include "ui/splash.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace tablix {

Splash::Splash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Splash"));
    setFixedSize(352, 118);
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void Splash::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::black);

    // A small sign board: a frame around stacked panels with their marked strips.
    const QRectF board(18, 17, 112, 84);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 170, 175));
    p.drawRect(board);
    const QColor panels[] = {QColor(20, 60, 140), QColor(235, 235, 235), QColor(20, 60, 140), QColor(235, 235, 235)};
    const qreal rowHeight = (board.height() - 10) / 4;
    for (int i = 0; i < 4; ++i) {
        const QRectF row(board.left() + 5, board.top() + 5 + i * rowHeight, board.width() - 10, rowHeight - 1);
        p.setBrush(panels[i]);
        p.drawRect(row);
        p.setBrush(i % 2 ? QColor(20, 60, 140) : QColor(245, 200, 40));
        p.drawRect(QRectF(row.left() + 6, row.center().y() - 2, row.width() * (0.45 + 0.12 * i), 4));
    }

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(40);
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(142, 20, 200, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("TABLIX"));

    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(12);
    p.setFont(small);
    p.setPen(QColor(245, 200, 40));
    p.drawText(QRectF(144, 68, 200, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("modular sign boards"));
    p.setPen(QColor(150, 150, 150));
    p.drawText(QRectF(144, 86, 200, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ver. " TABLIX_VERSION));
}

} // namespace tablix
