// The commands of tablix-cli, callable in process (the program's main and the fuzz target).
#pragma once

#include <QStringList>

namespace tablix {

// Runs one command line (without the program name); messages go to stderr, output to stdout.
// Returns the exit code: 0 done, 1 usage error, 2 input, output or computation error.
int RunTool(const QStringList &args);

} // namespace tablix
