// The files the program reads, which no output may replace.
#include "core/document/files_in_use.h"

#include <QDir>

#include "core/params/language.h"
#include "core/params/parameters.h"
#include "core/params/settings.h"
#include "core/project/app_state.h"
#include "core/workshop/stock.h"

namespace tablix {

QStringList FilesInUse(const QString &dataFolder, const QString &languageFileName, const QString &projectFile)
{
    QStringList files;
    if (!projectFile.isEmpty())
        files << projectFile;
    if (dataFolder.isEmpty())
        return files;
    const QDir dir(dataFolder);
    files << dir.filePath(QString::fromLatin1(kParameterFileName)) << StockFilePath(dataFolder)
          << dir.filePath(QString::fromLatin1(kSettingsFileName));
    if (IsPlainLanguageFileName(languageFileName))
        files << dir.filePath(languageFileName);
    return files;
}

QStringList FilesInUse(const AppState &state, bool withProject)
{
    return FilesInUse(state.dataFolder, state.parameters.languageFile(), withProject ? state.projectFilePath : QString());
}

} // namespace tablix
