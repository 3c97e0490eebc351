// Column generation with GLPK and an exact knapsack, then diving with limited backtracking for
// whole bars; first-fit and best-fit decreasing complete partial plans.
#include "core/workshop/cutting_stock.h"

#include <glpk.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <numeric>
#include <optional>
#include <set>

namespace tablix::cutting {

namespace {

// First fit over bars kept in a max tree of their free length, so each piece finds the first bar
// with room in log time.
class FirstFitBars {
public:
    FirstFitBars(long long maxBars, CutLength capacity)
    {
        while (leaves_ < maxBars)
            leaves_ *= 2;
        tree_.assign(size_t(2 * leaves_), capacity);
    }
    long long place(CutLength size)
    {
        long long node = 1;
        while (node < leaves_)
            node = tree_[size_t(2 * node)] >= size ? 2 * node : 2 * node + 1;
        tree_[size_t(node)] -= size;
        const long long bar = node - leaves_;
        for (node /= 2; node >= 1; node /= 2)
            tree_[size_t(node)] = std::max(tree_[size_t(2 * node)], tree_[size_t(2 * node + 1)]);
        return bar;
    }

private:
    long long leaves_ = 1;
    std::vector<CutLength> tree_;
};

long long Pieces(const std::vector<long long> &demand)
{
    return std::accumulate(demand.begin(), demand.end(), 0LL);
}

// Processor time of this thread: the safety limit holds the same on a busy machine.
std::chrono::nanoseconds ThreadTime()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
}

// Steps of the exact search for the whole demand, and for what a dive leaves.
constexpr long long kRootCompletionSteps = 2000000;
constexpr long long kNodeCompletionSteps = 20000;

long long CeilBound(double value)
{
    return (long long)std::ceil(value - 1e-6);
}

} // namespace

