// Element kinds, lengths, run total and geometry of ComputeSign.
#include <gtest/gtest.h>

#include "core/engine/compute_sign.h"
#include "support/fixtures.h"

using namespace tablix;

namespace {

long double d(const Real48 &r)
{
    return r.get();
}

long double d(const Real48Value &r)
{
    return r.get();
}

struct EngineTest : ::testing::Test {
    fixtures::ComputedState state;
    SignRecord &sign = state.currentSignRecord;

    void SetUp() override
    {
        fixtures::Prepare(state);
        ParameterRecord &p = state.parameters;
        p = ParameterRecord{};
        p.elementRows[0].heightMm.set(12.5); // frame of sign type 1: rows 0.75 inside
        p.elementRows[1].heightMm.set(25);
        p.elementRows[4].heightMm.set(16); // code 1 / 10
        p.elementRows[4].priceA.set(5);
        p.elementRows[4].priceB.set(6);
        p.elementRows[6].heightMm.set(24); // code 3 / 12
        p.elementRows[6].priceA.set(7);
        p.elementRows[10].heightMm.set(110); // code 7 / 16
        p.elementRows[14].heightMm.set(10);  // closing profile
        p.elementRows[14].priceA.set(3);
        p.areaBandLimit1.set(0.5);
        p.areaBandLimit2.set(1);
        p.areaBandLimit3.set(2);
        p.areaBandValue1.set(20);
        p.areaBandValue2.set(10);
        p.areaBandValue3.set(5);
        p.areaBandValue4.set(1);
        state.RefreshParameters();
        BlankSignRecord(sign);
        sign.layout = Layout::ClosedFrameA;
        sign.signType = SignType::NarrowFrame;
        sign.width.set(100);
        sign.quantity.set(1);
        sign.priceLevel.set(100);
    }

    void rows(std::initializer_list<int> codes, std::initializer_list<int> marked = {})
    {
        std::fill(std::begin(sign.rowElements), std::end(sign.rowElements), 0);
        std::fill(std::begin(sign.rowMarks), std::end(sign.rowMarks), 0);
        int i = 0;
        for (int c : codes)
            sign.rowElements[i++] = std::uint8_t(c);
        for (int m : marked)
            sign.rowMarks[m - 1] = 1;
        state.LoadWorkingState();
    }
};

} // namespace

TEST_F(EngineTest, CountsLengthsAndValuesPerCode)
{
    rows({1, 1, 3, 9});
    fixtures::Compute(state);
    const EngineResults &r = state.results;
    EXPECT_EQ(r.kind(1).count, 2);
    EXPECT_EQ(d(r.kind(1).length), RoundToReal48(98.5L));
    EXPECT_EQ(d(r.kind(1).value), RoundToReal48(98.5L * 2 * 5));
    EXPECT_EQ(r.kind(3).count, 1);
    // The closing profile has its own allowance.
    EXPECT_EQ(r.kind(9).count, 1);
    EXPECT_EQ(d(r.kind(9).length), RoundToReal48(97.6L));
    EXPECT_EQ(d(r.kind(9).value), RoundToReal48(97.6L * 3));
    EXPECT_EQ(r.kind(10).count, 0);
    EXPECT_EQ(r.kind(1).name, " Alu E46");
    EXPECT_EQ(r.kind(18).name, " Steel E45");
    EXPECT_EQ(r.kind(19).name, "E74 ");
    EXPECT_EQ(d(r.closingAllowance), RoundToReal48(1.0L));
}

TEST_F(EngineTest, UnknownSignTypeCountsButLeavesLengthsAtZero)
{
    sign.signType = SignType(7);
    rows({1, 1});
    fixtures::Compute(state);
    EXPECT_EQ(state.results.kind(1).count, 2);
    EXPECT_EQ(d(state.results.kind(1).length), 0);
    EXPECT_EQ(d(state.results.runTotal), 0);
    for (int n : {61, 62, 63, 64})
        EXPECT_TRUE(state.results.record(n).empty()) << n;
}

