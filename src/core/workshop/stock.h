// Stock bars and saw settings of the cutting plan, and the small file that keeps them.
#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

#include "core/workshop/cut_list.h"

namespace tablix {

// The file beside the parameter file.
inline constexpr const char *kStockFileName = "tablix-stock.json";

// A bar of barLength holds cuts c1..cn when (c1 + kerf) + ... + (cn + kerf) <= barLength - trim.
struct StockProfile {
    CutLength barLength = 600 * kCutUnitsPerCm;
    CutLength kerf = 40; // 0.4 cm
    CutLength trim = 100; // 1 cm, once per bar
    CutLength capacity() const { return barLength - trim; }
    bool operator==(const StockProfile &) const = default;
};

// Longest bar the file may name, in cm.
inline constexpr long double kMaxBarLengthCm = 100000;

// What one profile sets apart from the defaults: a field left empty follows the default, also
// when the default changes later.
struct StockOverride {
    std::optional<CutLength> barLength, kerf, trim;
    bool empty() const { return !barLength && !kerf && !trim; }
    StockProfile over(const StockProfile &defaults) const;
    bool operator==(const StockOverride &) const = default;
};

struct StockSettings {
    StockProfile defaults;
    std::map<QString, StockOverride> profiles; // by profile key (profile_keys.h), never by label
    // Entries used for no profile (an unknown name, or a second entry for one profile), kept as
    // they were read and written back so.
    std::map<QString, QJsonValue> unknown;
    StockProfile forProfile(const QString &key) const;
    bool operator==(const StockSettings &) const = default;
};

struct LanguageTable;

// The profiles' labels in some languages, for stock files that name profiles by their label, as
// files of earlier versions do. A label two profiles share in any of them names neither.
struct ProfileLabels {
    std::map<QString, QString> keyOf; // label -> key; an empty key for a shared label
};
ProfileLabels ProfileLabelsOf(const std::vector<const LanguageTable *> &languages);
// Every language file ("tablix_lng.*") in the folders; files that cannot be read are passed over.
ProfileLabels ProfileLabelsInFolders(const QStringList &folders);

// Empty when the profile can be cut; otherwise what is wrong, in words for the user.
QString CheckStockProfile(const StockProfile &stock);

// The file as JSON, e.g.
//   {"default": {"barLength": 600, "kerf": 0.4, "trim": 1},
//    "profiles": {"frame-narrow-A": {"barLength": 650}}}
// Lengths in cm. "default" may be left out (600, 0.4, 1) and needs barLength when given; a
// profile's entry holds any of the three fields, the others follow the default. A profile named
// by one of `labels` is read as that profile's key; an entry under the key wins over one under a
// label, and the first label over later ones. Any other entry is kept in `unknown`.
QByteArray StockSettingsToJson(const StockSettings &settings);
// Nothing, and `error` says why, when the bytes are not such a file or a value is wrong.
std::optional<StockSettings> StockSettingsFromJson(const QByteArray &bytes, QString *error, const ProfileLabels &labels = {});

// One message per entry of `unknown`, naming it, for the tool's standard error.
QStringList UnknownStockEntryMessages(const StockSettings &settings, const QString &path);

struct StockLoad {
    std::optional<StockSettings> settings;
    bool missing = false; // the file could not be opened at all
    QString error;        // names the file
};
// Labels of earlier files are looked up in the language files of `languageFolders`.
StockLoad LoadStockFile(const QString &path, const QStringList &languageFolders = {});
// The settings are checked first; a wrong value writes nothing. Written atomically.
bool SaveStockFile(const QString &path, const StockSettings &settings, QString *error);
// The file beside the parameter file of a data folder.
QString StockFilePath(const QString &dataFolder);
// The data folder's file when it is there, the defaults when it is not; an unreadable or wrong
// file gives an error, never the defaults. Labels are those of the language files in the data
// folder and in the installed defaults.
StockLoad LoadStockSettingsOf(const QString &dataFolder);
// The data folder and the installed defaults, where the shipped language files are.
QStringList LanguageFoldersOf(const QString &dataFolder);

} // namespace tablix
