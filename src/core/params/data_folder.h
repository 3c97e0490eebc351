// Where both programs keep their data: the folder given, a folder that already holds it, or the user's configuration folder filled from the installed defaults.
#pragma once

#include <QString>
#include <QStringList>

namespace tablix {

// The shipped defaults: the parameters as JSON, turned into the parameter file on first start.
inline constexpr const char *kInstalledParametersName = "params.json";
inline constexpr const char *kLanguageFilePattern = "tablix_lng.*";

// The candidate folders, in the order they are tried.
struct DataFolderPlaces {
    QString workdir;           // given on the command line; empty when not given
    QString startDirectory;    // the current directory when the program started
    QString configDirectory;   // the user's configuration folder
    QStringList installed;     // folders that may hold the installed defaults, best first
};

struct DataFolderChoice {
    QString folder;            // absolute; the data are read from here
    QString installed;         // the installed defaults found (absolute), or empty
    bool filled = false;       // the folder was filled from `installed` just now
    QString error;             // why filling failed; the folder is then still chosen
    QStringList searched;      // every folder looked at, for the message when data are missing
    QStringList defaultsSearched; // where the installed defaults were looked for
};

// Where the installed defaults may be: `<executable folder>/../share/tablix`, and the source
// tree's data/ when the executable sits in a build folder of it.
QStringList InstalledDataCandidates(const QString &executableDirectory);

// The first of this program's candidates that holds the installed defaults; empty when none does.
QString InstalledDataFolder();

// The places of this process: the command line's folder, the current directory, the user's
// configuration folder (the application name must be set) and the candidates beside the executable.
DataFolderPlaces CurrentDataFolderPlaces(const QString &workdir);

// The workdir when given; else the start directory when it holds the parameter file; else the
// configuration folder, created and filled from the first installed folder with defaults when it
// holds no parameter file yet. Files already there are never overwritten.
DataFolderChoice ChooseDataFolder(const DataFolderPlaces &places);

// Builds the parameter file from the installed JSON and copies the language files missing in
// `folder`; false with a message naming the file when something could not be read or written.
bool FillDataFolder(const QString &folder, const QString &installed, QString *error);

// The message for a data folder without readable data: what failed, the folders searched and
// what to do. `failure` empty means the parameter file is absent. The program says it in English
// and Polish, as no language has been read yet.
QString DataMissingMessage(const DataFolderChoice &choice, const QString &failure, bool withPolish = true);

} // namespace tablix