std::vector<Pattern> FirstFitPatterns(const std::vector<Item> &items, const std::vector<long long> &demand, CutLength capacity)
{
    const long long pieces = Pieces(demand);
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

std::vector<Pattern> BestFitPatterns(const std::vector<Item> &items, const std::vector<long long> &demand, CutLength capacity)
{
    std::vector<Pattern> patterns;
    std::multiset<std::pair<CutLength, size_t>> room; // free length, bar
    for (size_t i = 0; i < items.size(); ++i)
        for (long long k = 0; k < demand[i]; ++k) {
            auto it = room.lower_bound({items[i].size, 0});
            size_t bar;
            CutLength free;
            if (it == room.end()) {
                bar = patterns.size();
                patterns.emplace_back(items.size(), 0);
                free = capacity;
            } else {
                bar = it->second;
                free = it->first;
                room.erase(it);
            }
            ++patterns[bar][i];
            room.insert({free - items[i].size, bar});
        }
    return patterns;
}

namespace {

// The most valuable pattern for the duals: a bounded knapsack, exact. Dynamic programming over
// the lengths divided by their common divisor when the table is small, else depth-first branch
// and bound (which may stop at its node limit and then only bounds the value).
class Pricing {
public:
    Pricing(const std::vector<Item> &items, CutLength capacity)
        : items_(items)
    {
        CutLength g = 0;
        for (const Item &item : items)
            g = std::gcd(g, item.size);
        unit_ = std::max<CutLength>(1, g);
        width_ = capacity / unit_;
        capacity_ = capacity;
    }

    struct Result {
        Pattern pattern;
        double value = 0;
        double upperBound = 0; // no pattern is worth more
    };

    Result best(const std::vector<double> &duals, const std::vector<long long> &bound)
    {
        long long chunks = 0;
        for (size_t i = 0; i < items_.size(); ++i)
            if (duals[i] > 1e-12 && bound[i] > 0)
                chunks += 1 + (long long)std::log2(double(bound[i]));
        if (chunks * (width_ + 1) <= kTableLimit)
            return dynamic(duals, bound, width_);
        return branchAndBound(duals, bound);
    }

    // The most length of the pieces `bound` allows that fits `room`; nothing when the table
    // would be too large.
    std::optional<Pattern> fullest(const std::vector<long long> &bound, CutLength room)
    {
        std::vector<double> lengths(items_.size());
        long long chunks = 0;
        for (size_t i = 0; i < items_.size(); ++i) {
            lengths[i] = double(items_[i].size / unit_);
            if (bound[i] > 0)
                chunks += 1 + (long long)std::log2(double(bound[i]));
        }
        if (chunks * (room / unit_ + 1) > kFillLimit)
            return std::nullopt;
        return dynamic(lengths, bound, room / unit_).pattern;
    }

private:
    static constexpr long long kTableLimit = 8000000;
    static constexpr long long kNodeLimit = 2000000;
    static constexpr long long kFillLimit = 400000; // one bar of the fullest-bar packing

    Result dynamic(const std::vector<double> &duals, const std::vector<long long> &bound, CutLength width)
    {
        struct Chunk {
            size_t item;
            long long count;
            CutLength weight;
            double value;
        };
        std::vector<Chunk> chunks;
        for (size_t i = 0; i < items_.size(); ++i) {
            if (!(duals[i] > 1e-12) || bound[i] <= 0)
                continue;
            const CutLength w = items_[i].size / unit_;
            long long left = std::min(bound[i], width / w);
            for (long long c = 1; left > 0; c *= 2) {
                const long long n = std::min(c, left);
                chunks.push_back({i, n, n * w, double(n) * duals[i]});
                left -= n;
            }
        }
        const size_t W = size_t(width) + 1;
        best_.assign(W, 0.0);
        take_.assign(chunks.size() * W, 0);
        for (size_t t = 0; t < chunks.size(); ++t) {
            const size_t wt = size_t(chunks[t].weight);
            const double v = chunks[t].value;
            std::uint8_t *take = take_.data() + t * W;
            for (size_t w = W - 1; w + 1 > wt; --w)
                if (best_[w - wt] + v > best_[w] + 1e-12) {
                    best_[w] = best_[w - wt] + v;
                    take[w] = 1;
                }
        }
        Result r{Pattern(items_.size(), 0), best_[W - 1], best_[W - 1]};
        size_t w = W - 1;
        for (size_t t = chunks.size(); t-- > 0;)
            if (take_[t * W + w]) {
                r.pattern[chunks[t].item] += chunks[t].count;
                w -= size_t(chunks[t].weight);
            }
        return r;
    }

    Result branchAndBound(const std::vector<double> &duals, const std::vector<long long> &bound)
    {
        order_.clear();
        for (size_t i = 0; i < items_.size(); ++i)
            if (duals[i] > 1e-12 && bound[i] > 0)
                order_.push_back(i);
        std::sort(order_.begin(), order_.end(), [&](size_t a, size_t b) {
            return duals[a] * double(items_[b].size) > duals[b] * double(items_[a].size);
        });
        duals_ = &duals;
        bound_ = &bound;
        current_.assign(items_.size(), 0);
        result_ = Result{Pattern(items_.size(), 0), 0, 0};
        nodes_ = 0;
        complete_ = true;
        const double root = fractional(0, capacity_);
        search(0, capacity_, 0);
        result_.upperBound = complete_ ? result_.value : std::max(root, result_.value);
        return result_;
    }

    long long fits(size_t k, CutLength room) const
    {
        const Item &item = items_[order_[k]];
        return std::min((*bound_)[order_[k]], room / item.size);
    }

    double fractional(size_t k, CutLength room) const
    {
        double value = 0;
        for (; k < order_.size() && room > 0; ++k) {
            const Item &item = items_[order_[k]];
            const double y = (*duals_)[order_[k]];
            const long long whole = fits(k, room);
            value += double(whole) * y;
            room -= whole * item.size;
            if (whole < (*bound_)[order_[k]]) {
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
        if (value + fractional(k, room) <= result_.value + 1e-12)
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
    CutLength capacity_ = 0, unit_ = 1, width_ = 0;
    std::vector<double> best_;
    std::vector<std::uint8_t> take_;
    std::vector<size_t> order_;
    const std::vector<double> *duals_ = nullptr;
    const std::vector<long long> *bound_ = nullptr;
    Pattern current_;
    Result result_;
    long long nodes_ = 0;
    bool complete_ = true;
};

// Each bar takes the longest piece left and is then filled as full as the rest allows (minimum
// bin slack, greedy); strong where first fit leaves gaps that a choice of small pieces closes.
std::optional<std::vector<Pattern>> FullestBars(const std::vector<Item> &items, std::vector<long long> demand, CutLength capacity,
                                                Pricing &pricing)
{
    std::vector<Pattern> bars;
    for (size_t first = 0; first < items.size();) {
        if (demand[first] == 0) {
            ++first;
            continue;
        }
        --demand[first];
        std::vector<long long> bound(items.size(), 0);
        for (size_t i = first; i < items.size(); ++i)
            bound[i] = demand[i];
        std::optional<Pattern> bar = pricing.fullest(bound, capacity - items[first].size);
        if (!bar)
            return std::nullopt;
        for (size_t i = 0; i < items.size(); ++i)
            demand[i] -= (*bar)[i];
        ++(*bar)[first];
        bars.push_back(std::move(*bar));
    }
    return bars;
}

// Exact search for a plan of at most `bars` bars: each bar takes the longest piece left and one
// of its fullest completions, the waste of all bars within what the volume leaves (bin
// completion). Gives up after `limit` steps.
class Completion {
public:
    Completion(const std::vector<Item> &items, CutLength capacity, long long limit)
        : items_(items), capacity_(capacity), limit_(limit) {}

    std::optional<std::vector<Pattern>> run(std::vector<long long> demand, long long bars)
    {
        CutLength volume = 0;
        for (size_t i = 0; i < items_.size(); ++i)
            volume += demand[i] * items_[i].size;
        if (bars <= 0 || volume > bars * capacity_)
            return std::nullopt;
        demand_ = std::move(demand);
        found_.clear();
        if (search(bars, bars * capacity_ - volume))
            return found_;
        return std::nullopt;
    }

private:
    bool search(long long binsLeft, CutLength slack)
    {
        size_t first = 0;
        while (first < items_.size() && demand_[first] == 0)
            ++first;
        if (first == items_.size())
            return true;
        if (binsLeft == 0 || steps_ > limit_)
            return false;
        --demand_[first];
        std::vector<std::pair<CutLength, Pattern>> options;
        Pattern bar(items_.size(), 0);
        bar[first] = 1;
        first_ = first;
        after_.assign(items_.size() + 1, 0);
        for (size_t i = items_.size(); i-- > first;)
            after_[i] = after_[i + 1] + demand_[i] * items_[i].size;
        completions(first, capacity_ - items_[first].size, slack, bar, options);
        std::stable_sort(options.begin(), options.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
        bool done = false;
        for (const auto &[waste, p] : options) {
            for (size_t i = first + 1; i < items_.size(); ++i)
                demand_[i] -= p[i];
            demand_[first] -= p[first] - 1;
            found_.push_back(p);
            done = search(binsLeft - 1, slack - waste);
            if (!done)
                found_.pop_back();
            for (size_t i = first + 1; i < items_.size(); ++i)
                demand_[i] += p[i];
            demand_[first] += p[first] - 1;
            if (done || steps_ > limit_)
                break;
        }
        ++demand_[first];
        return done;
    }

    // Fillings of `room` from items j on whose leftover takes no further piece and stays within
    // the slack.
    void completions(size_t j, CutLength room, CutLength slack, Pattern &bar, std::vector<std::pair<CutLength, Pattern>> &out)
    {
        ++steps_;
        // Even every piece left would not fill the bar to within the slack.
        if (room - after_[j] > slack)
            return;
        while (j < items_.size() && (demand_[j] - (bar[j] - (j == first_ ? 1 : 0)) <= 0 || items_[j].size > room))
            ++j;
        if (j == items_.size()) {
            if (room <= slack && out.size() < kOptions)
                out.push_back({room, bar});
            return;
        }
        const long long most = std::min(demand_[j] - (bar[j] - (j == first_ ? 1 : 0)), room / items_[j].size);
        for (long long c = most; c >= 0 && out.size() < kOptions && steps_ <= limit_; --c) {
            bar[j] += c;
            // Leaving all of a fitting length out makes sense only when a later one fills the room.
            completions(j + 1, room - c * items_[j].size, slack, bar, out);
            bar[j] -= c;
        }
    }

    static constexpr size_t kOptions = 64;
    const std::vector<Item> &items_;
    CutLength capacity_;
    long long limit_, steps_ = 0;
    size_t first_ = 0;
    std::vector<CutLength> after_; // length of the pieces left from each item on
    std::vector<long long> demand_;
    std::vector<Pattern> found_;
};

// GLPK's own problem object, freed however the solver leaves.
struct GlpProblem {
    glp_prob *p = glp_create_prob();
    GlpProblem() = default;
    GlpProblem(const GlpProblem &) = delete;
    GlpProblem &operator=(const GlpProblem &) = delete;
    ~GlpProblem() { glp_delete_prob(p); }
};

// The linear relaxation over a pool of patterns that only grows; each solve sets the demand
// still to cut as the right-hand side and prices new patterns until none pays.
class ColumnGeneration {
public:
    ColumnGeneration(const std::vector<Item> &items, CutLength capacity, const std::atomic<bool> *cancel = nullptr)
        : items_(items), capacity_(capacity), pricing_(items, capacity), cancel_(cancel)
    {
        glp_term_out(GLP_OFF);
        glp_set_obj_dir(lp(), GLP_MIN);
        glp_add_rows(lp(), int(items.size()));
        glp_init_smcp(&simplex_);
        simplex_.msg_lev = GLP_MSG_OFF;
        for (size_t i = 0; i < items.size(); ++i) {
            Pattern single(items.size(), 0);
            single[i] = 1;
            add(single);
            single[i] = std::min(items[i].demand, capacity / items[i].size);
            add(single);
        }
    }

    bool add(const Pattern &p)
    {
        if (!known_.insert(p).second)
            return false;
        patterns_.push_back(p);
        const int j = glp_add_cols(lp(), 1);
        glp_set_col_bnds(lp(), j, GLP_LO, 0, 0);
        glp_set_obj_coef(lp(), j, 1);
        std::vector<int> index{0};
        std::vector<double> value{0};
        for (size_t i = 0; i < p.size(); ++i)
            if (p[i] > 0) {
                index.push_back(int(i) + 1);
                value.push_back(double(p[i]));
            }
        glp_set_mat_col(lp(), j, int(index.size()) - 1, index.data(), value.data());
        return true;
    }

    struct Result {
        bool solved = false;
        long long bound = 0;   // no whole plan of the demand has fewer bars
        bool converged = false;
        double value = 0;
        std::vector<std::pair<double, size_t>> columns; // value and pattern, value > 0
    };

    // Stops early once the bound reaches `cutoff` (nothing below it is of use to the caller).
    // `toOptimum` goes on until no pattern pays even when the bound is already settled.
    Result solve(const std::vector<long long> &demand, long long cutoff, bool toOptimum = false)
    {
        Result r;
        for (size_t i = 0; i < items_.size(); ++i)
            glp_set_row_bnds(lp(), int(i) + 1, GLP_LO, double(demand[i]), 0);
        // A pattern with more of a length than is still wanted is no bar of this plan: left out,
        // it cannot pass for one that would waste the room.
        for (size_t j = 0; j < patterns_.size(); ++j) {
            bool fits = true;
            for (size_t i = 0; fits && i < items_.size(); ++i)
                fits = patterns_[j][i] <= demand[i];
            if (fits)
                glp_set_col_bnds(lp(), int(j) + 1, GLP_LO, 0, 0);
            else
                glp_set_col_bnds(lp(), int(j) + 1, GLP_FX, 0, 0);
        }
        std::vector<long long> bound(items_.size());
        for (size_t i = 0; i < items_.size(); ++i)
            bound[i] = std::min(demand[i], capacity_ / items_[i].size);
        std::vector<double> duals(items_.size());
        simplex_.meth = GLP_DUALP;
        for (int round = 0; round < kMaxRounds; ++round) {
            if (cancel_ && cancel_->load())
                return r;
            if (!optimal()) {
                // A fresh basis once, before giving up.
                glp_adv_basis(lp(), 0);
                simplex_.meth = GLP_PRIMAL;
                if (!optimal())
                    return r;
            }
            simplex_.meth = GLP_PRIMAL;
            r.solved = true;
            r.value = glp_get_obj_val(lp());
            for (size_t i = 0; i < items_.size(); ++i)
                duals[i] = demand[i] > 0 ? std::max(0.0, glp_get_row_dual(lp(), int(i) + 1)) : 0.0;
            const Pricing::Result priced = pricing_.best(duals, bound);
            // No pattern is worth more than the upper bound: the linear optimum is at least z / it.
            const long long farley = CeilBound(r.value / std::max(1.0, priced.upperBound));
            r.bound = std::max(r.bound, farley);
            const bool settled = farley >= CeilBound(r.value); // the converged optimum rounds up alike
            if (priced.upperBound <= 1 + 1e-9 || (settled && !toOptimum)) {
                r.converged = true;
                r.bound = std::max(r.bound, CeilBound(r.value));
                break;
            }
            if (r.bound >= cutoff || priced.value <= 1 + 1e-9 || !add(priced.pattern))
                break;
        }
        for (size_t j = 0; j < patterns_.size(); ++j) {
            const double x = glp_get_col_prim(lp(), int(j) + 1);
            if (x > 1e-7)
                r.columns.push_back({x, j});
        }
        return r;
    }

    const Pattern &pattern(size_t j) const { return patterns_[j]; }
    Pricing &pricing() { return pricing_; }

private:
    bool optimal() { return glp_simplex(lp(), &simplex_) == 0 && glp_get_status(lp()) == GLP_OPT; }

    static constexpr int kMaxRounds = 5000;
    glp_prob *lp() { return problem_.p; }

    const std::vector<Item> &items_;
    CutLength capacity_;
    Pricing pricing_;
    const std::atomic<bool> *cancel_;
    GlpProblem problem_;
    glp_smcp simplex_{};
    std::vector<Pattern> patterns_;
    std::set<Pattern> known_;
};

// Depth-first dives: fix patterns of the linear solution, cut the demand, solve again; the first
// child of a node rounds every value down, the others fix one pattern, the largest value first.
class Dive {
public:
    Dive(const std::vector<Item> &items, CutLength capacity, ColumnGeneration &lp, const Limits &limits, long long target,
         std::vector<Pattern> best)
        : items_(items), capacity_(capacity), lp_(lp), limits_(limits), target_(target), best_(std::move(best)),
          start_(ThreadTime())
    {
    }

    // Dives of three kinds, each with its share of the backtracks: where one gets lost, another
    // often goes straight.
    void run(const std::vector<long long> &demand)
    {
        for (rule_ = Rule::RoundDown; !done(); rule_ = Rule(int(rule_) + 1)) {
            backtracks_ = 0;
            std::vector<Pattern> fixed;
            node(demand, fixed);
            if (rule_ == Rule::Fullest)
                break;
        }
    }

    std::vector<Pattern> &best() { return best_; }
    bool interrupted() const { return interrupted_; }

private:
    bool done()
    {
        if ((long long)best_.size() <= target_)
            return true;
        if (interrupted_ || nodes_ >= limits_.nodes)
            return true;
        if ((limits_.cancel && limits_.cancel->load()) || ThreadTime() - start_ > limits_.time)
            interrupted_ = true;
        return interrupted_;
    }

    void offer(const std::vector<Pattern> &fixed, const std::vector<Pattern> &rest)
    {
        if (fixed.size() + rest.size() < best_.size()) {
            best_ = fixed;
            best_.insert(best_.end(), rest.begin(), rest.end());
        }
    }

    // Takes `count` bars of pattern j, each cut down to what is still wanted.
    void fix(const Pattern &p, long long count, std::vector<long long> &demand, std::vector<Pattern> &fixed)
    {
        for (long long k = 0; k < count; ++k) {
            Pattern bar(items_.size(), 0);
            bool any = false;
            for (size_t i = 0; i < items_.size(); ++i) {
                bar[i] = std::min(p[i], demand[i]);
                demand[i] -= bar[i];
                any = any || bar[i] > 0;
            }
            if (!any)
                return;
            fixed.push_back(std::move(bar));
        }
    }

    void node(const std::vector<long long> &demand, std::vector<Pattern> &fixed)
    {
        if (Pieces(demand) == 0) {
            offer(fixed, {});
            return;
        }
        if (done())
            return;
        ++nodes_;
        offer(fixed, FirstFitPatterns(items_, demand, capacity_));
        offer(fixed, BestFitPatterns(items_, demand, capacity_));
        if (const auto fullest = FullestBars(items_, demand, capacity_, lp_.pricing()))
            offer(fixed, *fullest);
        if (done())
            return;
        if (Pieces(demand) <= kExactPieces)
            if (auto exact = Completion(items_, capacity_, kNodeCompletionSteps).run(demand, target_ - (long long)fixed.size()))
                offer(fixed, *exact);
        if (done())
            return;
        const long long room = (long long)best_.size() - (long long)fixed.size();
        const ColumnGeneration::Result r = lp_.solve(demand, room);
        if (!r.solved || r.bound >= room)
            return;

        std::vector<std::pair<double, size_t>> columns = r.columns;
        if (rule_ == Rule::Fullest)
            for (auto &[x, j] : columns) {
                CutLength used = 0;
                for (size_t i = 0; i < items_.size(); ++i)
                    used += lp_.pattern(j)[i] * items_[i].size;
                x = std::min(x, 1.0) * double(used) / double(capacity_);
            }
        std::stable_sort(columns.begin(), columns.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
        const size_t mark = fixed.size();
        bool first = true;
        auto child = [&](auto &&apply) {
            if (!first) {
                if (backtracks_ >= limits_.backtracks / 3)
                    return false;
                ++backtracks_;
            }
            first = false;
            std::vector<long long> rest = demand;
            apply(rest);
            if (fixed.size() > mark)
                node(rest, fixed);
            fixed.resize(mark);
            return !done();
        };
        if (rule_ == Rule::RoundDown && !columns.empty() && columns.front().first >= 1 - 1e-6) {
            const bool more = child([&](std::vector<long long> &rest) {
                for (const auto &[x, j] : columns)
                    fix(lp_.pattern(j), (long long)std::floor(x + 1e-6), rest, fixed);
            });
            if (!more)
                return;
        }
        for (size_t c = 0; c < columns.size() && c < kWidth; ++c)
            if (!child([&](std::vector<long long> &rest) { fix(lp_.pattern(columns[c].second), 1, rest, fixed); }))
                return;
    }

    static constexpr size_t kWidth = 4;
    static constexpr long long kExactPieces = 60;
    // Round every value down first; fix the largest value; fix the largest value times fill.
    enum class Rule { RoundDown, Largest, Fullest };
    Rule rule_ = Rule::RoundDown;

    const std::vector<Item> &items_;
    CutLength capacity_;
    ColumnGeneration &lp_;
    const Limits &limits_;
    long long target_;
    std::vector<Pattern> best_;
    std::chrono::nanoseconds start_;
    long long nodes_ = 0, backtracks_ = 0;
    bool interrupted_ = false;
};

} // namespace

Solution Solve(const std::vector<Item> &items, CutLength capacity, const std::vector<Pattern> &firstFit, const Limits &limits)
{
    std::vector<long long> demand;
    double volume = 0;
    for (const Item &item : items) {
        demand.push_back(item.demand);
        volume += double(item.size) * double(item.demand);
    }
    Solution solution{firstFit, CeilBound(volume / double(capacity)), false, false};
    if (items.empty() || (long long)firstFit.size() <= solution.lowerBound)
        return solution;
    if (limits.cancel && limits.cancel->load()) {
        solution.interrupted = true;
        return solution;
    }

    ColumnGeneration lp(items, capacity, limits.cancel);
    std::vector<Pattern> start = firstFit;
    for (auto packing : {std::optional(BestFitPatterns(items, demand, capacity)), FullestBars(items, demand, capacity, lp.pricing())})
        if (packing) {
            for (const Pattern &p : *packing)
                lp.add(p);
            if (packing->size() < start.size())
                start = std::move(*packing);
        }
    for (const Pattern &p : firstFit)
        lp.add(p);
    if ((long long)start.size() <= solution.lowerBound) {
        solution.bars = std::move(start);
        return solution;
    }
    const ColumnGeneration::Result root = lp.solve(demand, (long long)start.size());
    solution.bars = start;
    if (limits.cancel && limits.cancel->load()) {
        solution.interrupted = true;
        return solution;
    }
    if (!root.solved)
        return solution;
    solution.lowerBound = std::max(solution.lowerBound, root.bound);
    solution.boundConverged = root.converged;
    if ((long long)start.size() <= solution.lowerBound) {
        solution.bars = std::move(start);
        return solution;
    }

    if (auto exact = Completion(items, capacity, kRootCompletionSteps).run(demand, solution.lowerBound)) {
        solution.bars = std::move(*exact);
        return solution;
    }
    Dive dive(items, capacity, lp, limits, solution.lowerBound, std::move(start));
    dive.run(demand);
    solution.bars = std::move(dive.best());
    solution.interrupted = dive.interrupted();
    return solution;
}

double LinearOptimum(const std::vector<Item> &items, CutLength capacity)
{
    std::vector<long long> demand;
    for (const Item &item : items)
        demand.push_back(item.demand);
    ColumnGeneration lp(items, capacity);
    return lp.solve(demand, std::numeric_limits<long long>::max(), true).value;
}

} // namespace tablix::cutting
