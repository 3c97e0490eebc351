// Drawing the sign from its geometry records: rows, posts, frames and the bars of the lower marks.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "support/fixtures.h"
#include "core/engine/compute_sign.h"
#include "core/project/row_rules.h"
#include "core/render/sign_drawing.h"
#include "core/project/app_state.h"

using namespace tablix;

namespace {

const QRgb kBackground = qRgb(0, 0, 255); // never drawn
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kYellow = qRgb(255, 255, 0);
const QRgb kYellowStrip = qRgb(198, 200, 0);
const QRgb kGrey = qRgb(128, 128, 128);
const QRgb kGreyStrip = qRgb(100, 100, 100);
const QRgb kSilver = qRgb(192, 192, 192);

struct RenderTest : ::testing::Test {
    fixtures::ComputedState state;
    QImage image{600, 400, QImage::Format_RGB32};

    void SetUp() override
    {
        fixtures::Prepare(state);
        fixtures::StepElementRows(state.parameters); // elementRows[k].heightMm = 10 * (k + 1)
        state.RefreshParameters();
        image.fill(kBackground);
    }
    GeometryRecord &rec(int n, long double x1, long double y1, long double x2, long double y2, int colourClass)
    {
        GeometryRecord &r = state.results.record(n);
        r.x1.set(x1), r.y1.set(y1), r.x2.set(x2), r.y2.set(y2);
        r.colourClass = ColourClass(colourClass);
        return r;
    }
    static void strip(GeometryRecord &r, int k, long double first, long double second)
    {
        r.strips[2 * (k - 1)].set(first);
        r.strips[2 * (k - 1) + 1].set(second);
    }
    QRgb px(int x, int y) const { return image.pixel(x, y); }
    void render(long double scale, int ox, int oy, int marks = 10)
    {
        image.fill(kBackground);
        QPainter p(&image);
        RenderSign(p, state, state.results, scale, ox, oy, marks);
    }
    // Seven grey rows of 10 cm between yellow posts; bars 3 cm wide (4 cm for sign type 2).
    void postsSign()
    {
        for (int i = 1; i <= 7; ++i)
            rec(i, 1, 10 * (i - 1), 89, 10 * i, 2);
        rec(61, 0, 0, 1, 70, 1);
        rec(62, 89, 0, 90, 70, 1);
    }
};

} // namespace

TEST_F(RenderTest, RowsAndStripsTakeTheirClassColoursAtScaledPlaces)
{
    strip(rec(1, 0, 0, 100, 10, 1), 1, 2, 4);
    strip(rec(2, 0, 10, 100, 20, 2), 1, 12, 15);
    strip(rec(3, 0, 20, 100, 30, 3), 1, 22, 25);
    rec(5, 0, 40, 100, 50, 1); // behind the empty record 4: not drawn
    render(2, 10, 20);
    EXPECT_EQ(px(100, 22), kYellow);
    EXPECT_EQ(px(100, 26), kYellowStrip);
    EXPECT_EQ(px(100, 42), kGrey);
    EXPECT_EQ(px(100, 47), kGreyStrip);
    EXPECT_EQ(px(100, 62), kSilver);
    EXPECT_EQ(px(100, 66), kSilver);
    EXPECT_EQ(px(100, 110), kBackground);
    // Like a device context: the rectangle covers x1..x2-1 and y1..y2-1, outline included.
    EXPECT_EQ(px(10, 30), kBlack);
    EXPECT_EQ(px(209, 30), kBlack);
    EXPECT_EQ(px(210, 30), kBackground);
    EXPECT_EQ(px(9, 30), kBackground);
    EXPECT_EQ(px(100, 20), kBlack);
    EXPECT_EQ(px(100, 79), kBlack);
    EXPECT_EQ(px(100, 80), kBackground);
}

TEST_F(RenderTest, StripsNeedTheirSecondEdgeAndUnknownClassesKeepTheLastFill)
{
    GeometryRecord &r = rec(1, 0, 5, 100, 40, 1);
    strip(r, 1, 20, 0); // absent
    strip(r, 2, 0, 8);  // from the picture's y = 0 edge, above the row
    rec(2, 0, 40, 100, 50, 7);
    render(2, 0, 0);
    EXPECT_EQ(px(100, 30), kYellow);
    EXPECT_EQ(px(100, 4), kYellowStrip);
    EXPECT_EQ(px(100, 90), kYellowStrip); // row 2 takes row 1's strip fill, set last
}

