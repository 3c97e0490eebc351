// The start-up path of the desktop program up to its main window, and its application object.
#pragma once

#include <QApplication>
#include <QIcon>
#include <QString>
#include <QStringList>

class QWidget;

namespace tablix {

struct AppState;
struct DataFolderChoice;
class MainWindow;

inline constexpr const char *kApplicationId = "org.tablix.Tablix";

// The program's command line: the data folder and the project to open.
struct CommandLine {
    QString workdir;
    QString file;   // absolute, resolved against the directory the program started in
    bool help = false;
    bool version = false;
    QString error;  // for standard error, with the usage
};
// `arguments` as QCoreApplication gives them, the program first.
CommandLine ParseCommandLine(const QStringList &arguments);
// What --help prints.
QString CommandLineHelp();
// Whether the raw arguments ask only for a text, which needs no display.
bool AsksForTextOnly(int argc, char **argv);
// Prints the help (--help-all with Qt's options) or the version, or the error in the command line,
// and ends the program with its exit code.
int ShowTextOptions(const QCoreApplication &application);

// The window icon: the program's own picture, else the icon theme's (null when neither exists).
QIcon ProgramIcon();

// Loads the data from the chosen folder; on failure hides the splash, shows what the user must
// see (for missing or unreadable parameters the folders searched, for a missing language file the
// language chooser, then the restart box) and returns false.
bool RunStartup(AppState &state, const DataFolderChoice &choice, QWidget *splash = nullptr);
// As above with `workdir` as the only folder searched.
bool RunStartup(AppState &state, const QString &workdir, QWidget *splash = nullptr);

// Opens the project as soon as no dialog is open in the program (one that is open is brought to
// the front meanwhile).
void OpenProjectWhenFree(MainWindow &window, const QString &path);

// The box that reports an event abandoned because a value did not fit the 6-byte format.
void ShowFloatingPointOverflow(QWidget *parent = nullptr);

// The box that reports a file that could not be read or written.
void ShowIoError(QWidget *parent, const QString &message);

// An event whose handler raises FloatingPointOverflow is abandoned with that box; the program
// goes on.
class TablixApplication : public QApplication {
public:
    TablixApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

private:
    bool overflowBoxPending_ = false;
};

} // namespace tablix
