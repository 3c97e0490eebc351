// Element codes and the row rules: what each edit of the rows asks, and what it leaves.
#include <gtest/gtest.h>

#include "support/fixtures.h"
#include "core/project/element_codes.h"
#include "core/project/row_rules.h"
#include "core/params/language_entries.h"

using namespace tablix;

namespace {

RowCodes Rows(std::initializer_list<int> codes)
{
    RowCodes rows{};
    size_t i = 0;
    for (int c : codes)
        rows[i++] = std::uint8_t(c);
    return rows;
}

LowerMarks Marks(std::initializer_list<int> marks)
{
    LowerMarks m{};
    size_t i = 0;
    for (int v : marks)
        m[i++] = std::uint8_t(v);
    return m;
}

RowCodes Filled(int code)
{
    RowCodes rows;
    rows.fill(std::uint8_t(code));
    return rows;
}

} // namespace

TEST(ElementCodes, TableRowsAndKindsAtTheBoundaries)
{
    struct Case {
        int code, heightRow, priceRow;
        bool panel, closing;
    };
    const Case cases[] = {
        {-1, -1, -1, false, false}, {0, -1, -1, false, false}, {1, 3, 3, true, false},
        {8, 10, 10, true, false},   {9, -1, 11, false, true},  {10, 3, 3, true, false},
        {17, 10, 10, true, false},  {18, -1, 11, false, true}, {19, -1, -1, false, false},
        {20, 13, 13, true, false},  {21, 13, 13, true, false}, {22, -1, -1, false, false},
        {30, -1, -1, false, false}, {45, -1, -1, false, false}, {255, -1, -1, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(ElementTableRow(c.code), c.heightRow);
        EXPECT_EQ(PriceTableRow(c.code), c.priceRow);
        EXPECT_EQ(IsPanel(c.code), c.panel);
        EXPECT_EQ(IsClosing(c.code), c.closing);
    }
}

TEST(ElementCodes, EveryDescribedCodeBelongsToOneFamilyAndHasItsCounterpart)
{
    for (int code = -1; code <= 256; ++code) {
        SCOPED_TRACE(code);
        EXPECT_FALSE(IsFamilyA(code) && IsFamilyB(code));
        EXPECT_EQ(ElementWordEntry(code) >= 0, IsFamilyA(code) || IsFamilyB(code));
        const int other = OtherFamily(code);
        EXPECT_EQ(OtherFamily(other), code);
        // The same element in the other family: same kind, same height, same word.
        EXPECT_EQ(IsPanel(other), IsPanel(code));
        EXPECT_EQ(IsClosing(other), IsClosing(code));
        EXPECT_EQ(ElementTableRow(other), ElementTableRow(code));
        EXPECT_EQ(ElementWordEntry(other), ElementWordEntry(code));
        if (IsPanel(code) || IsClosing(code))
            EXPECT_EQ(IsFamilyA(other), IsFamilyB(code));
        else
            EXPECT_EQ(other, code); // 0, 19 and the special profiles stay
    }
    EXPECT_EQ(OtherFamily(9), 18);
    EXPECT_EQ(OtherFamily(20), 21);
    const std::pair<int, int> words[] = {{1, 46}, {8, 53}, {9, 45}, {10, 46}, {17, 53}, {18, 45}, {19, -1},
                                         {20, 233}, {21, 233}, {30, 211}, {35, 216}, {36, -1}, {40, 211},
                                         {45, 216}, {46, -1}};
    for (const auto &[code, entry] : words)
        EXPECT_EQ(ElementWordEntry(code), entry) << code;
}

TEST(ElementCodes, OnlyAClosedFrameOfTypeOneOrTwoAddsAFrameAllowance)
{
    for (int n = 0; n <= 5; ++n) {
        const Layout layout = Layout(n);
        EXPECT_EQ(OtherFamilyLayout(OtherFamilyLayout(layout)), layout);
        EXPECT_EQ(LayoutFamilyWordEntry(OtherFamilyLayout(layout)) != LayoutFamilyWordEntry(layout), n >= 1 && n <= 4);
        for (int type = 0; type <= 6; ++type) {
            const bool closed = n == 1 || n == 3;
            const long double expected = closed && type == 1 ? 1.5L : closed && type == 2 ? 2.5L : 0.0L;
            EXPECT_EQ(FrameAllowanceCm(layout, SignType(type)), expected) << n << " " << type;
            EXPECT_EQ(ClosingElementsAllowed(layout, SignType(type)), !closed && type != 3) << n << " " << type;
        }
    }
}

TEST(RowRules, QuestionsReadAsTheNoticeShowsThem)
{
    const LanguageTable language = fixtures::SampleLanguage();
    EXPECT_EQ(QuestionText(language, {}, QStringLiteral("x")), QString());
    EXPECT_EQ(QuestionText(language, {80, 0}, QStringLiteral("x")), QStringLiteral("E80"));
    EXPECT_EQ(QuestionText(language, {78, 5}, QStringLiteral("Panel Alu")), QStringLiteral("E78 Panel Alu 5 E79"));
    EXPECT_EQ(QuestionText(language, {200, 12}, QString()), QStringLiteral("E20012"));
}

TEST(RowRules, ChoosingAnElementAfterEmptyRowsFillsThemOnlyWhenAgreed)
{
    RowChange c = EditRowChange(Rows({}), 5, 1);
    EXPECT_EQ(c.question, (RowQuestion{78, 5})); // the gap of four and the row itself
    EXPECT_EQ(c.agreed, Rows({1, 1, 1, 1, 1}));
    EXPECT_EQ(c.refused, Rows({}));

    c = EditRowChange(Rows({2}), kMaxRows, 10);
    EXPECT_EQ(c.question, (RowQuestion{78, 59}));
    RowCodes expected = Filled(10);
    expected[0] = 2;
    EXPECT_EQ(c.agreed, expected);

    // Row 1, the row after the block and a row inside it ask nothing.
    for (const auto &[rows, row, after] : {std::tuple{Rows({}), 1, Rows({7})},
                                           std::tuple{Rows({1, 1}), 3, Rows({1, 1, 7})},
                                           std::tuple{Rows({1, 1, 1}), 2, Rows({1, 7, 1})}}) {
        c = EditRowChange(rows, row, 7);
        EXPECT_FALSE(c.question) << row;
        EXPECT_EQ(c.agreed, after) << row;
    }
}

TEST(RowRules, RemovingARowWithRowsBelowEmptiesThemAllOnlyWhenAgreed)
{
    const RowCodes block = Rows({1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    RowChange c = EditRowChange(block, 3, 0);
    EXPECT_EQ(c.question, (RowQuestion{80, 0}));
    EXPECT_EQ(c.agreed, Rows({1, 1}));
    EXPECT_EQ(c.refused, block);

    c = EditRowChange(block, 10, 0); // the last row of the block
    EXPECT_FALSE(c.question);
    EXPECT_EQ(c.agreed, Rows({1, 1, 1, 1, 1, 1, 1, 1, 1}));

    // A full sign: the last row goes alone, the one before it asks.
    EXPECT_FALSE(EditRowChange(Filled(1), kMaxRows, 0).question);
    c = EditRowChange(Filled(1), kMaxRows - 1, 0);
    EXPECT_EQ(c.question.entry, text::kEmptyRowsNotice);
    RowCodes expected = Filled(1);
    expected[58] = expected[59] = 0;
    EXPECT_EQ(c.agreed, expected);

    // Rows past a gap go too: every row from the removed one down.
    EXPECT_EQ(EditRowChange(Rows({1, 1, 0, 1}), 1, 0).agreed, Rows({}));
    EXPECT_FALSE(EditRowChange(Rows({1, 1}), 5, 0).question); // an empty row stays empty
}

TEST(RowRules, RowsOutsideTheSignChangeNothing)
{
    const RowCodes rows = Rows({1, 2});
    for (int row : {-1, 0, kMaxRows + 1}) {
        for (std::uint8_t chosen : {0, 5}) {
            const RowChange c = EditRowChange(rows, row, chosen);
            EXPECT_FALSE(c.question);
            EXPECT_EQ(c.agreed, rows);
        }
        EXPECT_EQ(ClosingElementChange(rows, Rows({}), row).agreed, rows);
    }
    EXPECT_FALSE(ClosingElementChange(Filled(9), Rows({}), kMaxRows).question); // no row after row 60
}

TEST(RowRules, AClosingElementFollowedByRowsMovesToTheEndOfTheBlockOrTheEditIsUndone)
{
    const RowCodes undo = Rows({1, 2, 3});
    RowChange c = ClosingElementChange(Rows({1, 9, 2, 3, 0, 4}), undo, 2);
    EXPECT_EQ(c.question, (RowQuestion{200, 2}));
    EXPECT_EQ(c.agreed, Rows({1, 2, 3, 9, 0, 4})); // rows after the block stay
    EXPECT_EQ(c.refused, undo);

    // Family B, and a block that fills the sign: the element goes to row 60.
    RowCodes full = Filled(10);
    full[0] = 18;
    c = ClosingElementChange(full, undo, 1);
    EXPECT_EQ(c.question, (RowQuestion{200, 1}));
    RowCodes expected = Filled(10);
    expected[59] = 18;
    EXPECT_EQ(c.agreed, expected);

    // At the end of the block, on other rows, or with nothing after it: nothing to ask.
    for (int row : {1, 3, 4}) {
        c = ClosingElementChange(Rows({1, 2, 9}), undo, row);
        EXPECT_FALSE(c.question) << row;
        EXPECT_EQ(c.agreed, Rows({1, 2, 9})) << row;
    }
}

TEST(RowRules, SwitchingTheFamilyTwiceRestoresEveryCode)
{
    RowCodes rows{};
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = std::uint8_t(i < 46 ? i : 255 - i);
    const RowCodes once = SwitchedFamily(rows);
    EXPECT_EQ(SwitchedFamily(once), rows);
    EXPECT_EQ(SwitchedFamily(Rows({1, 8, 9, 20, 19, 30, 45, 10, 18, 21})),
              Rows({10, 17, 18, 21, 19, 30, 45, 1, 9, 20}));
}

TEST(RowRules, RowMarksStayOnlyOnRowsWithStrips)
{
    EXPECT_EQ(KeptRowMarks(Filled(1), Rows({1, 9, 19, 21, 30, 17})), Rows({1, 0, 0, 1, 0, 1}));
    EXPECT_EQ(KeptRowMarks(Rows({0, 1}), Rows({1, 1})), Rows({0, 1}));
}

TEST(RowRules, LowerMarksRunFromRowOneToTheHighestAndStopBeforeARowWithoutStrips)
{
    const RowCodes panels = Filled(1);
    EXPECT_EQ(KeptLowerMarks(Marks({}), panels), Marks({}));
    EXPECT_EQ(KeptLowerMarks(Marks({0, 0, 1}), panels), Marks({1, 1, 1}));
    EXPECT_EQ(KeptLowerMarks(Marks({0, 0, 0, 0, 0, 0, 0, 0, 0, 1}), panels), Marks({1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
    // A row without strips ends the marks: posts are priced and drawn below one block.
    EXPECT_EQ(KeptLowerMarks(Marks({0, 0, 0, 0, 0, 1}), Rows({1, 1, 1, 19, 1, 20, 1})), Marks({1, 1, 1}));
    EXPECT_EQ(KeptLowerMarks(Marks({1, 1}), Rows({9, 10})), Marks({}));
    // Marks beyond the rows left after an edit go.
    EXPECT_EQ(KeptLowerMarks(Marks({1, 1, 1, 1, 1}), Rows({1, 1, 1})), Marks({1, 1, 1}));
}

TEST(RowRules, ClearingALowerMarkClearsThoseBelowIt)
{
    const RowCodes rows = Rows({1, 1, 1, 1, 1, 1, 19});
    EXPECT_EQ(ClickedLowerMarks(Marks({}), rows, 3, true), Marks({1, 1, 1}));
    EXPECT_EQ(ClickedLowerMarks(Marks({1, 1, 1}), rows, 7, true), Marks({1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(ClickedLowerMarks(Marks({1, 1, 1, 1, 1, 1}), rows, 2, false), Marks({1}));
    EXPECT_EQ(ClickedLowerMarks(Marks({1, 1, 1, 1, 1, 1}), rows, 6, false), Marks({1, 1, 1, 1, 1}));
    EXPECT_EQ(ClickedLowerMarks(Marks({1, 1}), rows, 1, false), Marks({}));
    for (int outside : {0, kLowerMarks + 1})
        EXPECT_EQ(ClickedLowerMarks(Marks({0, 1}), rows, outside, false), Marks({1, 1}));
}
