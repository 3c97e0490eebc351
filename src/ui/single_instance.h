// One running program per user: a second start brings the first one's window to the front and ends.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QLocalServer;
class QWidget;

namespace tablix {

// The name every start of the same user agrees on.
QString SingleInstanceName();

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString &name = SingleInstanceName(), QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this is the only instance, which now answers later starts. False when another
    // instance runs; it has been asked to show its window.
    bool claim();

    // The window raised when a later start asks for it.
    void setWindow(QWidget *window) { window_ = window; }

private:
    void raiseWindow();

    QString name_;
    QLocalServer *server_ = nullptr;
    QPointer<QWidget> window_;
};

} // namespace tablix
