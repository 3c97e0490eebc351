// The scaled elevation of the current sign, drawn from the engine's geometry on any canvas.
#include "core/render/sign_drawing.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/engine/compute_sign.h"
#include "core/number/number_format.h"
#include "core/project/app_state.h"

namespace tablix {

namespace {

// Far beyond any canvas, yet origin + value cannot overflow an int.
constexpr long long kCoordinateLimit = 1LL << 24;

int ClampedSum(long long origin, long long value)
{
    return int(std::clamp(origin + std::clamp(value, -kCoordinateLimit, kCoordinateLimit), -kCoordinateLimit,
                          kCoordinateLimit));
}

// origin + Round(already scaled value).
int Offset(int origin, long double scaled)
{
    const long double limit = kCoordinateLimit;
    if (std::isnan(scaled))
        scaled = 0;
    return ClampedSum(origin, RoundEven(std::clamp(scaled, -limit, limit)));
}

void SetFill(QPainter &canvas, std::optional<QColor> colour)
{
    if (colour)
        canvas.setBrush(QBrush(*colour, Qt::SolidPattern));
}

struct Mapper {
    long double scale;
    int originX, originY;
    int x(long double v) const { return DeviceCoordinate(scale, v, originX); }
    int y(long double v) const { return DeviceCoordinate(scale, v, originY); }
};

void ModelRectangle(QPainter &canvas, const Mapper &m, long double x1, long double y1, long double x2, long double y2)
{
    DrawPixelRectangle(canvas, m.x(x1), m.y(y1), m.x(x2), m.y(y2));
}

void ModelQuad(QPainter &canvas, const Mapper &m, const std::array<ModelPoint, 4> &points)
{
    std::array<QPoint, 4> corners;
    for (size_t k = 0; k < 4; ++k)
        corners[k] = QPoint(m.x(points[k].x), m.y(points[k].y));
    DrawPixelQuad(canvas, corners);
}

void DrawRows(QPainter &canvas, const EngineResults &results, const Mapper &m)
{
    for (int i = 1; i <= kMaxRows; ++i) {
        const GeometryRecord &r = results.record(i);
        const long double x1 = r.x1.get(), x2 = r.x2.get();
        if (x1 == x2)
            break;
        SetFill(canvas, RowFillColour(r.colourClass));
        ModelRectangle(canvas, m, x1, r.y1.get(), x2, r.y2.get());
        SetFill(canvas, StripFillColour(r.colourClass));
        for (int k = 1; k <= 4; ++k) {
            const long double second = r.second(k).get();
            if (second != 0)
                ModelRectangle(canvas, m, x1, r.first(k).get(), x2, second);
        }
    }
}

void DrawBars(QPainter &canvas, const AppState &state, const EngineResults &results, const Mapper &m,
              int marksConsidered)
{
    const SignRecord &sign = state.currentSignRecord;
    const long double aux = sign.auxDimension.get();
    if (!(aux > 0))
        return;
    const GeometryRecord &left = results.record(61);
    SetFill(canvas, RowFillColour(left.colourClass));

    long double start = left.y1.get();
    const int marks = std::clamp(marksConsidered, 0, kLowerMarks);
    for (int j = 1; j <= marks; ++j)
        if (state.workingLowerMarks[size_t(j - 1)] != 0)
            start = results.record(j).y2.get();
    const int top = m.y(start);
    const int bottom = m.y(left.y2.get());

    // The count is held in a byte.
    const int n = int(static_cast<unsigned long long>(RoundEven(aux)) & 0xFFu);
    const GeometryRecord &row1 = results.record(1);
    const long double size = state.parameters.elementRows[sign.signType == SignType::WideFrame ? 3 : 2].heightMm.get();
    const long double half = m.scale * size * 0.05L;
    for (int k = 1; k <= n; ++k) {
        const long double centre = m.scale * (row1.x1.get() + row1.x2.get()) / (n + 1) * k;
        DrawPixelRectangle(canvas, Offset(m.originX, centre - half), top, Offset(m.originX, centre + half), bottom);
    }
}

void DrawFrame(QPainter &canvas, const EngineResults &res, const Mapper &m)
{
    SetFill(canvas, RowFillColour(res.record(61).colourClass));
    const long double w = res.record(61).x2.get() - res.record(61).x1.get();

    if (res.record(64).colourClass == ColourClass::None) {
        for (int n : {61, 62}) {
            const GeometryRecord &r = res.record(n);
            ModelRectangle(canvas, m, r.x1.get(), r.y1.get(), r.x2.get(), r.y2.get());
        }
        return;
    }
    for (int n : {61, 62, 63, 64})
        ModelQuad(canvas, m, MitredBarCorners(res.record(n), n, w));
}

} // namespace

std::optional<QColor> RowFillColour(ColourClass colourClass)
{
    switch (colourClass) {
    case ColourClass::FamilyA: return QColor(255, 255, 0);
    case ColourClass::FamilyB: return QColor(128, 128, 128);
    case ColourClass::OtherInfill: return QColor(192, 192, 192);
    case ColourClass::None: break;
    }
    return std::nullopt;
}

std::optional<QColor> StripFillColour(ColourClass colourClass)
{
    switch (colourClass) {
    case ColourClass::FamilyA: return QColor(198, 200, 0);
    case ColourClass::FamilyB: return QColor(100, 100, 100);
    case ColourClass::OtherInfill: return QColor(192, 192, 192);
    case ColourClass::None: break;
    }
    return std::nullopt;
}

int DeviceCoordinate(long double scale, long double model, int origin)
{
    return Offset(origin, scale * model);
}

void DrawPixelRectangle(QPainter &canvas, int x1, int y1, int x2, int y2)
{
    const int left = std::min(x1, x2), right = std::max(x1, x2);
    const int top = std::min(y1, y2), bottom = std::max(y1, y2);
    if (right == left || bottom == top)
        return;
    // Filled pixel by pixel rather than with drawRect, whose outline would cover right and bottom.
    canvas.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), canvas.pen().color());
    if (right - left >= 3 && bottom - top >= 3)
        canvas.fillRect(QRect(QPoint(left + 1, top + 1), QPoint(right - 2, bottom - 2)), canvas.brush().color());
}

