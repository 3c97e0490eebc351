// The cost and specification texts: one sign to the last character, then every layout and sign
// type against hand-worked lines and totals.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "core/engine/compute_sign.h"
#include "core/project/element_codes.h"
#include "support/fixtures.h"

using namespace tablix;

namespace {

struct TextsTest : ::testing::Test {
    fixtures::ComputedState state;
    SignRecord &sign = state.currentSignRecord;

    void SetUp() override
    {
        fixtures::Prepare(state);
        ParameterRecord &p = state.parameters;
        p = ParameterRecord{};
        p.costItem1.set(1.5);  // per cut piece
        p.costItem5.set(45);   // marked surface per m²
        p.costItem6.set(0.6);  // marked edge per m
        p.costItem7.set(28);   // back panel per m²
        p.costItem9.set(2.8);  // closing fitting
        p.costItem10.set(4.2); // closing fitting, sign type 2
        p.costItem2.set(1.2);
        p.costItem8.set(3.5);
        // Each row: family A price, family B price, height; every price differs.
        const double rows[][4] = {
            {0, 10, 11, 12.5}, // frame and side profile, sign type 1: insets 0.75
            {1, 20, 22, 25},   // the same, sign type 2: insets 1.25
            {2, 7, 8, 10},     // posts, sign type 1
            {3, 9, 12, 20},    // posts, sign type 2
            {4, 5, 6, 16},     // codes 1 and 10
            {14, 3, 4, 10},    // closing profile, side profile of sign type 3; closing allowance 1 cm
        };
        for (const auto &r : rows) {
            p.elementRows[int(r[0])].priceA.set(r[1]);
            p.elementRows[int(r[0])].priceB.set(r[2]);
            p.elementRows[int(r[0])].heightMm.set(r[3]);
        }
        p.areaBandLimit1.set(0.5);
        p.areaBandLimit2.set(1);
        p.areaBandLimit3.set(2);
        p.areaBandValue1.set(20);
        state.RefreshParameters();
        BlankSignRecord(sign);
        sign.layout = Layout::SidePostsA;
        sign.signType = SignType::NarrowFrame;
        sign.width.set(100);
        sign.quantity.set(1);
        sign.priceLevel.set(100);
        sign.rowElements[0] = 1;
        sign.rowElements[1] = 1;
        sign.rowMarks[0] = 1;
        state.LoadWorkingState();
    }

    QStringList costLines()
    {
        fixtures::Compute(state);
        return state.results.CostText.split(u'\r');
    }

    void rows(int code, int count)
    {
        std::fill(std::begin(sign.rowElements), std::end(sign.rowElements), 0);
        std::fill_n(sign.rowElements, count, std::uint8_t(code));
        state.LoadWorkingState();
    }
};

// A text's lines as "label value": blanks and tabs run together, units after a number dropped,
// empty lines left out.
QStringList Compact(const QString &text)
{
    static const QRegularExpression unit(QStringLiteral("(\\d)E\\d+$"));
    QStringList lines;
    for (const QString &line : text.split(u'\r', Qt::SkipEmptyParts))
        lines << line.simplified().replace(unit, QStringLiteral("\\1"));
    return lines;
}

QStringList Split(const char *lines)
{
    return QString::fromLatin1(lines).split(u'|', Qt::SkipEmptyParts);
}

} // namespace

TEST_F(TextsTest, SidePostSignCostAndSpecificationInFull)
{
    fixtures::Compute(state);
    EXPECT_EQ(state.results.CostText,
              "E125\t       3.00E10\r"
              "E119\t       0.64E10\r"
              "E121\t       0.87E10\r"
              "E126\t       2.80E10\r"
              "E127\t       2.80E10\r"
              "E111 2E112 \t       3.00E10\r"
              "E113 \t       9.85E10\r"
              "E202 \t       1.18E10\r"
              "E87\r"
              "E88\t      24.14E10\r"
              "E89\t      28.97E10\r"
              "E87\r"
              "\r"
              "E92\t      0.032E93\r"
              "E94\t      20.00E95\r"
              "E96\t      2.03E97\r"
              "\r"
              "E98\r"
              "E99       0.06E97\r"
              " Alu E46      1.97E97\r");
    EXPECT_EQ(state.results.SpecificationText,
              "E120     3.20E115 \r"
              "E122     97.60E123     3.20E124 \r"
              "E111 \r"
              " Alu E462E114 98.50E115 \r");
}

