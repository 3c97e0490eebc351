// What the true-size drawings (SVG, PDF, DXF) share: the sign's outlines in millimetres.
#include "core/export/true_size.h"

#include <cmath>

#include "core/number/number_format.h"
#include "core/project/app_state.h"

namespace tablix {

namespace {

// No sign is a kilometre long; a drawing that is comes from a mistyped scale.
constexpr long double kLimitMm = 1e6L;

bool Within(long double v)
{
    return std::fabs(v) <= kLimitMm; // false for NaN too
}

} // namespace

std::optional<TrueSizeDrawing> TrueSizeShapes(const AppState &state, const EngineResults &results)
{
    const long double width = state.currentSignRecord.width.get();
    const long double height = results.geometryHeight.get();
    if (state.workingRows[0] == 0 || !(width > 0) || !(height > 0))
        return std::nullopt;

    TrueSizeDrawing d;
    d.mmPerCm = 10 * state.exportScale.get() / 100;
    d.widthMm = width * d.mmPerCm;
    d.heightMm = height * d.mmPerCm;
    const QString title = state.currentSignRecord.titleText();
    d.title = title.startsWith(QLatin1Char('!')) ? title.mid(1) : title;
    bool fits = d.mmPerCm > 0 && Within(d.widthMm) && Within(d.heightMm);
    d.shapes = SignShapes(state, results);
    for (SignShape &shape : d.shapes)
        for (ModelPoint &p : shape.corners) {
            p = {p.x * d.mmPerCm, p.y * d.mmPerCm};
            fits = fits && Within(p.x) && Within(p.y);
        }
    if (!fits)
        throw DrawingTooLarge(
            QStringLiteral("At an export scale of %1 % the drawing would be larger than a kilometre. Nothing was written; "
                           "choose a smaller export scale.")
                .arg(FormatFixed(state.exportScale.get(), 0, 2))
                .toStdString());
    return d;
}

const char *SignPartName(SignPart part)
{
    switch (part) {
    case SignPart::Rows: return "rows";
    case SignPart::Strips: return "strips";
    case SignPart::Posts: return "posts";
    case SignPart::Frame: return "frame";
    }
    return "";
}

} // namespace tablix
