// tablix-cli run as a separate process, as scripts run it.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "support/cli_runner.h"
#include "support/fixtures.h"
#include "core/params/parameters.h"
#include "core/project/sign_record.h"

using namespace tablix;

namespace {

using support::CliRun;

CliRun cli(const QStringList &args)
{
    return support::RunCli(args);
}

const QString kShippedParams = QStringLiteral(TABLIX_DATA_DIR "/params.json");

} // namespace

TEST(CliParams, LoadThenDumpThenLoadReproducesTheFileByteForByte)
{
    QTemporaryDir dir;
    CliRun r = cli({QStringLiteral("--workdir"), dir.path(), QStringLiteral("params"), QStringLiteral("load"), kShippedParams});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString dan = dir.filePath(QStringLiteral("Tablix_pro.dan"));
    const QByteArray first = fixtures::ReadBytes(dan);
    ASSERT_EQ(first.size(), 598);

    r = cli({QStringLiteral("params"), QStringLiteral("dump"), QStringLiteral("--workdir"), dir.path()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("\"languageFileName\": \"tablix_lng.eng\""));
    EXPECT_TRUE(r.out.contains("\"heightMm\""));

    QTemporaryDir other;
    fixtures::WriteBytes(other.filePath(QStringLiteral("dump.json")), r.out);
    r = cli({QStringLiteral("--workdir"), other.path(), QStringLiteral("params"), QStringLiteral("load"),
             other.filePath(QStringLiteral("dump.json"))});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(fixtures::ReadBytes(other.filePath(QStringLiteral("Tablix_pro.dan"))), first);
}

TEST(CliParams, ArbitraryRecordsSurviveDumpAndLoad)
{
    QTemporaryDir dir;
    QByteArray original(598, '\0');
    for (int i = 0; i < 598; ++i)
        original[i] = char((i * 89 + 5) & 0xFF);
    for (int i = 0; i < 582; i += 6)
        original[i] = char(1 + (i & 0x7F)); // no zero exponents: those normalise to six zero bytes
    // The language file's name must be plain; the bytes after it may be anything.
    original.replace(582, 6, QByteArray("\x05" "a.eng"));
    fixtures::WriteBytes(dir.filePath(QStringLiteral("Tablix_pro.dan")), original);
    CliRun r = cli({QStringLiteral("--workdir"), dir.path(), QStringLiteral("params"), QStringLiteral("dump")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    fixtures::WriteBytes(dir.filePath(QStringLiteral("d.json")), r.out);
    r = cli({QStringLiteral("--workdir"), dir.path(), QStringLiteral("params"), QStringLiteral("load"),
             dir.filePath(QStringLiteral("d.json"))});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(fixtures::ReadBytes(dir.filePath(QStringLiteral("Tablix_pro.dan"))), original);
}

TEST(CliParams, BadFieldsNameTheFieldAndWriteNothing)
{
    QTemporaryDir dir;
    const QString dan = dir.filePath(QStringLiteral("Tablix_pro.dan"));
    fixtures::WriteBytes(dan, "previous");
    QByteArray json = fixtures::ReadBytes(kShippedParams);
    const struct {
        QByteArray from, to, field;
    } cases[] = {
        {"\"costItem7\"", "\"costItemSeven\"", "costItem7"},
        {"\"priceListPercent\": ", "\"priceListPercent\": \"x\", \"unused\": ", "priceListPercent"},
        {"\"heightMm\": ", "\"heightMm\": 1e39, \"h\": ", "elementRows[0].heightMm"},
        {"\"languageFileName\"", "\"languageFile\"", "languageFileName"},
    };
    for (const auto &c : cases) {
        QByteArray broken = json;
        const qsizetype at = broken.indexOf(c.from);
        ASSERT_GE(at, 0) << c.from.toStdString();
        broken.replace(at, c.from.size(), c.to);
        fixtures::WriteBytes(dir.filePath(QStringLiteral("bad.json")), broken);
        const CliRun r = cli({QStringLiteral("--workdir"), dir.path(), QStringLiteral("params"), QStringLiteral("load"),
                           dir.filePath(QStringLiteral("bad.json"))});
        EXPECT_EQ(r.exitCode, 2) << c.field.toStdString();
        EXPECT_TRUE(r.err.startsWith("tablix-cli: ")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.field)) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1);
        EXPECT_EQ(fixtures::ReadBytes(dan), "previous");
    }
}

TEST(CliInfo, OneLinePerSignInUse)
{
    QTemporaryDir dir;
    SignSlotArray signs{};
    for (auto &s : signs)
        BlankSignRecord(s);
    signs[0] = fixtures::SignWith(4, QStringLiteral("Front"));
    signs[0].rowElements[1] = 9;
    signs[0].layout = Layout::ClosedFrameA;
    signs[0].quantity.set(1.5);
    signs[1] = fixtures::SignWith(13, QString::fromUtf8("!Zażółć"));
    const QString path = dir.filePath(QStringLiteral("p.tab"));
    ASSERT_TRUE(WriteProjectFile(path, signs, nullptr));
    const CliRun r = cli({QStringLiteral("info"), path});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(r.out), QString::fromUtf8("1\tFront\t1\t1\t100.00\t1.50\t4 9\n"
                                                          "2\t!Zażółć\t4\t1\t100.00\t0.00\t13\n"));
}