TEST_F(EngineTest, AreaExactlyOnAThresholdFallsIntoTheLowerTier)
{
    // 3.2 cm of rows at a width making the area exactly 0.5 m² = 5000 cm².
    rows({1, 1});
    sign.width.set(5000 / state.StackHeight());
    state.parameters.areaBandLimit1.set(RoundToReal48(sign.width.get() * state.StackHeight()) / 10000);
    fixtures::Compute(state);
    ASSERT_EQ(d(state.results.signArea), state.parameters.areaBandLimit1.get() * 10000);
    EXPECT_EQ(d(state.results.areaSurcharge), 20);
    sign.width.set(sign.width.get() * 1.001L);
    fixtures::Compute(state);
    EXPECT_EQ(d(state.results.areaSurcharge), 10);
    sign.width.set(10000);
    fixtures::Compute(state);
    EXPECT_EQ(d(state.results.areaSurcharge), 1);
    EXPECT_EQ(d(sign.areaSurcharge), 0); // the engine never writes the sign
}

TEST_F(EngineTest, MarkedRowsUseTheCutLengthOfTheirOwnElement)
{
    const long double x = RoundToReal48(98.5L); // width 100 less 1.5 for sign type 1
    rows({19, 3}, {2});
    sign.infillHeight.set(5);
    fixtures::Compute(state);
    EXPECT_EQ(d(state.results.markedEdge), RoundToReal48(x + 2.0L));
    EXPECT_EQ(d(state.results.markedArea), RoundToReal48(x * 2.0L));

    rows({1, 3}, {1, 2});
    fixtures::Compute(state);
    Real48Value edge, area;
    edge.set(1 * (x + 1.3L));
    area.set(x * 1.3L);
    edge.set(edge.get() + 1 * (x + 2.0L));
    area.set(area.get() + x * 2.0L);
    EXPECT_EQ(d(state.results.markedEdge), edge.get());
    EXPECT_EQ(d(state.results.markedArea), area.get());
}

TEST_F(EngineTest, StripsOfAFourStripPanel)
{
    rows({1, 7}, {2});
    fixtures::Compute(state);
    const GeometryRecord &row = state.results.record(2);
    const long double top = row.y1.get();
    const long double expected[8] = {0.12L, 2.62L, 2.86L, 5.36L, 5.60L, 8.10L, 8.34L, 10.84L};
    for (int k = 0; k < 8; ++k)
        EXPECT_NEAR(double(row.strips[k].get() - top), double(expected[k]), 1e-9) << k;
    EXPECT_EQ(d(state.results.record(1).strips[0]), 0); // row 1 is not marked
}

TEST_F(EngineTest, ClosedFrameGeometry)
{
    rows({1, 3, 9});
    fixtures::Compute(state);
    const EngineResults &r = state.results;
    const long double inset = RoundToReal48(0.75L);
    EXPECT_EQ(d(r.record(1).x1), inset);
    EXPECT_EQ(d(r.record(1).y1), inset);
    EXPECT_EQ(d(r.record(1).x2), RoundToReal48(inset + RoundToReal48(98.5L)));
    EXPECT_EQ(d(r.record(2).y1), d(r.record(1).y2));
    EXPECT_EQ(r.record(1).colourClass, ColourClass::FamilyA);
    EXPECT_TRUE(r.record(3).empty()); // the closing profile adds no rectangle and no height
    const long double bottomOfRows = d(r.record(2).y2);
    EXPECT_EQ(d(r.geometryHeight), RoundToReal48(bottomOfRows + inset));
    EXPECT_NEAR(double(d(r.geometryHeight)), double(state.StackHeight() + 1.5L), 1e-9);
    EXPECT_EQ(d(r.record(61).x2), RoundToReal48(1.2L));
    EXPECT_EQ(d(r.record(62).x1), RoundToReal48(98.8L));
    EXPECT_EQ(d(r.record(62).x2), 100);
    EXPECT_EQ(d(r.record(63).y2), RoundToReal48(1.2L));
    EXPECT_EQ(d(r.record(64).y1), RoundToReal48(d(r.geometryHeight) - 1.2L));
    EXPECT_EQ(d(r.record(64).y2), d(r.geometryHeight));
    for (int n : {61, 62, 63, 64})
        EXPECT_EQ(r.record(n).colourClass, ColourClass::FamilyA);
}