TEST_F(RenderTest, CoordinatesRoundHalfToEvenBeforeTheOriginIsAdded)
{
    rec(1, 0.5, 0, 10.5, 20, 1); // 0 .. 10
    rec(2, 0, 20, 11.5, 40, 2);  // 0 .. 12
    render(1, 0, 0);
    EXPECT_EQ(px(9, 10), kBlack);
    EXPECT_EQ(px(10, 10), kBackground);
    EXPECT_EQ(px(11, 30), kBlack);
    EXPECT_EQ(px(12, 30), kBackground);

    rec(1, 0, 0, 2.5, 20, 1);
    rec(2, 0, 0, 0, 0, 0);
    render(1, 1, 0); // 1 + Round(2.5) = 3, not Round(3.5) = 4
    EXPECT_EQ(px(2, 10), kBlack);
    EXPECT_EQ(px(3, 10), kBackground);

    rec(1, 0, 0, 100, 10, 1);
    render(1e30L, 0, 0); // clamped, not wrapped round
    EXPECT_EQ(px(300, 200), kYellow);
}

TEST_F(RenderTest, AuxDimensionGivesEvenlySpacedBars)
{
    postsSign();
    state.currentSignRecord.auxDimension.set(2.5L); // ties to even: two bars
    render(2, 0, 0);
    // Centres at 2 * 90 / 3 = 60 and 120, half width 2 * 30 * 0.05 = 3, from y1 to y2 of record 61.
    EXPECT_EQ(px(60, 70), kYellow);
    EXPECT_EQ(px(120, 70), kYellow);
    EXPECT_EQ(px(90, 70), kGrey);
    EXPECT_EQ(px(57, 70), kBlack);
    EXPECT_EQ(px(62, 70), kBlack);
    EXPECT_EQ(px(64, 70), kGrey);
    EXPECT_EQ(px(60, 5), kYellow);
    EXPECT_EQ(px(60, 139), kBlack);

    state.currentSignRecord.signType = SignType::WideFrame; // wider bars: 60 +- 4
    render(2, 0, 0);
    EXPECT_EQ(px(62, 70), kYellow);
    EXPECT_EQ(px(63, 70), kBlack);

    for (long double aux : {0.0L, -3.0L, 0.4L, 256.2L /* count held in a byte */}) {
        state.currentSignRecord.auxDimension.set(aux);
        render(2, 0, 0);
        for (int x = 3; x <= 176; ++x)
            ASSERT_EQ(px(x, 70), kGrey) << double(aux) << " x=" << x;
    }
}

TEST_F(RenderTest, BarsStartBelowTheHighestConsideredLowerMark)
{
    postsSign();
    state.currentSignRecord.auxDimension.set(1); // one bar at x = 90
    state.workingLowerMarks[2] = 1;              // row 3
    state.workingLowerMarks[6] = 1;              // row 7, the bottom of the stack
    render(2, 0, 0, 10);
    EXPECT_EQ(px(90, 90), kGrey);
    render(2, 0, 0, 6);
    EXPECT_EQ(px(90, 50), kGrey);   // row 3
    EXPECT_EQ(px(90, 90), kYellow); // row 5
}

