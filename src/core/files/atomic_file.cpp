// Every file the program writes goes through here: a failed write leaves the old file intact.
#include "core/files/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace tablix {

namespace {

constexpr char kTemporaryAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kTemporarySuffix = 6;
constexpr QByteArrayView kTemporaryMark = ".tablix-";
constexpr QByteArrayView kTemporaryEnd = ".tmp";
constexpr qsizetype kNameMax = 255;
constexpr int kMaxLinks = 40; // as the kernel follows them

// Error numbers of our own, past any errno.
constexpr int kReadOnly = -1;
constexpr int kDeleted = -2;
constexpr int kBlockDevice = -3;

QByteArray Native(const QString &path)
{
    return QFile::encodeName(path);
}

QString Reason(int errorNumber)
{
    switch (errorNumber) {
    case kReadOnly:
        return QStringLiteral("the file is read-only");
    case kDeleted:
        return QStringLiteral("it names a file that has been deleted");
    case kBlockDevice:
        return QStringLiteral("it is a disk (a block device), not a file");
    default:
        return FileErrorReason(errorNumber);
    }
}

QString Message(const QString &path, int errorNumber)
{
    return QStringLiteral("Could not write %1: %2.").arg(QDir::toNativeSeparators(path), Reason(errorNumber));
}

QString Message(const QString &path, const QString &reason)
{
    return QStringLiteral("Could not write %1: %2.").arg(QDir::toNativeSeparators(path), reason);
}

QByteArray DirectoryOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return ".";
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray BaseOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

QByteArray Join(const QByteArray &dir, const QByteArray &name)
{
    return dir.endsWith('/') ? QByteArray(dir + name) : QByteArray(dir + '/' + name);
}

std::optional<QByteArray> RealPath(const QByteArray &path)
{
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.constData(), nullptr), &std::free);
    if (!real)
        return std::nullopt;
    return QByteArray(real.get());
}

// What a path resolves to.
struct Target {
    enum Kind { New, Regular, InPlace } kind = New;
    QByteArray real; // New and Regular: the path the temporary goes beside and is renamed to
    struct stat st {};
};

// Follows links one by one, so that a dangling one leads to the name it points to.
int Resolve(const QByteArray &path, Target *target)
{
    QByteArray current = path;
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        struct stat st {};
        if (::stat(current.constData(), &st) == 0) {
            target->st = st;
            if (S_ISDIR(st.st_mode))
                return EISDIR;
            if (S_ISBLK(st.st_mode))
                return kBlockDevice;
            if (!S_ISREG(st.st_mode)) {
                target->kind = Target::InPlace;
                target->real = current;
                return 0;
            }
            // /proc/self/fd/N of a deleted file resolves to "NAME (deleted)", which is not this file.
            const std::optional<QByteArray> real = RealPath(current);
            struct stat again {};
            if (!real || ::stat(real->constData(), &again) != 0 || again.st_dev != st.st_dev || again.st_ino != st.st_ino)
                return kDeleted;
            target->kind = Target::Regular;
            target->real = *real;
            return 0;
        }
        if (errno != ENOENT)
            return errno;
        struct stat link {};
        if (::lstat(current.constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
            QByteArray to(PATH_MAX, Qt::Uninitialized);
            const ssize_t n = ::readlink(current.constData(), to.data(), size_t(to.size()));
            if (n < 0)
                return errno;
            to.truncate(n);
            current = to.startsWith('/') ? to : Join(DirectoryOf(current), to);
            continue;
        }
        const QByteArray name = BaseOf(current);
        if (name.isEmpty() || name == "." || name == "..")
            return EISDIR;
        const std::optional<QByteArray> dir = RealPath(DirectoryOf(current));
        if (!dir)
            return errno;
        target->kind = Target::New;
        target->real = Join(*dir, name);
        return 0;
    }
    return ELOOP;
}

// A user who may not write the file, or a file of someone else that nobody may write.
bool IsReadOnly(const Target &target, int *failure)
{
    if (::faccessat(AT_FDCWD, target.real.constData(), W_OK, AT_EACCESS) != 0) {
        *failure = errno == EROFS ? EROFS : kReadOnly;
        return true;
    }
    if (target.st.st_uid != ::geteuid() && (target.st.st_mode & 0222) == 0) {
        *failure = kReadOnly;
        return true;
    }
    return false;
}

// The name part before the mark, cut so that a 255-byte file name still has a temporary.
QByteArray TemporaryStem(const QByteArray &fileName)
{
    return fileName.left(kNameMax - 1 - kTemporaryMark.size() - kTemporarySuffix - kTemporaryEnd.size());
}

