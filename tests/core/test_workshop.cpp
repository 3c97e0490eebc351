// The cut list, the stock settings file and the cutting plan: known optima, the bound, too-long
// pieces, bad stock files and the shipped example project.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QTemporaryDir>
#include <random>

#include "core/engine/compute_sign.h"
#include "core/project/project_json.h"
#include "core/workshop/cut_list.h"
#include "core/workshop/cut_list_reader.h"
#include "core/workshop/cutting_plan.h"
#include "core/workshop/stock.h"
#include "support/fixtures.h"

using namespace tablix;

namespace {

CutLength cm(double v)
{
    return CutLength(std::llround(v * 100));
}

StockProfile Stock(double bar, double kerf, double trim)
{
    return {cm(bar), cm(kerf), cm(trim)};
}

StockOverride Own(double bar, double kerf, double trim)
{
    return {cm(bar), cm(kerf), cm(trim)};
}

std::vector<CutLength> Cuts(std::initializer_list<double> list)
{
    std::vector<CutLength> out;
    for (double v : list)
        out.push_back(cm(v));
    return out;
}

// Sizes with kerf 300, 240, 180 x3, 120 on a 600 bar: first fit needs 3 bars, two bars hold them
// exactly: {300, 180, 120} and {240, 180, 180}.
TEST(CuttingPlan, HandSolvedInstanceBeatsFirstFit)
{
    const StockProfile stock = Stock(601, 0.5, 1);
    const ProfilePlan plan = PlanProfile(QStringLiteral("Frame"), {{cm(299.5), 1}, {cm(239.5), 1}, {cm(179.5), 3}, {cm(119.5), 1}}, stock);
    EXPECT_EQ(plan.firstFitBars, 3);
    EXPECT_EQ(FirstFitDecreasing(plan.pieces, stock).size(), 3u);
    ASSERT_EQ(plan.bars.size(), 2u);
    EXPECT_EQ(plan.lowerBound, 2);
    EXPECT_TRUE(plan.optimal);
    EXPECT_FALSE(plan.fromFirstFit);
    EXPECT_EQ(CheckProfilePlan(plan), QString());
    std::vector<std::vector<CutLength>> bars{plan.bars[0].cuts, plan.bars[1].cuts};
    std::sort(bars.begin(), bars.end());
    EXPECT_EQ(bars[0], Cuts({239.5, 179.5, 179.5}));
    EXPECT_EQ(bars[1], Cuts({299.5, 179.5, 119.5}));
    EXPECT_EQ(plan.bars[0].offcut, 0);
    EXPECT_EQ(plan.bars[1].offcut, 0);
}

// Three pieces just over half a bar: the volume says 2, the linear optimum 3, and 3 is optimal.
TEST(CuttingPlan, BoundIsTheLinearOptimumNotTheVolume)
{
    const ProfilePlan plan = PlanProfile(QStringLiteral("Post"), {{cm(310), 3}}, StockProfile{});
    EXPECT_EQ(plan.lowerBound, 3);
    EXPECT_EQ(plan.bars.size(), 3u);
    EXPECT_TRUE(plan.optimal);
    EXPECT_EQ(plan.bars[0].offcut, cm(600 - 1 - 310.4));
}

TEST(CuttingPlan, PiecesLongerThanABarGoApart)
{
    // 598.60 + 0.40 kerf is exactly the 599 cm a bar holds after the trim; a hundredth more is not.
    const ProfilePlan plan = PlanProfile(QStringLiteral("Frame"), {{cm(598.6), 1}, {cm(598.61), 2}, {cm(650), 1}, {cm(100), 2}}, StockProfile{});
    ASSERT_EQ(plan.tooLong.size(), 2u);
    EXPECT_EQ(plan.tooLong[0], (PieceDemand{cm(650), 1}));
    EXPECT_EQ(plan.tooLong[1], (PieceDemand{cm(598.61), 2}));
    EXPECT_EQ(plan.pieces, (std::vector<PieceDemand>{{cm(598.6), 1}, {cm(100), 2}}));
    EXPECT_EQ(plan.bars.size(), 2u);
    EXPECT_EQ(plan.bars[0].offcut, 0);
    EXPECT_EQ(CheckProfilePlan(plan), QString());

    const ProfilePlan none = PlanProfile(QStringLiteral("Frame"), {{cm(700), 4}}, StockProfile{});
    EXPECT_TRUE(none.bars.empty());
    EXPECT_EQ(none.tooLong.size(), 1u);
    EXPECT_TRUE(none.optimal);
    const QString report = CuttingPlanReport(CuttingPlan{{none}}, fixtures::SampleLanguage());
    EXPECT_TRUE(report.contains(QStringLiteral("E309\t 4E114 700.00E115\r"))) << qPrintable(report);
}

// Seeded random demands: every plan holds exactly the demand within its bars, never below the
// bound and never above first fit.
TEST(CuttingPlan, RandomPlansAreValid)
{
    std::mt19937 random(42);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    int atBound = 0;
    for (int n = 0; n < 60; ++n) {
        std::vector<PieceDemand> pieces;
        for (int k = pick(1, 12); k > 0; --k)
            pieces.push_back({CutLength(pick(1000, 45000)), pick(1, 8)});
        const StockProfile stock = Stock(pick(3000, 6500) / 10.0, pick(0, 6) / 10.0, pick(0, 20) / 10.0);
        const ProfilePlan plan = PlanProfile(QStringLiteral("P"), pieces, stock);
        EXPECT_EQ(CheckProfilePlan(plan), QString()) << "instance " << n;
        EXPECT_LE((long long)plan.bars.size(), (long long)FirstFitDecreasing(pieces, stock).size());
        atBound += plan.optimal;
    }
    EXPECT_GE(atBound, 58);
}

TEST(CuttingPlan, JsonAndReport)
{
    CuttingPlan plan{{PlanProfile(QStringLiteral("Frame \"A\""), {{cm(200), 3}, {cm(700), 1}}, StockProfile{})}};
    const QJsonObject root = QJsonDocument::fromJson(CuttingPlanJson(plan)).object();
    ASSERT_FALSE(root.isEmpty());
    EXPECT_EQ(root[QStringLiteral("totalBars")].toInt(), 2);
    const QJsonObject p = root[QStringLiteral("profiles")].toArray()[0].toObject();
    EXPECT_EQ(p[QStringLiteral("profile")].toString(), QStringLiteral("Frame \"A\""));
    EXPECT_EQ(p[QStringLiteral("barLength")].toDouble(), 600);
    EXPECT_EQ(p[QStringLiteral("kerf")].toDouble(), 0.4);
    EXPECT_EQ(p[QStringLiteral("trim")].toDouble(), 1);
    EXPECT_EQ(p[QStringLiteral("tooLong")].toArray()[0].toObject()[QStringLiteral("length")].toDouble(), 700);
    const QJsonArray bars = p[QStringLiteral("bars")].toArray();
    ASSERT_EQ(bars.size(), 2);
    EXPECT_EQ(bars[0].toObject()[QStringLiteral("cuts")].toArray().size(), 2);
    EXPECT_DOUBLE_EQ(bars[0].toObject()[QStringLiteral("offcut")].toDouble(), 198.2);
    EXPECT_EQ(p[QStringLiteral("lowerBound")].toInt(), 2);
    EXPECT_TRUE(p[QStringLiteral("optimal")].toBool());

    const LanguageTable language = fixtures::SampleLanguage();
    const QString report = CuttingPlanReport(plan, language);
    EXPECT_TRUE(report.startsWith(QStringLiteral("E295\r\rE296 Frame \"A\"\rE297\t 600.00E115\r")));
    EXPECT_TRUE(report.contains(QStringLiteral("E302\t 2E303\r")));
    EXPECT_TRUE(report.contains(QStringLiteral("E307 1\t 2 x 200.00E115E308 198.20E115\r")));
    EXPECT_TRUE(report.endsWith(QStringLiteral("E87\rE301\t 2\r")));
    EXPECT_EQ(CuttingPlanReport(CuttingPlan{}, language), QStringLiteral("E295\r\rE310\r"));

    // Decimals as the language writes them; counts and the cut list file stay as they are.
    LanguageTable comma = language;
    comma.entries[text::kDecimalSeparator] = QStringLiteral(",");
    const QString polish = CuttingPlanReport(plan, comma);
    EXPECT_TRUE(polish.startsWith(QStringLiteral("E295\r\rE296 Frame \"A\"\rE297\t 600,00E115\rE298\t 0,40E115\r")));
    EXPECT_TRUE(polish.contains(QStringLiteral("E307 1\t 2 x 200,00E115E308 198,20E115\r")));
    EXPECT_TRUE(polish.contains(QStringLiteral("E309\t 1E114 700,00E115\r")));
    EXPECT_EQ(QString(polish).replace(QLatin1Char(','), QLatin1Char('.')), report);
}

// ---- stock settings ----

TEST(StockSettings, FileRoundTripAndDefaults)
{
    StockSettings s;
    s.defaults = Stock(650, 0.3, 2);
    s.profiles[QStringLiteral("frame-narrow-A")] = Own(700, 0.5, 1.5);
    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(SaveStockFile(StockFilePath(dir.path()), s, &error)) << qPrintable(error);
    const StockLoad load = LoadStockSettingsOf(dir.path());
    ASSERT_TRUE(load.settings) << qPrintable(load.error);
    EXPECT_EQ(*load.settings, s);
    EXPECT_EQ(load.settings->forProfile(QStringLiteral("Post")), s.defaults);

    // A profile gives its bar; kerf and trim come from the default entry.
    const auto partial = StockSettingsFromJson(R"({"default": {"barLength": 500, "kerf": 0.2, "trim": 0},
                                                   "profiles": {"post-narrow-A": {"barLength": 300}}})", &error);
    ASSERT_TRUE(partial) << qPrintable(error);
    EXPECT_EQ(partial->forProfile(QStringLiteral("post-narrow-A")), Stock(300, 0.2, 0));
    EXPECT_EQ(StockSettingsFromJson("{}", &error)->defaults, StockProfile{});

