#include <gtest/gtest.h>

#include <algorithm>

#include "support/emf_reader.h"
#include "core/export/emf.h"
#include "support/export_geometry.h"

using namespace tablix;

namespace {

constexpr QRgb kYellow = 0xFFFF00, kGrey = 0x808080, kSilver = 0xC0C0C0;

emf_reader::Metafile Draw(const fixtures::ComputedState &s, QSize window)
{
    const auto bytes = WriteMetafile(s, s.results, window);
    EXPECT_TRUE(bytes.has_value());
    const emf_reader::Metafile m = emf_reader::Read(bytes.value_or(QByteArray()));
    EXPECT_EQ(m.error, QString());
    return m;
}

int Width(const emf_reader::Shape &shape)
{
    return shape.points[1].x() - shape.points[0].x();
}

} // namespace

// The post sign at 100 % in a window of 4724 x 2362 units: s x 12 cm = 4724.4 and s x 6 = 2362.2,
// so both offsets round to 0 and a point lands at round(393.7 x cm).
TEST(EmfFile, RowsAndPostsAreScaledRectanglesWithTheirFill)
{
    fixtures::ComputedState s;
    export_geometry::PostSign(s);
    const auto m = Draw(s, QSize(4724, 2362));
    EXPECT_EQ(m.handles, 4u); // reserved slot, pen, yellow and grey brushes
    EXPECT_EQ(m.devicePixels[0] * 254, m.deviceMillimetres[0] * 10000) << "1000 units per inch";
    ASSERT_EQ(m.shapes.size(), 4u);
    EXPECT_EQ(m.shapes[0].points, (std::vector<QPoint>{{394, 394}, {4331, 1181}}));
    EXPECT_EQ(m.shapes[0].fill, kYellow);
    // Row 2 has no colour class and keeps row 1's fill.
    EXPECT_EQ(m.shapes[1].points, (std::vector<QPoint>{{394, 1181}, {4331, 1969}}));
    EXPECT_EQ(m.shapes[1].fill, kYellow);
    EXPECT_EQ(m.shapes[2].points, (std::vector<QPoint>{{0, 0}, {394, 2362}}));
    EXPECT_EQ(m.shapes[3].points, (std::vector<QPoint>{{4331, 0}, {4724, 2362}}));
    EXPECT_EQ(m.shapes[3].fill, kGrey);
}

TEST(EmfFile, ScaleIsHalvedAtFiftyPercentAndTheSignIsCentredInTheWindow)
{
    fixtures::ComputedState s;
    export_geometry::PostSign(s);
    export_geometry::Set(s, 1, 0, 0, 10, 1, 3);
    const auto full = Draw(s, QSize(1000, 800));
    EXPECT_EQ(Width(full.shapes[0]), 3937);
    EXPECT_EQ(full.shapes[0].fill, kSilver);
    // ox = round((1000 - 4724.4) / 2), oy = round((800 - 2362.2) / 2)
    EXPECT_EQ(full.shapes[0].points[0], QPoint(-1862, -781));

    s.exportScale.set(50);
    const auto half = Draw(s, QSize(1000, 800));
    EXPECT_EQ(Width(half.shapes[0]), 1969); // 1968.5039
    EXPECT_EQ(half.shapes[0].points[0], QPoint(-681, -191));
}

TEST(EmfFile, StripesAreCentredAtEqualPartsOfTheFirstRow)
{
    fixtures::ComputedState s;
    export_geometry::FramedSign(s);
    export_geometry::Set(s, 1, 0, 2, 20, 5, 1);
    s.currentSignRecord.signType = SignType::NarrowFrame;
    s.currentSignRecord.auxDimension.set(3);
    s.currentSignRecord.lowerMarks[0] = 1;
    const QSize window(7874, 3937); // offsets 0 for 20 x 10 cm
    const auto m = Draw(s, window);
    ASSERT_EQ(m.shapes.size(), 2u + 3u + 4u);
    const double s100 = 393.7007874015748;
    for (int o = 1; o <= 3; ++o) {
        const auto &stripe = m.shapes[size_t(1 + o)];
        EXPECT_FALSE(stripe.polygon);
        const QPoint a = stripe.points[0], b = stripe.points[1];
        EXPECT_NEAR((a.x() + b.x()) / 2.0, s100 * 20 * o / 4, 1.0);
        EXPECT_NEAR(b.x() - a.x(), 1181, 1); // 0.1 x 30 mm at 393.7 per cm, edges rounded apart
        EXPECT_EQ(a.y(), 1969);         // below marked row 1
        EXPECT_EQ(b.y(), 3937);         // foot of the left bar
        EXPECT_EQ(stripe.fill, kYellow);
    }

    s.currentSignRecord.signType = SignType::WideFrame; // 0.1 x 40 mm
    const auto wide = Draw(s, window);
    EXPECT_NEAR(Width(wide.shapes[2]), 1575, 1);

    s.currentSignRecord.auxDimension.set(0);
    EXPECT_EQ(Draw(s, window).shapes.size(), 2u + 4u);
}