bool IsStrayTemporary(const QByteArray &dir, const QByteArray &entry, const QByteArray &fileName, time_t now)
{
    const QByteArray head = '.' + TemporaryStem(fileName) + kTemporaryMark;
    if (entry.size() != head.size() + kTemporarySuffix + kTemporaryEnd.size() || !entry.startsWith(head)
        || !entry.endsWith(kTemporaryEnd))
        return false;
    for (char c : entry.mid(head.size(), kTemporarySuffix))
        if (c == 0 || !std::strchr(kTemporaryAlphabet, c))
            return false;
    struct stat st {};
    return ::lstat(Join(dir, entry).constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()
           && now - st.st_mtime > kStrayTemporaryAgeSeconds;
}

void RemoveStrayTemporaries(const QByteArray &dir, const QByteArray &fileName)
{
    DIR *d = ::opendir(dir.constData());
    if (!d)
        return;
    const time_t now = std::time(nullptr);
    std::vector<QByteArray> strays;
    while (const dirent *e = ::readdir(d)) {
        const QByteArray entry(e->d_name);
        if (IsStrayTemporary(dir, entry, fileName, now))
            strays.push_back(entry);
    }
    ::closedir(d);
    for (const QByteArray &entry : strays)
        ::unlink(Join(dir, entry).constData());
}

// The mode a new file gets, read without changing the process's umask under other threads.
mode_t NewFileMode()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return mode_t(0666 & ~mask);
            }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mode_t(0666 & ~mask);
}

// Writes everything, retrying short writes; false with errno set on failure.
bool WriteAll(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

bool CloseChecked(int fd)
{
    // Linux releases the descriptor even when close reports an error; never retry.
    return ::close(fd) == 0 || errno == EINTR;
}

// Extended attributes, and with them access control lists; what the file system refuses is left.
void CopyExtendedAttributes(const QByteArray &from, int to)
{
    const ssize_t size = ::listxattr(from.constData(), nullptr, 0);
    if (size <= 0)
        return;
    QByteArray names(size, Qt::Uninitialized);
    const ssize_t got = ::listxattr(from.constData(), names.data(), size_t(names.size()));
    if (got <= 0)
        return;
    names.truncate(got);
    for (const QByteArray &name : names.split('\0')) {
        if (name.isEmpty())
            continue;
        const ssize_t length = ::getxattr(from.constData(), name.constData(), nullptr, 0);
        if (length < 0)
            continue;
        QByteArray value(length, Qt::Uninitialized);
        const ssize_t read = ::getxattr(from.constData(), name.constData(), value.data(), size_t(value.size()));
        if (read >= 0)
            (void)::fsetxattr(to, name.constData(), value.constData(), size_t(read), 0);
    }
}

// The old file's group where the user may set it (root keeps the owner too); then its
// attributes and its mode, the mode last since a change of owner clears set-id bits.
bool TakeOverFile(int fd, const Target &target)
{
    if (target.kind != Target::Regular)
        return ::fchmod(fd, NewFileMode()) == 0;
    const struct stat &st = target.st;
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return false;
    if (::geteuid() == 0 && (st.st_uid != now.st_uid || st.st_gid != now.st_gid))
        (void)!::fchown(fd, st.st_uid, st.st_gid);
    else if (st.st_gid != now.st_gid)
        (void)!::fchown(fd, uid_t(-1), st.st_gid); // allowed for a group the user belongs to
    CopyExtendedAttributes(target.real, fd);
    return ::fchmod(fd, st.st_mode & 07777) == 0;
}

int CreateTemporary(const QByteArray &real, QByteArray *name)
{
    auto *random = QRandomGenerator::global();
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray suffix;
        for (int i = 0; i < kTemporarySuffix; ++i)
            suffix += kTemporaryAlphabet[random->bounded(int(sizeof kTemporaryAlphabet) - 1)];
        *name = Join(DirectoryOf(real), TemporaryName(BaseOf(real), suffix));
        const int fd = ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

void SyncDirectory(const QByteArray &dir)
{
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}

// Fills a temporary beside the real path and renames it over; `fill` sets `reason` or errno.
bool Replace(const QString &path, const Target &target, const std::function<bool(int, const QByteArray &, QString *)> &fill,
             QString *error)
{
    int failure = 0;
    if (target.kind == Target::Regular && IsReadOnly(target, &failure)) {
        if (error)
            *error = Message(path, failure);
        return false;
    }
    RemoveStrayTemporaries(DirectoryOf(target.real), BaseOf(target.real));

    QByteArray temporary;
    const int fd = CreateTemporary(target.real, &temporary);
    if (fd < 0) {
        if (error)
            *error = Message(path, errno);
        return false;
    }
    // fsync makes the file system report now what it would otherwise find out after the rename.
    QString reason;
    errno = 0;
    bool ok = false;
    try {
        ok = fill(fd, temporary, &reason);
    } catch (...) {
        // A producer that gives up by throwing (an overflow while painting) leaves nothing behind.
        ::close(fd);
        ::unlink(temporary.constData());
        throw;
    }
    failure = errno;
    if (ok && !(::fsync(fd) == 0 && TakeOverFile(fd, target))) {
        ok = false;
        failure = errno;
    }
    if (!CloseChecked(fd) && ok) {
        ok = false;
        failure = errno;
    }
    if (ok && ::rename(temporary.constData(), target.real.constData()) != 0) {
        ok = false;
        failure = errno;
    }
    if (!ok) {
        ::unlink(temporary.constData());
        if (error)
            *error = reason.isEmpty() ? Message(path, failure == 0 ? EIO : failure) : Message(path, reason);
        return false;
    }
    SyncDirectory(DirectoryOf(target.real));
    return true;
}

// Devices, FIFOs and terminals take the bytes as they come; there is nothing to rename over.
bool WriteInPlace(const QString &path, const QByteArray &real, const QByteArray &bytes, QString *error)
{
    const int fd = ::open(real.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (error)
            *error = Message(path, errno);
        return false;
    }
    bool ok = WriteAll(fd, bytes);
    int failure = errno;
    if (!CloseChecked(fd) && ok) {
        ok = false;
        failure = errno;
    }
    if (!ok && error)
        *error = Message(path, failure);
    return ok;
}

bool ResolveOrSay(const QString &path, Target *target, QString *error)
{
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("Could not write: no file name was given.");
        return false;
    }
    // A file replaced by another writer between two looks is looked at again.
    int failure = kDeleted;
    for (int attempt = 0; attempt < 5 && failure == kDeleted; ++attempt)
        failure = Resolve(Native(path), target);
    if (failure != 0 && error)
        *error = Message(path, failure);
    return failure == 0;
}

} // namespace

