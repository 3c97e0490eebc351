// The export command: the save dialog, the scale, the file name and the writing of either file.
#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace tablix {

struct AppState;
class Windows;

// What the user chose in the save dialog: the name as typed, whether the first filter (the
// metafile) was selected, and the extension of the selected filter ("svg"); without one the
// filter means the metafile or the plotter file.
struct ExportChoice {
    QString fileName;
    bool metafile = false;
    QString suffix = {};
};

// Asks for the export file: parent, proposed name, Qt filter; nothing when cancelled.
using ExportFileDialog = std::function<std::optional<ExportChoice>(QWidget *, const QString &, const QString &)>;
ExportFileDialog DefaultExportFileDialog();

enum class ExportOutcome { Cancelled, Written, NothingToExport, Failed };

// The save dialog's filters: entry 165 with the enhanced metafile after its first pair, then the
// true-size drawings; pipe-separated as in the language file.
QString ExportFilters(const AppState &state);

// Exports the current sign: asks for the file, then for the scale (NumberEntryDialog; closing it
// without OK cancels the export; 100 = true size), stores the sign into its slot and writes the
// metafile (centred on `mainWindow`'s size), the plotter file, or the SVG, PDF or DXF drawing.
// The filter chooses the format, unless the name ends in the extension of one of them; a name
// without an extension gets the filter's.
// A failure is reported to the user; a file already there keeps its contents.
ExportOutcome ExportCurrentSign(AppState &state, Windows &windows, QWidget *mainWindow,
                                const ExportFileDialog &askFile);

} // namespace tablix
