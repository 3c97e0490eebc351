// Projects and reports as earlier builds wrote them: opening and saving keeps every byte, and the
// example's reports read the same.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/project/app_state.h"
#include "core/project/sign_record.h"
#include "support/cli_runner.h"
#include "support/fixtures.h"
#include "support/random_project.h"

using namespace tablix;

namespace {

constexpr int kGoldenProjects = 300;
const QString kGoldenDir = QStringLiteral(TABLIX_DATA_DIR "/../tests/golden");
const QString kExample = QStringLiteral(TABLIX_DATA_DIR "/examples/shop-front.json");

// TABLIX_WRITE_GOLDEN=1 writes the files anew instead of comparing with them.
bool Writing()
{
    return qEnvironmentVariableIntValue("TABLIX_WRITE_GOLDEN") == 1;
}

QString GoldenPath(const char *name)
{
    return QDir(kGoldenDir).filePath(QLatin1String(name));
}

void ExpectGolden(const char *name, const QByteArray &bytes)
{
    if (Writing()) {
        ASSERT_TRUE(fixtures::WriteBytes(GoldenPath(name), bytes)) << name;
        return;
    }
    const QByteArray golden = fixtures::ReadBytes(GoldenPath(name));
    ASSERT_FALSE(golden.isEmpty()) << name;
    EXPECT_EQ(bytes, golden) << name;
}

// The project as the main window writes it after opening it.
QByteArray OpenedAndSaved(const SignSlotArray &signs)
{
    AppState state;
    fixtures::Prepare(state);
    state.OpenProject(signs, QStringLiteral("p.tab"));
    state.SaveCurrentSign();
    return SerializeProject(state.SignSlots);
}

} // namespace

TEST(GoldenFiles, RandomProjectsOpenAndSaveAsBefore)
{
    QByteArray inputs, saved;
    for (int seed = 1; seed <= kGoldenProjects; ++seed) {
        support::Random random{std::uint32_t(seed)};
        const QByteArray bytes = SerializeProject(support::RandomProject(random));
        QString error;
        const std::optional<SignSlotArray> signs = ParseProject(bytes, QStringLiteral("p.tab"), &error);
        ASSERT_TRUE(signs) << seed << ": " << error.toStdString();
        inputs += bytes;
        saved += OpenedAndSaved(*signs);
    }
    ExpectGolden("projects-in.bin", inputs);
    ExpectGolden("projects-saved.bin", saved);
}

TEST(GoldenFiles, ProjectsThroughTheToolKeepTheirBytes)
{
    // dump and load as scripts run them, on a sample of the golden projects.
    const QByteArray inputs = fixtures::ReadBytes(GoldenPath("projects-in.bin"));
    ASSERT_EQ(inputs.size(), kGoldenProjects * 3920);
    QTemporaryDir dir;
    const QString tab = dir.filePath(QStringLiteral("in.tab")), json = dir.filePath(QStringLiteral("p.json")),
                  out = dir.filePath(QStringLiteral("out.tab"));
    for (int k = 0; k < kGoldenProjects; k += 15) {
        const QByteArray project = inputs.mid(k * 3920, 3920);
        fixtures::WriteBytes(tab, project);
        const support::CliRun dump = support::RunCli({QStringLiteral("project"), QStringLiteral("dump"), tab});
        ASSERT_EQ(dump.exitCode, 0) << dump.err.toStdString();
        fixtures::WriteBytes(json, dump.out);
        const support::CliRun load = support::RunCli({QStringLiteral("project"), QStringLiteral("load"), json, QStringLiteral("-o"), out});
        ASSERT_EQ(load.exitCode, 0) << load.err.toStdString();
        EXPECT_EQ(fixtures::ReadBytes(out), project) << k;
    }
}

TEST(GoldenFiles, ExampleReportsReadAsBefore)
{
    QTemporaryDir dir;
    const QString work = dir.path();
    ASSERT_EQ(support::RunCli({QStringLiteral("params"), QStringLiteral("load"), fixtures::DataFile(QStringLiteral("params.json"))}, {.workdir = work}).exitCode, 0);
    for (const char *file : {"tablix_lng.eng", "tablix_lng.pol"})
        QFile::copy(fixtures::DataFile(QLatin1String(file)), QDir(work).filePath(QLatin1String(file)));
    const QString project = dir.filePath(QStringLiteral("shop-front.tab"));
    ASSERT_EQ(support::RunCli({QStringLiteral("project"), QStringLiteral("load"), kExample, QStringLiteral("-o"), project}, {.workdir = work}).exitCode, 0);

    QByteArray cost, spec;
    for (int k = 1; k <= kMaxSigns; ++k) {
        const QStringList sign{QStringLiteral("--sign"), QString::number(k)};
        const support::CliRun c = support::RunCli(QStringList{QStringLiteral("cost"), project} + sign, {.workdir = work});
        if (c.exitCode != 0)
            break; // past the last sign in use
        const support::CliRun s = support::RunCli(QStringList{QStringLiteral("spec"), project} + sign, {.workdir = work});
        ASSERT_EQ(s.exitCode, 0) << s.err.toStdString();
        const QByteArray head = "==== sign " + QByteArray::number(k) + "\n";
        cost += head + c.out;
        spec += head + s.out;
    }
    const support::CliRun summary = support::RunCli({QStringLiteral("summary"), project}, {.workdir = work});
    ASSERT_EQ(summary.exitCode, 0) << summary.err.toStdString();
    ASSERT_TRUE(cost.contains("==== sign 2"));
    ExpectGolden("shop-front-cost.txt", cost);
    ExpectGolden("shop-front-pieces.txt", spec);
    ExpectGolden("shop-front-summary.txt", summary.out);
}
