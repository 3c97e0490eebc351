// The cutting-stock solver: column generation with GLPK, a whole-bar plan over the generated
// patterns, first-fit decreasing as fallback and yardstick; JSON and report text of the plan.
#include "core/workshop/cutting_plan.h"

#include <glpk.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <numeric>

#include "core/number/number_format.h"
#include "core/params/language.h"
#include "core/params/language_entries.h"
#include "core/params/params_json.h"

namespace tablix {

namespace {

// The distinct piece lengths of one profile, longest first; `size` adds the kerf each cut takes.
struct Item {
    CutLength length = 0;
    CutLength size = 0;
    long long demand = 0;
};

using Pattern = std::vector<long long>; // pieces of each item in one bar

// First fit over bars kept in a max tree of their free length, so each piece finds the first bar
// with room in log time.
class FirstFitBars {
public:
    FirstFitBars(long long maxBars, CutLength capacity)
        : capacity_(capacity)
    {
        leaves_ = 1;
        while (leaves_ < maxBars)
            leaves_ *= 2;
        tree_.assign(size_t(2 * leaves_), capacity);
    }
    // Index of the bar the piece went into.
    long long place(CutLength size)
    {
        long long node = 1;
        while (node < leaves_)
            node = tree_[size_t(2 * node)] >= size ? 2 * node : 2 * node + 1;
        tree_[size_t(node)] -= size;
        const long long bar = node - leaves_;
        used_ = std::max(used_, bar + 1);
        for (node /= 2; node >= 1; node /= 2)
            tree_[size_t(node)] = std::max(tree_[size_t(2 * node)], tree_[size_t(2 * node + 1)]);
        return bar;
    }
    long long used() const { return used_; }

private:
    CutLength capacity_;
    long long leaves_ = 1;
    long long used_ = 0;
    std::vector<CutLength> tree_;
};

// Patterns of first-fit decreasing over items (longest first); every size fits the capacity.
std::vector<Pattern> FirstFitPatterns(const std::vector<Item> &items, const std::vector<long long> &demand, CutLength capacity)
{
    long long pieces = 0;
    for (long long d : demand)
        pieces += d;
    if (pieces == 0)
        return {};
    FirstFitBars bars(pieces, capacity);
    std::vector<Pattern> patterns;
    for (size_t i = 0; i < items.size(); ++i)
        for (long long k = 0; k < demand[i]; ++k) {
            const long long bar = bars.place(items[i].size);
            if (bar >= (long long)patterns.size())
                patterns.resize(size_t(bar + 1), Pattern(items.size(), 0));
            ++patterns[size_t(bar)][i];
        }
    return patterns;
}

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

// The best pattern for the duals: a bounded knapsack solved by depth-first branch and bound on
// the items in order of value per length, bounded by the fractional fill.
class Pricing {
public:
    Pricing(const std::vector<Item> &items, CutLength capacity)
        : items_(items), capacity_(capacity) {}

    struct Result {
        Pattern pattern;
        double value = 0;
        double upperBound = 0; // no pattern is worth more
    };

    Result best(const std::vector<double> &duals)
    {
        order_.clear();
        for (size_t i = 0; i < items_.size(); ++i)
            if (duals[i] > 1e-12)
                order_.push_back(i);
        std::sort(order_.begin(), order_.end(), [&](size_t a, size_t b) {
            return duals[a] * double(items_[b].size) > duals[b] * double(items_[a].size);
        });
        duals_ = &duals;
        current_.assign(items_.size(), 0);
        result_ = Result{Pattern(items_.size(), 0), 0, 0};
        nodes_ = 0;
        complete_ = true;
        const double root = bound(0, capacity_);
        search(0, capacity_, 0);
        result_.upperBound = complete_ ? result_.value : std::max(root, result_.value);
        return result_;
    }

private:
    static constexpr long long kNodeLimit = 2000000;

    long long fits(size_t k, CutLength room) const
    {
        const Item &item = items_[order_[k]];
        return std::min(item.demand, room / item.size);
    }

    double bound(size_t k, CutLength room) const
    {
        double value = 0;
        for (; k < order_.size() && room > 0; ++k) {
            const Item &item = items_[order_[k]];
            const double y = (*duals_)[order_[k]];
            const long long whole = fits(k, room);
            value += double(whole) * y;
            room -= whole * item.size;
            if (whole < item.demand) {
                value += y * double(room) / double(item.size);
                break;
            }
        }
        return value;
    }

    void search(size_t k, CutLength room, double value)
    {
        if (value > result_.value + 1e-12) {
            result_.value = value;
            result_.pattern = current_;
        }
        if (k == order_.size() || room <= 0)
            return;
        if (++nodes_ > kNodeLimit) {
            complete_ = false;
            return;
        }
        if (value + bound(k, room) <= result_.value + 1e-12)
            return;
        const size_t i = order_[k];
        for (long long c = fits(k, room); c >= 0; --c) {
            current_[i] = c;
            search(k + 1, room - c * items_[i].size, value + double(c) * (*duals_)[i]);
            if (!complete_)
                break;
        }
        current_[i] = 0;
    }

