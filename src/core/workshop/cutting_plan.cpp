// The cutting plan of each profile from the cutting-stock solver, first-fit decreasing as its
// fallback and yardstick; JSON and report text of the plan.
#include "core/workshop/cutting_plan.h"

#include <algorithm>
#include <map>

#include "core/number/number_format.h"
#include "core/params/language.h"
#include "core/params/language_entries.h"
#include "core/params/params_json.h"
#include "core/workshop/cutting_stock.h"

namespace tablix {

namespace {

using cutting::Item;
using cutting::Pattern;

PlannedBar BarOf(const Pattern &pattern, const std::vector<Item> &items, const StockProfile &stock)
{
    PlannedBar bar;
    CutLength used = 0;
    for (size_t i = 0; i < items.size(); ++i)
        for (long long k = 0; k < pattern[i]; ++k) {
            bar.cuts.push_back(items[i].length);
            used += items[i].size;
        }
    std::sort(bar.cuts.begin(), bar.cuts.end(), std::greater<>());
    bar.offcut = stock.capacity() - used;
    return bar;
}

// Bars with the same cuts stand together, the fullest first.
void SortBars(std::vector<PlannedBar> &bars)
{
    std::stable_sort(bars.begin(), bars.end(), [](const PlannedBar &a, const PlannedBar &b) {
        if (a.offcut != b.offcut)
            return a.offcut < b.offcut;
        return a.cuts > b.cuts;
    });
}

} // namespace

long double ProfilePlan::wastePercent() const
{
    const long double bought = (long double)stock.barLength * (long double)bars.size();
    if (bought <= 0)
        return 0;
    long double cut = 0;
    for (const PlannedBar &bar : bars)
        for (CutLength c : bar.cuts)
            cut += (long double)c;
    return (bought - cut) / bought * 100;
}

long long CuttingPlan::totalBars() const
{
    long long n = 0;
    for (const ProfilePlan &p : profiles)
        n += (long long)p.bars.size();
    return n;
}

bool CuttingPlan::interrupted() const
{
    return std::any_of(profiles.begin(), profiles.end(), [](const ProfilePlan &p) { return p.interrupted; });
}

namespace {

// Lengths merged and sorted longest first; pieces that do not fit a bar go apart.
void SplitDemand(const std::vector<PieceDemand> &pieces, const StockProfile &stock, std::vector<PieceDemand> &fit,
                 std::vector<PieceDemand> &tooLong)
{
    std::map<CutLength, long long, std::greater<>> merged;
    for (const PieceDemand &p : pieces)
        if (p.length > 0 && p.count > 0)
            merged[p.length] += p.count;
    for (const auto &[length, count] : merged)
        (length + stock.kerf <= stock.capacity() ? fit : tooLong).push_back({length, count});
}

std::vector<Item> ItemsOf(const std::vector<PieceDemand> &fit, const StockProfile &stock)
{
    std::vector<Item> items;
    for (const PieceDemand &p : fit)
        items.push_back({p.length, p.length + stock.kerf, p.count});
    return items;
}

} // namespace

std::vector<PlannedBar> FirstFitDecreasing(const std::vector<PieceDemand> &pieces, const StockProfile &stock)
{
    std::vector<PieceDemand> fit, tooLong;
    SplitDemand(pieces, stock, fit, tooLong);
    const std::vector<Item> items = ItemsOf(fit, stock);
    std::vector<long long> demand;
    for (const Item &i : items)
        demand.push_back(i.demand);
    std::vector<PlannedBar> bars;
    for (const Pattern &p : cutting::FirstFitPatterns(items, demand, stock.capacity()))
        bars.push_back(BarOf(p, items, stock));
    return bars;
}

ProfilePlan PlanProfile(const QString &profile, const std::vector<PieceDemand> &pieces, const StockProfile &stock,
                        const PlanControl &control)
{
    ProfilePlan plan;
    plan.profile = profile;
    plan.stock = stock;
    SplitDemand(pieces, stock, plan.pieces, plan.tooLong);
    const std::vector<Item> items = ItemsOf(plan.pieces, stock);
    std::vector<long long> demand;
    for (const Item &i : items)
        demand.push_back(i.demand);
    const std::vector<Pattern> firstFit = cutting::FirstFitPatterns(items, demand, stock.capacity());
    plan.firstFitBars = (long long)firstFit.size();
    cutting::Limits limits;
    limits.time = control.timeLimit;
    limits.cancel = control.cancel;
    const cutting::Solution solution = cutting::Solve(items, stock.capacity(), firstFit, limits);
    plan.lowerBound = solution.lowerBound;
    for (const Pattern &p : solution.bars)
        plan.bars.push_back(BarOf(p, items, stock));
    if (control.solverResult)
        control.solverResult(plan.bars);
    // Whatever the solver found, first fit's plan stands when it is as good.
    if (plan.bars.size() >= firstFit.size() || !CheckProfilePlan(plan).isEmpty()) {
        plan.bars.clear();
        for (const Pattern &p : firstFit)
            plan.bars.push_back(BarOf(p, items, stock));
    }
    plan.fromFirstFit = plan.bars.size() == firstFit.size();
    SortBars(plan.bars);
    plan.optimal = (long long)plan.bars.size() == plan.lowerBound;
    // A plan at its bound is proven however its search ended.
    plan.interrupted = solution.interrupted && !plan.optimal;
    return plan;
}

CuttingPlan PlanCutList(const CutList &list, const StockSettings &stock, const PlanControl &control)
{
    CuttingPlan plan;
    const QStringList keys = list.profileKeys(), labels = list.profiles();
    for (qsizetype k = 0; k < keys.size(); ++k) {
        if (control.progress)
            control.progress(int(k), int(keys.size()));
        std::vector<PieceDemand> pieces;
        for (const CutListRow &row : list.rows)
            if (row.key == keys[k])
                pieces.push_back({row.length, row.count});
        plan.profiles.push_back(PlanProfile(labels[k], pieces, stock.forProfile(keys[k]), control));
    }
    if (control.progress)
        control.progress(int(keys.size()), int(keys.size()));
    AssignSigns(plan, list);
    return plan;
}

void AssignSigns(CuttingPlan &plan, const CutList &list)
{
    const QStringList keys = list.profileKeys();
    for (size_t k = 0; k < plan.profiles.size() && k < size_t(keys.size()); ++k) {
        // Per length, the signs still owed pieces, first sign first; "" for pieces of a row that
        // does not say which of its signs needs how many.
        std::map<CutLength, std::vector<std::pair<QString, long long>>> owed;
        for (const CutListRow &row : list.rows) {
            if (row.key != keys[qsizetype(k)])
                continue;
            auto &queue = owed[row.length];
            if (row.signCounts.size() == size_t(row.signs.size()) && !row.signs.isEmpty())
                for (size_t s = 0; s < row.signCounts.size(); ++s)
                    queue.push_back({row.signs[qsizetype(s)], row.signCounts[s]});
            else
                queue.push_back({row.signs.size() == 1 ? row.signs[0] : QString(), row.count});
        }
        for (PlannedBar &bar : plan.profiles[k].bars) {
            bar.signs.clear();
            for (CutLength cut : bar.cuts) {
                auto &queue = owed[cut];
                while (!queue.empty() && queue.front().second <= 0)
                    queue.erase(queue.begin());
                if (queue.empty()) {
                    bar.signs.push_back(QString());
                    continue;
                }
                bar.signs.push_back(queue.front().first);
                --queue.front().second;
            }
        }
    }
}

QString CheckProfilePlan(const ProfilePlan &plan)
{
    std::map<CutLength, long long> cut, wanted;
    for (const PieceDemand &p : plan.pieces)
        wanted[p.length] += p.count;
    for (size_t b = 0; b < plan.bars.size(); ++b) {
        const PlannedBar &bar = plan.bars[b];
        CutLength used = 0;
        for (size_t k = 0; k < bar.cuts.size(); ++k) {
            used += bar.cuts[k] + plan.stock.kerf;
            ++cut[bar.cuts[k]];
            if (k > 0 && bar.cuts[k] > bar.cuts[k - 1])
                return QStringLiteral("bar %1: cuts not longest first").arg(b + 1);
        }
        if (bar.cuts.empty())
            return QStringLiteral("bar %1 is empty").arg(b + 1);
        if (used > plan.stock.capacity())
            return QStringLiteral("bar %1: cuts need %2 cm of %3 cm").arg(b + 1).arg(CutLengthText(used), CutLengthText(plan.stock.capacity()));
        if (bar.offcut != plan.stock.capacity() - used)
            return QStringLiteral("bar %1: offcut %2 cm, not %3 cm").arg(b + 1).arg(CutLengthText(bar.offcut), CutLengthText(plan.stock.capacity() - used));
    }
    if (cut != wanted)
        return QStringLiteral("the bars do not hold exactly the pieces asked for");
    if ((long long)plan.bars.size() < plan.lowerBound)
        return QStringLiteral("fewer bars than the lower bound");
    if ((long long)plan.bars.size() > plan.firstFitBars)
        return QStringLiteral("more bars than first-fit decreasing");
    return {};
}

namespace {

QByteArray Cm(CutLength units)
{
    return CutLengthText(units).toLatin1();
}

QByteArray DemandJson(const std::vector<PieceDemand> &list)
{
    QByteArray out = "[";
    for (size_t i = 0; i < list.size(); ++i)
        out += (i ? ", " : "") + QByteArray("{\"length\": ") + Cm(list[i].length) + ", \"count\": " + QByteArray::number(list[i].count) + "}";
    return out + "]";
}

} // namespace

QByteArray CuttingPlanJson(const CuttingPlan &plan)
{
    QByteArray out = "{\n  \"profiles\": [";
    for (size_t n = 0; n < plan.profiles.size(); ++n) {
        const ProfilePlan &p = plan.profiles[n];
        out += n ? ",\n" : "\n";
        out += "    {\n      \"profile\": " + JsonQuoted(p.profile) + ",\n";
        out += "      \"barLength\": " + Cm(p.stock.barLength) + ", \"kerf\": " + Cm(p.stock.kerf) + ", \"trim\": " + Cm(p.stock.trim) + ",\n";
        out += "      \"pieces\": " + DemandJson(p.pieces) + ",\n";
        out += "      \"bars\": [";
        for (size_t b = 0; b < p.bars.size(); ++b) {
            const PlannedBar &bar = p.bars[b];
            QByteArray cuts, signs;
            for (size_t k = 0; k < bar.cuts.size(); ++k) {
                cuts += (k ? ", " : "") + Cm(bar.cuts[k]);
                const bool known = k < bar.signs.size() && !bar.signs[k].isEmpty();
                signs += (k ? ", " : "") + (known ? JsonQuoted(bar.signs[k]) : QByteArray("null"));
            }
            out += (b ? ",\n" : "\n") + QByteArray("        {\"cuts\": [") + cuts + "], \"signs\": [" + signs + "], \"offcut\": "
                   + Cm(bar.offcut) + "}";
        }
        out += p.bars.empty() ? "],\n" : "\n      ],\n";
        out += "      \"tooLong\": " + DemandJson(p.tooLong) + ",\n";
        out += "      \"lowerBound\": " + QByteArray::number(p.lowerBound) + ", \"firstFitBars\": " + QByteArray::number(p.firstFitBars)
               + ", \"optimal\": " + (p.optimal ? "true" : "false") + ", \"interrupted\": " + (p.interrupted ? "true" : "false")
               + "\n    }";
    }
    out += plan.profiles.empty() ? "],\n" : "\n  ],\n";
    out += "  \"totalBars\": " + QByteArray::number(plan.totalBars()) + "\n}\n";
    return out;
}

namespace {

// "2 x 199.00 + 45.00": runs of equal cuts counted.
QString CutsText(const std::vector<CutLength> &cuts)
{
    QStringList parts;
    for (size_t k = 0; k < cuts.size();) {
        size_t run = k;
        while (run < cuts.size() && cuts[run] == cuts[k])
            ++run;
        parts << (run - k > 1 ? QStringLiteral("%1 x %2").arg(run - k).arg(CutLengthText(cuts[k])) : CutLengthText(cuts[k]));
        k = run;
    }
    return parts.join(QStringLiteral(" + "));
}

} // namespace

QString CuttingPlanReport(const CuttingPlan &plan, const LanguageTable &language)
{
    const auto E = [&](int n) -> const QString & { return language.LanguageEntry(n); };
    const QChar end = u'\r';
    const QString cm = E(text::kCentimetreUnit);
    // Decimals as the language writes them; the cut list file keeps its ".".
    const QChar separator = DecimalSeparator(language);
    const auto length = [separator](CutLength units) { return WithDecimalSeparator(CutLengthText(units), separator); };
    QString out = E(text::kPlanTitle) + end;
    if (plan.interrupted())
        out += E(text::kPlanInterrupted) + end;
    out += end;
    if (plan.empty())
        return out + E(text::kPlanNoSignInUse) + end;
    const auto value = [&](int label, const QString &v, const QString &unit = QString()) {
        out += E(label) + u'\t' + u' ' + v + unit + end;
    };
    for (const ProfilePlan &p : plan.profiles) {
        long long pieces = 0;
        for (const PieceDemand &d : p.pieces)
            pieces += d.count;
        out += E(text::kPlanProfile) + u' ' + p.profile + end;
        value(text::kPlanStockBar, length(p.stock.barLength), cm);
        value(text::kPlanKerf, length(p.stock.kerf), cm);
        value(text::kPlanTrim, length(p.stock.trim), cm);
        value(text::kPlanPieces, QString::number(pieces));
        value(text::kPlanBarsToOrder, QString::number(p.bars.size()));
        value(text::kPlanLowerBound, QString::number(p.lowerBound), E(p.optimal ? text::kPlanBoundReached : text::kPlanBoundNotReached));
        value(text::kPlanFirstFit, QString::number(p.firstFitBars));
        value(text::kPlanWaste, FormatFixed(p.wastePercent(), 0, 2, separator), E(text::kPercentUnit));
        for (size_t b = 0; b < p.bars.size();) {
            size_t same = b;
            while (same < p.bars.size() && p.bars[same].cuts == p.bars[b].cuts)
                ++same;
            // "Bar 1-4" is four bars cut alike; an "n x" inside the value counts pieces of one bar.
            const QString numbers = same - b > 1 ? QStringLiteral("%1-%2").arg(b + 1).arg(same) : QString::number(b + 1);
            out += E(text::kPlanBar) + u' ' + numbers + u'\t' + u' ' + WithDecimalSeparator(CutsText(p.bars[b].cuts), separator) + cm + E(text::kPlanOffcut)
                   + u' ' + length(p.bars[b].offcut) + cm + end;
            b = same;
        }
        for (const PieceDemand &d : p.tooLong)
            out += E(text::kPlanTooLong) + u'\t' + u' ' + QString::number(d.count) + E(text::kPiecesOf) + u' ' + length(d.length) + cm + end;
        out += end;
    }
    out += E(text::kTotalsSeparator) + end;
    value(text::kPlanBarsToOrder, QString::number(plan.totalBars()));
    return out;
}

} // namespace tablix
