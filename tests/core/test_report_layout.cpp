// The report page's layout: line positions, columns and page breaks.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <vector>

#include "core/engine/compute_sign.h"
#include "support/fixtures.h"
#include "core/render/report_layout.h"
#include "core/render/report_lines.h"
#include "core/number/number_format.h"
#include "core/number/real48.h"
#include "core/project/app_state.h"

using namespace tablix;

namespace {

struct Written {
    int x;
    int y;
    QString text;
};

// Seven pixels a character, as a fixed-pitch font would measure.
int FakeWidth(const QString &text)
{
    return 7 * int(text.size());
}

int Round(long double v)
{
    return int(RoundEven(v));
}

struct ReportLayoutTest : ::testing::Test {
    fixtures::ComputedState state;
    ReportLayout layout;
    std::vector<Written> written;
    QImage image{800, 600, QImage::Format_RGB32};
    const int f = 11;

    ReportTextWriter recorder()
    {
        return [this](int x, int y, const QString &text) { written.push_back({x, y, text}); };
    }

    void SetUp() override
    {
        fixtures::EnsureGuiApplication();
        fixtures::Prepare(state);
        SignRecord &sign = state.currentSignRecord;
        BlankSignRecord(sign);
        sign.layout = Layout::SidePostsA;
        sign.signType = SignType::NarrowFrame;
        sign.width.set(120);
        sign.quantity.set(1);
        sign.priceLevel.set(100);
        sign.rowElements[0] = 1;
        sign.rowElements[1] = 3;
        sign.rowElements[2] = 5;
        sign.setTitle(QStringLiteral("!Shop"));
        state.LoadWorkingState();
        state.reportShowsDrawing = false;
    }

    void text(const QString &viewText)
    {
        state.ViewText = viewText;
        SplitViewText(state);
    }

    void drawScreen()
    {
        QPainter painter(&image);
        DrawReportPicture(painter, state, layout, f, 710, image.size(), recorder());
        DrawReportText(painter, state, layout, f, recorder());
    }

    ReportPrintPage printPage(int ox, int oy, long double ratio, int pf, int *pages = nullptr)
    {
        ReportPrintPage page;
        page.ox = ox;
        page.oy = oy;
        page.ratio = ratio;
        page.f = pf;
        page.clientWidth = 710;
        page.newPage = [pages] {
            if (pages)
                ++*pages;
            return true;
        };
        return page;
    }
};

} // namespace

TEST_F(ReportLayoutTest, ScreenColumnsAndLinePositionsWithoutDrawing)
{
    text(QStringLiteral("Frame\t 10.00\rNote without tab\r\rLonger label\tx\r"));
    ASSERT_TRUE(MeasureReport(state, layout, FakeWidth, f, 710));
    EXPECT_EQ(layout.reportTabColumn, 7 * 12 + 5 + 15); // widest label
    drawScreen();

    const int top = 2 * f + 5;
    EXPECT_EQ(layout.reportTextTop, top);
    ASSERT_EQ(written.size(), 7u);
    EXPECT_EQ(written[0].text, QStringLiteral("Shop")); // "!" dropped on the page
    EXPECT_EQ(written[0].x, 5);
    EXPECT_EQ(written[0].y, 1);
    EXPECT_EQ(written[1].y, top + Round(1.4L * f)); // 2f + 5 + Round(1.4f)
    EXPECT_EQ(written[1].x, 5);
    EXPECT_EQ(written[2].x, layout.reportTabColumn);
    EXPECT_EQ(written[2].text, QStringLiteral(" 10.00"));
    EXPECT_EQ(written[3].x, 5); // one column
    EXPECT_EQ(written[3].text, QStringLiteral("Note without tab"));
    EXPECT_EQ(written[4].text, QString()); // blank line, the report goes on
    for (int a = 1; a <= 4; ++a)
        EXPECT_EQ(written[size_t(a == 1 ? 1 : a + 1)].y, Round(1.4L * a * f + top)) << a;
}

TEST_F(ReportLayoutTest, MeasuredSizeWithoutDrawing)
{
    state.currentSignRecord.setTitle(QStringLiteral("!A long sign title"));
    text(QStringLiteral("Ab\t1\rOne column only, quite long\r"));
    ASSERT_TRUE(MeasureReport(state, layout, FakeWidth, f, 710));
    EXPECT_EQ(layout.reportTabColumn, 7 * 2 + 5 + 15);
    EXPECT_EQ(layout.reportWidth, 7 * 27 + 5); // the one-column line beats the title and "!" counts
    EXPECT_EQ(layout.reportHeight, Round(1.4L * 2 * f + 2 * f + 5) + 2 * f);

    text(QStringLiteral("x\r"));
    ASSERT_TRUE(MeasureReport(state, layout, FakeWidth, f, 710));
    EXPECT_EQ(layout.reportWidth, 7 * 18 + 5); // the title, "!" included
    EXPECT_EQ(layout.reportTabColumn, 15);     // no two-column line
}

