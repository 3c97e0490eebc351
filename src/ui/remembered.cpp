// What the program remembers between runs, kept in QSettings.
#include "ui/remembered.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QWidget>
#include <memory>

namespace tablix::remembered {

namespace {

const QString kRecentKey = QStringLiteral("recentProjects");
const QString kFolderKey = QStringLiteral("lastProjectFolder");

std::unique_ptr<QSettings> settings()
{
    const QString application = QCoreApplication::applicationName();
    const QString organisation = QCoreApplication::organizationName();
    // With no organisation QSettings would file the values under "Unknown Organization".
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       organisation.isEmpty() ? application : organisation, application);
}

QString canonical(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

void storeRecent(QSettings &s, const QStringList &paths)
{
    s.setValue(kRecentKey, paths);
}

} // namespace

QStringList recentProjects()
{
    const QVariant value = settings()->value(kRecentKey);
    QStringList paths;
    for (const QString &path : value.toStringList()) {
        // Only absolute names are kept: a relative one would depend on where the program started.
        if (path.isEmpty() || QDir::isRelativePath(path) || paths.contains(QDir::cleanPath(path)))
            continue;
        paths << QDir::cleanPath(path);
        if (paths.size() == kRecentProjectCount)
            break;
    }
    return paths;
}

void addRecentProject(const QString &path)
{
    const QString full = canonical(path);
    QStringList paths = recentProjects();
    paths.removeAll(full);
    paths.prepend(full);
    while (paths.size() > kRecentProjectCount)
        paths.removeLast();
    auto s = settings();
    storeRecent(*s, paths);
    s->setValue(kFolderKey, QFileInfo(full).absolutePath());
}

void removeRecentProject(const QString &path)
{
    QStringList paths = recentProjects();
    paths.removeAll(QDir::cleanPath(path));
    storeRecent(*settings(), paths);
}

void clearRecentProjects()
{
    settings()->remove(kRecentKey);
}

QString lastProjectFolder()
{
    const QString folder = settings()->value(kFolderKey).toString();
    if (folder.isEmpty() || QDir::isRelativePath(folder))
        return {};
    return folder;
}

void saveGeometry(const QString &key, const QWidget &window)
{
    settings()->setValue(key + QStringLiteral("/geometry"), window.saveGeometry());
}

bool restoreGeometry(const QString &key, QWidget &window)
{
    const QByteArray geometry = settings()->value(key + QStringLiteral("/geometry")).toByteArray();
    return !geometry.isEmpty() && window.restoreGeometry(geometry);
}

void saveFont(const QString &key, const QFont &font)
{
    settings()->setValue(QStringLiteral("fonts/") + key, font.toString());
}

std::optional<QFont> font(const QString &key)
{
    const QString description = settings()->value(QStringLiteral("fonts/") + key).toString();
    QFont font;
    if (description.isEmpty() || !font.fromString(description))
        return std::nullopt;
    // A size of zero or less would leave the page without rows.
    if (font.pixelSize() <= 0 && font.pointSizeF() <= 0)
        return std::nullopt;
    return font;
}

QString labelSheet()
{
    return settings()->value(QStringLiteral("labels/sheet")).toString();
}

void saveLabelSheet(const QString &name)
{
    settings()->setValue(QStringLiteral("labels/sheet"), name);
}

} // namespace tablix::remembered
