// The start-up path of the desktop program up to its main window.
#pragma once

#include <QString>

class QWidget;

namespace tablix {

struct AppState;

// Loads the data; on failure hides the splash, shows the message box the user must see and
// returns false.
bool RunStartup(AppState &state, const QString &workdir, QWidget *splash = nullptr);

} // namespace tablix
