// One running program per user: a second start brings the first one's window to the front and ends.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <map>
#include <memory>

class QSocketNotifier;
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
    void acceptClients();
    void readClient(int fd);
    void dropClient(int fd);
    void raiseWindow();

    QString name_;
    QByteArray path_;
    // A Unix-domain socket of our own, not Qt Network: that module and its Kerberos and proxy
    // libraries would cost a twentieth of the program's memory at start-up for one message.
    int listener_ = -1;
    QSocketNotifier *listenerNotifier_ = nullptr;
    struct Client {
        std::unique_ptr<QSocketNotifier> notifier;
        QByteArray received;
    };
    std::map<int, Client> clients_;
    QPointer<QWidget> window_;
};

} // namespace tablix
