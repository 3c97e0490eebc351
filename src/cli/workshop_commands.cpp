// The cut list and the cutting plan of a project, from the command line.
#include "cli/workshop_commands.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include "core/engine/profile_keys.h"
#include "core/files/input_file.h"
#include "core/params/language_entries.h"
#include "core/workshop/cut_list.h"
#include "core/workshop/cut_list_reader.h"
#include "core/workshop/cutting_plan.h"
#include "core/workshop/piece_labels.h"
#include "core/workshop/plan_drawing.h"
#include "core/workshop/stock.h"

namespace tablix::cli {

namespace {

// Refused before anything is written: a project without signs in use has nothing to cut.
CutList projectCutList(AppState &state, const Invocation &o)
{
    loadState(state, o);
    CutList list;
    try {
        list = BuildCutList(state);
    } catch (const CutListTooLarge &e) {
        ioError(QStringLiteral("%1: more than %2 pieces to cut (%3); check the signs' quantities")
                    .arg(o.operands[0]).arg(kMaxCutPieces).arg(e.pieces));
    }
    if (list.signsInUse == 0)
        ioError(QStringLiteral("%1: no sign in use, nothing to cut").arg(o.operands[0]));
    for (const QString &note : list.notes)
        warn(note);
    return list;
}

StockSettings stockSettings(const Invocation &o)
{
    const StockLoad load = o.stock.isEmpty() ? LoadStockSettingsOf(o.workdir) : LoadStockFile(o.stock, LanguageFoldersOf(o.workdir));
    if (!load.settings)
        ioError(load.error + QStringLiteral("; nothing written"));
    for (const QString &message : UnknownStockEntryMessages(*load.settings, o.stock.isEmpty() ? StockFilePath(o.workdir) : o.stock))
        warn(message);
    return *load.settings;
}

// The headings of the cut list in every language file of the data folder and in the one in use.
QList<QStringList> cutListHeaders(const Invocation &o, const std::optional<LanguageTable> &inUse)
{
    QList<QStringList> headers;
    auto add = [&](const LanguageTable &t) {
        headers << QStringList{t.LanguageEntry(text::kCutListProfileHeader), t.LanguageEntry(text::kCutListLengthHeader),
                               t.LanguageEntry(text::kCutListCountHeader)};
    };
    if (inUse)
        add(*inUse);
    for (const QString &name : QDir(o.workdir).entryList({QStringLiteral("tablix_lng.*")}, QDir::Files, QDir::Name))
        if (const auto file = LoadLanguageFile(QDir(o.workdir).filePath(name)); file.table)
            add(*file.table);
    return headers;
}

QByteArray lineFeeds(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text.toUtf8();
}

} // namespace

int cutList(const Invocation &o)
{
    AppState state;
    const CutList list = projectCutList(state, o);
    writeOutputFile(o, o.output.isEmpty() ? QStringLiteral("-") : o.output, CutListCsv(list, state.language));
    return 0;
}

// Text on a PDF needs fonts, which need a GUI application (main makes one for these commands).
void needFonts(const QString &what)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        ioError(QStringLiteral("%1 needs a GUI application for its fonts").arg(what));
}

void writePlan(const Invocation &o, const CuttingPlan &plan, const LanguageTable &language, const QString &source)
{
    if (!o.pdf.isEmpty()) {
        if (o.json || !o.output.isEmpty())
            usageError(QStringLiteral("plan --pdf FILE writes the drawn plan only, without --json or -o"));
        needFonts(QStringLiteral("plan --pdf"));
        const std::optional<QByteArray> pdf =
            CuttingPlanPdf(PlanDrawing(plan, language, QFileInfo(source).completeBaseName()), language, QDate::currentDate());
        if (!pdf)
            ioError(QStringLiteral("the PDF of the plan could not be made"));
        writeOutputFile(o, o.pdf, *pdf);
        return;
    }
    const QByteArray out = o.json ? CuttingPlanJson(plan) : lineFeeds(CuttingPlanReport(plan, language));
    writeOutputFile(o, o.output.isEmpty() ? QStringLiteral("-") : o.output, out);
}

int cuttingPlan(const Invocation &o)
{
    if (!o.cutlist.isEmpty())
        usageError(QStringLiteral("plan takes a PROJECT or --cutlist FILE, not both"));
    const StockSettings stock = stockSettings(o);
    AppState state;
    const CutList list = projectCutList(state, o);
    writePlan(o, PlanCutList(list, stock), state.language, o.operands[0]);
    return 0;
}

int pieceLabels(const Invocation &o)
{
    if (o.output.isEmpty())
        usageError(QStringLiteral("labels needs -o FILE.pdf"));
    const std::optional<LabelSheet> sheet = LabelSheetNamed(o.sheet.isEmpty() ? QStringLiteral("3x8") : o.sheet);
    if (!sheet)
        usageError(QStringLiteral("--sheet takes 3x8 or 2x7, not \"%1\"").arg(o.sheet));
    needFonts(QStringLiteral("labels"));
    const StockSettings stock = stockSettings(o);
    AppState state;
    const CutList list = projectCutList(state, o);
    const std::optional<QByteArray> pdf = PieceLabelsPdf(PieceLabelsOf(PlanCutList(list, stock)), *sheet,
                                                         QFileInfo(o.operands[0]).completeBaseName(), state.language);
    if (!pdf)
        ioError(QStringLiteral("the PDF of the labels could not be made"));
    writeOutputFile(o, o.output, *pdf);
    return 0;
}

int cuttingPlanOfCutList(const Invocation &o)
{
    if (o.cutlist.isEmpty())
        usageError(QStringLiteral("plan takes a PROJECT or --cutlist FILE"));
    const StockSettings stock = stockSettings(o);
    // JSON has no words, so it needs no parameter file to find the language.
    std::optional<LanguageTable> language;
    if (!o.json)
        language = readLanguage(o, readParameters(o));
    // Read whole and bounded, as every other input.
    const InputFile file = ReadInputFile(o.cutlist, kTextFileLimit, false, QStringLiteral("a cut list"));
    if (!file.bytes)
        ioError(file.error);
    const QByteArray &bytes = *file.bytes;
    QString error;
    const std::optional<CutList> list = CutListFromCsv(bytes, cutListHeaders(o, language), &error,
                                                              ProfileLabelsInFolders(LanguageFoldersOf(o.workdir)));
    if (!list)
        ioError(QStringLiteral("%1: %2; nothing written").arg(o.cutlist, error));
    if (list->empty())
        ioError(QStringLiteral("%1: no pieces to cut; nothing written").arg(o.cutlist));
    // A known profile is named in the language of the plan, whichever language wrote the list.
    CutList named = *list;
    if (language)
        for (CutListRow &row : named.rows)
            if (const QString label = ProfileLabel(row.key, *language); !label.isEmpty())
                row.profile = label;
    if (!o.pdf.isEmpty() && !language)
        language = readLanguage(o, readParameters(o));
    writePlan(o, PlanCutList(named, stock), language ? *language : LanguageTable{}, o.cutlist);
    return 0;
}

} // namespace tablix::cli