    QTemporaryDir empty;
    EXPECT_EQ(*LoadStockSettingsOf(empty.path()).settings, StockSettings{});
}

TEST(StockSettings, BadFilesAreRefusedWithTheirReason)
{
    const struct {
        const char *json;
        const char *reason;
    } cases[] = {
        {R"({"default": {"kerf": 0.4}})", "\"barLength\" is missing"},
        {R"({"profiles": {"post-narrow-A": {"kerf": 600}}})", "profile \"post-narrow-A\": the kerf"},
        {R"({"default": {"barLength": -600}})", "must not be negative"},
        {R"({"default": {"barLength": 600, "trim": -1}})", "must not be negative"},
        {R"({"default": {"barLength": 0}})", "greater than 0"},
        {R"({"default": {"barLength": 50, "kerf": 60}})", "leave nothing"},
        {R"({"default": {"barLength": "600"}})", "must be a number"},
        {R"({"default": {"barLength": 600, "kerfs": 1}})", "unknown field \"kerfs\""},
        {R"({"profiles": []})", "\"profiles\" must be an object"},
        {R"([600])", "one JSON object"},
        {"{\"default\": ", "not a stock settings file"},
    };
    for (const auto &c : cases) {
        QString error;
        EXPECT_FALSE(StockSettingsFromJson(c.json, &error)) << c.json;
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << c.json << " gave " << qPrintable(error);
    }
}

