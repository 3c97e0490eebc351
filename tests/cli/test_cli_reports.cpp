// The report, geometry, export, price and summary commands against the same computation in process.
#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "core/engine/compute_sign.h"
#include "support/cli_runner.h"
#include "support/fixtures.h"
#include "core/render/summary.h"
#include "core/params/language.h"
#include "core/number/number_format.h"
#include "core/project/startup_data.h"
#include "core/params/language_entries.h"

using namespace tablix;

namespace {

using CliOutput = support::CliRun;

struct ReportsTest : ::testing::Test {
    QTemporaryDir dir;
    QString project;
    fixtures::ComputedState state;

    CliOutput cli(const QStringList &args) { return support::RunCli(args, {.workdir = dir.path()}); }

    void SetUp() override
    {
        ASSERT_EQ(cli({QStringLiteral("params"), QStringLiteral("load"), QStringLiteral(TABLIX_DATA_DIR "/params.json")}).exitCode, 0);
        QFile::copy(QStringLiteral(TABLIX_DATA_DIR "/tablix_lng.eng"), dir.filePath(QStringLiteral("tablix_lng.eng")));
        ASSERT_EQ(LoadParametersAndLanguage(state, dir.path()).failure, StartupFailure::None);

        SignSlotArray signs{};
        for (auto &s : signs)
            BlankSignRecord(s);
        signs[0] = fixtures::SignWith(7, QStringLiteral("Front"));
        signs[0].layout = Layout::ClosedFrameA;
        signs[0].rowElements[1] = 3;
        signs[0].rowElements[2] = 20;
        signs[0].rowMarks[0] = 1;
        signs[0].quantity.set(1);
        signs[0].priceLevel.set(100);
        signs[1] = fixtures::SignWith(16, QStringLiteral("!Posts"));
        signs[1].signType = SignType::WideFrame;
        signs[1].rowElements[1] = 12;
        signs[1].rowMarks[1] = 1;
        signs[1].lowerMarks[0] = 1;
        signs[1].auxDimension.set(2);
        signs[1].quantity.set(3);
        signs[1].priceLevel.set(90);
        project = dir.filePath(QStringLiteral("p.tab"));
        ASSERT_TRUE(WriteProjectFile(project, signs, nullptr));
        state.OpenProject(signs, project);
    }

    void computeInProcess(int sign)
    {
        state.SelectSign(sign);
        fixtures::Compute(state);
    }
};

QByteArray asLines(QString text)
{
    return text.replace(u'\r', u'\n').toUtf8();
}

} // namespace

TEST_F(ReportsTest, ReportsAreTheEngineTextsWithLineFeeds)
{
    computeInProcess(1);
    const CliOutput cost = cli({QStringLiteral("cost"), project});
    ASSERT_EQ(cost.exitCode, 0) << cost.err.toStdString();
    EXPECT_EQ(cost.out, asLines(state.results.CostText));
    EXPECT_FALSE(cost.out.contains('\r'));

    // Sign 2 is computed with its own marks and lower marks.
    computeInProcess(2);
    const CliOutput spec = cli({QStringLiteral("spec"), project, QStringLiteral("--sign"), QStringLiteral("2")});
    ASSERT_EQ(spec.exitCode, 0);
    EXPECT_EQ(spec.out, asLines(state.results.SpecificationText));
    EXPECT_EQ(cli({QStringLiteral("cost"), project, QStringLiteral("--sign"), QStringLiteral("2")}).out,
              asLines(state.results.CostText));

    // A slot not in use is computed all the same.
    EXPECT_EQ(cli({QStringLiteral("cost"), project, QStringLiteral("--sign"), QStringLiteral("5")}).exitCode, 0);
}

