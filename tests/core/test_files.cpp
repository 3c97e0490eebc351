// Writing and reading files the hard way: full disks, size limits, special files, strays, oversize input.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <chrono>
#include <future>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/fixtures.h"
#include "core/number/atomic_file.h"
#include "core/number/input_file.h"
#include "core/params/language.h"
#include "core/params/parameters.h"
#include "core/params/params_json.h"
#include "core/project/project_json.h"
#include "core/project/sign_record.h"

using namespace tablix;

namespace {

QByteArray Native(const QString &path)
{
    return QFile::encodeName(path);
}

mode_t Mode(const QString &path)
{
    struct stat st {};
    return ::lstat(Native(path).constData(), &st) == 0 ? st.st_mode : 0;
}

// /dev/null for a user; for root a null device made in `dir`.
QString DeviceForWriting(const QTemporaryDir &dir)
{
    if (::geteuid() != 0)
        return QStringLiteral("/dev/null");
    const QString path = dir.filePath(QStringLiteral("null"));
    return ::mknod(Native(path).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0 ? path : QString();
}

// Everything in the folder but the named files: what a failed write must not leave behind.
QStringList Others(const QString &dir, const QStringList &expected)
{
    QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &e : expected)
        names.removeAll(e);
    return names;
}

// Runs the write in a child whose files may not grow past `limit` bytes; SIGXFSZ ignored, so the
// write sees EFBIG as on a full disk. Returns the child's message, or "written".
QString WriteUnderSizeLimit(const QString &path, const QByteArray &bytes, rlim_t limit)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return QStringLiteral("no pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit r{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &r);
        QString error;
        const QByteArray message = WriteFileAtomically(path, bytes, &error) ? QByteArray("written") : error.toUtf8();
        (void)!::write(pipeFds[1], message.constData(), size_t(message.size()));
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    QByteArray message;
    char buffer[512];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        message.append(buffer, n);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return QString::fromUtf8(message);
}

// A tmpfs of `kilobytes`, for root only; unmounted at the end of the scope.
struct SmallFileSystem {
    QTemporaryDir dir;
    bool mounted = false;
    explicit SmallFileSystem(int kilobytes, unsigned long flags = 0)
    {
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
        mounted = ::geteuid() == 0
                  && ::mount("tmpfs", Native(dir.path()).constData(), "tmpfs", flags, options.constData()) == 0;
    }
    ~SmallFileSystem()
    {
        if (mounted)
            ::umount2(Native(dir.path()).constData(), MNT_DETACH);
    }
    QString filePath(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
};

} // namespace

TEST(FileWrite, SizeLimitFailsTheWriteNamesTheFileAndKeepsTheOldOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tablix_pro.dan"));
    ASSERT_TRUE(fixtures::WriteBytes(path, "old contents"));
    const QString message = WriteUnderSizeLimit(path, QByteArray(598, 'n'), 100);
    EXPECT_TRUE(message.startsWith(QStringLiteral("Could not write ") + path + QLatin1Char(':'))) << message.toStdString();
    EXPECT_TRUE(message.contains(QLatin1String("size"))) << message.toStdString();
    EXPECT_EQ(fixtures::ReadBytes(path), "old contents");
    EXPECT_EQ(Others(dir.path(), {QStringLiteral("Tablix_pro.dan")}), QStringList());
    // Within the limit the same child writes.
    EXPECT_EQ(WriteUnderSizeLimit(path, QByteArray(90, 'n'), 100), QStringLiteral("written"));
    EXPECT_EQ(fixtures::ReadBytes(path), QByteArray(90, 'n'));
}

TEST(FileWrite, FullOrReadOnlyFileSystemKeepsTheOldFile)
{
    SmallFileSystem fs(8);
    if (!fs.mounted)
        GTEST_SKIP() << "needs root and a tmpfs mount";
    const QString path = fs.filePath("Tablix_pro.dan");
    ASSERT_TRUE(fixtures::WriteBytes(path, QByteArray(598, 'o')));
    {
        // Fill what is left.
        QFile filler(fs.filePath("filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(1024, 'f')) == 1024 && filler.flush()) {
        }
    }
    QString error;
    EXPECT_FALSE(WriteFileAtomically(path, QByteArray(4096, 'n'), &error));
    EXPECT_EQ(error, QStringLiteral("Could not write %1: the disk is full.").arg(path));
    EXPECT_EQ(fixtures::ReadBytes(path), QByteArray(598, 'o'));
    EXPECT_EQ(Others(fs.dir.path(), {QStringLiteral("Tablix_pro.dan"), QStringLiteral("filler")}), QStringList());

    ASSERT_EQ(::mount("tmpfs", Native(fs.dir.path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr), 0);
    EXPECT_FALSE(WriteFileAtomically(path, QByteArray(10, 'n'), &error));
    EXPECT_TRUE(error.endsWith(QLatin1String(": the file system is read-only."))) << error.toStdString();
    EXPECT_EQ(fixtures::ReadBytes(path), QByteArray(598, 'o'));
}

TEST(FileWrite, PermissionDeniedIsSaid)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root is never denied";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.tab"));
    ASSERT_TRUE(fixtures::WriteBytes(path, "old"));
    ::chmod(Native(dir.path()).constData(), 0500);
    QString error;
    EXPECT_FALSE(WriteFileAtomically(path, "new", &error));
    ::chmod(Native(dir.path()).constData(), 0700);
    EXPECT_EQ(error, QStringLiteral("Could not write %1: permission denied.").arg(path));
    EXPECT_EQ(fixtures::ReadBytes(path), "old");
}

