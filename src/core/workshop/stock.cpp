// The stock settings file: bar length, kerf and trim per profile, as readable JSON.
#include "core/workshop/stock.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cmath>

#include "core/number/atomic_file.h"
#include "core/number/input_file.h"
#include <QFileInfo>

namespace tablix {

const StockProfile &StockSettings::forProfile(const QString &profile) const
{
    const auto it = profiles.find(profile);
    return it == profiles.end() ? defaults : it->second;
}

QString CheckStockProfile(const StockProfile &stock)
{
    if (stock.barLength <= 0)
        return QStringLiteral("the bar length must be greater than 0 cm");
    if (stock.barLength > CutLength(kMaxBarLengthCm) * kCutUnitsPerCm)
        return QStringLiteral("the bar length must be at most %1 cm").arg(double(kMaxBarLengthCm));
    if (stock.kerf < 0)
        return QStringLiteral("the kerf must not be negative");
    if (stock.trim < 0)
        return QStringLiteral("the trim must not be negative");
    if (stock.kerf + stock.trim >= stock.barLength)
        return QStringLiteral("the kerf (%1 cm) and the trim (%2 cm) leave nothing of a %3 cm bar")
            .arg(CutLengthText(stock.kerf), CutLengthText(stock.trim), CutLengthText(stock.barLength));
    return {};
}

namespace {

QJsonObject ToJson(const StockProfile &p)
{
    return {{QStringLiteral("barLength"), double(CutLengthToCm(p.barLength))},
            {QStringLiteral("kerf"), double(CutLengthToCm(p.kerf))},
            {QStringLiteral("trim"), double(CutLengthToCm(p.trim))}};
}

// A length in cm; `error` names the field when it is not a usable number.
bool ReadLength(const QJsonObject &o, const char *field, const QString &where, CutLength &out, QString *error, bool required)
{
    const QJsonValue v = o.value(QLatin1String(field));
    if (v.isUndefined()) {
        if (required)
            *error = QStringLiteral("%1: \"%2\" is missing").arg(where, QLatin1String(field));
        return !required;
    }
    const double cm = v.toDouble(std::nan(""));
    if (!v.isDouble() || !std::isfinite(cm)) {
        *error = QStringLiteral("%1: \"%2\" must be a number of centimetres").arg(where, QLatin1String(field));
        return false;
    }
    if (cm < 0) {
        *error = QStringLiteral("%1: \"%2\" must not be negative (%3)").arg(where, QLatin1String(field)).arg(cm);
        return false;
    }
    if (cm > double(kMaxBarLengthCm)) {
        *error = QStringLiteral("%1: \"%2\" must be at most %3 cm").arg(where, QLatin1String(field)).arg(double(kMaxBarLengthCm));
        return false;
    }
    out = CutLength(std::llround(cm * kCutUnitsPerCm));
    return true;
}

bool ReadProfile(const QJsonValue &value, const QString &where, const StockProfile &base, StockProfile &out, QString *error)
{
    if (!value.isObject()) {
        *error = QStringLiteral("%1 must be an object with \"barLength\", \"kerf\" and \"trim\"").arg(where);
        return false;
    }
    const QJsonObject o = value.toObject();
    for (const QString &key : o.keys())
        if (key != QLatin1String("barLength") && key != QLatin1String("kerf") && key != QLatin1String("trim")) {
            *error = QStringLiteral("%1: unknown field \"%2\"").arg(where, key);
            return false;
        }
    out = base;
    if (!ReadLength(o, "barLength", where, out.barLength, error, true) || !ReadLength(o, "kerf", where, out.kerf, error, false)
        || !ReadLength(o, "trim", where, out.trim, error, false))
        return false;
    const QString wrong = CheckStockProfile(out);
    if (!wrong.isEmpty()) {
        *error = QStringLiteral("%1: %2").arg(where, wrong);
        return false;
    }
    return true;
}

} // namespace

QByteArray StockSettingsToJson(const StockSettings &settings)
{
    QJsonObject profiles;
    for (const auto &[name, stock] : settings.profiles)
        profiles.insert(name, ToJson(stock));
    const QJsonObject root{{QStringLiteral("default"), ToJson(settings.defaults)}, {QStringLiteral("profiles"), profiles}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<StockSettings> StockSettingsFromJson(const QByteArray &bytes, QString *error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError) {
        *error = QStringLiteral("not a stock settings file: %1 at byte %2").arg(parse.errorString()).arg(parse.offset);
        return std::nullopt;
    }
    if (!doc.isObject()) {
        *error = QStringLiteral("not a stock settings file: the file must hold one JSON object");
        return std::nullopt;
    }
    const QJsonObject root = doc.object();
    for (const QString &key : root.keys())
        if (key != QLatin1String("default") && key != QLatin1String("profiles")) {
            *error = QStringLiteral("unknown field \"%1\" (a stock file holds \"default\" and \"profiles\")").arg(key);
            return std::nullopt;
        }
    StockSettings settings;
    if (root.contains(QLatin1String("default"))
        && !ReadProfile(root.value(QLatin1String("default")), QStringLiteral("\"default\""), StockProfile{}, settings.defaults, error))
        return std::nullopt;
    const QJsonValue profiles = root.value(QLatin1String("profiles"));
    if (!profiles.isUndefined() && !profiles.isObject()) {
        *error = QStringLiteral("\"profiles\" must be an object of profile names");
        return std::nullopt;
    }
    const QJsonObject named = profiles.toObject();
    for (auto it = named.begin(); it != named.end(); ++it) {
        StockProfile p;
        if (!ReadProfile(it.value(), QStringLiteral("profile \"%1\"").arg(it.key()), settings.defaults, p, error))
            return std::nullopt;
        settings.profiles[it.key()] = p;
    }
    return settings;
}

StockLoad LoadStockFile(const QString &path)
{
    StockLoad load;
    const InputFile file = ReadInputFile(path, kTextFileLimit, false, QStringLiteral("a stock settings file"));
    if (!file.bytes) {
        load.missing = file.openFailed;
        load.error = file.error;
        return load;
    }
    QString error;
    load.settings = StockSettingsFromJson(*file.bytes, &error);
    if (!load.settings)
        load.error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), error);
    return load;
}

bool SaveStockFile(const QString &path, const StockSettings &settings, QString *error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    auto wrong = [&](const QString &where, const StockProfile &p) {
        const QString what = CheckStockProfile(p);
        if (!what.isEmpty())
            *error = QStringLiteral("%1: %2; nothing written").arg(where, what);
        return !what.isEmpty();
    };
    if (wrong(QStringLiteral("default"), settings.defaults))
        return false;
    for (const auto &[name, stock] : settings.profiles)
        if (wrong(name, stock))
            return false;
    return WriteFileAtomically(path, StockSettingsToJson(settings), error);
}

QString StockFilePath(const QString &dataFolder)
{
    return QDir(dataFolder).filePath(QString::fromLatin1(kStockFileName));
}

StockLoad LoadStockSettingsOf(const QString &dataFolder)
{
    const QString path = StockFilePath(dataFolder);
    if (!QFileInfo::exists(path))
        return {StockSettings{}, false, {}};
    return LoadStockFile(path);
}

} // namespace tablix
