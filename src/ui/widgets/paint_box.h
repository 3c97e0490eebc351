// A page's drawing surface: its owner paints it and answers its mouse.
#pragma once

#include <QWidget>
#include <functional>

namespace tablix {

// A page's drawing surface; the main window paints it and answers its mouse.
class PaintBox : public QWidget {
public:
    explicit PaintBox(QWidget *parent = nullptr) : QWidget(parent) {}

    std::function<void(QPainter &)> onPaint;
    std::function<void()> onDoubleClick;
    std::function<void(Qt::MouseButton)> onMouseDown;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
};

} // namespace tablix
