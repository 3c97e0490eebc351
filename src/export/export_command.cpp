#include "export/export_command.h"

#include "shell/app_state.h"
#include "shell/windows.h"

namespace tablix {

} // namespace tablix