TEST_F(EngineTest, PostsOfSignTypeFourDifferLeftAndRight)
{
    sign.layout = Layout::SidePostsA;
    sign.signType = SignType::DoubleSided;
    rows({10});
    fixtures::Compute(state);
    const EngineResults &r = state.results;
    EXPECT_EQ(d(r.record(61).x1), 0);
    EXPECT_EQ(d(r.record(61).x2), RoundToReal48(2.0L));
    EXPECT_EQ(d(r.record(62).x1), RoundToReal48(99.5L));
    EXPECT_EQ(d(r.record(62).x2), 100);
    EXPECT_EQ(r.record(61).colourClass, ColourClass::FamilyA);
    EXPECT_EQ(r.record(63).colourClass, ColourClass::None);
    EXPECT_TRUE(r.record(64).empty());
    EXPECT_EQ(r.record(1).colourClass, ColourClass::FamilyB);
}

TEST_F(EngineTest, EmptyStackKeepsOnlyTheFrame)
{
    rows({});
    fixtures::Compute(state);
    const EngineResults &r = state.results;
    for (int n = 1; n <= 60; ++n)
        ASSERT_TRUE(r.record(n).empty()) << n;
    EXPECT_EQ(d(r.geometryHeight), RoundToReal48(RoundToReal48(0.75L) + 0.75L));
    EXPECT_FALSE(r.record(64).empty());
    EXPECT_TRUE(r.CostText.contains(QLatin1String("E88\t")));
}

TEST_F(EngineTest, ClosedFrameOfSignTypeThreeHasNoBarsSpanningTheSign)
{
    sign.signType = SignType::ClosingProfile;
    rows({1});
    fixtures::Compute(state);
    for (int n : {61, 62, 63, 64})
        EXPECT_TRUE(state.results.record(n).empty() && state.results.record(n).y2.get() == 0) << n;
    EXPECT_EQ(d(state.results.record(1).x1), RoundToReal48(0.1L));
}

TEST_F(EngineTest, ResultsDependOnTheSignAloneNotOnTheRunBefore)
{
    fixtures::ComputedState fresh = state;
    sign.layout = Layout::SidePostsA;
    rows({1, 1});
    fresh.currentSignRecord = sign;
    fresh.LoadWorkingState();
    fixtures::Compute(fresh);

    rows({1, 9}); // a closing profile sets its allowance...
    fixtures::Compute(state);
    rows({1, 1}); // ...which must not reach the next sign
    fixtures::Compute(state);
    EXPECT_EQ(state.results.CostText, fresh.results.CostText);
    EXPECT_EQ(state.results.SpecificationText, fresh.results.SpecificationText);
    EXPECT_EQ(d(state.results.closingAllowance), 0);
    fixtures::Compute(state);
    for (int n = 1; n <= kGeometryRecords; ++n) {
        const GeometryRecord &a = state.results.record(n), &b = fresh.results.record(n);
        EXPECT_TRUE(a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 && a.colourClass == b.colourClass) << n;
    }
}

TEST_F(EngineTest, GeometryFollowsTheRowsBeingEdited)
{
    rows({1});
    state.workingRows[1] = 3; // added in the dialog, not yet stored
    state.workingRowMarks[1] = 1;
    fixtures::Compute(state);
    EXPECT_FALSE(state.results.record(2).empty());
    EXPECT_EQ(state.results.kind(3).count, 1);
    EXPECT_NE(d(state.results.record(2).strips[1]), 0);
}

TEST_F(EngineTest, SixtyMarkedRowsFillEveryRowRecord)
{
    std::fill(std::begin(sign.rowElements), std::end(sign.rowElements), 1);
    std::fill(std::begin(sign.rowMarks), std::end(sign.rowMarks), 1);
    state.LoadWorkingState();
    fixtures::Compute(state);
    const EngineResults &r = state.results;
    EXPECT_EQ(r.kind(1).count, 60);
    EXPECT_EQ(d(r.stackHeight), RoundToReal48(96.0L));
    EXPECT_FALSE(r.record(60).empty());
    EXPECT_NE(d(r.record(60).strips[1]), 0);
    EXPECT_EQ(r.record(61).colourClass, ColourClass::FamilyA);
    EXPECT_NEAR(double(d(r.markedEdge)), 60 * (98.5 + 1.3), 1e-6);
    EXPECT_NEAR(double(d(r.markedArea)), 60 * 98.5 * 1.3, 1e-6);
}
