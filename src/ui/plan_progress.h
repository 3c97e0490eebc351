// Runs the cutting plan on a thread of its own; past a short delay a progress window with Cancel.
#pragma once

#include <functional>

#include "core/workshop/cutting_plan.h"

class QWidget;

namespace tablix {

struct AppState;

// `plan` runs off the GUI thread with the control it is given and must heed its cancel flag.
// The window ("PlanProgress", modal) shows only when the plan takes longer than `delayMs`; its
// Cancel keeps the best plan found so far, which comes back marked as interrupted. Until the
// window shows, the user's input waits.
CuttingPlan RunPlanWithProgress(QWidget *parent, const AppState &state, const std::function<CuttingPlan(const PlanControl &)> &plan,
                                int delayMs = 400);

} // namespace tablix
