#include <gtest/gtest.h>

#include <algorithm>

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include "core/export/hpgl.h"
#include "support/export_geometry.h"

using namespace tablix;

namespace {

QStringList Lines(const QByteArray &file)
{
    QStringList lines = QString::fromLatin1(file).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.takeLast(), QString()) << "the last line ends with CR LF";
    return lines;
}

QByteArray Plot(const fixtures::ComputedState &s)
{
    const auto file = WritePlotterFile(s, s.results);
    EXPECT_TRUE(file.has_value());
    return file.value_or(QByteArray());
}

// The lines between the rows and the frame: the stripe section.
QStringList StripeSection(const fixtures::ComputedState &s, int rowLines)
{
    QStringList lines = Lines(Plot(s));
    const int frameLines = 1 + 4 * 5;
    return lines.mid(2 + rowLines, lines.size() - 2 - rowLines - frameLines);
}

} // namespace

TEST(HpglFile, WritesRowsAndPostsExactly)
{
    fixtures::ComputedState s;
    export_geometry::PostSign(s);
    // Row 2 has no colour class: it gets no pen line and is cut with pen 1 of row 1.
    const QByteArray expected = "IN;\r\nLT;\r\n"
                                "SP1;\r\n"
                                "PU400 -400;\r\nPD4400 -400;\r\nPD4400 -1200;\r\nPD400 -1200;\r\nPD400 -400;\r\n"
                                "PU400 -1200;\r\nPD4400 -1200;\r\nPD4400 -2000;\r\nPD400 -2000;\r\nPD400 -1200;\r\n"
                                "SP2;\r\n"
                                "PU0 0;\r\nPD400 0;\r\nPD400 -2400;\r\nPD0 -2400;\r\nPD0 0;\r\n"
                                "PU4400 0;\r\nPD4800 0;\r\nPD4800 -2400;\r\nPD4400 -2400;\r\nPD4400 0;\r\n";
    EXPECT_EQ(Plot(s), expected);
}

TEST(HpglFile, MitresTheFourBarsOfAClosedFrame)
{
    fixtures::ComputedState s;
    export_geometry::FramedSign(s);
    s.exportScale.set(25); // 100.002 units per cm
    const QStringList lines = Lines(Plot(s));
    ASSERT_EQ(lines.size(), 2 + 2 * 6 + 1 + 4 * 5);
    EXPECT_EQ(lines.mid(14).join(QLatin1Char('|')),
              QStringLiteral("SP1;|"
                             "PU0 0;|PD100 -100;|PD100 -900;|PD0 -1000;|PD0 0;|"
                             "PU1900 -100;|PD2000 0;|PD2000 -1000;|PD1900 -900;|PD1900 -100;|"
                             "PU0 0;|PD2000 0;|PD1900 -100;|PD100 -100;|PD0 0;|"
                             "PU100 -900;|PD1900 -900;|PD2000 -1000;|PD0 -1000;|PD100 -900;"));
}

TEST(HpglFile, ScaleMultipliesEveryCoordinateAndRepeatsExactly)
{
    fixtures::ComputedState s;
    export_geometry::PostSign(s);
    export_geometry::Set(s, 1, 10, 10, 11, 11, 1);
    EXPECT_EQ(Lines(Plot(s))[3], QStringLiteral("PU4000 -4000;"));

    s.exportScale.set(50);
    const QByteArray first = Plot(s);
    EXPECT_EQ(Lines(first)[3], QStringLiteral("PU2000 -2000;"));
    EXPECT_EQ(Plot(s), first);
}

TEST(HpglFile, ValuesThatRoundToZeroAreWrittenWithoutSign)
{
    fixtures::ComputedState s;
    export_geometry::PostSign(s);
    export_geometry::Set(s, 1, 0.0001L, 0.0001L, 11, 3, 1); // -0.04 plotter units
    EXPECT_EQ(Lines(Plot(s))[3], QStringLiteral("PU0 0;"));
}

TEST(HpglFile, StripesFollowTheUnroundedAuxDimensionAndTheLowestMarkedRow)
{
    fixtures::ComputedState s;
    export_geometry::FramedSign(s);
    s.exportScale.set(25);
    s.currentSignRecord.signType = SignType::NarrowFrame;
    export_geometry::Set(s, 1, 2, 2, 36, 5, 1); // span 34: spacing 34 / 3.4 = 10
    s.currentSignRecord.auxDimension.set(2.4L);
    s.currentSignRecord.lowerMarks[0] = 1;
    s.currentSignRecord.lowerMarks[1] = 1;
    // Type 1: offset 1.5, width 0.1 x 30 mm; they start below row 2 (y 8) and end at the left bar's foot.
    EXPECT_EQ(StripeSection(s, 12).join(QLatin1Char('|')),
              QStringLiteral("SP1;|"
                             "PU1350 -800;|PD1650 -800;|PD1650 -1000;|PD1350 -1000;|PD1350 -800;|"
                             "PU2350 -800;|PD2650 -800;|PD2650 -1000;|PD2350 -1000;|PD2350 -800;"));

    // Type 2: offset 2.5, width 0.1 x 40 mm; no lower mark: they start at the left bar's top.
    s.currentSignRecord.signType = SignType::WideFrame;
    std::fill(std::begin(s.currentSignRecord.lowerMarks), std::end(s.currentSignRecord.lowerMarks), 0);
    const QStringList type2 = StripeSection(s, 12);
    ASSERT_EQ(type2.size(), 11);
    EXPECT_EQ(type2[1], QStringLiteral("PU1450 0;"));
    EXPECT_EQ(type2[2], QStringLiteral("PD1850 0;"));

    s.currentSignRecord.auxDimension.set(2.5L); // ties to even: still two
    EXPECT_EQ(StripeSection(s, 12).size(), 11);
    s.currentSignRecord.auxDimension.set(3.5L);
    EXPECT_EQ(StripeSection(s, 12).size(), 21);
}

