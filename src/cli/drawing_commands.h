// tablix-cli's true-size drawings: svg, pdf and dxf.
#pragma once

#include "cli/tool_support.h"

namespace tablix::cli {

int svgCommand(const Invocation &o);
int pdfCommand(const Invocation &o);
int dxfCommand(const Invocation &o);

} // namespace tablix::cli
