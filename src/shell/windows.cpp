#include "shell/windows.h"

#include "shell/app_state.h"

namespace tablix {

WindowSet::WindowSet(AppState &) {}

WindowSet::~WindowSet() = default;

} // namespace tablix
