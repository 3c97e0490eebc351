// project dump and project load run as a user runs them, and the example project they ship.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "core/project/sign_record.h"
#include "support/cli_runner.h"
#include "support/fixtures.h"

using namespace tablix;

namespace {

using ToolRun = support::CliRun;

struct ProjectCliTest : ::testing::Test {
    QTemporaryDir dir;

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    ToolRun cli(const QStringList &args) const { return support::RunCli(args); }

    ToolRun load(const QString &json, const QString &target) const
    {
        return cli({QStringLiteral("project"), QStringLiteral("load"), json, QStringLiteral("-o"), target});
    }

    // dump, then load what was dumped; the file that comes back must be the one that went in.
    void expectRoundTrip(const QByteArray &project)
    {
        fixtures::WriteBytes(path("in.tab"), project);
        const ToolRun dump = cli({QStringLiteral("project"), QStringLiteral("dump"), path("in.tab")});
        ASSERT_EQ(dump.exitCode, 0) << dump.err.toStdString();
        fixtures::WriteBytes(path("p.json"), dump.out);
        const ToolRun back = load(path("p.json"), path("out.tab"));
        ASSERT_EQ(back.exitCode, 0) << back.err.toStdString();
        EXPECT_EQ(fixtures::ReadBytes(path("out.tab")), project.left(3920)) << dump.out.toStdString();
    }
};

const QString kExample = QStringLiteral(TABLIX_DATA_DIR "/examples/shop-front.json");

} // namespace

TEST_F(ProjectCliTest, DumpThenLoadGivesBackTheFileByteForByte)
{
    SignSlotArray signs{};
    for (auto &s : signs)
        BlankSignRecord(s);
    signs[0] = fixtures::SignWith(4, QString::fromUtf8("!Zażółć gęślą jaźń"));
    signs[0].quantity.set(2.675L);
    signs[1] = fixtures::SignWith(13, QString::fromUtf8("ŁÓDŹ \"x\"\\y"));
    signs[1].title[3] = 0x00;
    signs[1].title[4] = 0x1B;
    signs[1].title[18] = 0x98; // behind the title, a byte the code page leaves undefined
    signs[5].title[0] = 250;
    signs[7].areaSurcharge.bytes[2] = 0x10; // a zero with a stray byte
    QByteArray project = SerializeProject(signs) + "tail"; // bytes after the project are not part of it
    expectRoundTrip(project);

    // A record no sign can hold is refused, named by its sign and field.
    project[2 * 196 + 22] = 9; // the sign type of sign 3
    fixtures::WriteBytes(path("in.tab"), project);
    const ToolRun dump = cli({QStringLiteral("project"), QStringLiteral("dump"), path("in.tab")});
    EXPECT_EQ(dump.exitCode, 2);
    EXPECT_TRUE(dump.err.contains("sign 3 is damaged (signType holds 9)")) << dump.err.toStdString();
}

TEST_F(ProjectCliTest, LoadRefusesBadInputAndWritesNothing)
{
    const QString target = path("kept.tab");
    fixtures::WriteBytes(target, "previous");
    QByteArray json = fixtures::ReadBytes(kExample);
    ASSERT_FALSE(json.isEmpty());

    const struct {
        QByteArray from, to, named;
    } cases[] = {
        {"\"width\": 45,", "", "signs[1].width"},
        {"\"signType\": 2,", "\"signType\": \"two\",", "signs[0].signType"},
        {"\"title\": \"!Deliveries\"", "\"title\": \"!Deliveries \\u0416\"", "signs[4].title"},
        {"\"slot\": 6,", "\"slot\": 5,", "signs[5].slot"},
    };
    for (const auto &c : cases) {
        QByteArray broken = json;
        const qsizetype at = broken.indexOf(c.from);
        ASSERT_GE(at, 0) << c.from.toStdString();
        broken.replace(at, c.from.size(), c.to);
        fixtures::WriteBytes(path("bad.json"), broken);
        const ToolRun r = load(path("bad.json"), target);
        EXPECT_EQ(r.exitCode, 2) << c.named.toStdString();
        EXPECT_TRUE(r.err.startsWith("tablix-cli: field \"" + c.named + '"')) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1);
        EXPECT_EQ(fixtures::ReadBytes(target), "previous");
    }

    fixtures::WriteBytes(path("bad.json"), "{\"signs\": [");
    ToolRun r = load(path("bad.json"), target);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("bad.json: invalid JSON at line 1, column 12: expected")) << r.err.toStdString();
    EXPECT_EQ(fixtures::ReadBytes(target), "previous");

    r = load(path("missing.json"), target);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("missing.json")) << r.err.toStdString();
    r = load(kExample, path("no/such/folder/p.tab"));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();

    EXPECT_EQ(cli({QStringLiteral("project"), QStringLiteral("load"), kExample}).exitCode, 1); // no -o
    EXPECT_EQ(cli({QStringLiteral("project"), QStringLiteral("dump")}).exitCode, 1);
    EXPECT_EQ(cli({QStringLiteral("project"), QStringLiteral("dump"), path("missing.tab")}).exitCode, 2);
}

TEST_F(ProjectCliTest, ExampleProjectIsAShopFrontOfSixSigns)
{
    const QString project = path("shop-front.tab");
    const ToolRun r = load(kExample, project);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(fixtures::ReadBytes(project).size(), 3920);

    const ToolRun info = cli({QStringLiteral("info"), project});
    ASSERT_EQ(info.exitCode, 0);
    const QList<QByteArray> lines = info.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], "1\t!Shop fascia\t1\t2\t400.00\t1.00\t7 7 8 7 7");
    for (const QByteArray &line : lines)
        EXPECT_EQ(line.split('\t').size(), 7) << line.toStdString();

    // Saved as the program saves it: each sign's area surcharge is the one its computation picks.
    ASSERT_EQ(cli({QStringLiteral("--workdir"), dir.path(), QStringLiteral("params"), QStringLiteral("load"),
                   QStringLiteral(TABLIX_DATA_DIR "/params.json")})
                  .exitCode,
              0);
    QFile::copy(QStringLiteral(TABLIX_DATA_DIR "/tablix_lng.eng"), path("tablix_lng.eng"));
    const QJsonArray signs = QJsonDocument::fromJson(fixtures::ReadBytes(kExample)).object().value(QLatin1String("signs")).toArray();
    ASSERT_EQ(signs.size(), 6);
    for (const QJsonValue &sign : signs) {
        const QString slot = QString::number(sign.toObject().value(QLatin1String("slot")).toInt());
        const ToolRun g = cli({QStringLiteral("--workdir"), dir.path(), QStringLiteral("geometry"), project,
                           QStringLiteral("--sign"), slot});
        ASSERT_EQ(g.exitCode, 0) << g.err.toStdString();
        const QJsonObject computed = QJsonDocument::fromJson(g.out).object();
        EXPECT_GT(computed.value(QLatin1String("signArea")).toDouble(), 0) << slot.toStdString();
        EXPECT_EQ(computed.value(QLatin1String("areaSurcharge")).toDouble(),
                  sign.toObject().value(QLatin1String("areaSurcharge")).toDouble())
            << slot.toStdString();
    }
    const ToolRun summary = cli({QStringLiteral("--workdir"), dir.path(), QStringLiteral("summary"), project});
    ASSERT_EQ(summary.exitCode, 0) << summary.err.toStdString();
    EXPECT_TRUE(summary.out.contains("Shop fascia\n"));
}
