// The cost and specification texts, to the last character.
#include <gtest/gtest.h>

#include "core/engine/compute_sign.h"
#include "support/fixtures.h"

using namespace tablix;

namespace {

struct TextsTest : ::testing::Test {
    AppState state;
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
        p.costItem2.set(1.2);
        p.costItem8.set(3.5);
        p.elementRows[0].priceA.set(10);
        p.elementRows[0].priceB.set(11);
        p.elementRows[0].heightMm.set(12.5);
        p.elementRows[1].heightMm.set(25);
        p.elementRows[2].priceA.set(7.4);
        p.elementRows[4].priceA.set(5);
        p.elementRows[4].heightMm.set(16);
        p.elementRows[14].heightMm.set(10);
        p.areaBandLimit1.set(0.5);
        p.areaBandLimit2.set(1);
        p.areaBandLimit3.set(2);
        p.areaBandValue1.set(20);
        state.RefreshParameters();
        BlankSignRecord(sign);
        sign.layout = 2;
        sign.signType = 1;
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
        ComputeSign(state);
        return state.results.CostText.split(u'\r');
    }
};

} // namespace

TEST_F(TextsTest, SidePostSignCostAndSpecificationInFull)
{
    ComputeSign(state);
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

TEST_F(TextsTest, QuantityAboveOneAddsTheOrderTotals)
{
    QStringList lines = costLines();
    EXPECT_FALSE(lines.filter(QStringLiteral("E90\t")).size());
    sign.quantity.set(1.5);
    lines = costLines();
    ASSERT_EQ(lines.filter(QStringLiteral("E90\t")).size(), 1);
    EXPECT_EQ(lines.filter(QStringLiteral("E90\t"))[0], "E90\t      36.21E10"); // 1.5 x 24.139521
    EXPECT_EQ(lines.filter(QStringLiteral("E91\t"))[0], "E91\t      43.45E10"); // x 1.2
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
    sign.layout = 1;
    sign.width.set(2.4);
    const QStringList lines = costLines();
    EXPECT_TRUE(lines.filter(QStringLiteral("E121")).isEmpty());
    EXPECT_EQ(lines[0], "E116\t       9.60E10");
    EXPECT_EQ(lines[1], "E117\t      14.00E10");
}

TEST_F(TextsTest, PostsAreCutIntoPiecesAndPricedBelowTheLowerMarks)
{
    sign.layout = 1;
    sign.auxDimension.set(2);
    state.workingLowerMarks[0] = 1;
    ComputeSign(state);
    // h = 3.2, lower mark 1 takes row 1's 1.6 cm; a1 = 1.25 - 0.75 = 0.5: (1.6 - 0.5) x 7.4 x 2 / 100.
    EXPECT_TRUE(state.results.CostText.contains(QStringLiteral("E107 \t       0.16E10\r"))) << state.results.CostText.toStdString();
    // Pieces: (2 + 1) x 2 + 2 - 1 x 2 = 6.
    EXPECT_TRUE(state.results.CostText.contains(QStringLiteral("E111 6E112 \t       9.00E10\r")));
    EXPECT_TRUE(state.results.SpecificationText.contains(QStringLiteral("E103 2E114 1.10E115 \r")));
    // Each run of 98.5 is cut into 3 pieces: (98.5 - 1.5) / 3.
    EXPECT_TRUE(state.results.SpecificationText.endsWith(QStringLiteral(" Alu E466E114 32.33E115 \r")));
    EXPECT_TRUE(state.results.CostText.endsWith(QStringLiteral("E103       0.02E97\r")));
}

TEST_F(TextsTest, TextsNeverGrowPastTheirLimit)
{
    for (int n = 0; n < kLanguageEntries; ++n)
        state.language.entries[size_t(n)] = QString(400, u'x');
    std::fill(std::begin(sign.rowElements), std::end(sign.rowElements), 1);
    for (int c = 1; c <= 21; ++c)
        sign.rowElements[c - 1] = std::uint8_t(c);
    state.LoadWorkingState();
    ComputeSign(state);
    EXPECT_EQ(state.results.CostText.size(), kMaxTextLength);
    EXPECT_LE(state.results.SpecificationText.size(), kMaxTextLength);
    for (const ElementKind &k : state.results.ElementKindTable)
        EXPECT_LE(k.name.size(), 19);
}