    const std::vector<Item> &items_;
    CutLength capacity_;
    std::vector<size_t> order_;
    const std::vector<double> *duals_ = nullptr;
    Pattern current_;
    Result result_;
    long long nodes_ = 0;
    bool complete_ = true;
};

// GLPK's own problem object, freed however the solver leaves.
struct GlpProblem {
    glp_prob *p = glp_create_prob();
    GlpProblem() = default;
    GlpProblem(const GlpProblem &) = delete;
    GlpProblem &operator=(const GlpProblem &) = delete;
    ~GlpProblem() { glp_delete_prob(p); }
};

void AddPatternColumn(glp_prob *lp, const Pattern &pattern)
{
    const int j = glp_add_cols(lp, 1);
    glp_set_col_bnds(lp, j, GLP_LO, 0, 0);
    glp_set_obj_coef(lp, j, 1);
    std::vector<int> index{0};
    std::vector<double> value{0};
    for (size_t i = 0; i < pattern.size(); ++i)
        if (pattern[i] > 0) {
            index.push_back(int(i) + 1);
            value.push_back(double(pattern[i]));
        }
    glp_set_mat_col(lp, j, int(index.size()) - 1, index.data(), value.data());
}

constexpr int kMaxColumnRounds = 400;
constexpr int kMipTimeLimitMs = 300;

long long CeilBound(double value)
{
    return (long long)std::ceil(value - 1e-6);
}

struct Solution {
    std::vector<Pattern> bars;
    long long lowerBound = 0;
};

// Bars of patterns chosen `counts` times, with pieces beyond the demand taken out again.
std::vector<Pattern> ExactBars(const std::vector<Pattern> &patterns, const std::vector<long long> &counts,
                               const std::vector<Item> &items)
{
    std::vector<Pattern> bars;
    for (size_t p = 0; p < patterns.size(); ++p)
        for (long long k = 0; k < counts[p]; ++k)
            bars.push_back(patterns[p]);
    for (size_t i = 0; i < items.size(); ++i) {
        long long surplus = -items[i].demand;
        for (const Pattern &b : bars)
            surplus += b[i];
        for (auto b = bars.rbegin(); b != bars.rend() && surplus > 0; ++b) {
            const long long take = std::min(surplus, (*b)[i]);
            (*b)[i] -= take;
            surplus -= take;
        }
    }
    std::erase_if(bars, [](const Pattern &b) { return std::all_of(b.begin(), b.end(), [](long long n) { return n == 0; }); });
    return bars;
}

// Column generation from the first-fit patterns, then the whole-bar plan; `firstFit` is the
// yardstick it must beat and is what comes back when it cannot.
Solution Solve(const std::vector<Item> &items, CutLength capacity, const std::vector<Pattern> &firstFit)
{
    std::vector<long long> demand;
    double volume = 0;
    for (const Item &item : items) {
        demand.push_back(item.demand);
        volume += double(item.size) * double(item.demand);
    }
    Solution solution{firstFit, CeilBound(volume / double(capacity))};
    if ((long long)firstFit.size() <= solution.lowerBound)
        return solution;

    glp_term_out(GLP_OFF);
    GlpProblem problem;
    glp_prob *lp = problem.p;
    glp_set_obj_dir(lp, GLP_MIN);
    glp_add_rows(lp, int(items.size()));
    for (size_t i = 0; i < items.size(); ++i)
        glp_set_row_bnds(lp, int(i) + 1, GLP_LO, double(items[i].demand), 0);

    std::vector<Pattern> patterns;
    auto addPattern = [&](const Pattern &p) {
        if (std::find(patterns.begin(), patterns.end(), p) != patterns.end())
            return false;
        patterns.push_back(p);
        AddPatternColumn(lp, p);
        return true;
    };
    for (size_t i = 0; i < items.size(); ++i) {
        Pattern single(items.size(), 0);
        single[i] = std::min(items[i].demand, capacity / items[i].size);
        addPattern(single);
    }
    for (const Pattern &p : firstFit)
        addPattern(p);

    glp_smcp simplex;
    glp_init_smcp(&simplex);
    simplex.msg_lev = GLP_MSG_OFF;
    Pricing pricing(items, capacity);
    std::vector<double> duals(items.size());
    bool solved = false;
    for (int round = 0; round < kMaxColumnRounds; ++round) {
        if (glp_simplex(lp, &simplex) != 0 || glp_get_status(lp) != GLP_OPT)
            break;
        solved = true;
        const double z = glp_get_obj_val(lp);
        for (size_t i = 0; i < items.size(); ++i)
            duals[i] = std::max(0.0, glp_get_row_dual(lp, int(i) + 1));
        const Pricing::Result priced = pricing.best(duals);
        // No pattern is worth more than the upper bound: the linear optimum is at least z / it.
        solution.lowerBound = std::max(solution.lowerBound, CeilBound(z / std::max(1.0, priced.upperBound)));
        if ((long long)firstFit.size() <= solution.lowerBound)
            return solution;
        if (priced.value <= 1 + 1e-9 || !addPattern(priced.pattern))
            break;
    }
    if (!solved)
        return solution;

    // Whole bars: the linear plan rounded down and the rest by first fit, and the integer
    // program over the generated patterns when that is not enough.
    std::vector<long long> counts(patterns.size());
    std::vector<long long> rest = demand;
    for (size_t p = 0; p < patterns.size(); ++p) {
        counts[p] = (long long)std::floor(glp_get_col_prim(lp, int(p) + 1) + 1e-9);
        for (size_t i = 0; i < items.size(); ++i)
            rest[i] = std::max(0LL, rest[i] - counts[p] * patterns[p][i]);
    }
    std::vector<Pattern> best = ExactBars(patterns, counts, items);
    for (const Pattern &p : FirstFitPatterns(items, rest, capacity))
        best.push_back(p);

    if ((long long)best.size() > solution.lowerBound) {
        for (size_t p = 0; p < patterns.size(); ++p)
            glp_set_col_kind(lp, int(p) + 1, GLP_IV);
        glp_iocp mip;
        glp_init_iocp(&mip);
        mip.msg_lev = GLP_MSG_OFF;
        mip.tm_lim = kMipTimeLimitMs;
        mip.presolve = GLP_ON;
        const int status = glp_intopt(lp, &mip) == 0 || glp_mip_status(lp) == GLP_FEAS ? glp_mip_status(lp) : GLP_UNDEF;
        if (status == GLP_OPT || status == GLP_FEAS) {
            for (size_t p = 0; p < patterns.size(); ++p)
                counts[p] = std::llround(glp_mip_col_val(lp, int(p) + 1));
            std::vector<Pattern> mipBars = ExactBars(patterns, counts, items);
            if (mipBars.size() < best.size())
                best = std::move(mipBars);
        }
    }
    if (best.size() < firstFit.size())
        solution.bars = std::move(best);
    return solution;
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
    for (const Pattern &p : FirstFitPatterns(items, demand, stock.capacity()))
        bars.push_back(BarOf(p, items, stock));
    return bars;
}

ProfilePlan PlanProfile(const QString &profile, const std::vector<PieceDemand> &pieces, const StockProfile &stock)
{
    ProfilePlan plan;
    plan.profile = profile;
    plan.stock = stock;
    SplitDemand(pieces, stock, plan.pieces, plan.tooLong);
    const std::vector<Item> items = ItemsOf(plan.pieces, stock);
    std::vector<long long> demand;
    for (const Item &i : items)
        demand.push_back(i.demand);
    const std::vector<Pattern> firstFit = FirstFitPatterns(items, demand, stock.capacity());
    plan.firstFitBars = (long long)firstFit.size();
    const Solution solution = items.empty() ? Solution{} : Solve(items, stock.capacity(), firstFit);
    plan.lowerBound = solution.lowerBound;
    plan.fromFirstFit = solution.bars.size() == firstFit.size();
    for (const Pattern &p : solution.bars)
        plan.bars.push_back(BarOf(p, items, stock));
    SortBars(plan.bars);
    plan.optimal = (long long)plan.bars.size() == plan.lowerBound;
    return plan;
}

CuttingPlan PlanCutList(const CutList &list, const StockSettings &stock)
{
    CuttingPlan plan;
    const QStringList keys = list.profileKeys(), labels = list.profiles();
    for (qsizetype k = 0; k < keys.size(); ++k) {
        std::vector<PieceDemand> pieces;
        for (const CutListRow &row : list.rows)
            if (row.key == keys[k])
                pieces.push_back({row.length, row.count});
        plan.profiles.push_back(PlanProfile(labels[k], pieces, stock.forProfile(keys[k])));
    }
    return plan;
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
            QByteArray cuts;
            for (size_t k = 0; k < p.bars[b].cuts.size(); ++k)
                cuts += (k ? ", " : "") + Cm(p.bars[b].cuts[k]);
            out += (b ? ",\n" : "\n") + QByteArray("        {\"cuts\": [") + cuts + "], \"offcut\": " + Cm(p.bars[b].offcut) + "}";
        }
        out += p.bars.empty() ? "],\n" : "\n      ],\n";
        out += "      \"tooLong\": " + DemandJson(p.tooLong) + ",\n";
        out += "      \"lowerBound\": " + QByteArray::number(p.lowerBound) + ", \"firstFitBars\": " + QByteArray::number(p.firstFitBars)
               + ", \"optimal\": " + (p.optimal ? "true" : "false") + "\n    }";
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
    QString out = E(text::kPlanTitle) + end + end;
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