TEST_F(TextsTest, ExtraCostHasItsOwnLineEvenWhenNegative)
{
    sign.extraCost.set(-4.14);
    const QStringList lines = costLines();
    EXPECT_EQ(lines[5], "E139\t      -4.14E10");
    EXPECT_EQ(lines.filter(QStringLiteral("E88\t"))[0], "E88\t      20.00E10");
    sign.extraCost.set(0);
    EXPECT_TRUE(costLines().filter(QStringLiteral("E139")).isEmpty());
}

TEST_F(TextsTest, ClosingProfileSavesTheSecondFittingAndShortensTheBackPanel)
{
    sign.rowElements[2] = 9;
    state.LoadWorkingState();
    const QStringList lines = costLines();
    EXPECT_EQ(lines.filter(QStringLiteral("E126\t")).size(), 1);
    EXPECT_TRUE(lines.filter(QStringLiteral("E127\t")).isEmpty());
    // (100 - 2.4) x (3.2 - 1.0) x 28 / 10000
    EXPECT_EQ(lines.filter(QStringLiteral("E121\t"))[0], "E121\t       0.60E10");
    EXPECT_TRUE(state.results.SpecificationText.contains(QStringLiteral("E122     97.60E123     2.20E124 \r")));
}

TEST_F(TextsTest, NoBackPanelWhenTheFrameLeavesNoRoom)
{
    sign.layout = Layout::ClosedFrameA;
    sign.width.set(2.4);
    const QStringList lines = costLines();
    EXPECT_TRUE(lines.filter(QStringLiteral("E121")).isEmpty());
    EXPECT_EQ(lines[0], "E116\t       9.60E10");
    EXPECT_EQ(lines[1], "E117\t      14.00E10");
}

TEST_F(TextsTest, TextsNeverGrowPastTheirLimit)
{
    for (int n = 0; n < kLanguageEntries; ++n)
        state.language.entries[size_t(n)] = QString(400, u'x');
    std::fill(std::begin(sign.rowElements), std::end(sign.rowElements), 1);
    for (int c = 1; c <= 21; ++c)
        sign.rowElements[c - 1] = std::uint8_t(c);
    state.LoadWorkingState();
    fixtures::Compute(state);
    EXPECT_EQ(state.results.CostText.size(), kMaxTextLength);
    EXPECT_LE(state.results.SpecificationText.size(), kMaxTextLength);
    for (const ElementKind &k : state.results.ElementKindTable)
        EXPECT_LE(k.name.size(), 19);
}

