// The working rows: their heights, the automatic title, the descriptions and loading a sign.
#include <gtest/gtest.h>

#include "support/fixtures.h"
#include "core/project/app_state.h"
#include "core/params/language_entries.h"

using namespace tablix;

namespace {

struct WorkingRowsTest : ::testing::Test {
    AppState state;
    void SetUp() override
    {
        fixtures::Prepare(state);
        fixtures::StepElementRows(state.parameters); // elementRows[k].heightMm = 10 * (k + 1)
        state.RefreshParameters();
    }
    void rows(std::initializer_list<int> codes)
    {
        state.workingRows.fill(0);
        int i = 0;
        for (int c : codes)
            state.workingRows[size_t(i++)] = std::uint8_t(c);
    }
};

} // namespace

// Sample heights: element row k is 10*(k+1) mm; table entry e holds row kElementTypeTableRows[e].
TEST_F(WorkingRowsTest, HeightOfEachKindOfCode)
{
    rows({1}); // entry 3 = row 4: 50 mm
    EXPECT_DOUBLE_EQ(double(state.StackHeight()), 5.0);
    rows({10}); // the same element in family B
    EXPECT_DOUBLE_EQ(double(state.StackHeight()), 5.0);
    rows({8, 17}); // entry 10 = row 11: 120 mm each
    EXPECT_DOUBLE_EQ(double(state.StackHeight()), 24.0);
    rows({20, 21}); // entry 13 = row 22: 230 mm each
    EXPECT_DOUBLE_EQ(double(state.StackHeight()), 46.0);
    state.currentSignRecord.infillHeight.set(12.5);
    rows({19});
    EXPECT_DOUBLE_EQ(double(state.StackHeight()), 12.5);
}

TEST_F(WorkingRowsTest, ClosingSpecialAndEmptyRowsAddNothing)
{
    rows({9, 18, 30, 35, 40, 45});
    EXPECT_EQ(state.StackHeight(), 0);
    rows({0, 1, 1}); // an empty first row means no stack at all
    EXPECT_EQ(state.StackHeight(), 0);
    rows({1, 0, 1}); // rows after a gap still count
    EXPECT_DOUBLE_EQ(double(state.StackHeight()), 10.0);
}

TEST_F(WorkingRowsTest, SumIsRoundedToTheStoredFormatAtEachStep)
{
    state.parameters.elementRows[4].heightMm.set(0.1L);
    state.RefreshParameters();
    state.workingRows.fill(1);
    Real48 sum;
    for (int i = 0; i < 60; ++i)
        sum.set(sum.get() + RoundToReal48(0.1L));
    Real48 expected;
    expected.set(sum.get() * 0.1L);
    EXPECT_EQ(state.StackHeight(), expected.get());
}

TEST_F(WorkingRowsTest, AutoTitleOfTwelveHundredByTwelveRowsOfTenCentimetres)
{
    state.parameters.elementRows[4].heightMm.set(100);
    state.RefreshParameters();
    state.currentSignRecord.width.set(1200);
    state.currentSignRecord.layout = Layout::SidePostsA;
    state.currentSignRecord.signType = SignType::NarrowFrame;
    rows({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    EXPECT_EQ(state.AutoTitle(), "1200.00x120.00Alu");

    state.language.entries[text::kFamilyA] = QStringLiteral("Aluminium");
    EXPECT_EQ(state.AutoTitle(), "1200.00x120.00Alumin");

    // A closed frame adds its allowance to the height.
    state.language.entries[text::kFamilyA] = QStringLiteral("Alu");
    state.currentSignRecord.layout = Layout::ClosedFrameA;
    EXPECT_EQ(state.AutoTitle(), "1200.00x121.50Alu");
    state.currentSignRecord.signType = SignType::WideFrame;
    EXPECT_EQ(state.AutoTitle(), "1200.00x122.50Alu");
    state.currentSignRecord.layout = Layout::ClosedFrameB;
    state.currentSignRecord.signType = SignType::ClosingProfile;
    EXPECT_EQ(state.AutoTitle(), "1200.00x120.00Steel");
}

TEST_F(WorkingRowsTest, DescriptionsNameTheElementAndItsFamily)
{
    EXPECT_EQ(state.ElementDescription(0), "");
    EXPECT_EQ(state.ElementDescription(1), "E46 Alu");
    EXPECT_EQ(state.ElementDescription(8), "E53 Alu");
    EXPECT_EQ(state.ElementDescription(9), "E45 Alu");
    EXPECT_EQ(state.ElementDescription(10), "E46 Steel");
    EXPECT_EQ(state.ElementDescription(18), "E45 Steel");
    EXPECT_EQ(state.ElementDescription(19), "E74");
    EXPECT_EQ(state.ElementDescription(20), "E233 Alu");
    EXPECT_EQ(state.ElementDescription(21), "E233 Steel");
    EXPECT_EQ(state.ElementDescription(30), "E211 Alu");
    EXPECT_EQ(state.ElementDescription(45), "E216 Steel");
    for (int code : {22, 29, 36, 39, 46, 255})
        EXPECT_EQ(state.ElementDescription(code), "") << code;
}

TEST_F(WorkingRowsTest, SelectingASignLoadsItsRows)
{
    state.slot(1) = fixtures::SignWith(5, QStringLiteral("a"));
    state.SelectSign(1);
    EXPECT_EQ(state.workingRows[0], 5);
    state.workingRows[1] = 7; // edits in progress do not reach the record
    EXPECT_EQ(state.currentSignRecord.rowElements[1], 0);
    state.LoadWorkingRows();
    EXPECT_EQ(state.workingRows[1], 0);
}
