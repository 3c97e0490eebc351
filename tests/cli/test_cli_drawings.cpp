// tablix-cli svg, pdf and dxf: the drawings of the example project's signs, and their failures.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "support/cli_runner.h"
#include "support/fixtures.h"

namespace {

using ToolRun = support::CliRun;

struct CliDrawingsTest : ::testing::Test {
    QTemporaryDir dir;

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    ToolRun cli(const QStringList &args) const { return support::RunCli(args, {.workdir = dir.path()}); }

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

TEST_F(CliDrawingsTest, EachFormatIsWrittenAtTheScaleAsked)
{
    ToolRun r = cli({QStringLiteral("svg"), path("p.tab"), QStringLiteral("--sign"), QStringLiteral("3"),
                     QStringLiteral("--scale"), QStringLiteral("50"), QStringLiteral("-o"), path("s.svg")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(fixtures::ReadBytes(path("s.svg")).contains("width=\"300mm\"")) << "60 cm at 50 %";

    r = cli({QStringLiteral("pdf"), path("p.tab"), QStringLiteral("-o"), path("s.pdf")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(fixtures::ReadBytes(path("s.pdf")).startsWith("%PDF-"));

    r = cli({QStringLiteral("dxf"), path("p.tab"), QStringLiteral("--sign"), QStringLiteral("2"), QStringLiteral("-o"), QStringLiteral("-")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("$INSUNITS\n 70\n4\n"));
    EXPECT_TRUE(r.out.endsWith("  0\nEOF\n"));
}

TEST_F(CliDrawingsTest, FailuresKeepTheOldFileAndExitAsTheOtherCommands)
{
    QFile::copy(path("p.tab"), path("keep.svg"));
    const QByteArray before = fixtures::ReadBytes(path("keep.svg"));

    EXPECT_EQ(cli({QStringLiteral("svg"), path("p.tab")}).exitCode, 1) << "no -o";
    const ToolRun empty = cli({QStringLiteral("svg"), path("p.tab"), QStringLiteral("--sign"), QStringLiteral("20"),
                               QStringLiteral("-o"), path("keep.svg")});
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_EQ(empty.err, "tablix-cli: sign 20 has nothing to export\n");
    const ToolRun huge = cli({QStringLiteral("dxf"), path("p.tab"), QStringLiteral("--scale"), QStringLiteral("1e12"),
                              QStringLiteral("-o"), path("keep.svg")});
    EXPECT_EQ(huge.exitCode, 2);
    EXPECT_TRUE(huge.err.contains("larger than a kilometre")) << huge.err.toStdString();
    EXPECT_EQ(fixtures::ReadBytes(path("keep.svg")), before);
}