// The user ticks lower mark 6 below an other infill in row 4: the post is priced for the length
// that is drawn.
TEST_F(RenderTest, PostsArePricedForTheLengthTheyAreDrawn)
{
    SignRecord &sign = state.currentSignRecord;
    BlankSignRecord(sign);
    sign.layout = Layout::SidePostsA; // yellow posts over grey rows
    sign.signType = SignType::NarrowFrame;
    sign.width.set(50);
    sign.quantity.set(1);
    sign.priceLevel.set(100);
    sign.auxDimension.set(1);
    sign.infillHeight.set(7);
    const RowCodes rows = {10, 10, 10, 19, 10, 10, 10}; // 5 cm each, the infill 7 cm
    std::copy(rows.begin(), rows.end(), sign.rowElements);
    const LowerMarks marks = ClickedLowerMarks(LowerMarks{}, rows, 6, true);
    std::copy(marks.begin(), marks.end(), sign.lowerMarks);
    state.LoadWorkingState();
    fixtures::Compute(state);

    const QString spec = state.results.SpecificationText;
    const qsizetype at = spec.indexOf(QStringLiteral("E103 1E114 "));
    ASSERT_GE(at, 0) << spec.toStdString();
    const long double cut = spec.mid(at + 11, spec.indexOf(QStringLiteral("E115"), at) - at - 11).toDouble();

    const long double scale = 4;
    render(scale, 0, 0);
    const int x = int(scale * (state.results.record(1).x1.get() + state.results.record(1).x2.get()) / 2);
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y)
        drawn += px(x, y) == kYellow;
    // The bar's fill lies inside a one-pixel outline.
    EXPECT_NEAR(drawn + 2, double(scale * cut), 1) << "priced " << double(cut) << " cm";
}

TEST_F(RenderTest, ClosedFrameIsMitredAndAFrameWithoutBottomClassIsTwoPosts)
{
    rec(1, 5, 5, 95, 55, 1);
    rec(61, 0, 0, 5, 60, 2);
    rec(62, 95, 0, 100, 60, 2);
    rec(63, 0, 0, 100, 5, 2);
    rec(64, 0, 55, 100, 60, 2);
    render(4, 0, 0);
    EXPECT_EQ(px(200, 120), kYellow);
    for (auto [x, y] : {std::pair{200, 8}, {8, 120}, {200, 232}, {392, 120}, {13, 7}, {7, 13}})
        EXPECT_EQ(px(x, y), kGrey) << x << "," << y;
    for (auto [x, y] : {std::pair{10, 10}, {390, 10}, {10, 230}, {390, 230}})
        EXPECT_EQ(px(x, y), kBlack) << "mitre at " << x << "," << y;

    state.results.record(64).colourClass = ColourClass::None;
    render(4, 0, 0);
    EXPECT_EQ(px(200, 8), kBackground);  // no top bar
    EXPECT_EQ(px(8, 232), kGrey);        // record 61 as a rectangle reaches the bottom
    EXPECT_EQ(px(10, 10), kGrey);        // no mitre line
    EXPECT_EQ(px(390, 230), kGrey);
}

TEST_F(RenderTest, SignPageScaleAndCentring)
{
    state.currentSignRecord.width.set(200);
    state.results.geometryHeight.set(100);
    // Twice as wide as high in a square: the width limits, margins 2.5 % of the drawn width.
    SignPageLayout l = SignPageLayoutFor(QSize(420, 420), state, state.results);
    ASSERT_TRUE(l.draw);
    EXPECT_DOUBLE_EQ(double(l.scale), 2.0);
    EXPECT_EQ(l.originX, 10);
    EXPECT_EQ(l.originY, 110);
    l = SignPageLayoutFor(QSize(1000, 210), state, state.results);
    EXPECT_DOUBLE_EQ(double(l.scale), 2.0);
    EXPECT_EQ(l.originX, 300);
    EXPECT_EQ(l.originY, 5);

    state.results.geometryHeight.set(0);
    EXPECT_FALSE(SignPageLayoutFor(QSize(420, 420), state, state.results).draw);
    state.results.geometryHeight.set(100);
    state.currentSignRecord.width.set(-5);
    EXPECT_FALSE(SignPageLayoutFor(QSize(420, 420), state, state.results).draw);
}

TEST_F(RenderTest, SignPageIsLeftAloneWhenEmptyAndOtherwiseClearedAndDrawn)
{
    state.workingRows.fill(0);
    QPainter p(&image);
    DrawSignPage(p, QSize(600, 400), state);
    EXPECT_EQ(px(0, 0), kBackground);

    state.currentSignRecord = fixtures::SignWith(3, QStringLiteral("A"));
    state.LoadWorkingState();
    DrawSignPage(p, QSize(600, 400), state);
    p.end();
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_EQ(px(0, 0), white);
    EXPECT_EQ(px(599, 399), white);
    if (SignPageLayoutFor(QSize(600, 400), state, state.results).draw)
        EXPECT_NE(px(300, 200), white);
}
