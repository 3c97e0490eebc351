// The table of every text the user sees, read line by line from a language file.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

namespace tablix {

inline constexpr int kLanguageEntries = 422;
inline constexpr int kLanguageEntriesUsed = 422;

struct LanguageTable {
    std::array<QString, kLanguageEntries> entries;

    // Out-of-range numbers give an empty text rather than failing.
    const QString &LanguageEntry(int n) const
    {
        static const QString kNone;
        return n >= 0 && n < kLanguageEntries ? entries[size_t(n)] : kNone;
    }
};

// Valid UTF-8 is read as such (a leading byte-order mark dropped); anything else as Windows-1250.
// Line N becomes entry N with everything up to its first '=' dropped; lines past the table are
// ignored and entries past the last line are left empty. `lines` gets the number of lines read.
LanguageTable ParseLanguageFile(const QByteArray &bytes, int *lines = nullptr);

// The program's own English texts, as shipped.
const LanguageTable &EnglishLanguage();

struct LanguageLoad {
    std::optional<LanguageTable> table;
    QString error; // names the file and the reason
    // Entries absent from the file (a translation made for an older version): they hold the
    // English text. An entry present with an empty text stays empty.
    int missing = 0;
};
LanguageLoad LoadLanguageFile(const QString &path);
// A name the parameter file may give its language file: a file of the data folder itself, so not
// empty, without "/", "..", or control characters.
bool IsPlainLanguageFileName(const QString &name);
// The language file `name` (as the parameter file holds it) in `folder`; an empty name, or one
// that is not plain, is an error.
LanguageLoad LoadNamedLanguageFile(const QString &folder, const QString &name);

// A language file's display name: its first line less its first two characters.
QString LanguageDisplayName(const QByteArray &bytes);

// The decimal separator the language writes: entry 334's first character when it is punctuation,
// else ".".
QChar DecimalSeparator(const LanguageTable &language);
// The character that groups an amount's digits by three, from the way entry 400 writes a thousand;
// null when it groups nothing or would be taken for the decimal separator.
QChar GroupSeparator(const LanguageTable &language);

// The language of Qt's own translation for a language file: entry 331, else the ISO 639 code in
// the file's suffix ("tablix_lng.pol" gives "pl"); empty when neither names a language.
QString QtLanguageCode(const LanguageTable &language, const QString &fileName);

// Caption of tab `slot` (1..20) for a sign titled `title`.
QString TabCaption(const LanguageTable &language, const QString &title, int slot);

} // namespace tablix