// Rows of code 1 (family A) or 10 (family B), 1.6 cm each, width 100, two pieces, row 1 marked:
// h = 3.2, area 0.032 m2 and a surcharge of 20 %. Totals are C, C x 1.2, 2C, 2C x 1.2; the run
// total is in centimetres.
struct SignCase {
    int layout, type;
    const char *priced;
    const char *totals;
    long double runTotal;
    const char *runLine;
    const char *lengths;
};
const SignCase kSignCases[] = {
    {1, 1, "E116 9.60|E117 14.00|E118 20.00|E119 0.94|E121 0.44|E111 2E112 3.00|E113 9.85|E202 1.18",
     "59.00|70.80|118.00|141.61", 812.8L, "8.13", "E99 4.19|Alu E46 3.94"},
    {1, 2, "E116 9.60|E117 14.00|E128 40.00|E129 2.28|E121 0.11|E111 2E112 3.00|E113 9.75|E202 1.16",
     "79.90|95.88|159.80|191.76", 812.8L, "8.13", "E100 4.23|Alu E46 3.90"},
    {1, 3, "E116 9.60|E117 14.00|E111 2E112 3.00|E113 9.98|E202 1.19", "37.77|45.32|75.54|90.65", 811.6L, "8.12",
     "Alu E46 3.99"},
    {1, 4, "E116 9.60|E117 14.00|E111 2E112 3.00|E113 19.96|E202 1.19", "47.75|57.30|95.50|114.60", 399.2L, "3.99",
     "Alu E46 7.98"},
    {2, 1, "E125 3.00|E119 0.64|E121 0.87|E126 2.80|E127 2.80|E111 2E112 3.00|E113 9.85|E202 1.18",
     "24.14|28.97|48.28|57.93", 406.8L, "4.07", "E99 0.13|Alu E46 3.94"},
    {2, 2, "E125 3.00|E129 1.28|E121 0.85|E131 4.20|E132 4.20|E111 2E112 3.00|E113 9.75|E202 1.16",
     "27.44|32.93|54.89|65.87", 402.8L, "4.03", "E100 0.13|Alu E46 3.90"},
    {2, 3, "E125 3.00|E168 0.19|E111 2E112 3.00|E113 9.98|E202 1.19", "17.36|20.83|34.72|41.67", 412.0L, "4.12",
     "E166 0.13|Alu E46 3.99"},
    {2, 4, "E125 3.00|E111 2E112 3.00|E113 19.96|E202 1.19", "27.15|32.58|54.30|65.16", 399.2L, "3.99",
     "E229 0.06|E231 0.06|Alu E46 7.98"},
    {3, 1, "E116 9.60|E117 14.00|E133 22.00|E134 1.03|E121 0.44|E111 2E112 3.00|E113 11.82|E202 1.18",
     "63.07|75.68|126.13|151.36", 812.8L, "8.13", "E101 4.19|Steel E46 3.94"},
    {3, 2, "E116 9.60|E117 14.00|E136 44.00|E137 2.51|E121 0.11|E111 2E112 3.00|E113 11.70|E202 1.16",
     "86.08|103.29|172.16|206.59", 812.8L, "8.13", "E102 4.23|Steel E46 3.90"},
    {3, 3, "E116 9.60|E117 14.00|E111 2E112 3.00|E113 11.98|E202 1.19", "39.77|47.72|79.53|95.44", 811.6L, "8.12",
     "Steel E46 3.99"},
    {3, 4, "E116 9.60|E117 14.00|E111 2E112 3.00|E113 23.95|E202 1.19", "51.74|62.09|103.48|124.18", 399.2L, "3.99",
     "Steel E46 7.98"},
    {4, 1, "E125 3.00|E134 0.70|E121 0.87|E126 2.80|E127 2.80|E111 2E112 3.00|E113 11.82|E202 1.18",
     "26.17|31.41|52.35|62.82", 406.8L, "4.07", "E101 0.13|Steel E46 3.94"},
    {4, 2, "E125 3.00|E137 1.41|E121 0.85|E131 4.20|E132 4.20|E111 2E112 3.00|E113 11.70|E202 1.16",
     "29.52|35.43|59.04|70.85", 402.8L, "4.03", "E102 0.13|Steel E46 3.90"},
    {4, 3, "E125 3.00|E170 0.26|E111 2E112 3.00|E113 11.98|E202 1.19", "19.42|23.31|38.84|46.61", 412.0L, "4.12",
     "E167 0.13|Steel E46 3.99"},
    {4, 4, "E125 3.00|E111 2E112 3.00|E113 23.95|E202 1.19", "31.14|37.37|62.28|74.74", 399.2L, "3.99",
     "E230 0.06|E232 0.06|Steel E46 7.98"},
};

TEST_F(TextsTest, EveryLayoutAndSignTypeAgainstHandWorkedLines)
{
    sign.quantity.set(2);
    for (const SignCase &c : kSignCases) {
        SCOPED_TRACE(testing::Message() << "layout " << c.layout << ", sign type " << c.type);
        sign.layout = Layout(std::uint8_t(c.layout));
        sign.signType = SignType(std::uint8_t(c.type));
        rows(c.layout <= 2 ? 1 : 10, 2);
        fixtures::Compute(state);
        const QStringList totals = Split(c.totals);
        const QStringList expected = Split(c.priced)
                                     + QStringList{QStringLiteral("E87"), QStringLiteral("E88 ") + totals[0],
                                                   QStringLiteral("E89 ") + totals[1], QStringLiteral("E87"),
                                                   QStringLiteral("E90 ") + totals[2], QStringLiteral("E91 ") + totals[3],
                                                   QStringLiteral("E92 0.032"), QStringLiteral("E94 20.00"),
                                                   QStringLiteral("E96 ") + QLatin1String(c.runLine), QStringLiteral("E98")}
                                     + Split(c.lengths);
        EXPECT_EQ(Compact(state.results.CostText), expected);
        EXPECT_NEAR(double(state.results.runTotal.get()), double(c.runTotal), 1e-6);
    }
}

