#include <gtest/gtest.h>

#include "core/render/report_lines.h"
#include "core/project/app_state.h"

using namespace tablix;

namespace {

struct ReportLinesTest : ::testing::Test {
    AppState state;
    int split(const QString &text)
    {
        state.ViewText = text;
        SplitViewText(state);
        return ReportLineCount(state);
    }
    const QString &line(int n) const { return state.ReportLines[size_t(n - 1)]; }
};

} // namespace

TEST_F(ReportLinesTest, CarriageReturnEndsALineAndLineFeedStaysInIt)
{
    ASSERT_EQ(split(QStringLiteral("Frame\t 12.00\r\nPosts\r\r\tvalue\r")), 4);
    EXPECT_EQ(line(1), QStringLiteral("Frame\t 12.00"));
    EXPECT_EQ(line(2), QStringLiteral("\nPosts"));
    EXPECT_EQ(line(3), QString()); // an ordinary empty line, not the end
    EXPECT_EQ(line(4), QStringLiteral("\tvalue"));
    EXPECT_TRUE(IsUnusedLine(line(5)));
    EXPECT_TRUE(IsUnusedLine(line(500)));
}

TEST_F(ReportLinesTest, SplittingStopsAtNulAtTheEndAndAfter500Lines)
{
    ASSERT_EQ(split(QStringLiteral("one\rtwo") + QChar(0) + QStringLiteral("three\r")), 2);
    EXPECT_EQ(line(2), QStringLiteral("two"));
    EXPECT_EQ(split(QString(QChar(0)) + QStringLiteral("hidden\r")), 0);
    ASSERT_EQ(split(QStringLiteral("last without return")), 1); // also clears the old lines
    EXPECT_EQ(line(1), QStringLiteral("last without return"));

    QString text;
    for (int i = 1; i <= 501; ++i)
        text += QString::number(i) + QLatin1Char('\r');
    EXPECT_EQ(split(text), 500);
    EXPECT_EQ(line(500), QStringLiteral("500"));
}

TEST(ReportLines, UnusedMarkerAndColumns)
{
    EXPECT_TRUE(IsUnusedLine(UnusedReportLine()));
    EXPECT_FALSE(IsUnusedLine(QString()));
    EXPECT_FALSE(IsUnusedLine(QString(QChar(0)) + QLatin1Char('a')));

    ReportColumns c = SplitReportColumns(QStringLiteral("Area\t 2.50\tm2"));
    EXPECT_TRUE(c.hasValue);
    EXPECT_EQ(c.label, QStringLiteral("Area"));
    EXPECT_EQ(c.value, QStringLiteral(" 2.50\tm2"));
    c = SplitReportColumns(QStringLiteral("Heading only"));
    EXPECT_FALSE(c.hasValue);
    EXPECT_EQ(c.label, QStringLiteral("Heading only"));
}
