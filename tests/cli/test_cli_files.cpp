// tablix-cli against hostile files: limits on writing, special files, oversize input, plain messages.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "support/cli_runner.h"
#include "support/fixtures.h"
#include "core/params/parameters.h"
#include "core/project/sign_record.h"

using namespace tablix;

namespace {

using ToolRun = support::CliRun;

struct CliFilesTest : ::testing::Test {
    QTemporaryDir dir;

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    // `prepare` runs in the child before the tool starts (limits, signals).
    ToolRun cli(const QStringList &args, std::function<void()> prepare = {}, const QString &stdoutFile = {}) const
    {
        return support::RunCli(args, {.workdir = dir.path(), .prepare = prepare, .stdoutFile = stdoutFile});
    }

    // The shipped parameters and English texts, and a project of the shipped example.
    void SetUp() override
    {
        ASSERT_EQ(cli({QStringLiteral("params"), QStringLiteral("load"), QStringLiteral(TABLIX_DATA_DIR "/params.json")}).exitCode, 0);
        QFile::copy(QStringLiteral(TABLIX_DATA_DIR "/tablix_lng.eng"), path("tablix_lng.eng"));
        const ToolRun r = cli({QStringLiteral("project"), QStringLiteral("load"),
                           QStringLiteral(TABLIX_DATA_DIR "/examples/shop-front.json"), QStringLiteral("-o"), path("p.tab")});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
};

} // namespace

TEST_F(CliFilesTest, AWriteBeyondTheFileSizeLimitFailsAndKeepsTheOldFile)
{
    const QByteArray before = fixtures::ReadBytes(path("Tablix_pro.dan"));
    const ToolRun r = cli({QStringLiteral("params"), QStringLiteral("load"), QStringLiteral(TABLIX_DATA_DIR "/params.json")}, [] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "tablix-cli: Could not write " + path("Tablix_pro.dan").toUtf8()
                         + ": the file would exceed the largest size allowed (a file size limit or the file system's).\n");
    EXPECT_EQ(fixtures::ReadBytes(path("Tablix_pro.dan")), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3); // no temporary left
}

TEST_F(CliFilesTest, AFullDiskFailsTheWriteAndKeepsTheOldFile)
{
    QTemporaryDir mountPoint;
    const QByteArray where = QFile::encodeName(mountPoint.path());
    if (::geteuid() != 0 || ::mount("tmpfs", where.constData(), "tmpfs", 0, "size=8k") != 0)
        GTEST_SKIP() << "needs root and a tmpfs mount";
    const QString project = mountPoint.filePath(QStringLiteral("p.tab"));
    QFile::copy(path("p.tab"), project);
    const QByteArray before = fixtures::ReadBytes(project);
    {
        QFile filler(mountPoint.filePath(QStringLiteral("filler")));
        if (filler.open(QIODevice::WriteOnly))
            while (filler.write(QByteArray(1024, 'f')) == 1024 && filler.flush()) {
            }
    }
    const ToolRun r = cli({QStringLiteral("project"), QStringLiteral("load"),
                       QStringLiteral(TABLIX_DATA_DIR "/examples/shop-front.json"), QStringLiteral("-o"), project});
    const QByteArray after = fixtures::ReadBytes(project);
    ::umount2(where.constData(), MNT_DETACH);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "tablix-cli: Could not write " + project.toUtf8() + ": the disk is full.\n");
    EXPECT_EQ(after, before);
}

