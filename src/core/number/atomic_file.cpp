// Every file the program writes goes through here: a failed write leaves the old file intact.
#include "core/number/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tablix {

namespace {

// QSaveFile (used before) and this writer both name temporaries NAME.XXXXXX from this alphabet.
constexpr char kTemporaryAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kTemporarySuffix = 6;

QByteArray Native(const QString &path)
{
    return QFile::encodeName(path);
}

QString Message(const QString &path, int errorNumber)
{
    return QStringLiteral("Could not write %1: %2.").arg(QDir::toNativeSeparators(path), FileErrorReason(errorNumber));
}

// A stray temporary looks like one: six random characters that are not a plain lower-case word
// (so "NAME.backup" is safe), a private regular file of ours.
bool IsStrayTemporary(const QString &dir, const QString &name, const QString &base)
{
    if (name.size() != base.size() + 1 + kTemporarySuffix || !name.startsWith(base + QLatin1Char('.')))
        return false;
    bool word = true;
    for (QChar c : QStringView(name).right(kTemporarySuffix)) {
        if (c.unicode() > 127 || !std::strchr(kTemporaryAlphabet, char(c.unicode())))
            return false;
        word = word && c.isLower();
    }
    struct stat st {};
    return !word && ::lstat(Native(QDir(dir).filePath(name)).constData(), &st) == 0 && S_ISREG(st.st_mode)
           && (st.st_mode & 07777) == 0600 && st.st_uid == ::geteuid();
}

void RemoveStrayTemporaries(const QString &dir, const QString &base)
{
    // No name filter: the file's own name may hold wildcard characters.
    const QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names)
        if (IsStrayTemporary(dir, name, base))
            ::unlink(Native(QDir(dir).filePath(name)).constData());
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

// Devices, FIFOs and terminals take the bytes as they come; there is nothing to rename over.
bool WriteInPlace(const QString &path, const QByteArray &bytes, bool append, QString *error)
{
    const int fd = ::open(Native(path).constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY | (append ? O_APPEND : 0));
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

// /dev/stdout, /dev/fd/N and /proc/PID/fd/N stand for a descriptor the caller already holds.
bool NamesADescriptor(const QString &path)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return clean == QLatin1String("/dev/stdout") || clean == QLatin1String("/dev/stderr")
           || clean.startsWith(QLatin1String("/dev/fd/")) || clean.startsWith(QLatin1String("/proc/"));
}

int CreateTemporary(const QString &target, QString *name)
{
    auto *random = QRandomGenerator::global();
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString suffix;
        for (int i = 0; i < kTemporarySuffix; ++i)
            suffix += QLatin1Char(kTemporaryAlphabet[random->bounded(int(sizeof kTemporaryAlphabet) - 1)]);
        // A digit keeps it from reading as a word, so a later write recognises it as a stray.
        suffix[random->bounded(kTemporarySuffix)] = QLatin1Char(char('0' + random->bounded(10)));
        *name = target + QLatin1Char('.') + suffix;
        const int fd = ::open(Native(*name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

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
    case EIO:
        return QStringLiteral("input/output error");
    default:
        return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}

bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("Could not write: no file name was given.");
        return false;
    }
    struct stat st {};
    const bool exists = ::stat(Native(path).constData(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        if (error)
            *error = Message(path, EISDIR);
        return false;
    }
    if (exists && (!S_ISREG(st.st_mode) || NamesADescriptor(path)))
        return WriteInPlace(path, bytes, S_ISREG(st.st_mode), error);

    // A link is followed, so the link stays and the file it names gets the new contents.
    const QFileInfo info(path);
    const QString target = exists && info.isSymLink() ? info.canonicalFilePath() : path;
    const QFileInfo targetInfo(target);
    RemoveStrayTemporaries(targetInfo.path(), targetInfo.fileName());

    QString temporary;
    const int fd = CreateTemporary(target, &temporary);
    if (fd < 0) {
        if (error)
            *error = Message(path, errno);
        return false;
    }
    // fsync makes the file system report now what it would otherwise find out after the rename.
    // The temporary stays private until it is complete, which marks a stray one as ours.
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0 && ::fchmod(fd, exists ? st.st_mode & 07777 : NewFileMode()) == 0;
    int failure = errno;
    if (ok && exists && (st.st_uid != ::geteuid() || st.st_gid != ::getegid()))
        (void)!::fchown(fd, st.st_uid, st.st_gid); // only root may, and then the owner stays

    if (!CloseChecked(fd) && ok) {
        ok = false;
        failure = errno;
    }
    if (ok && ::rename(Native(temporary).constData(), Native(target).constData()) != 0) {
        ok = false;
        failure = errno;
    }
    if (!ok) {
        ::unlink(Native(temporary).constData());
        if (error)
            *error = Message(path, failure);
    }
    return ok;
}

} // namespace tablix
