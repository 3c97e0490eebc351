// tablix-cli without --workdir finds its data as the program does; COMMAND --help describes the command.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "support/cli_runner.h"
#include "support/fixtures.h"

namespace {

using DataRun = support::CliRun;

// Runs `program` in `start` with its own configuration home, so the user's own is never touched.
DataRun tool(const QString &program, const QString &start, const QString &configHome, const QStringList &args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    return support::RunProgram(program, args, {.env = env, .workingDirectory = start});
}

struct Home {
    QTemporaryDir root;
    QString start = make("start");
    QString config = root.filePath(QStringLiteral("config"));
    QString make(const char *name)
    {
        QDir().mkpath(root.filePath(QLatin1String(name)));
        return root.filePath(QLatin1String(name));
    }
    DataRun cli(const QStringList &args, const QString &program = QStringLiteral(TABLIX_CLI)) const
    {
        return tool(program, start, config, args);
    }
};

} // namespace

// Run from its build folder, the tool fills the configuration folder from the source tree's data.
TEST(CliDataFolder, WithoutWorkdirTheConfigurationFolderIsFilledAndUsed)
{
    Home h;
    const DataRun prices = h.cli({QStringLiteral("prices")});
    ASSERT_EQ(prices.exitCode, 0) << prices.err.toStdString();
    const QString folder = QDir(h.config).filePath(QStringLiteral("tablix"));
    EXPECT_EQ(fixtures::ReadBytes(QDir(folder).filePath(QStringLiteral("Tablix_pro.dan"))).size(), 598);
    EXPECT_TRUE(QFile::exists(QDir(folder).filePath(QStringLiteral("tablix_lng.pol"))));
    // The same as with the folder named.
    const DataRun named = h.cli({QStringLiteral("--workdir"), folder, QStringLiteral("prices")});
    EXPECT_EQ(named.out, prices.out);
}

// An unpacked package: the program beside ../share/tablix works from anywhere; without that
// folder the message names every folder searched.
TEST(CliDataFolder, AnUnpackedProgramFindsItsDefaultsOrSaysWhereItLooked)
{
    Home h;
    const QString bin = h.make("usr/bin");
    const QString program = QDir(bin).filePath(QStringLiteral("tablix-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TABLIX_CLI), program));

    const DataRun missing = h.cli({QStringLiteral("prices")}, program);
    EXPECT_EQ(missing.exitCode, 2);
    const QString err = QString::fromUtf8(missing.err);
    for (const QString &folder : {h.start, QDir(h.config).filePath(QStringLiteral("tablix")),
                                  h.root.filePath(QStringLiteral("usr/share/tablix"))})
        EXPECT_TRUE(err.contains(folder)) << folder.toStdString() << "\n" << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("--workdir"))) << err.toStdString();
    EXPECT_FALSE(QDir(h.config).exists());

    const QString share = h.make("usr/share/tablix");
    for (const char *name : {"params.json", "tablix_lng.eng", "tablix_lng.pol"})
        QFile::copy(fixtures::DataFile(QLatin1String(name)), QDir(share).filePath(QLatin1String(name)));
    const DataRun found = h.cli({QStringLiteral("prices")}, program);
    EXPECT_EQ(found.exitCode, 0) << found.err.toStdString();
    EXPECT_FALSE(found.out.isEmpty());
}

TEST(CliHelp, EachCommandDescribesItselfAndItsOptions)
{
    Home h;
    const DataRun cost = h.cli({QStringLiteral("cost"), QStringLiteral("--help")});
    EXPECT_EQ(cost.exitCode, 0);
    EXPECT_TRUE(cost.out.startsWith("usage: tablix-cli [--workdir DIR] cost PROJECT [--sign N]\n")) << cost.out.toStdString();
    EXPECT_TRUE(cost.out.contains("\n  --sign N ")) << cost.out.toStdString();
    EXPECT_FALSE(cost.out.contains("--scale"));
    EXPECT_FALSE(cost.out.contains("usage: tablix-cli [--workdir DIR] spec"));

    // Options come in any order; the group word alone gives every command of the group.
    const DataRun emf = h.cli({QStringLiteral("--help"), QStringLiteral("emf")});
    EXPECT_TRUE(emf.out.contains("\n  --window WxH ")) << emf.out.toStdString();
    EXPECT_TRUE(emf.out.contains("\n  -o FILE "));
    const DataRun params = h.cli({QStringLiteral("params"), QStringLiteral("--help")});
    EXPECT_TRUE(params.out.contains("cli [--workdir DIR] params dump\n"));
    EXPECT_TRUE(params.out.contains("cli [--workdir DIR] params load FILE\n"));
    EXPECT_EQ(h.cli({QStringLiteral("params"), QStringLiteral("load"), QStringLiteral("-h")}).out.count("usage:"), 1);

    const DataRun unknown = h.cli({QStringLiteral("frobnicate"), QStringLiteral("--help")});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.err.startsWith("tablix-cli: unknown command \"frobnicate\"")) << unknown.err.toStdString();
    EXPECT_FALSE(QDir(h.config).exists()); // help reads no data
}