// Four rows of 1.6 cm, two posts; lower marks on rows 1 and 2 leave 3.2 cm of post. The allowance
// of a closed frame is 0.5 (sign type 1) or 1.25 (type 2) with mark 1 set, twice that without.
struct PostCase {
    int layout, type, marks;
    const char *costLine, *cutLine, *lengthLine;
};
const PostCase kPostCases[] = {
    {1, 1, 2, "E107 0.38", "E103 2E114 2.70", "E103 0.05"},  {1, 2, 2, "E108 0.35", "E104 2E114 1.95", "E104 0.04"},
    {2, 1, 2, "E107 0.45", "E103 2E114 3.20", "E103 0.06"},  {2, 2, 2, "E108 0.58", "E104 2E114 3.20", "E104 0.06"},
    {3, 1, 2, "E109 0.43", "E105 2E114 2.70", "E105 0.05"},  {3, 2, 2, "E110 0.47", "E106 2E114 1.95", "E106 0.04"},
    {4, 1, 2, "E109 0.51", "E105 2E114 3.20", "E105 0.06"},  {4, 2, 2, "E110 0.77", "E106 2E114 3.20", "E106 0.06"},
    {1, 1, 0, "E107 0.76", "E103 2E114 5.40", "E103 0.11"},  {3, 2, 0, "E110 0.94", "E106 2E114 3.90", "E106 0.08"},
    // A layout no file should hold borrows no label and no price.
    {5, 1, 2, "0.00", "2E114 3.20", "0.06"},
};

TEST_F(TextsTest, PostsOfEveryLayoutArePricedAndCutBelowTheLowerMarks)
{
    sign.auxDimension.set(2);
    for (const PostCase &c : kPostCases) {
        SCOPED_TRACE(testing::Message() << "layout " << c.layout << ", sign type " << c.type << ", marks " << c.marks);
        sign.layout = Layout(std::uint8_t(c.layout));
        sign.signType = SignType(std::uint8_t(c.type));
        rows(c.layout <= 2 ? 1 : 10, 4);
        std::fill_n(state.workingLowerMarks.begin(), c.marks, std::uint8_t(1));
        fixtures::Compute(state);
        const QStringList cost = Compact(state.results.CostText);
        const QStringList spec = Compact(state.results.SpecificationText);
        // The posts' line follows the frame lines; each run is cut into three pieces.
        EXPECT_TRUE(cost.contains(QLatin1String(c.costLine))) << cost.join(u'|').toStdString();
        EXPECT_EQ(cost.filter(QStringLiteral("E111 ")), QStringList{c.marks ? "E111 10E112 15.00" : "E111 14E112 21.00"});
        EXPECT_EQ(cost.last(), QLatin1String(c.lengthLine));
        EXPECT_TRUE(spec.contains(QLatin1String(c.cutLine))) << spec.join(u'|').toStdString();
    }
    EXPECT_TRUE(state.results.CostText.startsWith(QStringLiteral(" \t       0.00E10\r")));
}

TEST_F(TextsTest, TenLowerMarksAllShortenThePosts)
{
    sign.auxDimension.set(2);
    rows(1, 12); // 19.2 cm, of which the ten marked rows take 16
    state.workingLowerMarks.fill(1);
    fixtures::Compute(state);
    const QStringList cost = Compact(state.results.CostText);
    EXPECT_TRUE(cost.contains(QStringLiteral("E107 0.45")));            // 3.2 x 7 x 2 / 100
    EXPECT_TRUE(cost.contains(QStringLiteral("E111 18E112 27.00")));    // 3 x 12 + 2 - 10 x 2
    EXPECT_TRUE(state.results.SpecificationText.contains(QStringLiteral("E103 2E114 3.20E115 \r")));
}

TEST_F(TextsTest, SignsWithSpecialProfilesSayTheyAreNotPriced)
{
    sign.signType = SignType::SpecialFrame;
    rows(30, 3);
    fixtures::Compute(state);
    EXPECT_TRUE(state.results.CostText.startsWith(QStringLiteral("E172\rE125\t")));
    EXPECT_TRUE(state.results.SpecificationText.startsWith(QStringLiteral("E172\r")));

    sign.signType = SignType::NarrowFrame; // one special row among panels
    rows(1, 2);
    state.workingRows[1] = 41;
    EXPECT_EQ(costLines().first(), QStringLiteral("E172"));
    rows(1, 2);
    EXPECT_FALSE(costLines().contains(QStringLiteral("E172")));
}

