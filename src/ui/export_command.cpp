// The export command of the main window: the cutting plotter, the metafile and the true-size drawings.
#include "ui/export_command.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <algorithm>

#include "ui/number_entry_dialog.h"
#include "core/export/dxf.h"
#include "core/export/emf.h"
#include "core/export/hpgl.h"
#include "core/export/pdf.h"
#include "core/export/svg.h"
#include "core/export/true_size.h"
#include "core/files/atomic_file.h"
#include "core/project/app_state.h"
#include "ui/main_window.h"
#include "ui/startup.h"
#include "ui/window_set.h"
#include "core/params/language_entries.h"
#include "core/document/files_in_use.h"

namespace tablix {

namespace {

enum class Format { Metafile, Plotter, Svg, Pdf, Dxf };

std::optional<Format> FormatOf(const QString &suffix)
{
    const QString s = suffix.toLower();
    if (s == QLatin1String("wmf") || s == QLatin1String("emf"))
        return Format::Metafile;
    if (s == QLatin1String("plt"))
        return Format::Plotter;
    if (s == QLatin1String("svg"))
        return Format::Svg;
    if (s == QLatin1String("pdf"))
        return Format::Pdf;
    if (s == QLatin1String("dxf"))
        return Format::Dxf;
    return std::nullopt;
}

} // namespace

QString ExportFilters(const AppState &state)
{
    QStringList parts = state.LanguageEntry(text::kExportFileFilter).split(QLatin1Char('|'));
    const QString emf = state.LanguageEntry(text::kEmfFileFilter);
    parts.insert(std::min<qsizetype>(2, parts.size()), emf);
    for (int entry : {text::kSvgFileFilter, text::kPdfFileFilter, text::kDxfFileFilter})
        parts << state.LanguageEntry(entry);
    parts.removeAll(QString()); // a language file without the newer entries
    return parts.join(QLatin1Char('|'));
}

ExportFileDialog DefaultExportFileDialog()
{
    return [](QWidget *parent, const QString &proposed, const QString &filter) -> std::optional<ExportChoice> {
        const QStringList filters = filter.split(QStringLiteral(";;"));
        QString selected = filters.value(0);
        const QString name = QFileDialog::getSaveFileName(parent, QString(), proposed, filter, &selected);
        if (name.isEmpty())
            return std::nullopt;
        static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
        return ExportChoice{name, selected == filters.value(0), pattern.match(selected).captured(1)};
    };
}

ExportOutcome ExportCurrentSign(AppState &state, Windows &windows, QWidget *mainWindow,
                                const ExportFileDialog &askFile)
{
    const QString proposed = ProposedExportName(state.currentSignRecord.titleText());
    const std::optional<ExportChoice> choice =
        askFile(mainWindow, proposed, QtFileFilter(ExportFilters(state)));
    if (!choice || choice->fileName.isEmpty())
        return ExportOutcome::Cancelled;

    // Escape or closing the scale dialog cancels the export; only OK goes on, at the scale typed.
    const std::optional<Real48> scale = windows.numberEntry().ask(NumberEntryDialog::Asks::ExportScale, state.exportScale);
    if (!scale)
        return ExportOutcome::Cancelled;
    state.exportScale = *scale;

    // A name typed with another format's extension means that format: a metafile in a ".plt"
    // file would reach the plotter.
    const std::optional<Format> filterFormat = FormatOf(choice->suffix);
    const Format format = FormatOf(QFileInfo(choice->fileName).suffix())
                              .value_or(filterFormat.value_or(choice->metafile ? Format::Metafile : Format::Plotter));
    const bool named = QFileInfo(choice->fileName).fileName().contains(QLatin1Char('.'));
    const QString fileName = named || !filterFormat ? ExportFileName(choice->fileName, format == Format::Metafile)
                                                    : choice->fileName + QLatin1Char('.') + choice->suffix.toLower();
    std::optional<QByteArray> bytes;
    try {
        switch (format) {
        case Format::Metafile: bytes = MetafileFile(state, mainWindow ? mainWindow->size() : QSize()); break;
        case Format::Plotter: bytes = PlotterFile(state); break;
        case Format::Svg: bytes = SvgFile(state); break;
        case Format::Pdf: bytes = PdfFile(state); break;
        case Format::Dxf: bytes = DxfFile(state); break;
        }
    } catch (const DrawingTooLarge &e) {
        ShowIoError(mainWindow, state.LanguageEntry(text::kDrawingTooLarge) + QStringLiteral("\n\n") + QString::fromUtf8(e.what()));
        return ExportOutcome::Failed;
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

    QString error = OutputIsInputError(fileName, FilesInUse(state, true));
    if (!error.isEmpty() || !WriteFileAtomically(fileName, *bytes, &error)) {
        ShowIoError(mainWindow, error + QStringLiteral("\n\n") + state.LanguageEntry(text::kNothingWrittenNote));
        return ExportOutcome::Failed;
    }
    return ExportOutcome::Written;
}

} // namespace tablix
