// The export command: the save dialog, the scale, the file name and the writing of either file.
#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace tablix {

struct AppState;
class Windows;

// What the user chose in the save dialog: the name as typed and whether the first filter (the
// metafile) was selected.
struct ExportChoice {
    QString fileName;
    bool metafile = false;
};

// Asks for the export file: parent, proposed name, Qt filter; nothing when cancelled.
using ExportFileDialog = std::function<std::optional<ExportChoice>(QWidget *, const QString &, const QString &)>;
ExportFileDialog DefaultExportFileDialog();

enum class ExportOutcome { Cancelled, Written, NothingToExport, Failed };

// Exports the current sign: asks for the file, then for the scale (NumberEntryDialog; closing it
// without OK cancels the export), stores the sign into its slot and writes the metafile (centred on `mainWindow`'s size) or the plotter file. The
// filter chooses the format, unless the name ends in ".wmf", ".emf" or ".plt".
// A failure is reported to the user; a file already there keeps its contents.
ExportOutcome ExportCurrentSign(AppState &state, Windows &windows, QWidget *mainWindow,
                                const ExportFileDialog &askFile);

} // namespace tablix
