// Loading the parameter file and the language it names, before the main window shows.
#pragma once

#include <QString>

namespace tablix {

struct AppState;

enum class StartupFailure { None, ParametersMissing, ParametersUnreadable, LanguageMissing };

struct StartupLoadResult {
    StartupFailure failure = StartupFailure::None;
    QString message; // for the user, in a box captioned kOpenErrorCaption
};

inline constexpr const char *kOpenErrorCaption = "Open Error";
inline constexpr const char *kParametersAbsentText = "Parameters absent.Reinstall program!";
inline constexpr const char *kRestartProgramText = "Restart program!";

// Reads both files from `workdir` into temporaries; the state changes only when both are whole,
// and then holds `workdir` as its data folder.
StartupLoadResult LoadParametersAndLanguage(AppState &state, const QString &workdir);

} // namespace tablix
