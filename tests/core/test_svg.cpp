// The true-size SVG drawing, read back by Qt's renderer and by rsvg-convert.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QtSvg/QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "core/export/svg.h"
#include "core/params/language_entries.h"
#include "core/export/true_size.h"
#include "core/render/sign_drawing.h"
#include "support/boards.h"
#include "support/export_geometry.h"
#include "support/readers.h"

using namespace tablix;

namespace {

// The ids of the top-level groups and how many shapes each holds.
std::vector<std::pair<QString, int>> Groups(const QByteArray &svg)
{
    std::vector<std::pair<QString, int>> groups;
    QXmlStreamReader xml(svg);
    int depth = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++depth;
            if (depth == 2 && xml.name() == QLatin1String("g"))
                groups.emplace_back(xml.attributes().value(QLatin1String("id")).toString(), 0);
            else if (depth > 2 && !groups.empty() && (xml.name() == QLatin1String("polygon") || xml.name() == QLatin1String("path")))
                ++groups.back().second;
        } else if (xml.isEndElement()) {
            --depth;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return groups;
}

QString Attribute(const QByteArray &svg, const char *name)
{
    QXmlStreamReader xml(svg);
    while (xml.readNextStartElement())
        return xml.attributes().value(QLatin1String(name)).toString();
    return {};
}

// Pixels of different colour away from the page's one-pixel outlines, which a true-size drawing
// draws a tenth of a millimetre wide.
int Differing(const QImage &page, const QImage &drawing)
{
    auto nearOutline = [&](int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (page.valid(x + dx, y + dy) && (page.pixel(x + dx, y + dy) & 0xFFFFFF) == 0)
                    return true;
        return false;
    };
    int n = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb p = page.pixel(x, y), q = drawing.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q)) > 60
                && !nearOutline(x, y))
                ++n;
        }
    return n;
}

} // namespace

TEST(SvgDrawing, MillimetresViewBoxAndOneGroupPerElementClass)
{
    fixtures::ComputedState s;
    export_geometry::FramedSign(s);
    auto svg = WriteSvg(s, s.results);
    ASSERT_TRUE(svg);
    EXPECT_EQ(Attribute(*svg, "width"), QStringLiteral("200mm"));
    EXPECT_EQ(Attribute(*svg, "height"), QStringLiteral("100mm"));
    EXPECT_EQ(Attribute(*svg, "viewBox"), QStringLiteral("0 0 200 100"));
    const std::vector<std::pair<QString, int>> framed{{"rows", 2}, {"strips", 0}, {"posts", 0}, {"frame", 4}};
    EXPECT_EQ(Groups(*svg), framed);

    QSvgRenderer renderer(*svg);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBoxF(), QRectF(0, 0, 200, 100));
    EXPECT_TRUE(renderer.elementExists(QStringLiteral("frame")));
    EXPECT_NEAR(renderer.boundsOnElement(QStringLiteral("rows")).width(), 160, 0.2);

    // Half the scale, half the millimetres; posts and the title come through.
    export_geometry::PostSign(s);
    s.currentSignRecord.setTitle(QStringLiteral("A & <B>"));
    s.exportScale.set(50);
    svg = WriteSvg(s, s.results);
    ASSERT_TRUE(svg);
    EXPECT_EQ(Attribute(*svg, "width"), QStringLiteral("60mm"));
    const std::vector<std::pair<QString, int>> posts{{"rows", 2}, {"strips", 0}, {"posts", 2}, {"frame", 0}};
    EXPECT_EQ(Groups(*svg), posts);
    EXPECT_TRUE(svg->contains("<title>A &amp; &lt;B&gt;</title>"));

    // The description is the language's, its scale written as the language writes decimals.
    s.language.entries[text::kSvgDescription] = QStringLiteral("Tablica %1 w skali %2 % <mm>");
    s.language.entries[text::kDecimalSeparator] = QStringLiteral(",");
    s.exportScale.set(12.5);
    svg = WriteSvg(s, s.results);
    ASSERT_TRUE(svg);
    EXPECT_TRUE(svg->contains("<desc>Tablica " TABLIX_VERSION " w skali 12,5 % &lt;mm&gt;</desc>")) << svg->constData();
}

TEST(SvgDrawing, NothingForAnEmptySignAndARefusalBeyondAKilometre)
{
    fixtures::ComputedState s;
    export_geometry::FramedSign(s);
    s.exportScale.set(1e9);
    EXPECT_THROW(WriteSvg(s, s.results), DrawingTooLarge);
    s.exportScale.set(100);
    s.currentSignRecord.width.set(0);
    EXPECT_FALSE(WriteSvg(s, s.results));
}

// Qt's renderer draws the file where the page draws the sign, with the page's colours.
TEST(SvgDrawing, QtRendersThePictureOfThePage)
{
    fixtures::EnsureGuiApplication();
    fixtures::ComputedState s;
    boards::ShopBoard(s);
    const auto svg = WriteSvg(s, s.results);
    ASSERT_TRUE(svg);

    const QSize client(640, 300);
    QImage page(client, QImage::Format_RGB32), drawing(client, QImage::Format_RGB32);
    {
        QPainter p(&page);
        DrawSignPage(p, client, s);
    }
    drawing.fill(Qt::white);
    const SignPageLayout layout = SignPageLayoutFor(client, s, s.results);
    QSvgRenderer renderer(*svg);
    EXPECT_EQ(renderer.viewBoxF(), QRectF(0, 0, 1500, 600));
    {
        QPainter p(&drawing);
        renderer.render(&p, QRectF(layout.originX, layout.originY, double(layout.scale * 150),
                                double(layout.scale * s.results.geometryHeight.get())));
    }
    EXPECT_LT(Differing(page, drawing), client.width() * client.height() / 100);
}

TEST(SvgDrawing, RsvgConvertMeasuresTheBoardInMillimetres)
{
    fixtures::ComputedState s;
    boards::ShopBoard(s);
    const auto svg = WriteSvg(s, s.results);
    ASSERT_TRUE(svg);
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("board.png"));
    // 25.4 dots per inch: one pixel per millimetre.
    const auto run = readers::Start(QStringLiteral("rsvg-convert"),
                                    {QStringLiteral("--dpi-x=25.4"), QStringLiteral("--dpi-y=25.4"), QStringLiteral("-o"), png},
                                    *svg);
    if (!run)
        GTEST_SKIP() << "rsvg-convert (librsvg2-bin) is not installed";
    ASSERT_EQ(run->exitCode, 0) << run->err.toStdString();
    const QImage image(png);
    EXPECT_EQ(image.size(), QSize(1500, 600));
    // The middle of the second panel is yellow, as on the page.
    const GeometryRecord &row = s.results.record(2);
    const QRgb middle = image.pixel(750, int((row.y1.get() + row.y2.get()) * 5));
    EXPECT_EQ(qRgb(qRed(middle), qGreen(middle), qBlue(middle)), RowFillColour(row.colourClass)->rgb());
}