TEST_F(ReportLayoutTest, DrawingPushesTheTextDownAndWidensThePage)
{
    state.reportShowsDrawing = true;
    text(QStringLiteral("a\tb\r"));
    ASSERT_TRUE(MeasureReport(state, layout, FakeWidth, f, 710));
    fixtures::Compute(state);
    const long double scale = ReportDrawingScale(state, state.results, 710);
    ASSERT_GT(scale, 0);
    const long double expected = std::min(710 / (1.05L * 120), 200 / state.results.geometryHeight.get());
    EXPECT_DOUBLE_EQ(double(scale), double(expected));
    const int bottom = Round(scale * state.results.record(62).y2.get());
    EXPECT_EQ(layout.reportWidth, Round(scale * state.results.record(62).x2.get()) + 5);
    EXPECT_EQ(layout.reportHeight, Round(1.4L * f + 2 * f + 5 + bottom) + 2 * f);

    image.fill(Qt::black);
    drawScreen();
    EXPECT_EQ(layout.reportTextTop, 2 * f + bottom + 5);
    EXPECT_EQ(written.back().y, Round(1.4L * f + layout.reportTextTop));
    EXPECT_NE(image.pixel(10, 2 * f + bottom / 2), qRgb(255, 255, 255)); // the sign is drawn
    EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), qRgb(255, 255, 255));
}

TEST_F(ReportLayoutTest, SignWithoutRowsShowsItsLinesWithoutDrawing)
{
    // The report of a sign without rows is readable: its own columns, no drawing, on screen and paper.
    state.reportShowsDrawing = true;
    text(QStringLiteral("No rows\t0.00\r"));
    state.workingRows[0] = 0;
    layout.reportWidth = 333;
    EXPECT_FALSE(MeasureReport(state, layout, FakeWidth, f, 710));
    EXPECT_EQ(layout.reportTabColumn, 7 * 7 + 5 + 15);
    EXPECT_EQ(layout.reportWidth, layout.reportTabColumn + 7 * 4);
    EXPECT_EQ(layout.reportHeight, Round(1.4L * f + 2 * f + 5) + 2 * f);
    image.fill(Qt::black);
    drawScreen();
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(10, 2 * f + 2), qRgb(255, 255, 255)); // no drawing
    ASSERT_EQ(written.size(), 3u);
    EXPECT_EQ(written[1].y, Round(1.4L * f + 2 * f + 5));
    EXPECT_EQ(written[2].x, layout.reportTabColumn);

    written.clear();
    state.printerPageHeight = 1000;
    int pages = 0;
    QPainter painter(&image);
    PrintReportPicture(painter, state, layout, printPage(0, 0, 1, f, &pages), recorder());
    EXPECT_TRUE(PrintReportText(painter, state, layout, printPage(0, 0, 1, f, &pages), recorder()));
    EXPECT_EQ(written.size(), 3u);
    EXPECT_EQ(pages, 0);

    // No lines at all: the height is the title's, however often it is measured.
    text(QString());
    MeasureReport(state, layout, FakeWidth, f, 710);
    const int height = layout.reportHeight;
    MeasureReport(state, layout, FakeWidth, f, 710);
    EXPECT_EQ(layout.reportHeight, height);
    EXPECT_EQ(height, 2 * f + 5 + 2 * f);
}

TEST_F(ReportLayoutTest, MoreThanFiveHundredLinesShowTheFirstFiveHundred)
{
    QString many;
    for (int a = 1; a <= 520; ++a)
        many += QStringLiteral("line %1\r").arg(a);
    text(many);
    ASSERT_TRUE(MeasureReport(state, layout, FakeWidth, f, 710));
    EXPECT_EQ(layout.reportHeight, Round(1.4L * 500 * f + 2 * f + 5) + 2 * f);
    drawScreen();
    ASSERT_EQ(written.size(), 501u);
    EXPECT_EQ(written.back().text, QStringLiteral("line 500"));
}

