// Answers the modal windows a command opens, one step per window in the order they appear.
#pragma once

#include <QApplication>
#include <QList>
#include <QTimer>
#include <QWidget>
#include <functional>

// Each step gets the active modal window and must close it (or open the next one).
inline void AnswerModals(QObject *owner, QList<std::function<void(QWidget *)>> steps)
{
    auto *timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, owner, [timer, steps]() mutable {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || steps.isEmpty() || !modal->isVisible())
            return;
        auto step = steps.takeFirst();
        step(modal);
        if (steps.isEmpty())
            timer->deleteLater();
    });
    timer->start(20);
}