TEST(StockSettings, WrongSettingsWriteNothing)
{
    QTemporaryDir dir;
    const QString path = StockFilePath(dir.path());
    ASSERT_TRUE(fixtures::WriteBytes(path, "{}"));
    StockSettings s;
    s.profiles[QStringLiteral("post-narrow-A")] = Own(10, 12, 0);
    QString error;
    EXPECT_FALSE(SaveStockFile(path, s, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("post-narrow-A"))) << qPrintable(error);
    EXPECT_EQ(fixtures::ReadBytes(path), QByteArray("{}"));

    ASSERT_TRUE(fixtures::WriteBytes(path, R"({"default": {"barLength": -1}})"));
    const StockLoad load = LoadStockSettingsOf(dir.path());
    EXPECT_FALSE(load.settings);
    EXPECT_TRUE(load.error.contains(QStringLiteral("tablix-stock.json"))) << qPrintable(load.error);
}

// ---- the cut list of the shipped example ----

struct ExampleProject : ::testing::Test {
    fixtures::ComputedState state;
    void SetUp() override
    {
        state.parameters = fixtures::ShippedParameters();
        state.language = fixtures::ShippedLanguage();
        state.RefreshParameters();
        QString error;
        const auto signs = ProjectFromJson(fixtures::ReadBytes(fixtures::DataFile(QStringLiteral("examples/shop-front.json"))), &error);
        ASSERT_TRUE(signs) << qPrintable(error);
        state.OpenProject(*signs, QStringLiteral("shop-front.tab"));
    }
    const CutListRow *row(const CutList &list, const char *profile, double length)
    {
        for (const CutListRow &r : list.rows)
            if (r.profile == QLatin1String(profile) && r.length == cm(length))
                return &r;
        return nullptr;
    }
};

