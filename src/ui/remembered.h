// What the program remembers between runs: recent projects, the last folder, the window, the fonts.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace tablix {

inline constexpr int kRecentProjectCount = 8;

// Kept in the user's settings in the system's own format, under the program's organisation and
// application names (the application name alone stands for a missing organisation). Values that
// do not make sense (hand edits, another version) are ignored rather than trusted.
namespace remembered {

// Absolute paths, most recent first, at most kRecentProjectCount, without repeats.
QStringList recentProjects();
// Puts the project first and makes its folder the last folder.
void addRecentProject(const QString &path);
void removeRecentProject(const QString &path);
void clearRecentProjects();

// The folder of the last project opened or saved; empty when there is none yet.
QString lastProjectFolder();

void saveGeometry(const QString &key, const QWidget &window);
// False when nothing usable is remembered; the window keeps its size then.
bool restoreGeometry(const QString &key, QWidget &window);

void saveFont(const QString &key, const QFont &font);
std::optional<QFont> font(const QString &key);

// The label sheet last chosen ("3x8"); empty when none was.
QString labelSheet();
void saveLabelSheet(const QString &name);

} // namespace remembered

} // namespace tablix
