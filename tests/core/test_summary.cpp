#include <gtest/gtest.h>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <clocale>

#include "support/fixtures.h"
#include "core/render/report_lines.h"
#include "core/render/summary.h"
#include "core/project/app_state.h"
#include "core/params/language_entries.h"

using namespace tablix;

namespace {

struct SummaryTest : ::testing::Test {
    fixtures::ComputedState state;

    void SetUp() override
    {
        fixtures::Prepare(state);
        auto &e = state.language.entries;
        e[text::kCurrency] = QStringLiteral("m2");
        e[text::kCostTotalWithSurcharge] = QStringLiteral("Area");
        e[text::kOrderTotalWithSurcharge] = QStringLiteral("Order area");
        e[text::kSummaryAreaLabel] = QStringLiteral("Sign area");
        e[text::kSummaryPiecesLabel] = QStringLiteral("Pieces");
        e[text::kSummaryTotalLabel] = QStringLiteral("Total");
    }
    SummaryBlock block(long double quantity, const QString &text = QStringLiteral(
                                                 "Frame\t 10.00m2\rArea\t 2.50m2\rOrder area\t 7.50m2\r"))
    {
        state.currentSignRecord.setTitle(QStringLiteral("!Shop"));
        state.currentSignRecord.quantity.set(quantity);
        state.ViewText = text;
        SplitViewText(state);
        return BuildSummaryBlock(state);
    }
    // Signs in slots 1, 3 and 7, the third current; no report line matches, whatever the engine writes.
    void threeSigns()
    {
        state.language.entries[text::kCostTotalWithSurcharge].clear();
        state.language.entries[text::kOrderTotalWithSurcharge].clear();
        state.slot(1) = fixtures::SignWith(3, QStringLiteral("!One"));
        state.slot(3) = fixtures::SignWith(4, QStringLiteral("Two"));
        state.slot(7) = fixtures::SignWith(5, QStringLiteral("Three"));
        state.SelectSign(3);
        state.currentSignRecord.setTitle(QStringLiteral("Two edited")); // read as it stands
        state.workingRows = {9, 9, 9};
        state.workingLowerMarks[4] = 1;
    }
    void expectRestored(const AppState &before)
    {
        EXPECT_EQ(state.currentSign, 3);
        EXPECT_EQ(state.currentSignRecord, before.currentSignRecord);
        EXPECT_EQ(state.SignSlots, before.SignSlots); // the walks read the current sign, never store it
        EXPECT_EQ(state.workingRows, before.workingRows);
        EXPECT_EQ(state.workingLowerMarks, before.workingLowerMarks);
    }
};

} // namespace

TEST(SummaryValues, ValueTextAndNumber)
{
    const QString m2 = QStringLiteral("m2");
    EXPECT_EQ(ReportValueText(QStringLiteral("Area\t   2.50m2"), m2), QStringLiteral("2.50"));
    EXPECT_EQ(ReportValueText(QStringLiteral("A\tb\t 3 m2 m2"), m2), QStringLiteral("b\t 3 "));
    EXPECT_EQ(ReportValueText(QStringLiteral("Area\t 2.50"), m2), QStringLiteral("2.50"));
    EXPECT_EQ(ReportValueText(QStringLiteral("Area\t 2.50m2"), QString()), QStringLiteral("2.50m2"));
    EXPECT_EQ(ReportValueText(QStringLiteral("Area 2.50m2"), m2), QString());
    EXPECT_FALSE(LineBeginsWith(QStringLiteral("Area\t 1"), QString()));

    EXPECT_EQ(ReportValueNumber(QStringLiteral(" 1234.75 ")), 1234.75L);
    EXPECT_EQ(ReportValueNumber(QStringLiteral("+3")), 3.0L);
    for (const char *bad : {"", "abc", "2,50", "2.5x", "nan", "inf"})
        EXPECT_EQ(ReportValueNumber(QString::fromLatin1(bad)), 0.0L) << bad;
}

TEST_F(SummaryTest, SinglePieceShowsItsAreaAndAddsIt)
{
    const SummaryBlock b = block(1);
    EXPECT_EQ(b.title, QStringLiteral("Shop"));
    ASSERT_EQ(b.texts.size(), 1u);
    EXPECT_EQ(b.texts[0].row, 0);
    EXPECT_EQ(b.texts[0].text, QStringLiteral("Sign area = 2.50 m2"));
    EXPECT_EQ(b.additions, std::vector<long double>{2.5L});
    EXPECT_FALSE(b.piecesShown);
    EXPECT_EQ(SummaryTotalLine(state, 2.5L), QStringLiteral("Total = 2.50 m2"));
}

TEST_F(SummaryTest, SeveralPiecesShowCountAndTotalAndAddOnlyTheTotal)
{
    const SummaryBlock b = block(3);
    ASSERT_EQ(b.texts.size(), 3u);
    EXPECT_EQ(b.texts[1].row, 1);
    EXPECT_EQ(b.texts[1].text, QStringLiteral("Pieces 3"));
    EXPECT_EQ(b.texts[2].row, 2);
    EXPECT_EQ(b.texts[2].text, QStringLiteral("Total = 7.50 m2"));
    EXPECT_EQ(b.additions, std::vector<long double>{7.5L});
    EXPECT_TRUE(b.piecesShown);
}