TEST(EmfFile, ClosedFrameIsFourMitredQuadrilaterals)
{
    fixtures::ComputedState s;
    export_geometry::FramedSign(s);
    const auto m = Draw(s, QSize(7874, 3937));
    ASSERT_EQ(m.shapes.size(), 6u);
    const int u = 394, w = 7874, h = 3937, w1 = 7480, h1 = 3543; // 1, 20, 10, 19 and 9 cm
    using P = std::vector<QPoint>;
    EXPECT_EQ(m.shapes[2].points, (P{{0, 0}, {u, u}, {u, h1}, {0, h}}));
    EXPECT_EQ(m.shapes[3].points, (P{{w1, u}, {w, 0}, {w, h}, {w1, h1}}));
    EXPECT_EQ(m.shapes[4].points, (P{{0, 0}, {w, 0}, {w1, u}, {u, u}}));
    EXPECT_EQ(m.shapes[5].points, (P{{u, h1}, {w1, h1}, {w, h}, {0, h}}));
    for (size_t i = 2; i < 6; ++i) {
        EXPECT_TRUE(m.shapes[i].polygon);
        EXPECT_EQ(m.shapes[i].fill, kYellow);
    }
}

TEST(EmfFile, FrameHoldsTheSignWithMarginAtRealSize)
{
    fixtures::ComputedState s;
    export_geometry::FramedSign(s);
    const auto m = Draw(s, QSize(640, 480));
    // Bounds: the drawn extent in units; frame: hundredths of a millimetre at 2.54 per unit.
    EXPECT_EQ(m.bounds[2] - m.bounds[0], 7874);
    EXPECT_EQ(m.bounds[3] - m.bounds[1], 3937);
    EXPECT_NEAR(m.frame[2] - m.frame[0], 21000, 3); // 20 cm x 1.05
    EXPECT_NEAR(m.frame[3] - m.frame[1], 10500, 3);
    EXPECT_LE(m.frame[0], m.bounds[0] * 2.54);
    EXPECT_LE(m.frame[1], m.bounds[1] * 2.54);
    EXPECT_GE(m.frame[2], m.bounds[2] * 2.54);
    EXPECT_GE(m.frame[3], m.bounds[3] * 2.54);

    // A row wider than the sign still lies inside the frame.
    export_geometry::Set(s, 1, 2, 2, 30, 5, 1);
    const auto wide = Draw(s, QSize(640, 480));
    EXPECT_GE(wide.frame[2], wide.bounds[2] * 2.54);
    EXPECT_GT(wide.bounds[2] - wide.bounds[0], 7874);
}

TEST(EmfFile, NoFileWithoutRowsOrPositiveSize)
{
    fixtures::ComputedState s;
    export_geometry::PostSign(s);
    s.workingRows[0] = 0;
    EXPECT_FALSE(WriteMetafile(s, s.results, QSize(800, 600)).has_value());
    EXPECT_FALSE(MetafileFile(s, QSize(800, 600)).has_value());

    export_geometry::PostSign(s);
    s.results.geometryHeight.set(0);
    EXPECT_FALSE(WriteMetafile(s, s.results, QSize(800, 600)).has_value());
    export_geometry::PostSign(s);
    s.currentSignRecord.width.set(-5);
    EXPECT_FALSE(WriteMetafile(s, s.results, QSize(800, 600)).has_value());
}

// Coordinates are exact as long as the format's 32 bits hold them, and refused beyond: never
// clamped, never wrapped.
TEST(EmfFile, HugeScalesAreExactOrRefused)
{
    fixtures::ComputedState s;
    export_geometry::PostSign(s);
    s.exportScale.set(15000000); // 12 cm become 708 661 417 units; the frame still fits
    const auto m = Draw(s, QSize(800, 600));
    const long double unit = 15000000 * 10 * 0.3937007874015748L;
    EXPECT_NEAR(Width(m.shapes[0]), double(unit * 10), 1);
    EXPECT_NEAR(m.bounds[2] - m.bounds[0], double(unit * 12), 1);
    EXPECT_GT(m.frame[2], m.frame[0]);

    s.exportScale.set(40000000);
    EXPECT_THROW(WriteMetafile(s, s.results, QSize(800, 600)), MetafileTooLarge);
    s.exportScale.set(100);
    EXPECT_THROW(WriteMetafile(s, s.results, QSize(2000000000, 600)), MetafileTooLarge);
    try {
        s.exportScale.set(1e30L);
        WriteMetafile(s, s.results, QSize(800, 600));
        ADD_FAILURE() << "no error";
    } catch (const MetafileTooLarge &e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(QLatin1String("The metafile cannot hold this drawing"))) << e.what();
    }
}
