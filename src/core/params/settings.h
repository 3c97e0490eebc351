// Settings of the data folder that belong to the prices rather than to a language: tablix.ini.
#pragma once

#include <QString>
#include <functional>

class QSettings;

#include "core/params/language.h"

namespace tablix {

// Beside the parameter file; group [prices], key currency.
inline constexpr const char *kSettingsFileName = "tablix.ini";
inline constexpr int kCurrencyMaxLength = 10;

// A word the cost texts and the summary can carry: not empty, at most kCurrencyMaxLength
// characters, no control characters, and not beginning with anything a number begins with (the
// summary reads the amount as the text before the currency).
bool IsUsableCurrency(const QString &word);

// The data folder's settings file, read whole and bounded into a private copy that `read` sees;
// true with nothing read when there is no file, false with the reason when it cannot be read.
bool ReadSettings(const QString &workdir, const std::function<void(const QSettings &)> &read, QString *error);
// `edit` changes a private copy of the file, which then replaces the folder's file atomically;
// every setting `edit` does not touch stays. False with a message naming the file when it fails.
bool EditSettings(const QString &workdir, const std::function<void(QSettings &)> &edit, QString *error);

// The currency set for the data folder; empty when none is set or the one set is not usable.
QString CurrencySetting(const QString &workdir);
// Keeps every other setting of the file; false with a message naming the file when it fails.
bool WriteCurrencySetting(const QString &workdir, const QString &word, QString *error);

// The currency the table shows: entry 10 without its blanks.
QString CurrencyWord(const LanguageTable &language);
// Puts `word` into entry 10, keeping the blanks the language file puts before it, and into the
// price units ("EUR/pc" becomes "PLN/pc"). An empty or unusable word changes nothing.
void SetCurrencyWord(LanguageTable &language, const QString &word);
// After a language file was read: the folder's setting, when there is one, replaces the file's word.
void ApplyCurrencySetting(LanguageTable &language, const QString &workdir);

} // namespace tablix
