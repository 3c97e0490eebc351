#include "output/report_layout.h"

#include "shell/app_state.h"

namespace tablix {

} // namespace tablix
