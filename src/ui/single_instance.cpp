// One running program per user and display: a second start hands its file to the first one, which comes to the front.
#include "ui/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace tablix {

namespace {

constexpr int kLockTimeoutMs = 3000;
constexpr qsizetype kMaxRequest = 64 * 1024; // a client that says more is not one of ours
constexpr qsizetype kMaxName = 64;
// A start sends its request at once: more clients than this at a time, or one that has not sent a
// whole request within the time, are not starts of ours, and must not hold the instance's files.
constexpr std::size_t kMaxClients = 16;
constexpr qint64 kClientTimeoutMs = 2000;
constexpr int kAcceptBackOffMs = 200;
// The request: this line, then every file as UTF-8 ended by a zero byte; the end of the stream ends it.
const QByteArray kOpenRequest = QByteArrayLiteral("tablix-open\n");

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

// The user at the other end of a connected socket is this user.
bool PeerIsThisUser(int fd)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && size == sizeof peer && peer.uid == ::geteuid();
}

bool SendAll(int fd, const QByteArray &bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

QString SafeForFileName(const QString &text)
{
    QString safe;
    for (QChar c : text)
        safe += c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('.') ? c : QLatin1Char('_');
    return safe;
}

} // namespace

QString PrivateRuntimeDirectory(const QString &folder)
{
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder))
        return QString();
    struct stat info{};
    // lstat: a link could point anywhere, whoever owns it.
    if (::lstat(QFile::encodeName(folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode)
        || info.st_uid != ::geteuid() || (info.st_mode & 0777) != 0700)
        return QString();
    return folder;
}

QString PrivateRuntimeDirectory()
{
    return PrivateRuntimeDirectory(qEnvironmentVariable("XDG_RUNTIME_DIR"));
}

QString SingleInstanceName()
{
    // Another display or another session gets its own instance.
    QString key = QStringLiteral("tablix");
    if (const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY"); !wayland.isEmpty())
        key += QStringLiteral("-wayland-") + wayland;
    else if (const QString x = qEnvironmentVariable("DISPLAY"); !x.isEmpty())
        key += QStringLiteral("-x") + x;
    if (const QString session = qEnvironmentVariable("XDG_SESSION_ID"); !session.isEmpty())
        key += QStringLiteral("-session") + session;
    key = SafeForFileName(key);
    if (key.size() > kMaxName)
        key = QStringLiteral("tablix-")
              + QString::fromLatin1(QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(32));
    return key;
}

SingleInstance::SingleInstance(const QString &name, const QString &runtimeDirectory, QObject *parent) : QObject(parent)
{
    if (runtimeDirectory.isEmpty())
        return;
    const QDir dir(runtimeDirectory);
    lockPath_ = dir.filePath(name + QStringLiteral(".lock"));
    path_ = QFile::encodeName(dir.filePath(name + QStringLiteral(".socket")));
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

bool SingleInstance::claim(const QStringList &files)
{
    sockaddr_un address;
    if (!SocketAddress(path_, address))
        return true; // without the guard the program still runs
    const auto *peer = reinterpret_cast<const sockaddr *>(&address);

    // Two starts at the same moment must not both become the first.
    QLockFile lock(lockPath_);
    lock.setStaleLockTime(5000);
    lock.tryLock(kLockTimeoutMs);

    // Whatever is at the socket's place must be a socket of this user's, or nobody is asked.
    struct stat info{};
    const bool present = ::lstat(path_.constData(), &info) == 0;
    if (present && (!S_ISSOCK(info.st_mode) || info.st_uid != ::geteuid()))
        return true;

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return true;
    if (present && ::connect(fd, peer, sizeof address) == 0) {
        if (!PeerIsThisUser(fd)) {
            ::close(fd);
            return true;
        }
        QByteArray request = kOpenRequest;
        for (const QString &file : files)
            request += file.toUtf8() + '\0';
        const bool sent = SendAll(fd, request);
        ::close(fd);
        // A first instance that did not take the request leaves this start to run on its own.
        return !sent;
    }

    // Nobody answered: a socket left behind by a program that ended abnormally is stale.
    if (present)
        ::unlink(path_.constData());
    if (::bind(fd, peer, sizeof address) != 0 || ::chmod(path_.constData(), S_IRUSR | S_IWUSR) != 0
        || ::listen(fd, 8) != 0 || ::fcntl(fd, F_SETFL, O_NONBLOCK) != 0) {
        ::close(fd);
        return true;
    }
    listener_ = fd;
    clock_.start();
    deadlines_ = new QTimer(this);
    deadlines_->setInterval(int(kClientTimeoutMs / 4));
    connect(deadlines_, &QTimer::timeout, this, [this] { dropLateClients(); });
    listenerNotifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(listenerNotifier_, &QSocketNotifier::activated, this, [this] { acceptClients(); });
    return true;
}

void SingleInstance::acceptClients()
{
    for (;;) {
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
                return;
            // Out of descriptors or memory: the waiting connection would wake us at once again.
            listenerNotifier_->setEnabled(false);
            QTimer::singleShot(kAcceptBackOffMs, this, [this] { listenerNotifier_->setEnabled(true); });
            return;
        }
        // Only this user may hand over files.
        if (!PeerIsThisUser(fd)) {
            ::close(fd);
            continue;
        }
        // The oldest gives way, so that a real start always gets in.
        if (clients_.size() >= kMaxClients) {
            const auto oldest = std::min_element(clients_.begin(), clients_.end(),
                                                 [](const auto &a, const auto &b) { return a.second.order < b.second.order; });
            dropClient(oldest->first);
        }
        Client &client = clients_[fd];
        client.acceptedAt = clock_.elapsed();
        client.order = ++accepted_;
        if (!deadlines_->isActive())
            deadlines_->start();
        client.notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        connect(client.notifier.get(), &QSocketNotifier::activated, this, [this, fd] { readClient(fd); });
    }
}

void SingleInstance::readClient(int fd)
{
    const auto found = clients_.find(fd);
    if (found == clients_.end())
        return;
    Client &client = found->second;
    char buffer[4096];
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (n > 0) {
        client.received.append(buffer, qsizetype(n));
        if (client.received.size() <= kMaxRequest)
            return;
    }
    // The end of the stream ends the request; an error or an overlong request drops it.
    const QByteArray request = n == 0 ? client.received : QByteArray();
    dropClient(fd);
    handleRequest(request);
}

void SingleInstance::handleRequest(const QByteArray &request)
{
    if (!request.startsWith(kOpenRequest))
        return;
    QStringList files;
    for (const QByteArray &part : request.mid(kOpenRequest.size()).split('\0')) {
        const QString file = QString::fromUtf8(part);
        if (!file.isEmpty() && QDir::isAbsolutePath(file))
            files << file;
    }
    raiseWindow();
    if (!files.isEmpty())
        emit filesReceived(files);
}

void SingleInstance::dropClient(int fd)
{
    // The notifier goes before its descriptor.
    clients_.erase(fd);
    ::close(fd);
    if (clients_.empty() && deadlines_)
        deadlines_->stop();
}

void SingleInstance::dropLateClients()
{
    const qint64 now = clock_.elapsed();
    std::vector<int> late;
    for (const auto &[fd, client] : clients_)
        if (now - client.acceptedAt >= kClientTimeoutMs)
            late.push_back(fd);
    for (int fd : late)
        dropClient(fd);
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
