#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "support/fixtures.h"
#include "core/number/number_format.h"
#include "core/params/language.h"
#include "core/params/language_entries.h"

using namespace tablix;

TEST(LanguageFile, DropsTheKeyUpToTheFirstEqualsSignOnly)
{
    const LanguageTable t = ParseLanguageFile("E=English\n1=a=b\nno key here\n\n4=after empty\r\n5=crlf\r6=lone cr");
    EXPECT_EQ(t.LanguageEntry(0), "English");
    EXPECT_EQ(t.LanguageEntry(1), "a=b");
    EXPECT_EQ(t.LanguageEntry(2), "no key here");
    EXPECT_EQ(t.LanguageEntry(3), "");
    EXPECT_EQ(t.LanguageEntry(4), "after empty");
    EXPECT_EQ(t.LanguageEntry(5), "crlf");
    EXPECT_EQ(t.LanguageEntry(6), "lone cr");
    EXPECT_EQ(t.LanguageEntry(7), "");
    EXPECT_EQ(t.LanguageEntry(-1), "");
    EXPECT_EQ(t.LanguageEntry(kLanguageEntries), "");
}

TEST(LanguageFile, ReadsUtf8AndFallsBackToWindows1250)
{
    EXPECT_EQ(ParseLanguageFile("\xEF\xBB\xBFP=Polski\n1=Zapisz \xC5\x82\xC3\xB3\xC5\xBC").LanguageEntry(1),
              QString::fromUtf8("Zapisz łóż"));
    EXPECT_EQ(ParseLanguageFile("\xEF\xBB\xBFP=Polski").LanguageEntry(0), "Polski");
    // \xB3 = ł, \xF3 = ó, \xBF = ż in Windows-1250; not valid UTF-8.
    EXPECT_EQ(ParseLanguageFile("P=Polski\n1=Zapisz \xB3\xF3\xBF").LanguageEntry(1), QString::fromUtf8("Zapisz łóż"));
}

TEST(LanguageFile, LinesBeyondTheTableAreIgnored)
{
    QByteArray bytes;
    for (int i = 0; i < kLanguageEntries + 50; ++i)
        bytes += QByteArray::number(i) + "=line " + QByteArray::number(i) + "\n";
    const LanguageTable t = ParseLanguageFile(bytes);
    EXPECT_EQ(t.LanguageEntry(kLanguageEntries - 1), "line " + QString::number(kLanguageEntries - 1));
    EXPECT_EQ(t.LanguageEntry(kLanguageEntries), "");
}

TEST(LanguageFile, DisplayNameIsTheFirstLineLessTwoCharacters)
{
    EXPECT_EQ(LanguageDisplayName("E=English\n1=x"), "English");
    EXPECT_EQ(LanguageDisplayName("E"), "");
    EXPECT_EQ(LanguageDisplayName(""), "");
}

TEST(TabCaptions, EmptyNamesNumberedWithTheOddBlankBeforeThree)
{
    const LanguageTable t = fixtures::SampleLanguage();
    EXPECT_EQ(TabCaption(t, QString(), 1), "Sign1");
    EXPECT_EQ(TabCaption(t, QString(), 3), "Sign 3");
    EXPECT_EQ(TabCaption(t, QString(), 4), "Sign4");
    EXPECT_EQ(TabCaption(t, QString(), 20), "Sign20");
    EXPECT_EQ(TabCaption(t, QStringLiteral("!Shop front"), 2), "Shop front");
    EXPECT_EQ(TabCaption(t, QStringLiteral("!"), 2), "");
    EXPECT_EQ(TabCaption(t, QStringLiteral("100.00x20.00Alu"), 2), "100.00x20.00Alu");
}

