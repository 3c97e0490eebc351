// tablix-cli quote: the customer's quote of a project as a PDF.
#pragma once

#include "cli/tool_support.h"

namespace tablix::cli {

// Writes the quote of operand 1 to -o FILE; a project with no sign in use writes nothing.
int quote(const Invocation &o);

// Whether the command line may run a command that sets text in a PDF: any word "quote".
bool NeedsFonts(const QStringList &words);

} // namespace tablix::cli
