// Qt's own translation, so that its file and print dialogs and standard buttons speak the language
// of the chosen language file.
#pragma once

#include <QString>

namespace tablix {

struct AppState;

// Replaces the Qt translation installed before with qtbase_<code> from Qt's translations folder;
// "en", an empty code or a missing file leave Qt's own English. Returns whether a translation is
// installed now.
bool InstallQtTranslation(const QString &code);

// The same for the language file the state's parameters name.
bool InstallQtTranslation(const AppState &state);

} // namespace tablix
