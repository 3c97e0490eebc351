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
#include <sys/xattr.h>
#include <ctime>
#include <unistd.h>

#include "support/fixtures.h"
#include "core/files/atomic_file.h"
#include "core/files/input_file.h"
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

// Only our own temporaries of the same file go, and only once no write can still be making them.
TEST(FileWrite, OnlyStaleTemporariesOfOursAreRemoved)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.tab"));
    const QByteArray stale = TemporaryName("p.tab", "aB3xYz");
    const QByteArray fresh = TemporaryName("p.tab", "Q9w2Lk");
    EXPECT_EQ(stale, ".p.tab.tablix-aB3xYz.tmp");
    const struct {
        QByteArray name;
        mode_t mode;
        int ageSeconds;
        bool removed;
    } files[] = {
        {stale, 0644, 3600, true},                        // complete, final mode: a write killed before the rename
        {TemporaryName("p.tab", "Zz9Zz9"), 0600, 400, true}, // killed while writing
        {fresh, 0600, 10, false},                          // another process writing now
        {"p.tab.240517", 0600, 3600, false},               // the user's own backups
        {"p.tab.Backup", 0600, 3600, false},
        {"p.tab.v2old1", 0600, 3600, false},
        {".p.tab.tablix-aB3xY.tmp", 0600, 3600, false},    // not six characters
        {".p.tab.tablix-aB3x_z.tmp", 0600, 3600, false},
        {TemporaryName("q.tab", "aB3xYz"), 0600, 3600, false}, // another file's
    };
    for (const auto &f : files) {
        const QByteArray p = Native(dir.path()) + '/' + f.name;
        ASSERT_TRUE(fixtures::WriteBytes(QFile::decodeName(p), "partial"));
        ::chmod(p.constData(), f.mode);
        const timespec times[2] = {{::time(nullptr) - f.ageSeconds, 0}, {::time(nullptr) - f.ageSeconds, 0}};
        ::utimensat(AT_FDCWD, p.constData(), times, 0);
    }
    ASSERT_TRUE(WriteFileAtomically(path, "new", nullptr));
    for (const auto &f : files)
        EXPECT_EQ(QFile::exists(dir.filePath(QFile::decodeName(f.name))), !f.removed) << f.name.constData();
    EXPECT_EQ(fixtures::ReadBytes(path), "new");
}

TEST(FileWrite, TheLongestFileNameHasATemporary)
{
    QTemporaryDir dir;
    const QString name = QString(251, QLatin1Char('n')) + QStringLiteral(".tab");
    const QString path = dir.filePath(name);
    ASSERT_EQ(Native(name).size(), 255);
    QString error;
    ASSERT_TRUE(WriteFileAtomically(path, "first", &error)) << error.toStdString();
    ASSERT_TRUE(WriteFileAtomically(path, "second", &error)) << error.toStdString();
    EXPECT_EQ(fixtures::ReadBytes(path), "second");
    EXPECT_EQ(TemporaryName(Native(name), "abcdef").size(), 255);
    EXPECT_EQ(Others(dir.path(), {name}), QStringList());
}

// Two writers of one file at the same moment: both succeed, and the file is one of the two whole.
TEST(FileWrite, SimultaneousWritersBothSucceed)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.tab"));
    const QByteArray a(3920, 'a'), b(3920, 'b');
    int failures = 0;
    for (int round = 0; round < 100; ++round) {
        QString errorA, errorB;
        auto first = std::async(std::launch::async, [&] { return WriteFileAtomically(path, a, &errorA); });
        const bool second = WriteFileAtomically(path, b, &errorB);
        const bool firstWritten = first.get();
        failures += !firstWritten + !second;
        EXPECT_TRUE(firstWritten && second) << errorA.toStdString() << errorB.toStdString();
        const QByteArray now = fixtures::ReadBytes(path);
        ASSERT_TRUE(now == a || now == b) << "round " << round;
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(Others(dir.path(), {QStringLiteral("p.tab")}), QStringList());
}