void DrawPixelQuad(QPainter &canvas, const std::array<QPoint, 4> &corners)
{
    canvas.drawPolygon(corners.data(), 4);
}

void RenderSign(QPainter &canvas, const AppState &state, const EngineResults &results, long double scale,
                int originX, int originY, int marksConsidered)
{
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setPen(QPen(QColor(0, 0, 0), 0, Qt::SolidLine));
    canvas.setBrush(QBrush(canvas.brush().color(), Qt::SolidPattern));
    const Mapper m{scale, originX, originY};
    DrawRows(canvas, results, m);
    DrawBars(canvas, state, results, m, marksConsidered);
    DrawFrame(canvas, results, m);
}

namespace {

// Collects outlines as RenderSign's canvas would fill them.
class ShapeList {
public:
    void fill(std::optional<QColor> colour)
    {
        if (colour)
            fill_ = *colour;
    }
    void rectangle(SignPart part, long double x1, long double y1, long double x2, long double y2)
    {
        if (x1 == x2 || y1 == y2 || std::isnan(x1 - x2) || std::isnan(y1 - y2))
            return;
        shapes_.push_back({part, fill_, {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}}});
    }
    void quad(SignPart part, const std::array<ModelPoint, 4> &p)
    {
        shapes_.push_back({part, fill_, {p.begin(), p.end()}});
    }
    std::vector<SignShape> take() { return std::move(shapes_); }

private:
    QColor fill_ = Qt::white;
    std::vector<SignShape> shapes_;
};

} // namespace

std::vector<SignShape> SignShapes(const AppState &state, const EngineResults &res)
{
    ShapeList list;
    for (int i = 1; i <= kMaxRows; ++i) {
        const GeometryRecord &r = res.record(i);
        const long double x1 = r.x1.get(), x2 = r.x2.get();
        if (x1 == x2)
            break;
        list.fill(RowFillColour(r.colourClass));
        list.rectangle(SignPart::Rows, x1, r.y1.get(), x2, r.y2.get());
        list.fill(StripFillColour(r.colourClass));
        for (int k = 1; k <= 4; ++k) {
            const long double second = r.second(k).get();
            if (second != 0)
                list.rectangle(SignPart::Strips, x1, r.first(k).get(), x2, second);
        }
    }

    const GeometryRecord &left = res.record(61);
    const SignRecord &sign = state.currentSignRecord;
    const long double aux = sign.auxDimension.get();
    if (aux > 0) {
        list.fill(RowFillColour(left.colourClass));
        long double top = left.y1.get();
        for (int j = 1; j <= kLowerMarks; ++j)
            if (state.workingLowerMarks[size_t(j - 1)] != 0)
                top = res.record(j).y2.get();
        const int n = int(static_cast<unsigned long long>(RoundEven(aux)) & 0xFFu);
        const GeometryRecord &row1 = res.record(1);
        const long double half = state.parameters.elementRows[sign.signType == SignType::WideFrame ? 3 : 2].heightMm.get() * 0.05L;
        for (int k = 1; k <= n; ++k) {
            const long double centre = (row1.x1.get() + row1.x2.get()) / (n + 1) * k;
            list.rectangle(SignPart::Posts, centre - half, top, centre + half, left.y2.get());
        }
    }

    list.fill(RowFillColour(left.colourClass));
    if (res.record(64).colourClass == ColourClass::None) {
        for (int n : {61, 62}) {
            const GeometryRecord &r = res.record(n);
            list.rectangle(SignPart::Posts, r.x1.get(), r.y1.get(), r.x2.get(), r.y2.get());
        }
    } else {
        const long double w = left.x2.get() - left.x1.get();
        for (int n : {61, 62, 63, 64})
            list.quad(SignPart::Frame, MitredBarCorners(res.record(n), n, w));
    }
    return list.take();
}

SignPageLayout SignPageLayoutFor(QSize client, const AppState &state, const EngineResults &results)
{
    SignPageLayout layout;
    const long double width = state.currentSignRecord.width.get();
    const long double height = results.geometryHeight.get();
    if (!(width > 0) || !(height > 0))
        return layout;
    const long double sx = client.width() / (width * 1.05L);
    const long double sy = client.height() / (height * 1.05L);
    layout.scale = sx < sy ? sx : sy;
    layout.originX = Offset(0, (client.width() - width * layout.scale) * 0.5L);
    layout.originY = Offset(0, (client.height() - height * layout.scale) * 0.5L);
    layout.draw = true;
    return layout;
}

void DrawSignPage(QPainter &canvas, QSize client, const AppState &state)
{
    if (state.workingRows[0] == 0)
        return;
    canvas.setBrush(QBrush(Qt::white, Qt::SolidPattern));
    canvas.fillRect(QRect(QPoint(0, 0), client), Qt::white);
    const EngineResults results = ComputeSign(state);
    const SignPageLayout layout = SignPageLayoutFor(client, state, results);
    if (layout.draw)
        RenderSign(canvas, state, results, layout.scale, layout.originX, layout.originY, kLowerMarks);
}

} // namespace tablix
