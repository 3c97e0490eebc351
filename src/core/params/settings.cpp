// Settings of the data folder that belong to the prices rather than to a language: tablix.ini.
#include "core/params/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include "core/files/atomic_file.h"
#include "core/files/input_file.h"
#include "core/params/language_entries.h"

namespace tablix {

namespace {

const QString kCurrencyKey = QStringLiteral("prices/currency");

QString settingsPath(const QString &workdir)
{
    return QDir(workdir).filePath(QString::fromLatin1(kSettingsFileName));
}

// The units that carry the language's currency before a "/" ("EUR/pc", "Price B EUR/m").
constexpr int kPriceUnits[] = {text::kCostItem1Unit,      text::kCostItem2Unit,      text::kCostItem7Unit,
                               text::kCostItem8Unit,      text::kCostItem9Unit,      text::kPriceBHeading,
                               text::kPriceAHeading,      text::kCostItem6Unit,      text::kCostItem11Unit,
                               text::kCostItem9UnitAt100, text::kPriceBHeadingAt100, text::kPriceAHeadingAt100,
                               text::kCostItem11UnitAt100};

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber();
}

// Only a whole word directly followed by "/" is a currency: "Price B B/m" keeps its first "B".
QString replaceUnitCurrency(const QString &text, const QString &from, const QString &to)
{
    const QString pattern = from + QLatin1Char('/');
    QString out;
    qsizetype start = 0;
    for (qsizetype at = text.indexOf(pattern); at >= 0; at = text.indexOf(pattern, at + 1)) {
        if (at < start || (at > 0 && isWordCharacter(text.at(at - 1)) && isWordCharacter(from.front())))
            continue;
        out += QStringView(text).mid(start, at - start);
        out += to;
        start = at + from.size();
    }
    out += QStringView(text).mid(start);
    return out;
}

} // namespace

bool IsUsableCurrency(const QString &word)
{
    if (word.isEmpty() || word.size() > kCurrencyMaxLength || word != word.trimmed())
        return false;
    for (const QChar c : word)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return false;
    const QChar first = word.front();
    return !first.isDigit() && !QStringLiteral(".,-+").contains(first);
}

// QSettings reads a file whole: it only ever sees a copy of one no larger than a text file may be.
InputFile readSettings(const QString &path)
{
    return ReadInputFile(path, kTextFileLimit, false, QStringLiteral("a settings file"));
}

bool ReadSettings(const QString &workdir, const std::function<void(const QSettings &)> &read, QString *error)
{
    const QString path = settingsPath(workdir);
    if (!QFileInfo(path).isFile())
        return true;
    const InputFile file = readSettings(path);
    if (!file.bytes) {
        if (error)
            *error = file.error;
        return false;
    }
    const QTemporaryDir scratch;
    const QString copy = scratch.filePath(QString::fromLatin1(kSettingsFileName));
    if (!scratch.isValid() || !WriteFileAtomically(copy, *file.bytes, error))
        return false;
    const QSettings settings(copy, QSettings::IniFormat);
    read(settings);
    return true;
}

bool EditSettings(const QString &workdir, const std::function<void(QSettings &)> &edit, QString *error)
{
    // QSettings edits a private copy, so that the folder's file is written by the one writer.
    const QString path = settingsPath(workdir);
    QByteArray bytes;
    if (QFileInfo::exists(path)) {
        const InputFile file = readSettings(path);
        if (!file.bytes) {
            if (error)
                *error = file.error;
            return false;
        }
        bytes = *file.bytes;
    }
    const QTemporaryDir scratch;
    const QString copy = scratch.filePath(QString::fromLatin1(kSettingsFileName));
    if (!scratch.isValid() || !WriteFileAtomically(copy, bytes, error))
        return false;
    {
        QSettings settings(copy, QSettings::IniFormat);
        edit(settings);
        settings.sync();
        if (settings.status() != QSettings::NoError) {
            if (error)
                *error = QStringLiteral("%1: the settings could not be written").arg(path);
            return false;
        }
    }
    const InputFile edited = readSettings(copy);
    if (!edited.bytes) {
        if (error)
            *error = edited.error;
        return false;
    }
    return WriteFileAtomically(path, *edited.bytes, error);
}

QString CurrencySetting(const QString &workdir)
{
    QString word;
    ReadSettings(workdir, [&](const QSettings &settings) { word = settings.value(kCurrencyKey).toString().trimmed(); }, nullptr);
    return IsUsableCurrency(word) ? word : QString();
}

bool WriteCurrencySetting(const QString &workdir, const QString &word, QString *error)
{
    return EditSettings(workdir, [&](QSettings &settings) { settings.setValue(kCurrencyKey, word.trimmed()); }, error);
}

QString CurrencyWord(const LanguageTable &language)
{
    return language.LanguageEntry(text::kCurrency).trimmed();
}

void SetCurrencyWord(LanguageTable &language, const QString &word)
{
    const QString current = CurrencyWord(language);
    if (!IsUsableCurrency(word) || word == current)
        return;
    QString &entry = language.entries[size_t(text::kCurrency)];
    qsizetype blanks = 0;
    while (blanks < entry.size() && entry.at(blanks).isSpace())
        ++blanks;
    // A file without a word of its own gets the blank the shipped files put before the amount's unit.
    entry = (entry.isEmpty() ? QStringLiteral(" ") : entry.left(blanks)) + word;
    if (current.isEmpty())
        return;
    for (int n : kPriceUnits) {
        QString &unit = language.entries[size_t(n)];
        unit = replaceUnitCurrency(unit, current, word);
    }
}

void ApplyCurrencySetting(LanguageTable &language, const QString &workdir)
{
    SetCurrencyWord(language, CurrencySetting(workdir));
}

} // namespace tablix
