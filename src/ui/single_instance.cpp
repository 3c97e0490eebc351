#include "ui/single_instance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QWidget>

namespace tablix {

namespace {

constexpr int kConnectTimeoutMs = 1000;
const QByteArray kRaiseRequest = QByteArrayLiteral("raise\n");

} // namespace

QString SingleInstanceName()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("LOGNAME");
    if (user.isEmpty())
        user = QDir::home().dirName();
    // Socket names are file names: keep only what is safe in one.
    QString safe;
    for (QChar c : user)
        safe += c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_') ? c : QLatin1Char('_');
    return QStringLiteral("tablix-") + safe;
}

SingleInstance::SingleInstance(const QString &name, QObject *parent) : QObject(parent), name_(name) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim()
{
    // Two starts at the same moment must not both become the first.
    QLockFile lock(QDir(QDir::tempPath()).filePath(name_ + QStringLiteral(".lock")));
    lock.setStaleLockTime(5000);
    lock.tryLock(kConnectTimeoutMs * 3);

    QLocalSocket socket;
    socket.connectToServer(name_);
    if (socket.waitForConnected(kConnectTimeoutMs)) {
        socket.write(kRaiseRequest);
        socket.waitForBytesWritten(kConnectTimeoutMs);
        socket.disconnectFromServer();
        return false;
    }

    // Nobody answered: a socket left behind by a program that ended abnormally is stale.
    QLocalServer::removeServer(name_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_))
        return true; // without the guard the program still runs
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *client = server_->nextPendingConnection()) {
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (client->readAll().contains(kRaiseRequest.trimmed()))
                    raiseWindow();
            });
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        }
    });
    return true;
}

void SingleInstance::raiseWindow()
{
    if (!window_)
        return;
    // Restored from the task bar as it was before, maximised or not.
    window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

} // namespace tablix
