// The export command of the main window, for the cutting plotter and as a metafile.
#include "ui/export_command.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "ui/number_entry_dialog.h"
#include "core/export/emf.h"
#include "core/export/hpgl.h"
#include "core/number/atomic_file.h"
#include "core/project/app_state.h"
#include "ui/main_window.h"
#include "ui/startup.h"
#include "ui/window_set.h"
#include "core/params/language_entries.h"

namespace tablix {

ExportFileDialog DefaultExportFileDialog()
{
    return [](QWidget *parent, const QString &proposed, const QString &filter) -> std::optional<ExportChoice> {
        const QStringList filters = filter.split(QStringLiteral(";;"));
        QString selected = filters.value(0);
        const QString name = QFileDialog::getSaveFileName(parent, QString(), proposed, filter, &selected);
        if (name.isEmpty())
            return std::nullopt;
        return ExportChoice{name, selected == filters.value(0)};
    };
}

ExportOutcome ExportCurrentSign(AppState &state, Windows &windows, QWidget *mainWindow,
                                const ExportFileDialog &askFile)
{
    const QString proposed = ProposedExportName(state.currentSignRecord.titleText());
    const std::optional<ExportChoice> choice =
        askFile(mainWindow, proposed, QtFileFilter(state.LanguageEntry(text::kExportFileFilter)));
    if (!choice || choice->fileName.isEmpty())
        return ExportOutcome::Cancelled;

    // Escape or closing the scale dialog cancels the export; only OK goes on, at the scale typed.
    const std::optional<Real48> scale = windows.numberEntry().ask(NumberEntryDialog::Asks::ExportScale, state.exportScale);
    if (!scale)
        return ExportOutcome::Cancelled;
    state.exportScale = *scale;
    state.SaveCurrentSign();

    // A name typed with the other format's extension means that format: a metafile in a ".plt"
    // file would reach the plotter.
    const QString suffix = QFileInfo(choice->fileName).suffix().toLower();
    const bool metafile = suffix == QLatin1String("wmf") || suffix == QLatin1String("emf") ? true
                          : suffix == QLatin1String("plt")                                  ? false
                                                                                            : choice->metafile;
    const QString fileName = ExportFileName(choice->fileName, metafile);
    std::optional<QByteArray> bytes;
    try {
        bytes = metafile ? MetafileFile(state, mainWindow ? mainWindow->size() : QSize())
                                 : PlotterFile(state);
    } catch (const FloatingPointOverflow &) {
        ShowFloatingPointOverflow(mainWindow);
        return ExportOutcome::Failed;
    } catch (const MetafileTooLarge &e) {
        ShowIoError(mainWindow, state.LanguageEntry(text::kMetafileTooLarge) + QStringLiteral("\n\n") + QString::fromUtf8(e.what()));
        return ExportOutcome::Failed;
    }
    if (!bytes) {
        // Only a sign read from a damaged file gets here: the dialogs refuse a width of 0.
        QMessageBox::information(mainWindow, QStringLiteral("Tablix"), state.LanguageEntry(text::kExportWithoutSize));
        return ExportOutcome::NothingToExport;
    }

    QString error;
    if (!WriteFileAtomically(fileName, *bytes, &error)) {
        ShowIoError(mainWindow, error + QStringLiteral("\n\n") + state.LanguageEntry(text::kNothingWrittenNote));
        return ExportOutcome::Failed;
    }
    return ExportOutcome::Written;
}

} // namespace tablix
