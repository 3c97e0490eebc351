// The true-size SVG drawing of the current sign: one group per element class.
#pragma once

#include <QByteArray>
#include <optional>

namespace tablix {

struct AppState;
struct EngineResults;

// Computes the current sign and draws it at state.exportScale (100 = true size), width and height
// in millimetres; nothing when the sign has no rows or size. Throws FloatingPointOverflow from the
// engine and DrawingTooLarge.
std::optional<QByteArray> SvgFile(const AppState &state);

// The drawing of the geometry the results hold.
std::optional<QByteArray> WriteSvg(const AppState &state, const EngineResults &results);

} // namespace tablix
