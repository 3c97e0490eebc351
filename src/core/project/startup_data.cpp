// Loading the parameter file and the language it names, before the main window shows.
#include "core/project/startup_data.h"

#include <QDir>

#include "core/params/settings.h"
#include "core/project/app_state.h"

namespace tablix {

StartupLoadResult LoadParametersAndLanguage(AppState &state, const QString &workdir)
{
    const QDir dir(workdir);
    const ParameterLoad parameters = LoadParameterFile(dir.filePath(QString::fromLatin1(kParameterFileName)));
    if (!parameters.record) {
        if (parameters.missing)
            return {StartupFailure::ParametersMissing, QString::fromLatin1(kParametersAbsentText)};
        return {StartupFailure::ParametersUnreadable, parameters.error};
    }
    LanguageLoad language = LoadNamedLanguageFile(workdir, parameters.record->languageFile());
    if (!language.table)
        return {StartupFailure::LanguageMissing, QString::fromLatin1(kRestartProgramText)};
    ApplyCurrencySetting(*language.table, workdir);

    state.dataFolder = workdir;
    state.parameters = *parameters.record;
    state.language = *language.table;
    state.RefreshParameters();
    state.RefreshTabCaptions();
    return {};
}

} // namespace tablix
