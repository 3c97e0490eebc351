// The files the program reads, which no output may replace.
#pragma once

#include <QString>
#include <QStringList>

namespace tablix {

struct AppState;

// The data folder's parameter, language, stock and settings files, and the project's own file
// when `withProject` (saving the project itself over it is what Save does).
QStringList FilesInUse(const QString &dataFolder, const QString &languageFileName, const QString &projectFile);
QStringList FilesInUse(const AppState &state, bool withProject);

} // namespace tablix