// The path is followed to what it names: a regular file is replaced at its real place, never appended to.
TEST(FileWrite, PathsAreDecidedByWhatTheyResolveTo)
{
    QTemporaryDir dir;
    const QString real = dir.filePath(QStringLiteral("out.tab"));
    ASSERT_TRUE(fixtures::WriteBytes(real, "old contents"));
    const int folder = ::open(Native(dir.path()).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    QString error;
    for (const QString &kind : {QStringLiteral("folder"), QStringLiteral("file"), QStringLiteral("root")}) {
        ASSERT_TRUE(fixtures::WriteBytes(real, "old contents"));
        const int file = ::open(Native(real).constData(), O_RDONLY);
        ASSERT_GE(file, 0);
        const QString path = kind == QLatin1String("folder") ? QStringLiteral("/proc/self/fd/%1/out.tab").arg(folder)
                             : kind == QLatin1String("file") ? QStringLiteral("/proc/self/fd/%1").arg(file)
                                                             : QStringLiteral("/proc/self/root") + real;
        ASSERT_TRUE(WriteFileAtomically(path, "new", &error)) << error.toStdString();
        EXPECT_EQ(fixtures::ReadBytes(real), "new") << path.toStdString();
        EXPECT_TRUE(S_ISREG(Mode(real)));
        // The descriptor still holds the file that was replaced: it is not written again.
        if (kind == QLatin1String("file")) {
            EXPECT_FALSE(WriteFileAtomically(path, "again", &error));
            EXPECT_EQ(error, QStringLiteral("Could not write %1: it names a file that has been deleted.").arg(path));
        }
        ::close(file);
    }
    ::close(folder);
    EXPECT_EQ(Others(dir.path(), {QStringLiteral("out.tab")}), QStringList());

    // A dangling link is written through to the name it points to; the link stays.
    const QString link = dir.filePath(QStringLiteral("link.tab"));
    ASSERT_EQ(::symlink("sub/../target.tab", Native(link).constData()), 0);
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    ASSERT_TRUE(WriteFileAtomically(link, "through", &error)) << error.toStdString();
    EXPECT_TRUE(S_ISLNK(Mode(link)));
    EXPECT_EQ(fixtures::ReadBytes(dir.filePath(QStringLiteral("target.tab"))), "through");

    // A loop is refused and left as it is.
    const QString loopA = dir.filePath(QStringLiteral("a.tab")), loopB = dir.filePath(QStringLiteral("b.tab"));
    ASSERT_EQ(::symlink("b.tab", Native(loopA).constData()), 0);
    ASSERT_EQ(::symlink("a.tab", Native(loopB).constData()), 0);
    EXPECT_FALSE(WriteFileAtomically(loopA, "x", &error));
    EXPECT_EQ(error, QStringLiteral("Could not write %1: its symbolic links form a loop.").arg(loopA));
    EXPECT_TRUE(S_ISLNK(Mode(loopA)));
}

// What an editor that respects the file does: read-only refused, owner, group and attributes kept.
TEST(FileWrite, ProtectionOwnershipAndAttributesAreKept)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.tab"));
    ASSERT_TRUE(fixtures::WriteBytes(path, "old"));
    QString error;
    ::chmod(Native(path).constData(), 0444);
    if (::geteuid() == 0) {
        // Root writes its own read-only file, but not someone else's that nobody may write.
        ASSERT_EQ(::chown(Native(path).constData(), 65534, 65534), 0);
    }
    EXPECT_FALSE(WriteFileAtomically(path, "new", &error));
    EXPECT_EQ(error, QStringLiteral("Could not write %1: the file is read-only.").arg(path));
    EXPECT_EQ(fixtures::ReadBytes(path), "old");

    ::chmod(Native(path).constData(), 0640);
    const bool attributes = ::setxattr(Native(path).constData(), "user.tablix.test", "kept", 4, 0) == 0;
    struct stat before {};
    ::stat(Native(path).constData(), &before);
    ASSERT_TRUE(WriteFileAtomically(path, "new", &error)) << error.toStdString();
    struct stat after {};
    ::stat(Native(path).constData(), &after);
    EXPECT_EQ(fixtures::ReadBytes(path), "new");
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    if (attributes) {
        char value[8] = {};
        EXPECT_EQ(::getxattr(Native(path).constData(), "user.tablix.test", value, sizeof value), 4);
        EXPECT_STREQ(value, "kept");
    }
    if (!attributes)
        GTEST_SKIP() << "this file system keeps no user attributes";
}

TEST(FileWrite, AUsersOwnReadOnlyFileIsRefused)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "needs an ordinary user: root may write its own read-only file";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.tab"));
    ASSERT_TRUE(fixtures::WriteBytes(path, "old"));
    ::chmod(Native(path).constData(), 0444);
    QString error;
    EXPECT_FALSE(WriteFileAtomically(path, "new", &error));
    EXPECT_EQ(error, QStringLiteral("Could not write %1: the file is read-only.").arg(path));
    EXPECT_EQ(fixtures::ReadBytes(path), "old");
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