TEST(FileWrite, DevicesAndPipesAreWrittenInPlace)
{
    QTemporaryDir dir;
    QString error;
    // Root gets a null device of its own, so a writer that renames cannot replace the system's.
    const QString device = DeviceForWriting(dir);
    ASSERT_FALSE(device.isEmpty());
    EXPECT_TRUE(WriteFileAtomically(device, "bytes", &error)) << error.toStdString();
    EXPECT_TRUE(S_ISCHR(Mode(device)));

    // Open for reading first, so the write neither blocks nor waits for a reader thread.
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(Native(fifo).constData(), 0600), 0);
    const int reader = ::open(Native(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(WriteFileAtomically(fifo, "through the pipe", &error)) << error.toStdString();
    char buffer[64] = {};
    const ssize_t n = ::read(reader, buffer, sizeof buffer);
    ::close(reader);
    EXPECT_EQ(QByteArray(buffer, int(std::max<ssize_t>(n, 0))), "through the pipe");
    EXPECT_TRUE(S_ISFIFO(Mode(fifo)));

    EXPECT_FALSE(WriteFileAtomically(dir.path(), "x", &error));
    EXPECT_EQ(error, QStringLiteral("Could not write %1: it is a folder.").arg(dir.path()));
}

TEST(FileWrite, LinksModesAndOwnersSurvive)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("real.tab"));
    const QString link = dir.filePath(QStringLiteral("link.tab"));
    ASSERT_TRUE(fixtures::WriteBytes(target, "old"));
    ::chmod(Native(target).constData(), 0640);
    ASSERT_EQ(::symlink("real.tab", Native(link).constData()), 0);
    ASSERT_TRUE(WriteFileAtomically(link, "new", nullptr));
    EXPECT_TRUE(S_ISLNK(Mode(link)));
    EXPECT_EQ(fixtures::ReadBytes(target), "new");
    EXPECT_EQ(Mode(target) & 07777, 0640u);

    const mode_t mask = ::umask(027);
    ASSERT_TRUE(WriteFileAtomically(dir.filePath(QStringLiteral("fresh.tab")), "x", nullptr));
    ::umask(mask);
    EXPECT_EQ(Mode(dir.filePath(QStringLiteral("fresh.tab"))) & 07777, 0640u);
}

TEST(FileWrite, StrayTemporariesOfAKilledWriteGoAtTheNextWrite)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tablix_pro.dan"));
    auto make = [&](const char *name, mode_t mode) {
        const QString p = dir.filePath(QString::fromLatin1(name));
        fixtures::WriteBytes(p, "partial");
        ::chmod(Native(p).constData(), mode);
    };
    make("Tablix_pro.dan.aB3xYz", 0600);  // as a killed write leaves it
    make("Tablix_pro.dan.Q9w2Lk", 0600);
    make("Tablix_pro.dan.backup", 0600);  // a word: the user's own
    make("Tablix_pro.dan.R5t6Y7", 0644);  // not private: not ours
    make("Tablix_pro.dan.x1", 0600);      // not six characters
    make("Other.dan.aB3xYz", 0600);       // another file's
    ASSERT_TRUE(WriteFileAtomically(path, "new", nullptr));
    QStringList left = QDir(dir.path()).entryList(QDir::Files);
    left.sort();
    EXPECT_EQ(left, (QStringList{"Other.dan.aB3xYz", "Tablix_pro.dan", "Tablix_pro.dan.R5t6Y7", "Tablix_pro.dan.backup",
                                 "Tablix_pro.dan.x1"}));
}

