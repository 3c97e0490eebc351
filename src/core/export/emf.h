// The metafile of the current sign: an enhanced metafile of filled shapes with black outlines.
#pragma once

#include <QByteArray>
#include <QSize>
#include <optional>

namespace tablix {

struct AppState;

// Computes the current sign and draws it at state.exportScale, centred on a main window of the
// given size in pixels; nothing when the sign has no rows or no positive width or height.
// Throws FloatingPointOverflow from the engine.
std::optional<QByteArray> MetafileFile(AppState &state, QSize mainWindow);

// The metafile of the geometry state.results already holds.
std::optional<QByteArray> WriteMetafile(const AppState &state, QSize mainWindow);

} // namespace tablix
