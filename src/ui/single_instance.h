// One running program per user and display: a second start hands its file to the first one, which comes to the front.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>

class QSocketNotifier;
class QTimer;
class QWidget;

namespace tablix {

// `folder` when it is a directory owned by this user and closed to everyone else (mode 0700),
// else empty: a folder others can write to could hold a stranger's socket.
QString PrivateRuntimeDirectory(const QString &folder);
// XDG_RUNTIME_DIR when private, else empty.
QString PrivateRuntimeDirectory();

// The name every start on the same display and in the same session agrees on.
QString SingleInstanceName();

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // An empty `runtimeDirectory` means no guard: every start runs on its own.
    explicit SingleInstance(const QString &name = SingleInstanceName(),
                            const QString &runtimeDirectory = PrivateRuntimeDirectory(), QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this start goes on: it is the first (and now answers later starts), or there is no
    // safe way to reach another. False when a running instance of this user took `files`
    // (absolute paths) and was asked to come to the front.
    bool claim(const QStringList &files = {});
    // Whether later starts reach this one.
    bool serving() const { return listener_ >= 0; }

    // The window raised when a later start asks for it.
    void setWindow(QWidget *window) { window_ = window; }

signals:
    // A later start asked to open these files (absolute paths), after the window was raised.
    void filesReceived(const QStringList &files);

private:
    void acceptClients();
    void readClient(int fd);
    void dropClient(int fd);
    void handleRequest(const QByteArray &request);
    void raiseWindow();

    QString lockPath_;
    QByteArray path_;
    // A Unix-domain socket of our own, not Qt Network: that module and its Kerberos and proxy
    // libraries would cost a twentieth of the program's memory at start-up for one message.
    int listener_ = -1;
    QSocketNotifier *listenerNotifier_ = nullptr;
    struct Client {
        std::unique_ptr<QSocketNotifier> notifier;
        QByteArray received;
        qint64 acceptedAt = 0; // ms of the instance's clock
        quint64 order = 0;
    };
    std::map<int, Client> clients_;
    quint64 accepted_ = 0;
    QElapsedTimer clock_;
    QTimer *deadlines_ = nullptr;
    void dropLateClients();
    QPointer<QWidget> window_;
};

} // namespace tablix
