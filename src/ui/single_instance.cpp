// One running program per user: a second start brings the first one's window to the front and ends.
#include "ui/single_instance.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tablix {

namespace {

constexpr int kLockTimeoutMs = 3000;
constexpr qsizetype kMaxRequest = 64; // a client that says more is not one of ours
const QByteArray kRaiseRequest = QByteArrayLiteral("raise\n");

// The socket's address; false when the path does not fit one.
bool SocketAddress(const QByteArray &path, sockaddr_un &address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return true;
}

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

SingleInstance::SingleInstance(const QString &name, QObject *parent)
    : QObject(parent), name_(name), path_(QFile::encodeName(QDir(QDir::tempPath()).filePath(name)))
{
}

SingleInstance::~SingleInstance()
{
    while (!clients_.empty())
        dropClient(clients_.begin()->first);
    if (listener_ >= 0) {
        delete listenerNotifier_;
        ::close(listener_);
        ::unlink(path_.constData());
    }
}

bool SingleInstance::claim()
{
    // Two starts at the same moment must not both become the first.
    QLockFile lock(QDir(QDir::tempPath()).filePath(name_ + QStringLiteral(".lock")));
    lock.setStaleLockTime(5000);
    lock.tryLock(kLockTimeoutMs);

    sockaddr_un address;
    if (!SocketAddress(path_, address))
        return true; // without the guard the program still runs
    const auto *peer = reinterpret_cast<const sockaddr *>(&address);

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return true;
    if (::connect(fd, peer, sizeof address) == 0) {
        ::send(fd, kRaiseRequest.constData(), size_t(kRaiseRequest.size()), MSG_NOSIGNAL);
        ::close(fd);
        return false;
    }

    // Nobody answered: a socket left behind by a program that ended abnormally is stale.
    ::unlink(path_.constData());
    if (::bind(fd, peer, sizeof address) != 0 || ::chmod(path_.constData(), S_IRUSR | S_IWUSR) != 0
        || ::listen(fd, 8) != 0 || ::fcntl(fd, F_SETFL, O_NONBLOCK) != 0) {
        ::close(fd);
        return true;
    }
    listener_ = fd;
    listenerNotifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(listenerNotifier_, &QSocketNotifier::activated, this, [this] { acceptClients(); });
    return true;
}

void SingleInstance::acceptClients()
{
    for (;;) {
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        Client &client = clients_[fd];
        client.notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        connect(client.notifier.get(), &QSocketNotifier::activated, this, [this, fd] { readClient(fd); });
    }
}

void SingleInstance::readClient(int fd)
{
    Client &client = clients_[fd];
    char buffer[kMaxRequest];
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (n > 0)
        client.received.append(buffer, qsizetype(n));
    const bool asked = client.received.contains(kRaiseRequest.trimmed());
    if (n <= 0 || asked || client.received.size() >= kMaxRequest)
        dropClient(fd);
    if (asked)
        raiseWindow();
}

void SingleInstance::dropClient(int fd)
{
    // The notifier goes before its descriptor.
    clients_.erase(fd);
    ::close(fd);
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