TEST(LanguageFile, NamesQtsLanguageByItsEntryOrElseItsSuffix)
{
    const struct {
        const char *entry;
        const char *file;
        const char *code;
    } cases[] = {
        {"pl", "tablix_lng.qqq", "pl"},      // the entry wins
        {" pt_BR ", "tablix_lng.pol", "pt_BR"},
        {"", "tablix_lng.pol", "pl"},        // older files: the suffix, ISO 639-2
        {"", "tablix_lng.eng", "en"},
        {"", "tablix_lng.deu", "de"},
        {"", "tablix_lng.fr", "fr"},         // ISO 639-1
        {"", "tablix_lng.qqq", ""},          // no language
        {"", "tablix_lng", ""},
        {"../../etc/x", "tablix_lng.pol", ""}, // never a path
        {"pl/../x", "tablix_lng.pol", ""},
    };
    for (const auto &c : cases) {
        LanguageTable t;
        t.entries[text::kQtLanguage] = QString::fromLatin1(c.entry);
        EXPECT_EQ(QtLanguageCode(t, QString::fromLatin1(c.file)), QLatin1String(c.code)) << c.entry << " " << c.file;
    }
}

TEST(LanguageFile, DecimalSeparatorIsTheEntrysFirstCharacterOrAPoint)
{
    LanguageTable t;
    EXPECT_EQ(DecimalSeparator(t), QLatin1Char('.'));
    t.entries[text::kDecimalSeparator] = QStringLiteral(",");
    EXPECT_EQ(DecimalSeparator(t), QLatin1Char(','));
    EXPECT_EQ(FormatFixed(-1234.505L, 10, 2, DecimalSeparator(t)), QStringLiteral("  -1234,51"));
    EXPECT_EQ(WithDecimalSeparator(QStringLiteral("7"), QLatin1Char(',')), QStringLiteral("7"));
    for (const char *unusable : {"E333", "5", " ,"}) {
        t.entries[text::kDecimalSeparator] = QLatin1String(unusable);
        EXPECT_EQ(DecimalSeparator(t), QLatin1Char('.')) << unusable;
    }
    EXPECT_EQ(DecimalSeparator(fixtures::ShippedLanguage(QStringLiteral("tablix_lng.pol"))), QLatin1Char(','));
    EXPECT_EQ(DecimalSeparator(fixtures::ShippedLanguage()), QLatin1Char('.'));
}

// A translation made for an older version: what it lacks comes in English, what it leaves empty stays empty.
TEST(LanguageFile, MissingEntriesFallBackToEnglishEmptyOnesStayEmpty)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tablix_lng.old"));
    ASSERT_TRUE(fixtures::WriteBytes(path, "P=Polski\n1=Projekt\n2=\n"));
    const LanguageLoad load = LoadLanguageFile(path);
    ASSERT_TRUE(load.table);
    EXPECT_EQ(load.missing, kLanguageEntries - 3);
    EXPECT_EQ(load.table->LanguageEntry(1), "Projekt");
    EXPECT_EQ(load.table->LanguageEntry(2), "");
    for (int n = 3; n < kLanguageEntries; ++n)
        ASSERT_EQ(load.table->LanguageEntry(n), EnglishLanguage().LanguageEntry(n)) << n;
    EXPECT_EQ(EnglishLanguage().LanguageEntry(5), fixtures::ShippedLanguage().LanguageEntry(5));
    EXPECT_FALSE(EnglishLanguage().LanguageEntry(kLanguageEntries - 1).isEmpty());

    // A complete file misses nothing.
    EXPECT_EQ(LoadLanguageFile(fixtures::DataFile(QStringLiteral("tablix_lng.pol"))).missing, 0);
}

TEST(LanguageFile, OnlyPlainNamesOfTheDataFolderAreRead)
{
    for (const char *name : {"tablix_lng.eng", "moj jezyk.txt", "a..b"})
        EXPECT_EQ(IsPlainLanguageFileName(QString::fromUtf8(name)), QByteArray(name) != "a..b") << name;
    for (const char *name : {"", "../secret.txt", "/etc/hostname", "sub/x", "..", "a\tb", "a\x7f"})
        EXPECT_FALSE(IsPlainLanguageFileName(QString::fromUtf8(name))) << name;
}