TEST_F(ReportLayoutTest, PrintoutStartsBelowTheTitleAndBreaksPagesAtTheOffset)
{
    QString lines;
    for (int a = 1; a <= 30; ++a)
        lines += QStringLiteral("L%1\tv%1\r").arg(a);
    text(lines);
    ASSERT_TRUE(MeasureReport(state, layout, FakeWidth, f, 710));
    const long double ratio = PrintRatio(600, 96);
    const int pf = PrinterFontHeight(f, ratio);
    EXPECT_EQ(pf, Round(11 * 6.25L));
    const int ox = 30, oy = 40;
    state.printerPageHeight = 1500;

    int pages = 0;
    QPainter painter(&image);
    const ReportPrintPage page = printPage(ox, oy, ratio, pf, &pages);
    PrintReportPicture(painter, state, layout, page, recorder());
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].x, ox + 5);
    EXPECT_EQ(written[0].y, oy + 1);
    const int top = 2 * pf + oy + 1 + Round(5 * ratio);
    EXPECT_EQ(layout.reportTextTop, top);

    ASSERT_TRUE(PrintReportText(painter, state, layout, page, recorder()));
    ASSERT_EQ(written.size(), 61u);
    EXPECT_EQ(written[1].x, ox + 5);
    EXPECT_EQ(written[1].y, Round(1.4L * pf + top));
    EXPECT_EQ(written[2].x, Round(ratio * layout.reportTabColumn)); // value column, no offset

    // Lines fit while the line and one font height stay within the page.
    int firstOnPage2 = 0;
    while (Round(1.4L * (firstOnPage2 + 1) * pf + top + pf) <= state.printerPageHeight)
        ++firstOnPage2;
    const Written &broken = written[size_t(1 + 2 * firstOnPage2)];
    EXPECT_EQ(broken.text, QStringLiteral("L%1").arg(firstOnPage2 + 1));
    EXPECT_EQ(broken.y, oy + 1);
    EXPECT_EQ(written[size_t(3 + 2 * firstOnPage2)].y, oy + 1 + Round(1.4L * pf));
    const int perLaterPage = [&] {
        int d = 0;
        while (Round(1.4L * d * pf + oy + 1 + pf) <= state.printerPageHeight)
            ++d;
        return d;
    }();
    const int rest = 30 - firstOnPage2;
    EXPECT_EQ(pages, (rest + perLaterPage - 1) / perLaterPage);
}

TEST_F(ReportLayoutTest, PrintedDrawingAndRefusedNewPage)
{
    state.reportShowsDrawing = true;
    QString lines;
    for (int a = 1; a <= 30; ++a)
        lines += QStringLiteral("L%1\r").arg(a);
    text(lines);
    ASSERT_TRUE(MeasureReport(state, layout, FakeWidth, f, 710));
    fixtures::Compute(state);
    const long double ratio = PrintRatio(300, 96);
    const int pf = PrinterFontHeight(f, ratio);
    QImage printed(3000, 3000, QImage::Format_RGB32);
    printed.fill(Qt::white);
    QPainter painter(&printed);
    ReportPrintPage page = printPage(0, 0, ratio, pf);
    PrintReportPicture(painter, state, layout, page, recorder());
    const long double scale = ReportDrawingScale(state, state.results, 710) * ratio;
    EXPECT_EQ(layout.reportTextTop,
              2 * pf + Round(scale * state.results.record(62).y2.get()) + Round(5 * ratio));
    EXPECT_NE(printed.pixel(40, 2 * pf + 5), qRgb(255, 255, 255));

    state.printerPageHeight = 1000;
    int calls = 0;
    page.newPage = [&calls] {
        ++calls;
        return false;
    };
    EXPECT_FALSE(PrintReportText(painter, state, layout, page, recorder()));
    EXPECT_EQ(calls, 1);
    EXPECT_LT(written.size(), 31u); // stopped at the refused page
}

TEST_F(ReportLayoutTest, PageBottomBreaksThePrintoutAboveTheFooter)
{
    QString lines;
    for (int a = 1; a <= 30; ++a)
        lines += QStringLiteral("L%1\r").arg(a);
    text(lines);
    MeasureReport(state, layout, FakeWidth, f, 710);
    const auto linesOnFirstPage = [&](int printerPageHeight, int pageBottom) {
        state.printerPageHeight = printerPageHeight;
        written.clear();
        int pages = 0;
        QPainter painter(&image);
        ReportPrintPage page = printPage(0, 0, 1, f, &pages);
        page.pageBottom = pageBottom;
        page.newPage = [&] {
            ++pages;
            return false;
        };
        PrintReportPicture(painter, state, layout, page, recorder());
        PrintReportText(painter, state, layout, page, recorder());
        return int(written.size()) - 1;
    };
    const int byPage = linesOnFirstPage(300, 0);
    EXPECT_LT(byPage, 30);
    EXPECT_EQ(linesOnFirstPage(5000, 300), byPage);
    EXPECT_EQ(linesOnFirstPage(5000, 0), 30);
}

TEST(ReportPrintRatio, RoundedToTheStoredFormatAndSafeForBadResolutions)
{
    EXPECT_EQ(PrintRatio(600, 96), 6.25L);
    EXPECT_EQ(PrintRatio(300, 72), RoundToReal48(300.0L / 72));
    EXPECT_EQ(PrintRatio(0, 0), 1.0L);
    EXPECT_EQ(PrinterFontHeight(11, 0), 1);
}
