// What leaves for the workshop: the sign report's cutting list, the cut list and the plan's
// pieces agree with each other and with the cost report, in every language; stock settings keyed
// by profile hold in every language, files keyed by label included.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <random>

#include "core/engine/compute_sign.h"
#include "core/engine/profile_keys.h"
#include "core/project/element_codes.h"
#include "core/project/project_json.h"
#include "core/project/row_rules.h"
#include "core/workshop/cut_list.h"
#include "core/workshop/cutting_plan.h"
#include "core/workshop/stock.h"
#include "support/fixtures.h"

using namespace tablix;

namespace {

const QString kEnglish = QStringLiteral("tablix_lng.eng");
const QString kPolish = QStringLiteral("tablix_lng.pol");

// A project of the shipped parameters in a shipped language, its signs in slots 1, 2, ...
struct Workshop {
    fixtures::ComputedState state;

    explicit Workshop(const QString &language = kEnglish)
    {
        state.parameters = fixtures::ShippedParameters();
        state.language = fixtures::ShippedLanguage(language);
        state.RefreshParameters();
    }
    void open(const std::vector<SignRecord> &signs)
    {
        SignSlotArray all{};
        for (SignRecord &s : all)
            BlankSignRecord(s);
        std::copy(signs.begin(), signs.end(), all.begin());
        state.OpenProject(all, QStringLiteral("test.tab"));
    }
    void openExample()
    {
        QString error;
        const auto signs = ProjectFromJson(fixtures::ReadBytes(fixtures::DataFile(QStringLiteral("examples/shop-front.json"))), &error);
        ASSERT_TRUE(signs) << qPrintable(error);
        state.OpenProject(*signs, QStringLiteral("shop-front.tab"));
    }
    void compute(int slot)
    {
        state.SelectSign(slot);
        fixtures::Compute(state);
    }
    // The lines of the sign's report from the cutting list's heading on, without it.
    QStringList cuttingList() const
    {
        const QStringList lines = state.results.SpecificationText.split(u'\r', Qt::SkipEmptyParts);
        const qsizetype heading = lines.indexOf(state.LanguageEntry(text::kPiecesLabel) + u' ');
        return heading < 0 ? QStringList() : lines.mid(heading + 1);
    }
    // "Cut pieces 8 pcs": the count the cost report prices.
    long long costPieces() const
    {
        const QString label = state.LanguageEntry(text::kPiecesLabel) + u' ';
        for (const QString &line : state.results.CostText.split(u'\r'))
            if (line.startsWith(label))
                return line.mid(label.size()).section(state.LanguageEntry(text::kPiecesWord), 0, 0).toLongLong();
        return -1;
    }
};

// A piece line of the sign's report: "<label><count> pcs x <length> cm " (cutting list and
// posts) or "<label>     <length> cm " (frame bars and side profiles: two when the label says
// "2 x", else one). Back panels (two values) and headings are no pieces.
struct SpecPiece {
    QString profile;
    QString length;
    long long count = 0;
};
std::vector<SpecPiece> SpecificationPieces(const fixtures::ComputedState &state)
{
    const QString pcs = QRegularExpression::escape(state.LanguageEntry(text::kPiecesOf));
    const QString cm = QRegularExpression::escape(state.LanguageEntry(text::kCentimetreUnit));
    const QRegularExpression counted(QStringLiteral("^(.*\\D)(\\d+)%1 ([0-9.]+)%2 $").arg(pcs, cm));
    const QRegularExpression dimension(QStringLiteral("^(.*)     ([0-9.]+)%1 $").arg(cm));
    std::vector<SpecPiece> pieces;
    for (const QString &line : state.results.SpecificationText.split(u'\r', Qt::SkipEmptyParts)) {
        if (const auto m = counted.match(line); m.hasMatch())
            pieces.push_back({ProfileNameOfLabel(m.captured(1)), m.captured(3), m.captured(2).toLongLong()});
        else if (const auto d = dimension.match(line); d.hasMatch() && !line.contains(state.LanguageEntry(text::kInfillDimension2)))
            pieces.push_back({ProfileNameOfLabel(d.captured(1)), d.captured(2), d.captured(1).contains(QStringLiteral("2 x")) ? 2 : 1});
    }
    return pieces;
}

// "profile|length" -> count, summed; a piece of no length is nothing to cut.
std::map<std::string, long long> Tally(const std::vector<SpecPiece> &pieces)
{
    std::map<std::string, long long> tally;
    for (const SpecPiece &p : pieces)
        if (p.length.toDouble() > 0)
            tally[(p.profile + u'|' + p.length).toStdString()] += p.count;
    return tally;
}
std::map<std::string, long long> Tally(const CutList &list)
{
    std::map<std::string, long long> tally;
    for (const CutListRow &row : list.rows)
        tally[(row.profile + u'|' + CutLengthText(row.length)).toStdString()] += row.count;
    return tally;
}

SignRecord Sign(int layout, int type, double width, std::initializer_list<int> rows, int lowerMarks, int posts)
{
    SignRecord r{};
    BlankSignRecord(r);
    r.layout = Layout(std::uint8_t(layout));
    r.signType = SignType(std::uint8_t(type));
    r.width.set(width);
    r.quantity.set(1);
    r.priceLevel.set(100);
    r.auxDimension.set(posts);
    int k = 0;
    for (int code : rows)
        r.rowElements[k++] = std::uint8_t(code);
    std::fill_n(r.lowerMarks, lowerMarks, std::uint8_t(1));
    r.setTitle(QStringLiteral("Test"));
    return r;
}

// A sign with posts: any layout, sign type 1 or 2, up to 14 rows of its family's panels and fixed
// profiles (an other infill now and then, a closing profile last where one is allowed), 0 to 10
// lower marks as the construction dialog keeps them.
SignRecord RandomSignWithPosts(std::mt19937 &random)
{
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    SignRecord r = Sign(pick(1, 4), pick(1, 2), pick(300, 4000) / 10.0, {}, 0, pick(1, 4));
    const bool familyA = IsFamilyA(r.layout);
    const int rows = pick(1, 14);
    for (int k = 0; k < rows; ++k) {
        const int panel = pick(0, 9);
        r.rowElements[k] = std::uint8_t(panel == 9 ? kOtherInfillCode : panel == 8 ? (familyA ? 20 : 21) : (familyA ? 1 : 10) + panel);
    }
    r.infillHeight.set(pick(10, 200) / 10.0);
    if (ClosingElementsAllowed(r.layout, r.signType) && pick(0, 2) == 0)
        r.rowElements[rows] = std::uint8_t(familyA ? 9 : 18);
    LowerMarks marks{};
    std::fill_n(marks.begin(), pick(0, 10), std::uint8_t(1));
    RowCodes codes{};
    std::copy(std::begin(r.rowElements), std::end(r.rowElements), codes.begin());
    marks = KeptLowerMarks(marks, codes);
    std::copy(marks.begin(), marks.end(), r.lowerMarks);
    return r;
}

// Rows 1-2 panels 2x20, row 3 the fixed profile, row 4 a panel 4x25, "No post" on rows 1-3.
SignRecord ReproductionSign()
{
    return Sign(2, 1, 120, {4, 4, 20, 7}, 3, 2);
}

} // namespace

