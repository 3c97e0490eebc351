// Stock bars and saw settings of the cutting plan, and the small file that keeps them.
#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <optional>

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

struct StockSettings {
    StockProfile defaults;
    std::map<QString, StockProfile> profiles; // by profile name as the cut list writes it
    const StockProfile &forProfile(const QString &profile) const;
    bool operator==(const StockSettings &) const = default;
};

// Empty when the profile can be cut; otherwise what is wrong, in words for the user.
QString CheckStockProfile(const StockProfile &stock);

// The file as JSON, e.g.
//   {"default": {"barLength": 600, "kerf": 0.4, "trim": 1},
//    "profiles": {"Frame narrow A": {"barLength": 650}}}
// Lengths in cm. "default" may be left out (600, 0.4, 1); a profile's kerf and trim default to
// the "default" ones; barLength is required wherever an entry is given.
QByteArray StockSettingsToJson(const StockSettings &settings);
// Nothing, and `error` says why, when the bytes are not such a file or a value is wrong.
std::optional<StockSettings> StockSettingsFromJson(const QByteArray &bytes, QString *error);

struct StockLoad {
    std::optional<StockSettings> settings;
    bool missing = false; // the file could not be opened at all
    QString error;        // names the file
};
StockLoad LoadStockFile(const QString &path);
// The settings are checked first; a wrong value writes nothing. Written atomically.
bool SaveStockFile(const QString &path, const StockSettings &settings, QString *error);
// The file beside the parameter file of a data folder.
QString StockFilePath(const QString &dataFolder);
// The data folder's file when it is there, the defaults when it is not; an unreadable or wrong
// file gives an error, never the defaults.
StockLoad LoadStockSettingsOf(const QString &dataFolder);

} // namespace tablix
