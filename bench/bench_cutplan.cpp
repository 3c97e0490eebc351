// The cutting plan on seeded random projects of 1-20 signs: every plan checked, the share of
// profiles at the lower bound, bars against first-fit decreasing, and the time of a whole plan.
// Run by hand: make bench.
#include <benchmark/benchmark.h>

#include <QFile>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

#include "core/params/language.h"
#include "core/params/params_json.h"
#include "core/project/app_state.h"
#include "core/workshop/cut_list.h"
#include "core/workshop/cutting_plan.h"

using namespace tablix;

namespace {

AppState ShippedState()
{
    AppState state;
    QFile params(QStringLiteral(TABLIX_DATA_DIR "/params.json"));
    QString error;
    std::optional<ParameterRecord> record;
    if (params.open(QIODevice::ReadOnly))
        record = ParametersFromJson(params.readAll(), &error);
    if (!record) {
        std::fprintf(stderr, "data/params.json: %s\n", qPrintable(error));
        std::exit(1);
    }
    state.parameters = *record;
    if (auto language = LoadLanguageFile(QStringLiteral(TABLIX_DATA_DIR "/tablix_lng.eng")); language.table)
        state.language = *language.table;
    state.RefreshParameters();
    return state;
}

// Signs a shop builds: one family per layout, 1-8 rows, widths to the millimetre, a few posts.
SignSlotArray RandomProject(std::mt19937 &random, int signs)
{
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    SignSlotArray project{};
    for (SignRecord &s : project)
        BlankSignRecord(s);
    for (int k = 0; k < signs; ++k) {
        SignRecord &s = project[size_t(k)];
        s.layout = Layout(std::uint8_t(pick(1, 4)));
        s.signType = SignType(std::uint8_t(pick(1, 2)));
        const int base = IsFamilyA(s.layout) ? 1 : 10;
        const int rows = pick(1, 8);
        for (int r = 0; r < rows; ++r)
            s.rowElements[r] = std::uint8_t(base + pick(0, 7));
        s.width.set(pick(300, 4000) / 10.0L);
        s.quantity.set(pick(1, 6));
        s.priceLevel.set(100);
        s.auxDimension.set(pick(0, 4) == 0 ? pick(1, 2) : 0);
        s.setTitle(QStringLiteral("Sign %1").arg(k + 1));
    }
    return project;
}

struct Figures {
    long long profiles = 0, atBound = 0, invalid = 0, worseThanFirstFit = 0;
    long long bars = 0, firstFitBars = 0, betterThanFirstFit = 0;
    long long oneAbove = 0; // profiles one bar above the bound
};

CuttingPlan PlanOf(AppState &state)
{
    return PlanCutList(BuildCutList(state), StockSettings{});
}

void Tally(const CuttingPlan &plan, Figures &f)
{
    for (const ProfilePlan &p : plan.profiles) {
        ++f.profiles;
        f.atBound += p.optimal;
        f.oneAbove += (long long)p.bars.size() == p.lowerBound + 1;
        f.bars += (long long)p.bars.size();
        f.firstFitBars += p.firstFitBars;
        f.betterThanFirstFit += (long long)p.bars.size() < p.firstFitBars;
        f.worseThanFirstFit += (long long)p.bars.size() > p.firstFitBars;
        const QString wrong = CheckProfilePlan(p);
        if (!wrong.isEmpty()) {
            ++f.invalid;
            std::fprintf(stderr, "invalid plan of %s: %s\n", qPrintable(p.profile), qPrintable(wrong));
        }
    }
}

void ReportFigures()
{
    AppState state = ShippedState();
    std::mt19937 random(20240515);
    Figures f;
    const int projects = 300;
    for (int n = 0; n < projects; ++n) {
        state.OpenProject(RandomProject(random, 1 + n % 20), QStringLiteral("random.tab"));
        Tally(PlanOf(state), f);
    }
    std::vector<double> times;
    for (int n = 0; n < 101; ++n) {
        state.OpenProject(RandomProject(random, 20), QStringLiteral("random.tab"));
        const auto start = std::chrono::steady_clock::now();
        const CuttingPlan plan = PlanOf(state);
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        Tally(plan, f);
    }
    std::sort(times.begin(), times.end());
    std::printf("cutting plan: %d random projects of 1-20 signs and 101 of 20 signs\n", projects);
    std::printf("  profiles planned:            %lld\n", f.profiles);
    std::printf("  invalid plans:               %lld\n", f.invalid);
    std::printf("  at the lower bound:          %lld (%.2f %%)\n", f.atBound, 100.0 * double(f.atBound) / double(std::max(1LL, f.profiles)));
    std::printf("  one bar above the bound:     %lld\n", f.oneAbove);
    std::printf("  bars: plan %lld, first-fit decreasing %lld; fewer than first fit on %lld profiles, more on %lld\n",
                f.bars, f.firstFitBars, f.betterThanFirstFit, f.worseThanFirstFit);
    std::printf("  20-sign project, cut list and plan: median %.2f ms, 90th percentile %.2f ms, max %.2f ms\n",
                times[times.size() / 2], times[times.size() * 9 / 10], times.back());
    if (f.invalid || f.worseThanFirstFit)
        std::exit(1);
}

void BM_PlanTwentySigns(benchmark::State &s)
{
    AppState state = ShippedState();
    std::mt19937 random(7);
    state.OpenProject(RandomProject(random, 20), QStringLiteral("random.tab"));
    for (auto _ : s)
        benchmark::DoNotOptimize(PlanOf(state).totalBars());
}
BENCHMARK(BM_PlanTwentySigns)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    ReportFigures();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