TEST_F(CliFilesTest, StandardOutputDevicesAndPipesTakeTheOutputAsItIs)
{
    const QStringList plt = {QStringLiteral("plt"), path("p.tab"), QStringLiteral("-o")};
    ASSERT_EQ(cli(plt + QStringList{path("p.plt")}).exitCode, 0);
    const QByteArray file = fixtures::ReadBytes(path("p.plt"));
    ASSERT_TRUE(file.startsWith("IN;"));

    const ToolRun dash = cli(plt + QStringList{QStringLiteral("-")});
    EXPECT_EQ(dash.exitCode, 0) << dash.err.toStdString();
    EXPECT_EQ(dash.out, file);
    // The test reads the tool's standard output through a pipe.
    const ToolRun piped = cli(plt + QStringList{QStringLiteral("/dev/stdout")});
    EXPECT_EQ(piped.exitCode, 0) << piped.err.toStdString();
    EXPECT_EQ(piped.out, file);
    // Root gets a null device of its own, so a tool that renames cannot replace the system's.
    QString null = QStringLiteral("/dev/null");
    if (::geteuid() == 0) {
        null = path("null");
        ASSERT_EQ(::mknod(QFile::encodeName(null).constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
    }
    const ToolRun device = cli(plt + QStringList{null});
    EXPECT_EQ(device.exitCode, 0) << device.err.toStdString();
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(null).constData(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));

    const ToolRun full = cli({QStringLiteral("params"), QStringLiteral("dump")}, {}, QStringLiteral("/dev/full"));
    EXPECT_EQ(full.exitCode, 2);
    EXPECT_EQ(full.err, "tablix-cli: could not write to standard output: the disk is full\n");
}

TEST_F(CliFilesTest, SpecialAndOversizeInputsAreRefusedWithOneMessage)
{
    const QByteArray fifo = QFile::encodeName(path("pipe"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    ToolRun r = cli({QStringLiteral("info"), path("pipe")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "tablix-cli: " + fifo + " is a pipe (FIFO), not a regular file; it is not read\n");
    r = cli({QStringLiteral("params"), QStringLiteral("load"), QStringLiteral("/dev/zero")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "tablix-cli: /dev/zero is a device, not a regular file; it is not read\n");

    ASSERT_TRUE(fixtures::WriteBytes(path("big.json"), "{" + QByteArray(4 * 1024 * 1024, ' ') + "}"));
    r = cli({QStringLiteral("params"), QStringLiteral("load"), path("big.json")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.endsWith(" is larger than 4194304 bytes, more than a JSON file of this tool holds; it is not read\n"))
        << r.err.toStdString();

    ASSERT_TRUE(fixtures::WriteBytes(path("list.json"), "[]"));
    r = cli({QStringLiteral("params"), QStringLiteral("load"), path("list.json")});
    EXPECT_EQ(r.err, "tablix-cli: " + path("list.json").toUtf8()
                         + ": expected a JSON object '{ ... }' holding the fields, found a list '[ ... ]'\n");

    // The language file: a folder in its place, then no name at all.
    QFile::remove(path("tablix_lng.eng"));
    QDir(dir.path()).mkdir(QStringLiteral("tablix_lng.eng"));
    r = cli({QStringLiteral("prices")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "tablix-cli: " + path("tablix_lng.eng").toUtf8() + " is a folder, not a file\n");
    ParameterRecord p = fixtures::ShippedParameters();
    p.setLanguageFile(QString());
    ASSERT_TRUE(fixtures::WriteBytes(path("Tablix_pro.dan"), SerializeParameterRecord(p)));
    r = cli({QStringLiteral("prices")});
    EXPECT_EQ(r.err, "tablix-cli: The parameter file names no language file (the name is empty).\n");
}

TEST_F(CliFilesTest, ALongerProjectLoadsWithAWarning)
{
    ASSERT_TRUE(fixtures::WriteBytes(path("long.tab"), fixtures::ReadBytes(path("p.tab")) + "tail"));
    const ToolRun r = cli({QStringLiteral("info"), path("long.tab")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, cli({QStringLiteral("info"), path("p.tab")}).out);
    EXPECT_EQ(r.err, "tablix-cli: warning: " + path("long.tab").toUtf8()
                         + " is longer than one project; only its first 3920 bytes are read\n");
}

TEST_F(CliFilesTest, InfoEscapesControlCharactersInTitles)
{
    SignSlotArray signs{};
    for (auto &s : signs)
        BlankSignRecord(s);
    signs[0] = fixtures::SignWith(4, QString::fromUtf8("a\tb\nc\\d") + QChar(0) + QChar(0x7F));
    ASSERT_TRUE(WriteProjectFile(path("c.tab"), signs, nullptr));
    const ToolRun r = cli({QStringLiteral("info"), path("c.tab")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "1\ta\\tb\\nc\\\\d\\x00\\x7f\t4\t1\t100.00\t0.00\t4\n");
}

TEST_F(CliFilesTest, AMetafileBeyondItsCoordinatesIsRefusedAndNothingIsWritten)
{
    const QStringList emf = {QStringLiteral("emf"), path("p.tab"), QStringLiteral("-o"), path("p.emf")};
    ASSERT_TRUE(fixtures::WriteBytes(path("p.emf"), "old"));
    ToolRun r = cli(emf + QStringList{QStringLiteral("--scale"), QStringLiteral("5000000")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.startsWith("tablix-cli: The metafile cannot hold this drawing: at an export scale of 5000000.00 %"))
        << r.err.toStdString();
    EXPECT_EQ(fixtures::ReadBytes(path("p.emf")), "old");
    r = cli(emf + QStringList{QStringLiteral("--window"), QStringLiteral("2000000000x600")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(fixtures::ReadBytes(path("p.emf")), "old");
    r = cli(emf);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
}

// No output replaces a file the command reads, whatever name reaches it.
TEST_F(CliFilesTest, AnOutputIsNeverAFileInUse)
{
    ASSERT_TRUE(fixtures::WriteBytes(path("tablix-stock.json"), "{}"));
    ASSERT_TRUE(fixtures::WriteBytes(path("tablix.ini"), "[prices]\ncurrency=EUR\n"));
    ASSERT_EQ(::symlink("p.tab", QFile::encodeName(path("alias.tab")).constData()), 0);
    const QString json = QStringLiteral(TABLIX_DATA_DIR "/examples/shop-front.json");
    const struct {
        QStringList args;
        const char *output;
        const char *input;
    } runs[] = {
        {{QStringLiteral("svg"), path("p.tab")}, "p.tab", "p.tab"},
        {{QStringLiteral("svg"), path("p.tab")}, "alias.tab", "p.tab"},
        {{QStringLiteral("pdf"), path("p.tab")}, "tablix_lng.eng", "tablix_lng.eng"},
        {{QStringLiteral("cutlist"), path("p.tab")}, "Tablix_pro.dan", "Tablix_pro.dan"},
        {{QStringLiteral("plan"), path("p.tab")}, "tablix-stock.json", "tablix-stock.json"},
        {{QStringLiteral("plt"), path("p.tab")}, "tablix.ini", "tablix.ini"},
        {{QStringLiteral("project"), QStringLiteral("load"), json}, "Tablix_pro.dan", "Tablix_pro.dan"},
    };
    for (const auto &run : runs) {
        const QString output = path(run.output);
        const QByteArray before = fixtures::ReadBytes(output);
        const ToolRun r = cli(run.args + QStringList{QStringLiteral("-o"), output});
        EXPECT_EQ(r.exitCode, 2) << run.output;
        const QString input = path(run.input);
        EXPECT_EQ(r.err, "tablix-cli: Could not write " + output.toUtf8() + ": it is the same file as " + input.toUtf8()
                             + ", which is read as input; nothing was written.\n")
            << r.err.toStdString();
        EXPECT_EQ(fixtures::ReadBytes(output), before) << run.output;
    }
    // The parameter file is the output of params load, and a JSON file is no parameter file.
    EXPECT_EQ(cli({QStringLiteral("params"), QStringLiteral("load"), QStringLiteral(TABLIX_DATA_DIR "/params.json")}).exitCode, 0);
}

// A path through /proc replaces the file it reaches, as any other path does.
TEST_F(CliFilesTest, APathThroughProcReplacesTheFile)
{
    const QString json = QStringLiteral(TABLIX_DATA_DIR "/examples/shop-front.json");
    for (int i = 0; i < 2; ++i) {
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(QStringLiteral(TABLIX_CLI), {QStringLiteral("--workdir"), dir.path(), QStringLiteral("project"),
                                             QStringLiteral("load"), json, QStringLiteral("-o"),
                                             QStringLiteral("/proc/self/cwd/out.tab")});
        ASSERT_TRUE(p.waitForFinished(30000));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    }
    EXPECT_EQ(fixtures::ReadBytes(path("out.tab")), fixtures::ReadBytes(path("p.tab")));
}

// The language file is a file of the data folder, whatever the parameter file says.
TEST_F(CliFilesTest, TheLanguageFileNameMustBePlain)
{
    ASSERT_TRUE(fixtures::WriteBytes(path("secret.txt"), "E=secret\n1=secret\n"));
    QByteArray json = fixtures::ReadBytes(QStringLiteral(TABLIX_DATA_DIR "/params.json"));
    const QByteArray good = fixtures::ReadBytes(path("Tablix_pro.dan"));
    for (const char *name : {"../secret.txt", "/etc/hostname", "a\\u001bb", ".."}) {
        QByteArray bad = json;
        bad.replace("\"tablix_lng.eng\"", QByteArray("\"") + name + "\"");
        ASSERT_TRUE(fixtures::WriteBytes(path("bad.json"), bad));
        const ToolRun r = cli({QStringLiteral("params"), QStringLiteral("load"), path("bad.json")});
        EXPECT_EQ(r.exitCode, 2) << name;
        EXPECT_TRUE(r.err.contains("field \"languageFileName\" must be a plain file name in the data folder")) << r.err.toStdString();
        EXPECT_EQ(fixtures::ReadBytes(path("Tablix_pro.dan")), good);
    }
    // A parameter file written elsewhere is refused where it is read.
    ParameterRecord p = fixtures::ShippedParameters();
    p.setLanguageFile(QStringLiteral("../secret.txt"));
    ASSERT_TRUE(fixtures::WriteBytes(path("Tablix_pro.dan"), SerializeParameterRecord(p)));
    const ToolRun r = cli({QStringLiteral("prices")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "tablix-cli: The parameter file names the language file \"../secret.txt\", which is not a plain "
                     "file name in the data folder; it is not read.\n");
    EXPECT_FALSE(r.out.contains("secret"));
}

// Entries a language file lacks come in English, and the tool says how many.
TEST_F(CliFilesTest, AShortLanguageFileFallsBackToEnglish)
{
    const QByteArray english = fixtures::ReadBytes(path("tablix_lng.eng"));
    const QByteArray full = cli({QStringLiteral("cutlist"), path("p.tab")}).out;
    QByteArray half = english.left(english.indexOf("\n165=") + 1);
    ASSERT_TRUE(fixtures::WriteBytes(path("tablix_lng.eng"), half));
    const ToolRun r = cli({QStringLiteral("cutlist"), path("p.tab")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, full);
    EXPECT_TRUE(r.err.contains(QStringLiteral("lacks %1 of the %2 language entries; they are shown in English")
                                    .arg(kLanguageEntries - 165).arg(kLanguageEntries).toUtf8())) << r.err.toStdString();
}

// Titles reach the terminal and the spreadsheet as text, never as control sequences or formulas.
TEST_F(CliFilesTest, TitlesAreEscapedAndNeverFormulas)
{
    SignSlotArray signs = *ReadProjectFile(path("p.tab")).signs;
    signs[0].setTitle(QStringLiteral("=HYPERLINK(1)\x1b[31m"));
    signs[1].setTitle(QString::fromUtf8("two\nlines") + QChar(0));
    ASSERT_TRUE(WriteProjectFile(path("c.tab"), signs, nullptr));
    const ToolRun summary = cli({QStringLiteral("summary"), path("c.tab")});
    ASSERT_EQ(summary.exitCode, 0) << summary.err.toStdString();
    EXPECT_TRUE(summary.out.contains("=HYPERLINK(1)\\x1b[31m\n")) << summary.out.toStdString();
    EXPECT_TRUE(summary.out.contains("two\\nlines\\x00\n")) << summary.out.toStdString();
    EXPECT_FALSE(summary.out.contains('\x1b'));
    // A profile name a spreadsheet would read as a formula.
    QByteArray english = fixtures::ReadBytes(path("tablix_lng.eng"));
    english.replace("=Frame wide A", "=@Frame wide A");
    ASSERT_TRUE(fixtures::WriteBytes(path("tablix_lng.eng"), english));
    const ToolRun csv = cli({QStringLiteral("cutlist"), path("c.tab")});
    ASSERT_EQ(csv.exitCode, 0) << csv.err.toStdString();
    EXPECT_FALSE(csv.out.contains('\x1b'));
    EXPECT_FALSE(csv.out.contains(QByteArray(1, '\0')));
    for (const QByteArray &line : csv.out.split('\n'))
        for (const QByteArray &cell : line.split(','))
            EXPECT_FALSE(cell.startsWith('@') || cell.startsWith("\"@")) << line.toStdString();
    EXPECT_TRUE(csv.out.contains("\r\n'@Frame wide A,400.00,2,1 =HYPERLINK(1)\\x1b[31m")) << csv.out.toStdString();
    EXPECT_TRUE(csv.out.contains("2 two\\nlines\\x00")) << csv.out.toStdString();
}