TEST_F(ExampleProject, CutListHoldsEveryReportedPieceTimesQuantity)
{
    state.SelectSign(3);
    const CutList list = BuildCutList(state);
    EXPECT_EQ(state.currentSign, 3);
    EXPECT_EQ(list.signsInUse, 6);
    const CutListRow *frame = row(list, "Frame wide A", 400);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->count, 2);
    EXPECT_EQ(frame->signs, QStringList{QStringLiteral("1 Shop fascia")});
    // Window band is ordered twice: its four frame bars become eight... of two lengths.
    const CutListRow *band = row(list, "Frame narrow B", 180);
    ASSERT_TRUE(band);
    EXPECT_EQ(band->count, 4);
    // Its row above the posts is one piece of the whole length.
    const CutListRow *panel = row(list, "A Panel 1x50 mm", 118.5);
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->signs, QStringList{QStringLiteral("4 Customer parking")});
    EXPECT_TRUE(row(list, "Post narrow A", 7.2));

    // Every piece of every sign is a line of its specification report, with the same length.
    for (int k = 1; k <= 6; ++k) {
        state.SelectSign(k);
        fixtures::Compute(state);
        const QString spec = state.results.SpecificationText;
        const std::vector<SignPiece> pieces = PiecesOfComputedSign(state.results);
        EXPECT_FALSE(pieces.empty());
        for (const SignPiece &p : pieces)
            EXPECT_TRUE(spec.contains(CutLengthText(p.length) + state.LanguageEntry(text::kCentimetreUnit) + u' ' + u'\r'))
                << "sign " << k << " " << qPrintable(p.profile) << " " << qPrintable(CutLengthText(p.length));
    }
}

TEST_F(ExampleProject, SignsLeftOutOrRoundedUpAreNamedInTheCsvWhichStillReadsBack)
{
    state.currentSignRecord.quantity.set(1.5); // sign 1 is current: the list reads it from there
    state.slot(2).quantity.set(0);
    const CutList list = BuildCutList(state);
    EXPECT_EQ(row(list, "Frame wide A", 400)->count, 3);
    const QStringList notes{QStringLiteral("1 Shop fascia: quantity 1.50 rounded up to whole pieces"),
                            QStringLiteral("2 Opening hours: quantity 0, left out of the cut list")};
    EXPECT_EQ(QSet<QString>(list.notes.begin(), list.notes.end()), QSet<QString>(notes.begin(), notes.end()));
    for (const CutListRow &r : list.rows)
        EXPECT_FALSE(r.signs.contains(QStringLiteral("2 Opening hours")));

    const QByteArray csv = CutListCsv(list, state.language);
    EXPECT_TRUE(csv.endsWith(",,,1 Shop fascia: quantity 1.50 rounded up to whole pieces\r\n"
                             ",,,\"2 Opening hours: quantity 0, left out of the cut list\"\r\n") ||
                csv.endsWith(",,,\"2 Opening hours: quantity 0, left out of the cut list\"\r\n"
                             ",,,1 Shop fascia: quantity 1.50 rounded up to whole pieces\r\n"))
        << csv.constData();
    QString error;
    const std::optional<CutList> read =
        CutListFromCsv(csv, {QStringList{QStringLiteral("Profile"), QStringLiteral("Length (cm)"), QStringLiteral("Count")}}, &error);
    ASSERT_TRUE(read) << error.toStdString();
    ASSERT_EQ(read->rows.size(), list.rows.size());
    for (size_t k = 0; k < list.rows.size(); ++k)
        EXPECT_EQ(read->rows[k].count, list.rows[k].count);
}

TEST_F(ExampleProject, PlanIsValidAndOptimal)
{
    const CuttingPlan plan = PlanCutList(BuildCutList(state), StockSettings{});
    ASSERT_EQ(plan.profiles.size(), 17u);
    long long sum = 0;
    for (const ProfilePlan &p : plan.profiles) {
        EXPECT_EQ(CheckProfilePlan(p), QString()) << qPrintable(p.profile);
        EXPECT_TRUE(p.optimal) << qPrintable(p.profile);
        sum += (long long)p.bars.size();
    }
    EXPECT_EQ(plan.totalBars(), sum);
    EXPECT_EQ(plan.totalBars(), 23);
}

TEST_F(ExampleProject, CsvQuotesWhatNeedsIt)
{
    state.slot(2).setTitle(QStringLiteral("!Hours, \"late\""));
    const QByteArray csv = CutListCsv(BuildCutList(state), state.language);
    EXPECT_TRUE(csv.startsWith("Profile,Length (cm),Count,Signs\r\n"));
    EXPECT_TRUE(csv.contains("Frame narrow B,45.00,2,\"2 Hours, \"\"late\"\"\"\r\n")) << csv.constData();
}

TEST(CutList, ProjectWithoutSignsIsEmpty)
{
    fixtures::ComputedState state;
    fixtures::Prepare(state);
    const CutList list = BuildCutList(state);
    EXPECT_EQ(list.signsInUse, 0);
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(PlanCutList(list, StockSettings{}).empty());
}

} // namespace
