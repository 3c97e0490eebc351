// The true-size PDF drawing of the current sign, on a page the size of the board plus a margin.
#pragma once

#include <QByteArray>
#include <optional>

namespace tablix {

struct AppState;
struct EngineResults;

// Readers refuse pages longer than 200 inches; a larger drawing is scaled down to fit.
inline constexpr long double kLargestPdfPageMm = 5080;
// The white border around the board on every side.
inline constexpr long double kPdfMarginMm = 10;

// Computes the current sign and draws it at state.exportScale (100 = true size); a page that would
// pass the largest size is scaled down and states its scale. The document's title is the sign's.
// Nothing when the sign has no rows or size. Throws FloatingPointOverflow and DrawingTooLarge.
std::optional<QByteArray> PdfFile(const AppState &state);

// The drawing of the geometry the results hold.
std::optional<QByteArray> WritePdf(const AppState &state, const EngineResults &results);

} // namespace tablix
