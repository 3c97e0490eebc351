// The cut list and the cutting plan of a project, from the command line.
#include "cli/workshop_commands.h"

#include "core/workshop/cut_list.h"
#include "core/workshop/cutting_plan.h"
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

int cuttingPlan(const Invocation &o)
{
    const StockSettings stock = stockSettings(o);
    AppState state;
    const CutList list = projectCutList(state, o);
    const CuttingPlan plan = PlanCutList(list, stock);
    const QByteArray out = o.json ? CuttingPlanJson(plan) : lineFeeds(CuttingPlanReport(plan, state.language));
    writeOutputFile(o, o.output.isEmpty() ? QStringLiteral("-") : o.output, out);
    return 0;
}

} // namespace tablix::cli