TEST_F(ReportsTest, GeometryHoldsEveryRecordAndKindExactly)
{
    computeInProcess(2);
    const CliOutput g = cli({QStringLiteral("geometry"), project, QStringLiteral("--sign"), QStringLiteral("2")});
    ASSERT_EQ(g.exitCode, 0);
    const QJsonObject root = QJsonDocument::fromJson(g.out).object();
    ASSERT_FALSE(root.isEmpty()) << g.out.toStdString();
    EXPECT_EQ(root.value(QLatin1String("geometryHeight")).toDouble(), double(state.results.geometryHeight.get()));
    EXPECT_EQ(root.value(QLatin1String("signArea")).toDouble(), double(state.results.signArea.get()));
    const QJsonArray kinds = root.value(QLatin1String("elementKinds")).toArray();
    ASSERT_EQ(kinds.size(), 21);
    EXPECT_EQ(kinds[15].toObject().value(QLatin1String("count")).toInt(), 1);
    EXPECT_EQ(kinds[15].toObject().value(QLatin1String("value")).toDouble(), double(state.results.kind(16).value.get()));
    const QJsonArray records = root.value(QLatin1String("records")).toArray();
    ASSERT_EQ(records.size(), 64);
    const QJsonObject row2 = records[1].toObject();
    EXPECT_EQ(row2.value(QLatin1String("y2")).toDouble(), double(state.results.record(2).y2.get()));
    EXPECT_EQ(row2.value(QLatin1String("strips")).toArray().size(), 8);
    EXPECT_EQ(row2.value(QLatin1String("strips")).toArray()[0].toDouble(), double(state.results.record(2).strips[0].get()));
    EXPECT_EQ(records[60].toObject().value(QLatin1String("colourClass")).toInt(), 2);
}

TEST_F(ReportsTest, ExportsWriteTheirFilesOrNothing)
{
    const QString plt = dir.filePath(QStringLiteral("s.plt"));
    CliOutput r = cli({QStringLiteral("plt"), project, QStringLiteral("--scale"), QStringLiteral("50"), QStringLiteral("-o"), plt});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray hpgl = fixtures::ReadBytes(plt);
    EXPECT_TRUE(hpgl.startsWith("IN;\r\nLT;\r\nSP1;\r\nPU"));

    const QString emf = dir.filePath(QStringLiteral("s.emf"));
    r = cli({QStringLiteral("emf"), project, QStringLiteral("--sign"), QStringLiteral("2"), QStringLiteral("--window"),
             QStringLiteral("1024x768"), QStringLiteral("-o"), emf});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray meta = fixtures::ReadBytes(emf);
    ASSERT_GE(meta.size(), 108);
    EXPECT_EQ(meta.mid(0, 4), QByteArray("\x01\x00\x00\x00", 4));
    EXPECT_EQ(meta.mid(40, 4), " EMF");

    // An empty slot has no rows: no metafile, and an error, not a success.
    const QString none = dir.filePath(QStringLiteral("none.emf"));
    r = cli({QStringLiteral("emf"), project, QStringLiteral("--sign"), QStringLiteral("9"), QStringLiteral("-o"), none});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(QFile::exists(none));
    EXPECT_EQ(cli({QStringLiteral("plt"), project}).exitCode, 1); // no -o
    EXPECT_EQ(cli({QStringLiteral("plt"), project, QStringLiteral("--scale"), QStringLiteral("0"), QStringLiteral("-o"), plt}).exitCode, 1);
    EXPECT_EQ(cli({QStringLiteral("cost"), project, QStringLiteral("--sign"), QStringLiteral("21")}).exitCode, 1);
}

TEST_F(ReportsTest, PricesInWindowOrderAtAPercentage)
{
    const CliOutput list = cli({QStringLiteral("prices")});
    ASSERT_EQ(list.exitCode, 0);
    const QList<QByteArray> lines = list.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 23);
    const QList<QByteArray> first = lines[0].split('\t');
    ASSERT_EQ(first.size(), 3);
    EXPECT_EQ(QString::fromUtf8(first[0]), state.LanguageEntry(text::kSignType1));
    EXPECT_EQ(first[1], FormatFixed(state.parameters.elementRows[0].priceB.get(), 0, 2).toLatin1());

    const QList<QByteArray> at80 = cli({QStringLiteral("prices"), QStringLiteral("--percent"), QStringLiteral("80")}).out.split('\n');
    EXPECT_EQ(at80[0].split('\t')[2],
              FormatFixed(state.parameters.elementRows[0].priceA.get() * RoundToReal48(0.8L), 0, 2).toLatin1());
}

TEST_F(ReportsTest, SummaryTextsOfEverySignAndTheTotal)
{
    const CliOutput s = cli({QStringLiteral("summary"), project});
    ASSERT_EQ(s.exitCode, 0) << s.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(s.out), SummaryTexts(state).join(u'\n') + u'\n');
    const QStringList lines = QString::fromUtf8(s.out).trimmed().split(u'\n');
    EXPECT_EQ(lines.first(), "Front");
    EXPECT_TRUE(lines.contains(QStringLiteral("Posts")));
    EXPECT_TRUE(lines.last().startsWith(state.LanguageEntry(text::kSummaryTotalLabel) + QStringLiteral(" = ")));
}