TEST_F(SummaryTest, SpecialProfilesNoteFollowsThePriceTexts)
{
    state.language.entries[text::kSpecialProfilesNotPriced] = QStringLiteral("Not priced");
    SummaryBlock b = block(3, QStringLiteral("Not priced\rArea\t 2.50m2\rOrder area\t 7.50m2\r"));
    ASSERT_EQ(b.texts.size(), 4u);
    EXPECT_EQ(b.texts[3].row, 3);
    EXPECT_EQ(b.texts[3].text, QStringLiteral("Not priced"));
    EXPECT_EQ(b.rows(), 4);
    b = block(1, QStringLiteral("Not priced\rArea\t 2.50m2\r"));
    ASSERT_EQ(b.texts.size(), 2u);
    EXPECT_EQ(b.texts[1].row, 1);
    EXPECT_EQ(b.additions, std::vector<long double>{2.5L});
}

TEST_F(SummaryTest, ASignThatOverflowsIsNamedOnceAndTheOthersAreShown)
{
    fixtures::EnsureGuiApplication();
    threeSigns();
    state.slot(7).width.set(1e38L); // its area overflows the stored format
    const QString overflow = QString::fromLatin1(FloatingPointOverflow().what());
    QStringList texts;
    ASSERT_NO_THROW(texts = SummaryTexts(state));
    EXPECT_EQ(texts, (QStringList{QStringLiteral("One"), QStringLiteral("Two edited"), QStringLiteral("Three"), overflow,
                                  QStringLiteral("Total = 0.00 m2")}));

    std::optional<SummaryExtent> extent;
    ASSERT_NO_THROW(extent = MeasureSummary(state, [](const QString &t) { return 7 * int(t.size()); }, 11));
    EXPECT_EQ(extent->width, kSummaryTextX + 7 * int(overflow.size()) + 16);
    QImage image(600, 400, QImage::Format_RGB32);
    QPainter p(&image);
    EXPECT_NO_THROW(DrawSummary(p, image.size(), state, 11));
}

TEST_F(SummaryTest, WhatAddsNothing)
{
    SummaryBlock b = block(0); // area shown, not counted
    EXPECT_EQ(b.texts.size(), 1u);
    EXPECT_TRUE(b.additions.empty());
    b = block(1, QStringLiteral("Frame\t 1m2\r") + QChar(0) + QStringLiteral("Area\t 2.50m2\r"));
    EXPECT_TRUE(b.texts.empty()); // past the end of the report
    b = block(1, QStringLiteral("Area\t  12.3x m2\r"));
    EXPECT_EQ(b.texts[0].text, QStringLiteral("Sign area = 12.3x  m2")); // written unchanged
    EXPECT_EQ(b.additions, std::vector<long double>{0.0L});
}

TEST_F(SummaryTest, BlockPlacementFollowsTheDrawingOrTheThreeTextRows)
{
    state.currentSignRecord.width.set(100);
    state.results.geometryHeight.set(50);
    state.results.record(62).y2.set(50);
    SummaryBlockPlace p = PlaceSummaryBlock(state, state.results, 10, 11, 1);
    EXPECT_DOUBLE_EQ(double(p.scale), 2.0); // the width limits: 200 / 100
    EXPECT_EQ(p.y0, 32);
    EXPECT_EQ(p.nextCursorY, 32 + 100 + 5);

    // Flat with several text rows: 10 + 5 < 1.4h a row, so the block takes Round(1.4h) a row.
    state.currentSignRecord.width.set(200);
    state.results.geometryHeight.set(10);
    state.results.record(62).y2.set(10);
    EXPECT_EQ(PlaceSummaryBlock(state, state.results, 0, 11, 3).nextCursorY, 22 + 46);
    EXPECT_EQ(PlaceSummaryBlock(state, state.results, 0, 11, 4).nextCursorY, 22 + 62);
    EXPECT_EQ(PlaceSummaryBlock(state, state.results, 0, 11, 1).nextCursorY, 22 + 15);

    state.results.geometryHeight.set(0);
    p = PlaceSummaryBlock(state, state.results, 0, 11, 1);
    EXPECT_FALSE(p.drawable);
    EXPECT_EQ(p.nextCursorY, 27);
}

TEST_F(SummaryTest, TextsWalkTheSignsInSlotOrderAndChangeNothing)
{
    threeSigns();
    const AppState before = state;
    EXPECT_EQ(SummaryTexts(state), (QStringList{QStringLiteral("One"), QStringLiteral("Two edited"),
                                                QStringLiteral("Three"), QStringLiteral("Total = 0.00 m2")}));
    expectRestored(before);

    state.slot(1).rowElements[0] = 0;
    EXPECT_FALSE(MeasureSummary(state, [](const QString &) { return 0; }, 11).has_value());
}

TEST_F(SummaryTest, DrawingEndsWhereMeasuringSaid)
{
    fixtures::EnsureGuiApplication();
    threeSigns();
    const AppState before = state;
    const int h = 11;
    const auto extent = MeasureSummary(state, [](const QString &t) { return 7 * int(t.size()); }, h);
    ASSERT_TRUE(extent.has_value());
    EXPECT_EQ(extent->width, 16); // no area texts: only the room of the vertical bar
    expectRestored(before);

    QImage image(400, 1200, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 255));
    QPainter p(&image);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(h);
    p.setFont(font);
    const SummaryPass pass = DrawSummary(p, QSize(400, 1200), state, h);
    p.end();
    EXPECT_EQ(extent->height, pass.cursorY + 15 + 10 + 16);
    EXPECT_EQ(state.ReportLines[2], QStringLiteral("Three")); // the last title stored
    expectRestored(before);

    EXPECT_EQ(image.pixel(399, 1199), qRgb(255, 255, 255));
    int ink = 0; // the total line at Round(1.4h + cursor)
    for (int y = pass.cursorY + 15; y < pass.cursorY + 15 + h; ++y)
        for (int x = 5; x < 100; ++x)
            ink += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(ink, 10);
}
