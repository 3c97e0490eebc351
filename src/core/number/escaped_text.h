// Text from files shown on a terminal or in a line-based output: control characters made visible.
#pragma once

#include <QString>

namespace tablix {

// A backslash doubled (unless `backslashes` is false); tab, line feed and carriage return as \t,
// \n, \r; every other control character (C0, DEL, C1) as \xNN. One title stays one line with its
// fields apart.
QString EscapedControls(const QString &text, bool backslashes = true);

} // namespace tablix