// The sign of the report and the example's "Customer parking": the rows above the posts are one
// piece of the whole cut length, the rest are cut at the two posts, each kind its own line.
TEST(CuttingList, RowsAboveThePostsAreWholePieces)
{
    const struct {
        const char *name;
        int slot; // 0: the reproduction sign, else the example's slot
        long long costPieces;
        QStringList cutting;
        QStringList csv;
    } cases[] = {
        {"reproduction", 0, 8,
         {QStringLiteral("Post narrow A: 2 pcs x 11.00 cm "), QStringLiteral(" A Panel 2x20 mm 2 pcs x 118.50 cm "),
          QStringLiteral(" A Panel 4x25 mm 3 pcs x 39.00 cm "), QStringLiteral(" A Profile 1x35 mm 1 pcs x 118.50 cm ")},
         {QStringLiteral("Frame narrow A,24.00,2,1 Test"), QStringLiteral("Post narrow A,11.00,2,1 Test"),
          QStringLiteral("A Panel 2x20 mm,118.50,2,1 Test"), QStringLiteral("A Panel 4x25 mm,39.00,3,1 Test"),
          QStringLiteral("A Profile 1x35 mm,118.50,1,1 Test")}},
        {"Customer parking", 4, 15,
         {QStringLiteral("Post narrow A: 2 pcs x 7.20 cm "), QStringLiteral(" A Panel 1x20 mm 9 pcs x 39.00 cm "),
          QStringLiteral(" A Panel 1x50 mm 1 pcs x 118.50 cm "), QStringLiteral(" A Closing profile 3 pcs x 38.70 cm ")},
         {QStringLiteral("A Panel 1x50 mm,118.50,1,4 Customer parking"), QStringLiteral("A Panel 1x20 mm,39.00,9,4 Customer parking"),
          QStringLiteral("A Closing profile,38.70,3,4 Customer parking")}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Workshop w;
        if (c.slot == 0)
            w.open({ReproductionSign()});
        else
            w.openExample();
        w.compute(c.slot == 0 ? 1 : c.slot);
        EXPECT_EQ(w.cuttingList(), c.cutting);
        EXPECT_EQ(w.costPieces(), c.costPieces);
        const QStringList csv = QString::fromUtf8(CutListCsv(BuildCutList(w.state), w.state.language)).split(QStringLiteral("\r\n"));
        for (const QString &line : c.csv)
            EXPECT_TRUE(csv.contains(line)) << qPrintable(line) << "\n" << qPrintable(csv.join(u'\n'));
    }

    // The plan saws the whole rows from the bar as they are.
    Workshop w;
    w.open({ReproductionSign()});
    const CuttingPlan plan = PlanCutList(BuildCutList(w.state), StockSettings{});
    ASSERT_EQ(plan.profiles.size(), 5u);
    EXPECT_EQ(plan.profiles[2].profile, QStringLiteral("A Panel 2x20 mm"));
    EXPECT_EQ(plan.profiles[2].pieces, (std::vector<PieceDemand>{{11850, 2}}));
    EXPECT_EQ(plan.profiles[4].pieces, (std::vector<PieceDemand>{{11850, 1}}));
}

// Over random signs of every layout with posts and 0..10 lower marks, in both languages: the
// report's pieces below its cutting-list heading plus the posts are the cost report's "Cut pieces";
// the cut list of the sign is its report's pieces, each under its profile's label.
TEST(CuttingList, PiecesAgreeWithTheCostReportOverRandomSigns)
{
    std::mt19937 random(20);
    for (const QString &language : {kEnglish, kPolish}) {
        Workshop w(language);
        for (int n = 0; n < 400; ++n) {
            const SignRecord sign = RandomSignWithPosts(random);
            SCOPED_TRACE(testing::Message() << qPrintable(language) << " sign " << n << ": layout " << int(sign.layout) << ", type "
                                            << int(sign.signType) << ", posts " << double(sign.auxDimension.get()));
            w.open({sign});
            w.compute(1);
            long long listed = 0;
            for (const QString &line : w.cuttingList())
                listed += line.section(w.state.LanguageEntry(text::kPiecesOf), 0, 0).section(u' ', -1).toLongLong();
            // The posts' line is among them: one piece per post.
            EXPECT_EQ(listed, w.costPieces()) << qPrintable(w.state.results.SpecificationText);

            const CutList list = BuildCutList(w.state);
            EXPECT_EQ(Tally(list), Tally(SpecificationPieces(w.state))) << qPrintable(w.state.results.SpecificationText);
            for (const CutListRow &row : list.rows)
                EXPECT_EQ(ProfileLabel(row.key, w.state.language).toStdString(), row.profile.toStdString());
        }
    }
}

// Sign type 4 stands between two side profiles: one of the stack's height, one 0.1 cm shorter.
TEST(CutList, SideProfilesOfSignTypeFourAreCut)
{
    for (const int layout : {2, 4}) {
        SCOPED_TRACE(layout);
        Workshop w;
        SignRecord sign = Sign(layout, 4, 80, {layout == 2 ? 3 : 12, layout == 2 ? 3 : 12}, 0, 0);
        sign.quantity.set(3);
        w.open({sign});
        w.compute(1);
        const QString family = layout == 2 ? QStringLiteral("A") : QStringLiteral("B");
        // Two rows of 2.4 cm (the shipped panel 1x20) make the stack.
        const QString first = QStringLiteral("Side profile 1 ") + family, second = QStringLiteral("Side profile 2 ") + family;
        EXPECT_TRUE(w.state.results.SpecificationText.startsWith(first + QStringLiteral("     4.80 cm \r") + second
                                                                 + QStringLiteral("     4.70 cm \r")))
            << qPrintable(w.state.results.SpecificationText);
        const QStringList csv = QString::fromUtf8(CutListCsv(BuildCutList(w.state), w.state.language)).split(QStringLiteral("\r\n"));
        EXPECT_TRUE(csv.contains(first + QStringLiteral(",4.80,3,1 Test"))) << qPrintable(csv.join(u'\n'));
        EXPECT_TRUE(csv.contains(second + QStringLiteral(",4.70,3,1 Test"))) << qPrintable(csv.join(u'\n'));
        // As long as the cost report's order lengths say.
        EXPECT_TRUE(w.state.results.CostText.contains(first + QStringLiteral("       0.14 m\r")));
    }
}

// Each profile has one label per language, and no label of either shipped language names two.
TEST(ProfileKeys, LabelsAreDistinctInEveryShippedLanguage)
{
    const LanguageTable &english = fixtures::ShippedLanguage(kEnglish);
    const LanguageTable &polish = fixtures::ShippedLanguage(kPolish);
    const ProfileLabels labels = ProfileLabelsOf({&english, &polish});
    for (const auto &[label, key] : labels.keyOf)
        EXPECT_FALSE(key.isEmpty()) << qPrintable(label) << " names two profiles";
    for (const QString &key : AllProfileKeys()) {
        EXPECT_EQ(labels.keyOf.at(ProfileLabel(key, english)), key);
        EXPECT_EQ(labels.keyOf.at(ProfileLabel(key, polish)), key);
    }
    EXPECT_EQ(ProfileLabel(FrameProfileKey(true, false), polish), QStringLiteral("Rama wąska A"));
    EXPECT_EQ(ProfileLabel(ElementProfileKey(20), english), QStringLiteral("A Profile 1x35 mm"));
    EXPECT_EQ(ProfileLabel(QStringLiteral("Frame narrow A"), english), QString());
}

// Files of earlier versions name a profile by its label in the language it was set in, with the
// defaults' kerf and trim written beside the typed bar: read from the language files of the folder,
// the entry is the profile's own bar alone, and is written back under the profile's key.
TEST(StockSettings, LabelledEntriesOfEarlierFilesAreTheirProfiles)
{
    for (const char *label : {"Rama wąska A", "Frame narrow A"}) {
        SCOPED_TRACE(label);
        QTemporaryDir dir;
        for (const QString &file : {kEnglish, kPolish})
            ASSERT_TRUE(fixtures::WriteBytes(dir.filePath(file), fixtures::ReadBytes(fixtures::DataFile(file))));
        const QString path = StockFilePath(dir.path());
        ASSERT_TRUE(fixtures::WriteBytes(path, QByteArray(R"({"profiles": {")") + label + R"(": {"barLength": 500, "kerf": 0.4, "trim": 1}}})"));
        const StockLoad load = LoadStockFile(path, {dir.path()});
        ASSERT_TRUE(load.settings) << qPrintable(load.error);
        EXPECT_TRUE(load.settings->unknown.empty());
        EXPECT_EQ(load.settings->profiles, (std::map<QString, StockOverride>{{QStringLiteral("frame-narrow-A"), {50000, {}, {}}}}));
        ASSERT_TRUE(SaveStockFile(path, *load.settings, nullptr));
        EXPECT_TRUE(fixtures::ReadBytes(path).contains("\"frame-narrow-A\": {\n            \"barLength\": 500\n        }"))
            << fixtures::ReadBytes(path).constData();
    }
}

// A name of no profile is kept as it was, and named; so is the loser of two entries for one
// profile: the key wins over a label, the first label over a later one.
TEST(StockSettings, EntriesOfNoProfileAreKeptAndNamed)
{
    const ProfileLabels labels = ProfileLabelsOf({&fixtures::ShippedLanguage(kEnglish), &fixtures::ShippedLanguage(kPolish)});
    QString error;
    const auto settings = StockSettingsFromJson(R"({"profiles": {"Elsewhere": {"barLength": "long", "colour": 1},
                                                                 "Frame narrow A": {"barLength": 300},
                                                                 "frame-narrow-A": {"kerf": 0.2},
                                                                 "Post wide B": {"barLength": 400},
                                                                 "Słupek szeroki B": {"barLength": 500}}})",
                                                &error, labels);
    ASSERT_TRUE(settings) << qPrintable(error);
    EXPECT_EQ(settings->forProfile(QStringLiteral("frame-narrow-A")), (StockProfile{60000, 20, 100}));
    EXPECT_EQ(settings->forProfile(QStringLiteral("post-wide-B")).barLength, 40000);
    QStringList kept;
    for (const auto &[name, value] : settings->unknown)
        kept << name;
    EXPECT_EQ(kept, (QStringList{QStringLiteral("Elsewhere"), QStringLiteral("Frame narrow A"), QStringLiteral("Słupek szeroki B")}));
    const QStringList messages = UnknownStockEntryMessages(*settings, QStringLiteral("stock.json"));
    ASSERT_EQ(messages.size(), 3);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("stock.json: \"Elsewhere\""))) << qPrintable(messages[0]);

    const QByteArray written = StockSettingsToJson(*settings);
    EXPECT_TRUE(written.contains(R"("barLength": "long")")) << written.constData();
    EXPECT_EQ(StockSettingsFromJson(written, &error, labels), settings);
}
