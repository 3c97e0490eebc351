// The table of every text the user sees, read line by line from a language file.
#include "core/params/language.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QStringDecoder>

#include "core/number/cp1250.h"
#include "core/number/escaped_text.h"
#include "core/files/input_file.h"
#include "core/params/language_entries.h"

namespace tablix {

namespace {

QString decodeText(const QByteArray &bytes)
{
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(data);
    if (!utf8.hasError())
        return text;
    return DecodeCp1250(bytes);
}

// CR LF, LF and a lone CR all end a line; a last line without an ending still counts.
template <typename Visit>
void forEachLine(const QString &text, int maxLines, Visit visit)
{
    qsizetype start = 0;
    int n = 0;
    const qsizetype size = text.size();
    while (start < size && n < maxLines) {
        qsizetype end = start;
        while (end < size && text[end] != QLatin1Char('\n') && text[end] != QLatin1Char('\r'))
            ++end;
        visit(n++, QStringView(text).mid(start, end - start));
        if (end < size && text[end] == QLatin1Char('\r') && end + 1 < size && text[end + 1] == QLatin1Char('\n'))
            ++end;
        start = end + 1;
    }
}

} // namespace

LanguageTable ParseLanguageFile(const QByteArray &bytes, int *lines)
{
    LanguageTable table;
    int read = 0;
    forEachLine(decodeText(bytes), kLanguageEntries, [&](int n, QStringView line) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        table.entries[size_t(n)] = (eq < 0 ? line : line.mid(eq + 1)).toString();
        read = n + 1;
    });
    if (lines)
        *lines = read;
    return table;
}

const LanguageTable &EnglishLanguage()
{
#include "english_texts.inc"
    static const LanguageTable english =
        ParseLanguageFile(QByteArray(reinterpret_cast<const char *>(kEnglishTexts), qsizetype(sizeof kEnglishTexts)));
    return english;
}

LanguageLoad LoadLanguageFile(const QString &path)
{
    LanguageLoad result;
    const InputFile file = ReadInputFile(path, kTextFileLimit, false, QStringLiteral("a language file"));
    if (!file.bytes) {
        result.error = file.error;
        return result;
    }
    int lines = 0;
    result.table = ParseLanguageFile(*file.bytes, &lines);
    for (int n = lines; n < kLanguageEntries; ++n)
        result.table->entries[size_t(n)] = EnglishLanguage().entries[size_t(n)];
    result.missing = kLanguageEntries - lines;
    return result;
}

LanguageLoad LoadNamedLanguageFile(const QString &folder, const QString &name)
{
    if (name.isEmpty()) {
        LanguageLoad result;
        result.error = QStringLiteral("The parameter file names no language file (the name is empty).");
        return result;
    }
    if (!IsPlainLanguageFileName(name)) {
        LanguageLoad result;
        result.error = QStringLiteral("The parameter file names the language file \"%1\", which is not a plain file name "
                                      "in the data folder; it is not read.")
                           .arg(EscapedControls(name));
        return result;
    }
    return LoadLanguageFile(QDir(folder).filePath(name));
}

bool IsPlainLanguageFileName(const QString &name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1String("..")))
        return false;
    for (QChar c : name)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
            return false;
    return true;
}

QString LanguageDisplayName(const QByteArray &bytes)
{
    QString name;
    forEachLine(decodeText(bytes), 1, [&](int, QStringView line) { name = line.mid(2).toString(); });
    return name;
}

QChar DecimalSeparator(const LanguageTable &language)
{
    // A digit, letter or blank would make numbers unreadable: such an entry is no separator.
    const QString &entry = language.LanguageEntry(text::kDecimalSeparator);
    return entry.isEmpty() || !entry.front().isPunct() ? QLatin1Char('.') : entry.front();
}

QChar GroupSeparator(const LanguageTable &language)
{
    const QString &sample = language.LanguageEntry(text::kGroupSeparator);
    if (sample.size() != 5 || !sample.front().isDigit())
        return {};
    const QChar group = sample.at(1);
    if (group.isDigit() || group.isLetter() || group == DecimalSeparator(language))
        return {};
    return group;
}

QString QtLanguageCode(const LanguageTable &language, const QString &fileName)
{
    // Files written before entry 331 existed still name their language by their suffix.
    QString code = language.LanguageEntry(text::kQtLanguage).trimmed();
    if (code.isEmpty()) {
        const QString suffix = QFileInfo(fileName).suffix().toLower();
        for (auto type : {QLocale::ISO639Part2, QLocale::ISO639Part1}) {
            const QLocale::Language found = QLocale::codeToLanguage(suffix, type);
            if (found != QLocale::AnyLanguage && found != QLocale::C)
                return QLocale::languageToCode(found, QLocale::ISO639Part1);
        }
        return {};
    }
    // A name that could reach outside the translations folder is no language.
    static const QRegularExpression valid(QStringLiteral("^[A-Za-z]{2,3}(_[A-Za-z]{2,4})?$"));
    return valid.match(code).hasMatch() ? code : QString();
}

QString TabCaption(const LanguageTable &language, const QString &title, int slot)
{
    if (title.isEmpty())
        return language.LanguageEntry(text::kUntitledSign) + (slot == 3 ? QStringLiteral(" 3") : QString::number(slot));
    if (title.startsWith(QLatin1Char('!')))
        return title.mid(1);
    return title;
}

} // namespace tablix