QByteArray TemporaryName(const QByteArray &fileName, const QByteArray &suffix)
{
    return '.' + TemporaryStem(fileName) + kTemporaryMark + suffix + kTemporaryEnd;
}

QString FileErrorReason(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
        return QStringLiteral("the disk is full");
    case EDQUOT:
        return QStringLiteral("the disk quota is used up");
    case EFBIG:
        return QStringLiteral("the file would exceed the largest size allowed (a file size limit or the file system's)");
    case EACCES:
    case EPERM:
        return QStringLiteral("permission denied");
    case EROFS:
        return QStringLiteral("the file system is read-only");
    case ENOENT:
        return QStringLiteral("no such file or folder");
    case ENOTDIR:
        return QStringLiteral("a part of the path is not a folder");
    case EISDIR:
        return QStringLiteral("it is a folder");
    case ELOOP:
        return QStringLiteral("its symbolic links form a loop");
    case ENAMETOOLONG:
        return QStringLiteral("the file name is too long");
    case EIO:
        return QStringLiteral("input/output error");
    default:
        return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}

bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    Target target;
    if (!ResolveOrSay(path, &target, error))
        return false;
    if (target.kind == Target::InPlace)
        return WriteInPlace(path, target.real, bytes, error);
    return Replace(path, target, [&](int fd, const QByteArray &, QString *) { return WriteAll(fd, bytes); }, error);
}

bool WriteFileAtomicallyWith(const QString &path, const FileProducer &produce, QString *error)
{
    Target target;
    if (!ResolveOrSay(path, &target, error))
        return false;
    if (target.kind == Target::InPlace) {
        QString reason;
        if (produce(path, &reason))
            return true;
        if (error)
            *error = Message(path, reason.isEmpty() ? FileErrorReason(EIO) : reason);
        return false;
    }
    // The producer writes through a handle of its own; ours then flushes the same file.
    return Replace(
        path, target,
        [&](int, const QByteArray &temporary, QString *reason) {
            if (produce(QFile::decodeName(temporary), reason))
                return true;
            if (reason->isEmpty())
                *reason = FileErrorReason(EIO);
            return false;
        },
        error);
}

bool IsSameFile(const QString &a, const QString &b)
{
    struct stat sa {}, sb {};
    return !a.isEmpty() && !b.isEmpty() && ::stat(Native(a).constData(), &sa) == 0 && ::stat(Native(b).constData(), &sb) == 0
           && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

QString OutputIsInputError(const QString &output, const QStringList &inputs)
{
    for (const QString &input : inputs)
        if (IsSameFile(output, input))
            return QStringLiteral("Could not write %1: it is the same file as %2, which is read as input; nothing was written.")
                .arg(QDir::toNativeSeparators(output), QDir::toNativeSeparators(input));
    return {};
}

} // namespace tablix
