// The metafile of the current sign: an enhanced metafile of filled shapes with black outlines.
#pragma once

#include <QByteArray>
#include <QSize>
#include <optional>
#include <stdexcept>

namespace tablix {

struct AppState;
struct EngineResults;

// The drawing does not fit the format's 32-bit coordinates (a huge scale, sign or window); the
// message says so and nothing is produced.
class MetafileTooLarge : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Computes the current sign and draws it at state.exportScale, centred on a main window of the
// given size in pixels; nothing when the sign has no rows or no positive width or height.
// Throws FloatingPointOverflow from the engine and MetafileTooLarge.
std::optional<QByteArray> MetafileFile(const AppState &state, QSize mainWindow);

// The metafile of the geometry the results hold; throws MetafileTooLarge.
std::optional<QByteArray> WriteMetafile(const AppState &state, const EngineResults &results, QSize mainWindow);

} // namespace tablix
