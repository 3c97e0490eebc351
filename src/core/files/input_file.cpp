// Reading a file the user names: only regular files, never blocking, never more than its format holds.
#include "core/files/input_file.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/files/atomic_file.h"

namespace tablix {

namespace {

QString Kind(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("is a folder, not a file");
    if (S_ISFIFO(mode))
        return QStringLiteral("is a pipe (FIFO), not a regular file; it is not read");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("is a device, not a regular file; it is not read");
    if (S_ISSOCK(mode))
        return QStringLiteral("is a socket, not a regular file; it is not read");
    return QStringLiteral("is not a regular file; it is not read");
}

} // namespace

InputFile ReadInputFile(const QString &path, qint64 limit, bool prefixOnly, const QString &what)
{
    InputFile result;
    const QString shown = QDir::toNativeSeparators(path);
    if (path.isEmpty()) {
        result.openFailed = true;
        result.reason = QStringLiteral("no file name was given");
        result.error = QStringLiteral("No file name was given.");
        return result;
    }
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        result.openFailed = true;
        result.reason = FileErrorReason(errno);
        result.error = QStringLiteral("%1: %2").arg(shown, result.reason);
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        result.error = QStringLiteral("%1: %2").arg(shown, FileErrorReason(errno));
        ::close(fd);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.error = QStringLiteral("%1 %2").arg(shown, Kind(st.st_mode));
        ::close(fd);
        return result;
    }
    // One byte past the limit tells a larger file; the size from stat is not trusted (/proc).
    QByteArray bytes(qsizetype(limit + 1), Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.error = QStringLiteral("%1: %2").arg(shown, FileErrorReason(errno));
            ::close(fd);
            return result;
        }
        if (n == 0)
            break;
        filled += n;
    }
    ::close(fd);
    if (filled > limit) {
        if (!prefixOnly) {
            result.error = QStringLiteral("%1 is larger than %2 bytes, more than %3 holds; it is not read")
                               .arg(shown)
                               .arg(limit)
                               .arg(what);
            return result;
        }
        result.longer = true;
        filled = qsizetype(limit);
    }
    bytes.truncate(filled);
    result.bytes = std::move(bytes);
    return result;
}

} // namespace tablix