TEST(FileRead, PipesDevicesAndFoldersAreRefusedWithoutWaiting)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("tablix_lng.eng"));
    ASSERT_EQ(::mkfifo(Native(fifo).constData(), 0600), 0);
    auto load = std::async(std::launch::async, [&] { return LoadLanguageFile(fifo); });
    if (load.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // Release the blocked open before failing.
        const int fd = ::open(Native(fifo).constData(), O_WRONLY | O_NONBLOCK);
        ::close(fd);
        FAIL() << "reading a FIFO blocked";
    }
    const LanguageLoad fromPipe = load.get();
    EXPECT_FALSE(fromPipe.table);
    EXPECT_EQ(fromPipe.error, fifo + QStringLiteral(" is a pipe (FIFO), not a regular file; it is not read"));

    const ProjectLoad zero = ReadProjectFile(QStringLiteral("/dev/zero"));
    EXPECT_FALSE(zero.signs);
    EXPECT_EQ(zero.error, QStringLiteral("/dev/zero is a device, not a regular file; it is not read"));
    const ParameterLoad params = LoadParameterFile(QStringLiteral("/dev/zero"));
    EXPECT_FALSE(params.record);
    EXPECT_FALSE(params.missing);

    // The path once: a folder where the language file should be.
    const LanguageLoad folder = LoadLanguageFile(dir.path());
    EXPECT_EQ(folder.error, dir.path() + QStringLiteral(" is a folder, not a file"));
    const LanguageLoad absent = LoadLanguageFile(dir.filePath(QStringLiteral("none")));
    EXPECT_EQ(absent.error, dir.filePath(QStringLiteral("none")) + QStringLiteral(": no such file or folder"));
    const LanguageLoad unnamed = LoadNamedLanguageFile(dir.path(), QString());
    EXPECT_EQ(unnamed.error, QStringLiteral("The parameter file names no language file (the name is empty)."));
}

TEST(FileRead, EachLoaderReadsNoMoreThanItsFormatHolds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big"));
    // A language file up to the limit loads; one byte more is refused and said.
    QByteArray text = "E=English\n";
    text += QByteArray(kTextFileLimit - text.size(), 'x');
    ASSERT_TRUE(fixtures::WriteBytes(path, text));
    EXPECT_TRUE(LoadLanguageFile(path).table);
    ASSERT_TRUE(fixtures::WriteBytes(path, text + 'x'));
    const LanguageLoad large = LoadLanguageFile(path);
    EXPECT_FALSE(large.table);
    EXPECT_EQ(large.error, path + QStringLiteral(" is larger than 4194304 bytes, more than a language file holds; it is not read"));

    // A project or a parameter file reads one record; a longer file loads and says so.
    QByteArray project = SerializeProject(SignSlotArray{});
    ASSERT_TRUE(fixtures::WriteBytes(path, project));
    EXPECT_TRUE(ReadProjectFile(path).notice.isEmpty());
    ASSERT_TRUE(fixtures::WriteBytes(path, project + "more"));
    const ProjectLoad longer = ReadProjectFile(path);
    EXPECT_TRUE(longer.signs);
    EXPECT_EQ(longer.notice, path + QStringLiteral(" is longer than one project; only its first 3920 bytes are read"));

    const QByteArray record = SerializeParameterRecord(fixtures::ShippedParameters());
    ASSERT_TRUE(fixtures::WriteBytes(path, record));
    EXPECT_TRUE(LoadParameterFile(path).notice.isEmpty());
    ASSERT_TRUE(fixtures::WriteBytes(path, record + "x"));
    const ParameterLoad longParams = LoadParameterFile(path);
    EXPECT_TRUE(longParams.record);
    EXPECT_TRUE(longParams.notice.contains(QLatin1String("only its first 598 bytes"))) << longParams.notice.toStdString();
}

TEST(JsonErrors, SayWhatWasExpectedAndWhere)
{
    QString error;
    EXPECT_FALSE(JsonObjectFrom("[1, 2]", &error));
    EXPECT_EQ(error, QStringLiteral("expected a JSON object '{ ... }' holding the fields, found a list '[ ... ]'"));
    EXPECT_FALSE(JsonObjectFrom("{\n  \"a\": 1\n  \"b\": 2\n}", &error));
    EXPECT_TRUE(error.startsWith(QLatin1String("invalid JSON at line 3, column ")));
    EXPECT_TRUE(error.endsWith(QLatin1String(": expected ',' and the next field, or '}' to close the object"))) << error.toStdString();
    EXPECT_FALSE(JsonObjectFrom("{\"a\" 1}", &error));
    EXPECT_TRUE(error.endsWith(QLatin1String("expected ':' after the field name"))) << error.toStdString();
    EXPECT_FALSE(JsonObjectFrom("", &error));
    EXPECT_TRUE(error.startsWith(QLatin1String("invalid JSON at line 1, column 1: expected"))) << error.toStdString();
    EXPECT_FALSE(ParametersFromJson("[]", &error));
    EXPECT_TRUE(error.startsWith(QLatin1String("expected a JSON object"))) << error.toStdString();
    EXPECT_FALSE(ProjectFromJson("{\"signs\": [", &error));
    EXPECT_TRUE(error.startsWith(QLatin1String("invalid JSON at line 1, column 12: expected"))) << error.toStdString();
}
