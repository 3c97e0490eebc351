// The cutting-stock search: triplets (every bar three pieces, no waste) solved to the optimum,
// the bound as the converged linear optimum, and never more bars than first fit whatever the
// solver returns.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "core/workshop/cutting_plan.h"
#include "core/workshop/cutting_stock.h"

using namespace tablix;

namespace {

const StockProfile kBar{1000 * kCutUnitsPerCm, 0, 0};

// `bars` bars of exactly three pieces of 250-500 cm each, shuffled into one demand.
std::vector<PieceDemand> Triplets(unsigned seed, int bars)
{
    std::mt19937 random(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    std::vector<PieceDemand> pieces;
    for (int b = 0; b < bars; ++b) {
        const int a = pick(380, 495);
        const int c = pick(std::max(251, 1000 - a - 495), std::min(495, (1000 - a) / 2));
        for (int length : {a, c, 1000 - a - c})
            pieces.push_back({length * kCutUnitsPerCm, 1});
    }
    return pieces;
}

// Random demands of the kinds that round badly: pieces just over a third or a half of the bar,
// few lengths many times, and mixed ones.
std::vector<PieceDemand> Awkward(std::mt19937 &random, StockProfile &stock)
{
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    stock = StockProfile{pick(3000, 6500) * 10, pick(0, 6) * 10, pick(0, 20) * 10};
    const CutLength c = stock.capacity();
    std::vector<PieceDemand> pieces;
    const int kind = pick(0, 2);
    for (int k = pick(2, 14); k > 0; --k) {
        CutLength length = kind == 0 ? c / 3 + pick(1, int(c / 12)) : kind == 1 ? c / 2 + pick(-int(c / 10), int(c / 10)) : pick(100, int(c));
        pieces.push_back({std::max<CutLength>(1, length - stock.kerf), pick(1, kind == 2 ? 6 : 30)});
    }
    return pieces;
}

long long Ffd(const std::vector<PieceDemand> &pieces, const StockProfile &stock)
{
    return (long long)FirstFitDecreasing(pieces, stock).size();
}

} // namespace

TEST(CuttingStock, TripletsReachTheirOptimum)
{
    for (unsigned seed : {1u, 2u, 3u}) {
        const std::vector<PieceDemand> pieces = Triplets(seed, 20 + 10 * int(seed));
        const ProfilePlan plan = PlanProfile(QStringLiteral("T"), pieces, kBar);
        EXPECT_EQ(CheckProfilePlan(plan), QString()) << seed;
        EXPECT_EQ((long long)plan.bars.size(), 20 + 10 * (long long)seed) << seed;
        EXPECT_TRUE(plan.optimal) << seed;
        EXPECT_GT(plan.firstFitBars, (long long)plan.bars.size()) << seed;
        for (const PlannedBar &bar : plan.bars)
            EXPECT_EQ(bar.offcut, 0);
    }
}

// The bound is that of the converged linear program, above the volume where pieces just over a
// third and a half of a bar leave room nobody can use.
TEST(CuttingStock, BoundIsTheConvergedLinearOptimum)
{
    std::mt19937 random(11);
    int aboveVolume = 0;
    for (int n = 0; n < 40; ++n) {
        StockProfile stock;
        const std::vector<PieceDemand> pieces = Awkward(random, stock);
        // The bound comes before the search for whole bars, which needs little time here.
        PlanControl control;
        control.timeLimit = std::chrono::milliseconds(20);
        const ProfilePlan plan = PlanProfile(QStringLiteral("P"), pieces, stock, control);
        std::vector<cutting::Item> items;
        CutLength volume = 0;
        for (const PieceDemand &p : plan.pieces) {
            items.push_back({p.length, p.length + stock.kerf, p.count});
            volume += (p.length + stock.kerf) * p.count;
        }
        if (items.empty())
            continue;
        const long long linear = (long long)std::ceil(cutting::LinearOptimum(items, stock.capacity()) - 1e-6);
        const long long byVolume = (volume + stock.capacity() - 1) / stock.capacity();
        // First fit at the volume needs no linear program to be proven.
        if (plan.firstFitBars > byVolume)
            EXPECT_EQ(plan.lowerBound, linear) << "instance " << n;
        EXPECT_LE(plan.lowerBound, (long long)plan.bars.size());
        aboveVolume += linear > byVolume;
    }
    EXPECT_GE(aboveVolume, 5);
}

// Moves the last cut of the first bar with more than one to a bar of its own: a valid plan with
// one bar more.
void SplitOneBar(std::vector<PlannedBar> &bars, const StockProfile &stock)
{
    for (PlannedBar &b : bars)
        if (b.cuts.size() > 1) {
            const CutLength cut = b.cuts.back();
            b.cuts.pop_back();
            b.offcut += cut + stock.kerf;
            bars.push_back({{cut}, stock.capacity() - cut - stock.kerf});
            return;
        }
}

// Whatever the solver returns (its own plan, one with a bar more, one that lost a piece), the
// plan is valid and has no more bars than first-fit decreasing.
TEST(CuttingStock, NeverMoreBarsThanFirstFit)
{
    std::mt19937 random(5);
    for (int n = 0; n < 60; ++n) {
        StockProfile stock;
        const std::vector<PieceDemand> pieces = Awkward(random, stock);
        const std::function<void(std::vector<PlannedBar> &)> spoil[] = {
            nullptr,
            [&](std::vector<PlannedBar> &bars) {
                const long long firstFit = Ffd(pieces, stock);
                for (size_t before = 0; bars.size() != before && (long long)bars.size() <= firstFit;) {
                    before = bars.size();
                    SplitOneBar(bars, stock);
                }
            },
            [](std::vector<PlannedBar> &bars) {
                if (!bars.empty())
                    bars.pop_back();
            },
        };
        for (size_t s = 0; s < std::size(spoil); ++s) {
            PlanControl control;
            control.solverResult = spoil[s];
            control.timeLimit = std::chrono::milliseconds(n % 3 == 0 ? 0 : 20); // 0: the search stops where it starts
            const ProfilePlan plan = PlanProfile(QStringLiteral("P"), pieces, stock, control);
            EXPECT_EQ(CheckProfilePlan(plan), QString()) << "instance " << n << " spoiled " << s;
            EXPECT_LE((long long)plan.bars.size(), Ffd(pieces, stock)) << "instance " << n << " spoiled " << s;
            // A solver plan spoiled to first fit's size or worse is never kept.
            if (s == 2 || (s == 1 && (long long)plan.bars.size() < Ffd(pieces, stock) + 1 && !plan.bars.empty()))
                EXPECT_TRUE(plan.fromFirstFit) << "instance " << n << " spoiled " << s;
        }
    }
}

// A solver that does worse than first fit is overruled: the plan is first fit's, bar for bar.
TEST(CuttingStock, WorseSolverResultGivesFirstFitsPlan)
{
    const std::vector<PieceDemand> pieces{{30000, 2}, {20000, 3}, {9000, 4}};
    const StockProfile stock{60000, 0, 0};
    PlanControl control;
    bool called = false;
    control.solverResult = [&](std::vector<PlannedBar> &bars) {
        called = true;
        SplitOneBar(bars, stock);
        EXPECT_EQ(bars.size(), 4u);
    };
    const ProfilePlan plan = PlanProfile(QStringLiteral("P"), pieces, stock, control);
    ASSERT_TRUE(called);
    EXPECT_TRUE(plan.fromFirstFit);
    EXPECT_EQ(CheckProfilePlan(plan), QString());
    std::vector<std::vector<CutLength>> cuts, firstFit;
    for (const PlannedBar &b : plan.bars)
        cuts.push_back(b.cuts);
    for (const PlannedBar &b : FirstFitDecreasing(pieces, stock))
        firstFit.push_back(b.cuts);
    std::sort(cuts.begin(), cuts.end());
    std::sort(firstFit.begin(), firstFit.end());
    EXPECT_EQ(cuts, firstFit);
}
