// The plotter file of the current sign and the file names of both exports.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tablix {

struct AppState;
struct EngineResults;

// Computes the current sign and writes its HP-GL outlines at state.exportScale; nothing when the
// sign has no positive width or height. Throws FloatingPointOverflow from the engine.
std::optional<QByteArray> PlotterFile(const AppState &state);

// The plotter file of the geometry the results hold.
std::optional<QByteArray> WritePlotterFile(const AppState &state, const EngineResults &results);

// The chosen name unchanged when its file name has an extension, else with ".wmf" or ".plt".
QString ExportFileName(const QString &chosen, bool metafile);

// The name offered in the save dialog for a sign of this (stored) title.
QString ProposedExportName(const QString &title);

// Shared by both exports: the number of stripes for auxDimension (0 when not positive), and the
// model y at which they start: the top of the left bar, or the lower edge of the highest-numbered
// row among rows 1..10 whose lower mark is set.
int StripeCount(long double auxDimension);
long double StripeTop(const AppState &state, const EngineResults &results);

} // namespace tablix
