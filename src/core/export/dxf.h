// The DXF drawing of the current sign for cutting and CAD: closed outlines in millimetres.
#pragma once

#include <QByteArray>
#include <optional>

namespace tablix {

struct AppState;
struct EngineResults;

// Computes the current sign and writes it at state.exportScale (100 = true size) as an ASCII DXF
// of the oldest widely read version: one closed polyline per outline, one layer per element class
// in the drawing's colours, y up with the board's lower left corner at the origin. Nothing when
// the sign has no rows or size. Throws FloatingPointOverflow and DrawingTooLarge.
std::optional<QByteArray> DxfFile(const AppState &state);

// The drawing of the geometry the results hold.
std::optional<QByteArray> WriteDxf(const AppState &state, const EngineResults &results);

} // namespace tablix