TEST(HpglFile, NoStripeSectionWithoutAuxDimensionOrForOtherSignTypes)
{
    fixtures::ComputedState s;
    export_geometry::FramedSign(s);
    s.currentSignRecord.auxDimension.set(0);
    EXPECT_TRUE(StripeSection(s, 12).isEmpty());
    s.currentSignRecord.auxDimension.set(-2);
    EXPECT_TRUE(StripeSection(s, 12).isEmpty());
    s.currentSignRecord.auxDimension.set(2);
    s.currentSignRecord.signType = SignType::ClosingProfile;
    EXPECT_TRUE(StripeSection(s, 12).isEmpty());
}

TEST(HpglFile, SignWithoutRowsKeepsStripesAndFrame)
{
    fixtures::ComputedState s;
    export_geometry::FramedSign(s);
    s.results.record(1) = GeometryRecord{};
    s.currentSignRecord.auxDimension.set(1);
    const QStringList lines = Lines(Plot(s));
    ASSERT_EQ(lines.size(), 2 + 6 + 21);
    EXPECT_EQ(lines[2], QStringLiteral("SP1;"));
    EXPECT_EQ(lines[3], QStringLiteral("PU600 0;")); // record 1 spans nothing: offset 1.5 alone
}

TEST(HpglFile, NothingForASignWithoutPositiveSize)
{
    fixtures::ComputedState s;
    export_geometry::PostSign(s);
    s.currentSignRecord.width.set(0);
    EXPECT_FALSE(WritePlotterFile(s, s.results).has_value());
    export_geometry::PostSign(s);
    s.results.geometryHeight.set(-1);
    EXPECT_FALSE(WritePlotterFile(s, s.results).has_value());
}

TEST(HpglFile, RowListStopsAtTheFirstEmptyRecordAndAfterSixty)
{
    fixtures::ComputedState s;
    export_geometry::PostSign(s);
    export_geometry::Set(s, 3, 5, 5, 5, 6, 1); // x1 = x2
    export_geometry::Set(s, 4, 1, 6, 11, 7, 1);
    EXPECT_EQ(Lines(Plot(s)).size(), 2 + 6 + 5 + 1 + 10);
    for (int i = 1; i <= 60; ++i)
        export_geometry::Set(s, i, 1, i, 11, i + 1, 3);
    EXPECT_EQ(Lines(Plot(s)).size(), 2 + 60 * 6 + 1 + 10);
}

TEST(PlotterExportNames, ExtensionIsAddedOnlyWhenTheFileNameHasNone)
{
    EXPECT_EQ(ExportFileName(QStringLiteral("/tmp/sign"), false), QStringLiteral("/tmp/sign.plt"));
    EXPECT_EQ(ExportFileName(QStringLiteral("/tmp/sign"), true), QStringLiteral("/tmp/sign.wmf"));
    EXPECT_EQ(ExportFileName(QStringLiteral("/tmp/sign.emf"), false), QStringLiteral("/tmp/sign.emf"));
    EXPECT_EQ(ExportFileName(QStringLiteral("/tmp/v1.2/sign"), false), QStringLiteral("/tmp/v1.2/sign.plt"));
}

TEST(PlotterExportNames, ProposalReplacesPointsAndDropsTheHandSetMark)
{
    EXPECT_EQ(ProposedExportName(QStringLiteral("1200.00x120.00")), QStringLiteral("1200,00x120,00"));
    EXPECT_EQ(ProposedExportName(QStringLiteral("!Shop 2.0")), QStringLiteral("Shop 2,0"));
    EXPECT_EQ(ProposedExportName(QString()), QString());
}

TEST(PlotterCheck, Hp2xxReadsTheFile)
{
    const QString hp2xx = QStandardPaths::findExecutable(QStringLiteral("hp2xx"));
    if (hp2xx.isEmpty())
        GTEST_SKIP() << "hp2xx is not installed";
    fixtures::ComputedState s;
    export_geometry::FramedSign(s);
    s.currentSignRecord.auxDimension.set(2);
    QTemporaryDir dir;
    const QString plt = dir.filePath(QStringLiteral("sign.plt"));
    fixtures::WriteBytes(plt, Plot(s));
    QProcess run;
    run.start(hp2xx, {QStringLiteral("-q"), QStringLiteral("-m"), QStringLiteral("png"), QStringLiteral("-f"),
                      dir.filePath(QStringLiteral("sign.png")), plt});
    ASSERT_TRUE(run.waitForFinished(30000));
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    EXPECT_GT(QFileInfo(dir.filePath(QStringLiteral("sign.png"))).size(), 0);
}
