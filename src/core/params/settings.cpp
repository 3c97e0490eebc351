// Settings of the data folder that belong to the prices rather than to a language: tablix.ini.
#include "core/params/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

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

QString CurrencySetting(const QString &workdir)
{
    const QString path = settingsPath(workdir);
    if (!QFileInfo(path).isFile())
        return QString();
    const QSettings settings(path, QSettings::IniFormat);
    const QString word = settings.value(kCurrencyKey).toString().trimmed();
    return IsUsableCurrency(word) ? word : QString();
}

bool WriteCurrencySetting(const QString &workdir, const QString &word, QString *error)
{
    const QString path = settingsPath(workdir);
    QSettings settings(path, QSettings::IniFormat);
    if (settings.status() == QSettings::NoError) {
        settings.setValue(kCurrencyKey, word.trimmed());
        settings.sync();
    }
    if (settings.status() == QSettings::NoError)
        return true;
    if (error) {
        // QSettings keeps the reason to itself; the file it would have written tells it.
        QSaveFile probe(path);
        QString reason;
        if (!probe.open(QIODevice::WriteOnly))
            reason = probe.errorString();
        probe.cancelWriting();
        *error = reason.isEmpty() ? path : QStringLiteral("%1: %2").arg(path, reason);
    }
    return false;
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