// The material line of the fixture's sign (two rows of 98.5 cm at 5 per metre: 9.85 at list
// price) under markups worked by hand, each distinct so that none can stand in for another.
TEST_F(TextsTest, EveryMarkupMultipliesThePrice)
{
    struct Case {
        double m1, m2, m3, level;
        const char *line;
    };
    const Case cases[] = {
        {0, 0, 0, 100, "9.85"},    // 985 x 1
        {20, 0, 0, 100, "11.82"},  // 985 x 1.2
        {0, 20, 0, 100, "11.82"},
        {0, 0, 40, 100, "13.79"},  // 985 x 1.4
        {10, 20, 0, 100, "13.00"}, // 985 x 1.32 = 13.002
        {10, 20, 50, 100, "19.50"}, // 985 x 1.98 = 19.503; any markup twice gives 17.88, 21.28 or 23.88
        {50, 10, 20, 100, "19.50"},
        {10, 20, 50, 80, "15.60"}, // 985 x 1.584 = 15.6024
        {-20, 0, 0, 100, "7.88"},  // 985 x 0.8
    };
    for (const Case &c : cases) {
        state.parameters.markupPercent1.set(c.m1);
        state.parameters.markupPercent2.set(c.m2);
        state.parameters.markupPercent3.set(c.m3);
        sign.priceLevel.set(c.level);
        const QStringList line = Compact(costLines().filter(QStringLiteral("E113")).join(u'\r'));
        ASSERT_EQ(line.size(), 1);
        EXPECT_EQ(line[0], QStringLiteral("E113 ") + QLatin1String(c.line))
            << c.m1 << " " << c.m2 << " " << c.m3 << " at " << c.level;
    }
}

// A sign whose area is exactly a band's limit takes that band's surcharge ("greater than"); a
// hair above takes the next band's. Every limit, from both sides.
TEST_F(TextsTest, AreaBandsChangeJustAboveTheirLimits)
{
    ParameterRecord &p = state.parameters;
    const double surcharges[4] = {20, 10, 5, 1};
    p.areaBandValue1.set(surcharges[0]);
    p.areaBandValue2.set(surcharges[1]);
    p.areaBandValue3.set(surcharges[2]);
    p.areaBandValue4.set(surcharges[3]);
    Real48 *limits[3] = {&p.areaBandLimit1, &p.areaBandLimit2, &p.areaBandLimit3};
    // One other infill of 5 cm at a width of 1000 cm: 0.5 m², exact in every step.
    sign.infillHeight.set(5);
    rows(kOtherInfillCode, 1);
    for (int k = 0; k < 3; ++k) {
        // The other limits well below and above, in order.
        for (int j = 0; j < 3; ++j)
            limits[j]->set(j < k ? 1e-4 * (j + 1) : j == k ? 0.5 : 100.0 * (j + 1));
        sign.width.set(1000);
        fixtures::Compute(state);
        ASSERT_EQ(state.results.signArea.get(), 5000);
        EXPECT_EQ(state.results.areaSurcharge.get(), surcharges[k]) << "on limit " << k + 1;
        sign.width.set(1000 * (1 + 1e-9));
        fixtures::Compute(state);
        EXPECT_EQ(state.results.areaSurcharge.get(), surcharges[k + 1]) << "just above limit " << k + 1;
        sign.width.set(1000 * (1 - 1e-9));
        fixtures::Compute(state);
        EXPECT_EQ(state.results.areaSurcharge.get(), surcharges[k]) << "just below limit " << k + 1;
    }
}

// Codes 30..35 and 40..45 are special profiles: described with their own word, priced at
// nothing and noted as not priced. The codes beside the two ranges are not.
TEST_F(TextsTest, EverySpecialProfileCodeIsOneAndNoOtherIs)
{
    rows(1, 1);
    const QStringList oneRow = costLines().filter(QStringLiteral("E113"));
    for (int code = 19; code <= 46; ++code) {
        const bool special = (code >= 30 && code <= 35) || (code >= 40 && code <= 45);
        EXPECT_EQ(IsSpecialProfile(code), special) << code;
        if (!special && code != kOtherInfillCode)
            continue; // not a code a row can hold
        rows(1, 2);
        state.workingRows[1] = std::uint8_t(code);
        const QStringList lines = costLines();
        EXPECT_EQ(lines.first() == QStringLiteral("E172"), special) << code;
        EXPECT_EQ(state.results.SpecificationText.startsWith(QStringLiteral("E172\r")), special) << code;
        if (!special)
            continue;
        // The special row adds nothing to the one panel row's material.
        EXPECT_EQ(lines.filter(QStringLiteral("E113")), oneRow) << code;
        const int word = text::kSpecialProfile1 + (code >= 40 ? code - 40 : code - 30);
        EXPECT_EQ(state.ElementDescription(code),
                  QStringLiteral("E%1 %2").arg(word).arg(code >= 40 ? u"Steel" : u"Alu"))
            << code;
    }
}
