// Where both programs keep their data: the folder given, a folder that already holds it, or the user's configuration folder filled from the installed defaults.
#include "core/params/data_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "core/files/atomic_file.h"
#include "core/files/input_file.h"
#include "core/params/parameters.h"
#include "core/params/params_json.h"

namespace tablix {

namespace {

QString absolute(const QString &folder)
{
    return QDir::cleanPath(QDir(folder).absolutePath());
}

bool holdsParameters(const QString &folder)
{
    return QFileInfo::exists(QDir(folder).filePath(QString::fromLatin1(kParameterFileName)));
}

// A build folder names its source tree in its cache; only this project's own line counts.
QString sourceTreeOfBuildFolder(const QString &folder)
{
    QFile cache(QDir(folder).filePath(QStringLiteral("CMakeCache.txt")));
    if (!cache.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray key = "Tablix_SOURCE_DIR:STATIC=";
    for (qint64 lines = 0; lines < 20000 && !cache.atEnd(); ++lines) {
        const QByteArray line = cache.readLine(4096).trimmed();
        if (line.startsWith(key))
            return QFile::decodeName(line.mid(key.size()));
    }
    return QString();
}

QString listed(const QStringList &folders)
{
    QString out;
    for (const QString &f : folders)
        out += QStringLiteral("\n    ") + QDir::toNativeSeparators(f);
    return out;
}

} // namespace

QStringList InstalledDataCandidates(const QString &executableDirectory)
{
    QStringList candidates{absolute(QDir(executableDirectory).filePath(QStringLiteral("../share/tablix")))};
    const QString source = sourceTreeOfBuildFolder(executableDirectory);
    if (!source.isEmpty())
        candidates << absolute(QDir(source).filePath(QStringLiteral("data")));
    return candidates;
}

QString InstalledDataFolder()
{
    for (const QString &candidate : InstalledDataCandidates(QCoreApplication::applicationDirPath()))
        if (QFileInfo::exists(QDir(candidate).filePath(QString::fromLatin1(kInstalledParametersName))))
            return candidate;
    return QString();
}

DataFolderPlaces CurrentDataFolderPlaces(const QString &workdir)
{
    DataFolderPlaces places;
    places.workdir = workdir;
    places.startDirectory = QDir::currentPath();
    // The configuration folder of the application "tablix" (its AppConfigLocation), named here so
    // that both programs agree whatever name their application object carries.
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (!config.isEmpty())
        places.configDirectory = QDir(config).filePath(QStringLiteral("tablix"));
    places.installed = InstalledDataCandidates(QCoreApplication::applicationDirPath());
    return places;
}

DataFolderChoice ChooseDataFolder(const DataFolderPlaces &places)
{
    DataFolderChoice choice;
    if (!places.workdir.isEmpty()) {
        choice.folder = absolute(places.workdir);
        choice.searched << choice.folder;
        return choice;
    }
    const QString start = absolute(places.startDirectory);
    choice.searched << start;
    choice.folder = start;
    if (holdsParameters(start) || places.configDirectory.isEmpty())
        return choice;

    choice.folder = absolute(places.configDirectory);
    choice.searched << choice.folder;
    for (const QString &candidate : places.installed) {
        choice.defaultsSearched << absolute(candidate);
        if (!choice.installed.isEmpty())
            continue;
        if (QFileInfo::exists(QDir(candidate).filePath(QString::fromLatin1(kInstalledParametersName)))) {
            choice.installed = absolute(candidate);
        }
    }
    if (holdsParameters(choice.folder) || choice.installed.isEmpty())
        return choice;
    if (!QDir().mkpath(choice.folder)) {
        choice.error = QStringLiteral("%1: the folder could not be created.").arg(QDir::toNativeSeparators(choice.folder));
        return choice;
    }
    choice.filled = FillDataFolder(choice.folder, choice.installed, &choice.error);
    return choice;
}

bool FillDataFolder(const QString &folder, const QString &installed, QString *error)
{
    const QDir from(installed), to(folder);
    // The parameter file comes last: its presence marks the folder as filled, so an interrupted
    // filling is taken up again at the next start.
    for (const QString &name : from.entryList({QString::fromLatin1(kLanguageFilePattern)}, QDir::Files)) {
        if (QFileInfo::exists(to.filePath(name)))
            continue;
        const InputFile file = ReadInputFile(from.filePath(name), kTextFileLimit, false, QStringLiteral("a language file"));
        if (!file.bytes) {
            *error = file.error;
            return false;
        }
        if (!WriteFileAtomically(to.filePath(name), *file.bytes, error))
            return false;
    }
    const QString target = to.filePath(QString::fromLatin1(kParameterFileName));
    if (QFileInfo::exists(target))
        return true;
    const QString source = from.filePath(QString::fromLatin1(kInstalledParametersName));
    const InputFile json = ReadInputFile(source, kTextFileLimit, false, QStringLiteral("a parameter file"));
    if (!json.bytes) {
        *error = json.error;
        return false;
    }
    QString reason;
    const std::optional<ParameterRecord> parameters = ParametersFromJson(*json.bytes, &reason);
    if (!parameters) {
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(source), reason);
        return false;
    }
    return WriteFileAtomically(target, SerializeParameterRecord(*parameters), error);
}

QString DataMissingMessage(const DataFolderChoice &choice, const QString &failure, bool withPolish)
{
    const auto both = [withPolish](const QString &english, const QString &polish) {
        return withPolish ? english + QLatin1Char('\n') + polish : english;
    };
    const auto heading = [withPolish](const QString &english, const QString &polish) {
        return withPolish ? english + QStringLiteral(" / ") + polish : english;
    };
    const QString file = QString::fromLatin1(kParameterFileName);
    QString text;
    for (const QString &detail : {failure, choice.error})
        if (!detail.isEmpty())
            text += detail + QStringLiteral("\n\n");
    if (text.isEmpty())
        text = both(QStringLiteral("Parameters absent (%1).").arg(file), QStringLiteral("Brak parametrów (%1).").arg(file))
               + QStringLiteral("\n\n");
    text += both(QStringLiteral("Reinstall the program, or start it with --workdir FOLDER naming a folder that holds "
                                "%1 and the language files.")
                     .arg(file),
                 QStringLiteral("Zainstaluj program ponownie albo uruchom go z --workdir FOLDER, podając folder "
                                "z plikiem %1 i plikami języka.")
                     .arg(file));
    text += QStringLiteral("\n\n") + heading(QStringLiteral("Folders searched"), QStringLiteral("Przeszukane foldery"))
            + QLatin1Char(':') + listed(choice.searched);
    if (!choice.defaultsSearched.isEmpty()) {
        text += QStringLiteral("\n\n")
                + heading(QStringLiteral("Installed defaults (%1)").arg(QString::fromLatin1(kInstalledParametersName)),
                          QStringLiteral("Dane domyślne instalacji"))
                + QLatin1Char(':') + listed(choice.defaultsSearched);
        if (choice.installed.isEmpty())
            text += QStringLiteral("\n    (") + heading(QStringLiteral("not found"), QStringLiteral("nie znaleziono"))
                    + QLatin1Char(')');
    }
    return text;
}

} // namespace tablix
