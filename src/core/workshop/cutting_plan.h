// The cutting plan: fewest stock bars for the cut list, per profile; never more than first fit.
#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <chrono>
#include <functional>
#include <vector>

#include "core/workshop/cut_list.h"
#include "core/workshop/stock.h"

namespace tablix {

struct LanguageTable;

struct PieceDemand {
    CutLength length = 0;
    long long count = 0;
    bool operator==(const PieceDemand &) const = default;
};

struct PlannedBar {
    std::vector<CutLength> cuts; // saw order: longest first
    CutLength offcut = 0;        // barLength - trim - sum(cut + kerf)
    // The sign ("N Title") each cut is for, parallel to `cuts`; "" where the cut list does not say
    // (a list read back from its file that names several signs for a length).
    std::vector<QString> signs = {};
};

struct ProfilePlan {
    QString profile;
    StockProfile stock;
    std::vector<PieceDemand> pieces;  // that fit a bar, longest first
    std::vector<PieceDemand> tooLong; // that need longer stock, longest first
    std::vector<PlannedBar> bars;
    long long lowerBound = 0;   // the linear optimum rounded up
    long long firstFitBars = 0; // first-fit decreasing, for comparison
    bool optimal = false;       // bars.size() == lowerBound
    bool fromFirstFit = false;  // the plan is first-fit's (the solver was not better)
    bool interrupted = false;   // cancelled or out of time: the best plan found so far
    // Share of the bought length that is not in a piece, in percent.
    long double wastePercent() const;
};

struct CuttingPlan {
    std::vector<ProfilePlan> profiles;
    long long totalBars() const;
    bool empty() const { return profiles.empty(); }
    bool interrupted() const;
};

// How a plan is run: Cancel, progress, and the safety limit of one profile's search.
struct PlanControl {
    const std::atomic<bool> *cancel = nullptr; // set: every profile not yet done keeps its best plan so far
    std::function<void(int done, int profiles)> progress; // called from the planning thread
    std::chrono::milliseconds timeLimit{1500};
    // For tests: sees and may change the solver's bars before they are weighed against first fit.
    std::function<void(std::vector<PlannedBar> &)> solverResult;
};

// One profile. `pieces` may come in any order and repeat lengths; `stock` must pass
// CheckStockProfile. Never more bars than first-fit decreasing.
ProfilePlan PlanProfile(const QString &profile, const std::vector<PieceDemand> &pieces, const StockProfile &stock,
                        const PlanControl &control = {});

// First-fit decreasing alone (bars in saw order with offcuts); too-long pieces are left out.
std::vector<PlannedBar> FirstFitDecreasing(const std::vector<PieceDemand> &pieces, const StockProfile &stock);

// Every profile of the cut list with its stock; the cuts get their signs (AssignSigns).
CuttingPlan PlanCutList(const CutList &list, const StockSettings &stock, const PlanControl &control = {});

// Gives every cut of the plan its sign, the plan's profiles being the list's in order: pieces of
// one length go to the signs that need them in slot order (the first sign first), along the bars
// and their cuts in saw order. A row without sign counts (a cut list read back from its file)
// gives its one sign, or none ("") when it names several.
void AssignSigns(CuttingPlan &plan, const CutList &list);

// Empty when the bars hold exactly the demand and every bar's cuts with kerfs fit its length less
// the trim; otherwise what is wrong.
QString CheckProfilePlan(const ProfilePlan &plan);

// {"profiles": [{profile, barLength, kerf, trim, pieces, bars, tooLong, lowerBound, firstFitBars,
// optimal, interrupted}], "totalBars": N}; lengths in cm as numbers. A bar is {cuts, signs,
// offcut}: `signs` parallel to `cuts`, each "N Title" or null when not known.
QByteArray CuttingPlanJson(const CuttingPlan &plan);

// The plan as a report text for the report window and the printout: lines end with '\r', the
// label column ends at the first tab. An empty plan says that no sign is in use.
QString CuttingPlanReport(const CuttingPlan &plan, const LanguageTable &language);

} // namespace tablix
