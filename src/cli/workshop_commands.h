// tablix-cli's workshop commands: the project's cut list and its cutting plan.
#pragma once

#include "cli/tool_support.h"

namespace tablix::cli {

// cutlist PROJECT [-o FILE]: the cut list as CSV.
int cutList(const Invocation &o);
// plan PROJECT [--stock FILE] [--json] [-o FILE]: the cutting plan as a report or JSON.
int cuttingPlan(const Invocation &o);
// plan --cutlist FILE [--stock FILE] [--json] [-o FILE]: the plan of a cut list CSV.
int cuttingPlanOfCutList(const Invocation &o);
// plan ... --pdf FILE: the drawn plan instead of the report.
// labels PROJECT [--stock FILE] [--sheet 3x8|2x7] -o FILE: a label per cut piece, in saw order.
int pieceLabels(const Invocation &o);

} // namespace tablix::cli
