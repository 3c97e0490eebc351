// The scaled elevation of the current sign, drawn from the engine's geometry on any canvas.
#pragma once

#include <QColor>
#include <QPoint>
#include <QSize>
#include <array>
#include <optional>
#include <vector>

#include "core/engine/results.h"

class QPainter;

namespace tablix {

struct AppState;

// Fill of a row, bar or frame and of a row's strips per colour class; none for the class
// None, whose records take the fill colour last set on the canvas.
std::optional<QColor> RowFillColour(ColourClass colourClass);
std::optional<QColor> StripFillColour(ColourClass colourClass);

// Device coordinate of a model value: origin + RoundEven(scale * model). Clamped to a range the
// raster engine handles, so that absurd scales cannot overflow an int.
int DeviceCoordinate(long double scale, long double model, int origin);

// Shapes as a classic device context draws them with a one-pixel pen: the rectangle covers the
// pixels x1..x2-1 and y1..y2-1 (corners in any order; nothing when either extent is 0), outline in
// the pen colour, interior in the brush colour; the quadrilateral's outline passes through all
// four corner pixels.
void DrawPixelRectangle(QPainter &canvas, int x1, int y1, int x2, int y2);
void DrawPixelQuad(QPainter &canvas, const std::array<QPoint, 4> &corners);

// Draws the results' SignGeometry: rows and strips, the vertical bars below the marked rows
// (lower marks 1..marksConsidered from workingLowerMarks), the frame or posts. The results are
// to have run for the current sign. Leaves the canvas's pen and brush as last set.
void RenderSign(QPainter &canvas, const AppState &state, const EngineResults &results, long double scale,
                int originX, int originY, int marksConsidered);

struct SignPageLayout {
    bool draw = false;
    long double scale = 0;
    int originX = 0;
    int originY = 0;
};

// Scale and centring of the sign page for a client area, read after ComputeSign. A sign whose
// width or height is not positive is not drawn.
SignPageLayout SignPageLayoutFor(QSize client, const AppState &state, const EngineResults &results);

// The element classes of a drawing, in the order the page paints them.
enum class SignPart { Rows, Strips, Posts, Frame };

// One filled outline of the sign in model centimetres (y down), with the fill the page gives it.
struct SignShape {
    SignPart part = SignPart::Rows;
    QColor fill;
    std::vector<ModelPoint> corners; // four, in drawing order
};

// The outlines RenderSign paints with all lower marks considered, in its order, for drawings
// that are not pixels: fills resolved as the page resolves them (starting from white), nothing
// of zero extent. The vertical bars below the marked rows and the side posts are Posts; the
// mitred bars are Frame.
std::vector<SignShape> SignShapes(const AppState &state, const EngineResults &results);

// The whole sign page: nothing for an empty sign, otherwise a white page, ComputeSign and the
// centred drawing with all ten lower marks.
void DrawSignPage(QPainter &canvas, QSize client, const AppState &state);

} // namespace tablix
