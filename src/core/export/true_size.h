// What the true-size drawings (SVG, PDF, DXF) share: the sign's outlines in millimetres.
#pragma once

#include <QString>
#include <optional>
#include <stdexcept>
#include <vector>

#include "core/render/sign_drawing.h"

namespace tablix {

struct AppState;

// The drawing is absurdly large for a file (a huge export scale or a damaged sign); nothing is written.
class DrawingTooLarge : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The board at the export scale: x to the right, y down, origin at the board's upper left corner.
struct TrueSizeDrawing {
    long double widthMm = 0;
    long double heightMm = 0;
    long double mmPerCm = 10; // at an export scale of 100 %
    std::vector<SignShape> shapes; // corners already in millimetres
    QString title;                 // as the tab shows it
};

// The geometry the results hold, scaled by state.exportScale; nothing when the sign has no
// rows or no positive width or height. Throws DrawingTooLarge beyond a kilometre.
std::optional<TrueSizeDrawing> TrueSizeShapes(const AppState &state, const EngineResults &results);

// "rows", "strips", "posts", "frame": the names the files give the element classes.
const char *SignPartName(SignPart part);
inline constexpr SignPart kSignParts[] = {SignPart::Rows, SignPart::Strips, SignPart::Posts, SignPart::Frame};

} // namespace tablix