TEST(CliErrors, UsageAndInputErrorsHaveTheirExitCodes)
{
    EXPECT_EQ(cli({}).exitCode, 1);
    EXPECT_EQ(cli({QStringLiteral("frobnicate")}).exitCode, 1);
    EXPECT_EQ(cli({QStringLiteral("params")}).exitCode, 1);
    EXPECT_EQ(cli({QStringLiteral("--workdir")}).exitCode, 1);
    QTemporaryDir dir;
    const CliRun missing = cli({QStringLiteral("--workdir"), dir.path(), QStringLiteral("params"), QStringLiteral("dump")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.startsWith("tablix-cli: "));
    fixtures::WriteBytes(dir.filePath(QStringLiteral("short.tab")), "abc");
    const CliRun shortProject = cli({QStringLiteral("info"), dir.filePath(QStringLiteral("short.tab"))});
    EXPECT_EQ(shortProject.exitCode, 2);
    EXPECT_TRUE(shortProject.err.contains("short.tab")) << shortProject.err.toStdString();
}

TEST(CliOptions, HelpListsEveryCommandAndVersionComesFromTheBuild)
{
    const CliRun help = cli({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.err.isEmpty());
    EXPECT_TRUE(help.out.startsWith("usage: tablix-cli [--workdir DIR] COMMAND\n"));
    for (const char *command : {"params dump", "params load FILE", "project dump PROJECT", "project load FILE -o PROJECT",
                                "info PROJECT", "cost PROJECT", "spec PROJECT", "geometry PROJECT", "plt PROJECT",
                                "emf PROJECT", "prices", "summary PROJECT"})
        EXPECT_TRUE(help.out.contains("\n  " + QByteArray(command) + ' ')) << command;
    EXPECT_TRUE(help.out.contains("--workdir=DIR"));
    // A usage error shows the same text on stderr, after its message.
    const CliRun wrong = cli({QStringLiteral("frobnicate")});
    EXPECT_TRUE(wrong.err.startsWith("tablix-cli: unknown command \"frobnicate\"\n")) << wrong.err.toStdString();
    EXPECT_TRUE(wrong.err.endsWith(help.out));
    EXPECT_TRUE(wrong.out.isEmpty());

    const CliRun version = cli({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QByteArray("tablix-cli " TABLIX_VERSION "\n"));
    EXPECT_EQ(QByteArray(TABLIX_VERSION).count('.'), 2);
}

TEST(CliOptions, WorkdirTakesItsValueEitherWayAndAnywhere)
{
    QTemporaryDir dir;
    ASSERT_EQ(cli({QStringLiteral("--workdir=") + dir.path(), QStringLiteral("params"), QStringLiteral("load"), kShippedParams})
                  .exitCode,
              0);
    const CliRun separate = cli({QStringLiteral("--workdir"), dir.path(), QStringLiteral("params"), QStringLiteral("dump")});
    const CliRun joined = cli({QStringLiteral("params"), QStringLiteral("dump"), QStringLiteral("--workdir=") + dir.path()});
    ASSERT_EQ(separate.exitCode, 0) << separate.err.toStdString();
    ASSERT_EQ(joined.exitCode, 0) << joined.err.toStdString();
    EXPECT_EQ(joined.out, separate.out);
    EXPECT_TRUE(separate.out.contains("\"languageFileName\": \"tablix_lng.eng\""));

    const CliRun unknown = cli({QStringLiteral("--workdirs=x"), QStringLiteral("prices")});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.err.startsWith("tablix-cli: unknown option \"--workdirs\"\n")) << unknown.err.toStdString();
}
