// The stock settings file: bar length, kerf and trim per profile, as readable JSON.
#include "core/workshop/stock.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cmath>

#include "core/engine/profile_keys.h"
#include "core/files/atomic_file.h"
#include "core/files/input_file.h"
#include "core/params/data_folder.h"
#include "core/params/language.h"
#include <QFileInfo>

namespace tablix {

StockProfile StockOverride::over(const StockProfile &defaults) const
{
    return {barLength.value_or(defaults.barLength), kerf.value_or(defaults.kerf), trim.value_or(defaults.trim)};
}

StockProfile StockSettings::forProfile(const QString &key) const
{
    const auto it = profiles.find(key);
    return it == profiles.end() ? defaults : it->second.over(defaults);
}

ProfileLabels ProfileLabelsOf(const std::vector<const LanguageTable *> &languages)
{
    ProfileLabels labels;
    for (const LanguageTable *language : languages)
        for (const QString &key : AllProfileKeys()) {
            const QString label = ProfileLabel(key, *language);
            if (label.isEmpty())
                continue;
            const auto [it, added] = labels.keyOf.emplace(label, key);
            if (!added && it->second != key)
                it->second.clear();
        }
    return labels;
}

ProfileLabels ProfileLabelsInFolders(const QStringList &folders)
{
    std::vector<LanguageTable> tables;
    for (const QString &folder : folders) {
        if (folder.isEmpty())
            continue;
        const QDir dir(folder);
        for (const QString &name : dir.entryList({QString::fromLatin1(kLanguageFilePattern)}, QDir::Files, QDir::Name))
            if (const LanguageLoad load = LoadLanguageFile(dir.filePath(name)); load.table)
                tables.push_back(*load.table);
    }
    std::vector<const LanguageTable *> pointers;
    for (const LanguageTable &table : tables)
        pointers.push_back(&table);
    return ProfileLabelsOf(pointers);
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

// Only the fields the profile sets: the others follow the default.
QJsonObject ToJson(const StockOverride &p)
{
    QJsonObject o;
    const std::pair<const char *, const std::optional<CutLength> *> fields[] = {
        {"barLength", &p.barLength}, {"kerf", &p.kerf}, {"trim", &p.trim}};
    for (const auto &[name, value] : fields)
        if (*value)
            o.insert(QLatin1String(name), double(CutLengthToCm(**value)));
    return o;
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

// The fields an entry gives; the default entry must give the bar length.
bool ReadOverride(const QJsonValue &value, const QString &where, bool barRequired, StockOverride &out, QString *error)
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
    const std::pair<const char *, std::optional<CutLength> *> fields[] = {
        {"barLength", &out.barLength}, {"kerf", &out.kerf}, {"trim", &out.trim}};
    for (const auto &[name, field] : fields) {
        CutLength length = -1;
        if (!ReadLength(o, name, where, length, error, barRequired && field == &out.barLength))
            return false;
        if (length >= 0)
            *field = length;
    }
    return true;
}

bool CheckResolved(const QString &where, const StockProfile &stock, QString *error)
{
    const QString wrong = CheckStockProfile(stock);
    if (!wrong.isEmpty())
        *error = QStringLiteral("%1: %2").arg(where, wrong);
    return wrong.isEmpty();
}

} // namespace

QByteArray StockSettingsToJson(const StockSettings &settings)
{
    QJsonObject profiles;
    for (const auto &[name, value] : settings.unknown)
        profiles.insert(name, value);
    for (const auto &[key, stock] : settings.profiles)
        if (!stock.empty())
            profiles.insert(key, ToJson(stock));
    const QJsonObject root{{QStringLiteral("default"), ToJson(settings.defaults)}, {QStringLiteral("profiles"), profiles}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<StockSettings> StockSettingsFromJson(const QByteArray &bytes, QString *error, const ProfileLabels &labels)
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
    if (root.contains(QLatin1String("default"))) {
        StockOverride given;
        if (!ReadOverride(root.value(QLatin1String("default")), QStringLiteral("\"default\""), true, given, error))
            return std::nullopt;
        settings.defaults = given.over(StockProfile{});
        if (!CheckResolved(QStringLiteral("\"default\""), settings.defaults, error))
            return std::nullopt;
    }
    const QJsonValue profiles = root.value(QLatin1String("profiles"));
    if (!profiles.isUndefined() && !profiles.isObject()) {
        *error = QStringLiteral("\"profiles\" must be an object of profile names");
        return std::nullopt;
    }
    const QJsonObject named = profiles.toObject();
    // Labels first, so that an entry under the key itself wins over one under a label. Of two
    // entries for one profile, the one that does not win is kept as it is, not dropped.
    std::map<QString, QString> labelOf; // key -> the label its entry was read under
    for (const bool byKey : {false, true})
        for (auto it = named.begin(); it != named.end(); ++it) {
            const bool isKey = AllProfileKeys().contains(it.key());
            QString key = isKey ? it.key() : QString();
            if (!isKey) {
                const auto label = labels.keyOf.find(it.key());
                if (label != labels.keyOf.end())
                    key = label->second;
            }
            if (byKey != isKey)
                continue;
            if (key.isEmpty() || (!isKey && labelOf.count(key))) {
                settings.unknown[it.key()] = it.value();
                continue;
            }
            const QString where = QStringLiteral("profile \"%1\"").arg(it.key());
            StockOverride own;
            if (!ReadOverride(it.value(), where, false, own, error) || !CheckResolved(where, own.over(settings.defaults), error))
                return std::nullopt;
            // Earlier versions wrote every field, the defaults of the day included: a field equal
            // to the default was not typed, and follows the default from now on.
            if (!isKey) {
                const std::pair<std::optional<CutLength> *, CutLength> fields[] = {
                    {&own.barLength, settings.defaults.barLength}, {&own.kerf, settings.defaults.kerf}, {&own.trim, settings.defaults.trim}};
                for (const auto &[field, byDefault] : fields)
                    if (*field == byDefault)
                        field->reset();
            }
            if (const auto label = labelOf.find(key); isKey && label != labelOf.end())
                settings.unknown[label->second] = named.value(label->second);
            if (!isKey)
                labelOf[key] = it.key();
            settings.profiles[key] = own;
        }
    return settings;
}

QStringList UnknownStockEntryMessages(const StockSettings &settings, const QString &path)
{
    QStringList messages;
    for (const auto &[name, value] : settings.unknown)
        messages << QStringLiteral("%1: \"%2\" is used for no profile (no profile of that name, or another entry names the same "
                                   "profile); its entry is kept in the file as it is")
                        .arg(QDir::toNativeSeparators(path), name);
    return messages;
}

StockLoad LoadStockFile(const QString &path, const QStringList &languageFolders)
{
    StockLoad load;
    const InputFile file = ReadInputFile(path, kTextFileLimit, false, QStringLiteral("a stock settings file"));
    if (!file.bytes) {
        load.missing = file.openFailed;
        load.error = file.error;
        return load;
    }
    QString error;
    load.settings = StockSettingsFromJson(*file.bytes, &error, ProfileLabelsInFolders(languageFolders));
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
        if (wrong(name, stock.over(settings.defaults)))
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
    return LoadStockFile(path, LanguageFoldersOf(dataFolder));
}

QStringList LanguageFoldersOf(const QString &dataFolder)
{
    QStringList folders{dataFolder};
    // The installed defaults are found beside the program, which a library caller may not have.
    const QString installed = QCoreApplication::instance() ? InstalledDataFolder() : QString();
    if (!installed.isEmpty() && QFileInfo(installed) != QFileInfo(dataFolder))
        folders << installed;
    return folders;
}

} // namespace tablix
