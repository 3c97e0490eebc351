// The DXF drawing, read back by ezdxf: its auditor, units, layers and extents.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "core/export/dxf.h"
#include "support/boards.h"
#include "support/export_geometry.h"
#include "support/readers.h"

using namespace tablix;

namespace {

// What ezdxf makes of the file, as JSON.
const char *const kReadBack = R"(
import ezdxf, json, sys
from ezdxf import bbox
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
msp = doc.modelspace()
box = bbox.extents(msp)
layers = {}
for e in msp:
    entry = layers.setdefault(e.dxf.layer, {"count": 0, "closed": 0, "vertices": 0})
    entry["count"] += 1
    if e.dxftype() == "POLYLINE":
        entry["closed"] += int(e.is_closed)
        entry["vertices"] += len(e.vertices)
print(json.dumps({
    "errors": [str(x.message) for x in auditor.errors],
    "units": doc.units,
    "extmin": list(doc.header["$EXTMIN"])[:2], "extmax": list(doc.header["$EXTMAX"])[:2],
    "box": [box.extmin.x, box.extmin.y, box.extmax.x, box.extmax.y],
    "colours": {l.dxf.name: l.dxf.color for l in doc.layers},
    "layers": layers}))
)";

// Nothing without python3-ezdxf.
std::optional<QJsonObject> ReadBack(const QByteArray &dxf)
{
    if (!readers::HasEzdxf())
        return std::nullopt;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("board.dxf"));
    EXPECT_TRUE(fixtures::WriteBytes(file, dxf));
    const auto run = readers::Start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QLatin1String(kReadBack), file});
    EXPECT_TRUE(run && run->exitCode == 0) << (run ? run->err.toStdString() : "");
    return run ? QJsonDocument::fromJson(run->out).object() : QJsonObject();
}

QJsonArray Box(double x1, double y1, double x2, double y2)
{
    return {x1, y1, x2, y2};
}

} // namespace

TEST(DxfDrawing, EzdxfReadsMillimetresLayersAndTheBoardsExtents)
{
    fixtures::ComputedState s;
    boards::ShopBoard(s);
    const auto dxf = WriteDxf(s, s.results);
    ASSERT_TRUE(dxf);
    const auto read = ReadBack(*dxf);
    if (!read)
        GTEST_SKIP() << "python3-ezdxf is not installed";
    EXPECT_EQ(read->value(QLatin1String("errors")).toArray(), QJsonArray());
    EXPECT_EQ(read->value(QLatin1String("units")).toInt(), 4) << "millimetres";
    const double h = double(s.results.geometryHeight.get()) * 10;
    EXPECT_EQ(read->value(QLatin1String("box")).toArray(), Box(0, 0, 1500, h));
    EXPECT_EQ(read->value(QLatin1String("extmin")).toArray(), (QJsonArray{0, 0}));
    EXPECT_EQ(read->value(QLatin1String("extmax")).toArray(), (QJsonArray{1500, h}));

    const QJsonObject layers = read->value(QLatin1String("layers")).toObject();
    const QJsonObject frame = layers.value(QLatin1String("FRAME")).toObject();
    EXPECT_EQ(frame.value(QLatin1String("count")).toInt(), 4);
    EXPECT_EQ(frame.value(QLatin1String("closed")).toInt(), 4);
    EXPECT_EQ(frame.value(QLatin1String("vertices")).toInt(), 16);
    EXPECT_EQ(layers.value(QLatin1String("ROWS")).toObject().value(QLatin1String("count")).toInt(), 5);
    const QJsonObject colours = read->value(QLatin1String("colours")).toObject();
    EXPECT_EQ(colours.value(QLatin1String("ROWS")).toInt(), 2) << "yellow panels";
    EXPECT_TRUE(colours.contains(QLatin1String("STRIPS")) && colours.contains(QLatin1String("POSTS")));
}

TEST(DxfDrawing, SidePostsAtHalfScaleWithYUp)
{
    fixtures::ComputedState s;
    export_geometry::PostSign(s); // 12 x 6 cm: rows at y 1..3 and 3..5, posts 1 cm wide
    s.exportScale.set(50);
    const auto dxf = WriteDxf(s, s.results);
    ASSERT_TRUE(dxf);
    EXPECT_TRUE(dxf->contains(" 10\n5.0000\n 20\n25.0000\n")) << "row 1's upper left corner, 30 mm from the base";
    const auto read = ReadBack(*dxf);
    if (!read)
        GTEST_SKIP() << "python3-ezdxf is not installed";
    EXPECT_EQ(read->value(QLatin1String("errors")).toArray(), QJsonArray());
    EXPECT_EQ(read->value(QLatin1String("box")).toArray(), Box(0, 0, 60, 30));
    const QJsonObject layers = read->value(QLatin1String("layers")).toObject();
    EXPECT_EQ(layers.value(QLatin1String("POSTS")).toObject().value(QLatin1String("closed")).toInt(), 2);
    EXPECT_FALSE(layers.contains(QLatin1String("FRAME")));
}
