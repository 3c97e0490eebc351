// The start-up path of the desktop program up to its main window, and its application object.
#include "ui/startup.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QMessageBox>
#include <QTimer>
#include <cstring>

#include "core/params/data_folder.h"
#include "core/project/startup_data.h"
#include "core/project/app_state.h"
#include "ui/language_chooser.h"
#include "ui/qt_translation.h"
#include "ui/main_window.h"

namespace tablix {

namespace {

void ShowOpenError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kOpenErrorCaption), text, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("OpenErrorBox"));
    // The folders named can be copied into a file manager or a terminal.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.exec();
}

struct Options {
    QCommandLineOption help;
    QCommandLineOption version;
    QCommandLineOption workdir{QStringLiteral("workdir"),
                               QStringLiteral("The data folder: the parameter file Tablix_pro.dan, the language files "
                                              "and tablix.ini. Without it: the current directory when it holds "
                                              "Tablix_pro.dan, else the user's configuration folder."),
                               QStringLiteral("DIR")};
};

Options Describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral("Tablix: designs and prices signs. A second start hands its "
                                                    "project to the program already running on this display."));
    Options options{parser.addHelpOption(), parser.addVersionOption()};
    parser.addOption(options.workdir);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A project (.tab) to open."),
                                 QStringLiteral("[FILE]"));
    return options;
}

bool Startup(AppState &state, const DataFolderChoice &choice, const QString &installed, QWidget *splash)
{
    const StartupLoadResult result = LoadParametersAndLanguage(state, choice.folder);
    if (result.failure == StartupFailure::None) {
        InstallQtTranslation(state);
        return true;
    }
    if (splash)
        splash->hide();
    if (result.failure == StartupFailure::LanguageMissing) {
        // The chooser writes its choice into the parameter file, so the next start uses it.
        const ParameterLoad parameters =
            LoadParameterFile(QDir(choice.folder).filePath(QString::fromLatin1(kParameterFileName)));
        if (parameters.record) {
            state.parameters = *parameters.record;
            LanguageChooser chooser(state, nullptr, choice.folder);
            chooser.setInstalledFolder(installed);
            chooser.setStartupMode(true);
            chooser.exec();
        }
        ShowOpenError(result.message);
        return false;
    }
    const bool absent = result.failure == StartupFailure::ParametersMissing;
    ShowOpenError(DataMissingMessage(choice, absent ? QString() : result.message));
    return false;
}

} // namespace

CommandLine ParseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    const Options options = Describe(parser);
    CommandLine line;
    if (!parser.parse(arguments)) {
        line.error = parser.errorText();
        return line;
    }
    line.help = parser.isSet(options.help) || parser.optionNames().contains(QStringLiteral("help-all"));
    line.version = parser.isSet(options.version);
    if (parser.isSet(options.workdir)) {
        line.workdir = parser.value(options.workdir);
        if (line.workdir.isEmpty())
            line.error = QStringLiteral("--workdir needs a folder");
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        line.error = QStringLiteral("one project at a time, not %1").arg(files.size());
    else if (files.size() == 1)
        line.file = QFileInfo(files[0]).absoluteFilePath();
    return line;
}

int ShowTextOptions(const QCoreApplication &application)
{
    QCommandLineParser parser;
    Describe(parser);
    parser.process(application); // prints help or version, or the error, and ends the program
    return 0;
}

QString CommandLineHelp()
{
    QCommandLineParser parser;
    Describe(parser);
    return parser.helpText();
}

bool AsksForTextOnly(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (std::strcmp(a, "--") == 0)
            return false;
        for (const char *option : {"-h", "--help", "-?", "--help-all", "-v", "--version"})
            if (std::strcmp(a, option) == 0)
                return true;
    }
    return false;
}

QIcon ProgramIcon()
{
    // The picture the package installs as the theme icon, built in: searching the icon themes,
    // or loading every image plugin to learn the file's format, costs the start a tenth of its time.
    QImageReader reader(QStringLiteral(":/icons/tablix.png"), "png");
    reader.setAutoDetectImageFormat(false);
    const QImage own = reader.read();
    if (!own.isNull())
        return QIcon(QPixmap::fromImage(own));
    return QIcon::fromTheme(QString::fromLatin1(kApplicationId));
}

bool RunStartup(AppState &state, const DataFolderChoice &choice, QWidget *splash)
{
    return Startup(state, choice, choice.installed.isEmpty() ? InstalledDataFolder() : choice.installed, splash);
}

bool RunStartup(AppState &state, const QString &workdir, QWidget *splash)
{
    DataFolderChoice choice;
    choice.folder = workdir;
    choice.searched << QDir::cleanPath(QDir(workdir).absolutePath());
    return Startup(state, choice, QString(), splash);
}

void OpenProjectWhenFree(MainWindow &window, const QString &path)
{
    if (QWidget *dialog = QApplication::activeModalWidget()) {
        dialog->raise();
        dialog->activateWindow();
        QTimer::singleShot(250, &window, [&window, path] { OpenProjectWhenFree(window, path); });
        return;
    }
    window.openProjectFile(path);
}

void ShowFloatingPointOverflow(QWidget *parent)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tablix"), FloatingPointOverflow().what(), QMessageBox::Ok,
                    parent);
    box.setObjectName(QStringLiteral("OverflowBox"));
    box.exec();
}

void ShowIoError(QWidget *parent, const QString &message)
{
    QMessageBox::critical(parent, QStringLiteral("Tablix"), message);
}

TablixApplication::TablixApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TablixApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const FloatingPointOverflow &) {
        // Shown once the failed event is over: the event may have been a paint.
        if (!overflowBoxPending_) {
            overflowBoxPending_ = true;
            QTimer::singleShot(0, this, [this] {
                ShowFloatingPointOverflow(activeWindow());
                overflowBoxPending_ = false;
            });
        }
        return false;
    }
}

} // namespace tablix
