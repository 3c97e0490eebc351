// The currency setting: which words it takes, how it enters the texts, and that both programs show it.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include "core/params/language_entries.h"
#include "core/params/settings.h"
#include "core/project/startup_data.h"
#include "core/project/app_state.h"
#include "support/cli_runner.h"
#include "support/fixtures.h"

using namespace tablix;

namespace {

TEST(CurrencySetting, TakesWordsTheSummaryCanReadAfterAnAmount)
{
    for (const char *word : {"EUR", "zł", "PLN", "S/.", "R$", "Kč", "ABCDEFGHIJ"})
        EXPECT_TRUE(IsUsableCurrency(QString::fromUtf8(word))) << word;
    for (const char *word : {"", " EUR", "EUR ", "5EUR", ".EUR", ",-", "-EUR", "+EUR", "E\tR", "E\nR", "ABCDEFGHIJK"})
        EXPECT_FALSE(IsUsableCurrency(QString::fromUtf8(word))) << word;
}

TEST(CurrencySetting, ReplacesTheWordInEntryTenAndInThePriceUnitsOnly)
{
    const LanguageTable english = fixtures::ShippedLanguage();
    LanguageTable t = english;
    SetCurrencyWord(t, QStringLiteral("PLN"));
    EXPECT_EQ(t.LanguageEntry(text::kCurrency), QStringLiteral(" PLN")); // the file's blank stays
    EXPECT_EQ(t.LanguageEntry(text::kCostItem7Unit), QStringLiteral("PLN/m²"));
    EXPECT_EQ(t.LanguageEntry(text::kPriceAHeadingAt100), QStringLiteral("List A PLN/m"));
    EXPECT_EQ(t.LanguageEntry(text::kCostItem11UnitAt100), QStringLiteral("PLN/pc (list)"));
    int changed = 0;
    for (int n = 0; n < kLanguageEntries; ++n)
        changed += t.LanguageEntry(n) != english.LanguageEntry(n);
    EXPECT_EQ(changed, 14); // entry 10 and the thirteen units that carry "EUR/"

    // A word that is also a letter of the headings replaces only the unit's currency, change after change.
    SetCurrencyWord(t, QStringLiteral("B"));
    EXPECT_EQ(t.LanguageEntry(text::kPriceBHeading), QStringLiteral("Price B B/m"));
    SetCurrencyWord(t, QStringLiteral("USD"));
    EXPECT_EQ(t.LanguageEntry(text::kPriceBHeading), QStringLiteral("Price B USD/m"));
    EXPECT_EQ(t.LanguageEntry(text::kCurrency), QStringLiteral(" USD"));

    // An unusable word changes nothing; a table without a word of its own gets the blank.
    SetCurrencyWord(t, QStringLiteral("9"));
    EXPECT_EQ(t.LanguageEntry(text::kCurrency), QStringLiteral(" USD"));
    LanguageTable bare;
    SetCurrencyWord(bare, QStringLiteral("CHF"));
    EXPECT_EQ(bare.LanguageEntry(text::kCurrency), QStringLiteral(" CHF"));
}

struct CurrencyFolder : ::testing::Test {
    QTemporaryDir dir;
    QString ini() const { return dir.filePath(QLatin1String(kSettingsFileName)); }

    void SetUp() override
    {
        ASSERT_TRUE(fixtures::WriteBytes(dir.filePath(QLatin1String(kParameterFileName)),
                                         SerializeParameterRecord(fixtures::ShippedParameters())));
        ASSERT_TRUE(QFile::copy(fixtures::DataFile(QStringLiteral("tablix_lng.eng")), dir.filePath(QStringLiteral("tablix_lng.eng"))));
    }

    QByteArray cli(const QStringList &args) const
    {
        const support::CliRun run = support::RunCli(args, {.workdir = dir.path()});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return run.out;
    }
};

TEST_F(CurrencyFolder, TheFileKeepsOtherSettingsAndIgnoresAnUnusableWord)
{
    EXPECT_EQ(CurrencySetting(dir.path()), QString());
    {
        QSettings other(ini(), QSettings::IniFormat);
        other.setValue(QStringLiteral("stock/minimum"), 3);
        other.setValue(QStringLiteral("prices/currency"), QStringLiteral("12"));
    }
    EXPECT_EQ(CurrencySetting(dir.path()), QString());
    ASSERT_TRUE(WriteCurrencySetting(dir.path(), QStringLiteral("zł"), nullptr));
    EXPECT_EQ(CurrencySetting(dir.path()), QStringLiteral("zł"));
    EXPECT_EQ(QSettings(ini(), QSettings::IniFormat).value(QStringLiteral("stock/minimum")).toInt(), 3);

    // Nothing can be written where a folder stands; the message names the file.
    QTemporaryDir blocked;
    ASSERT_TRUE(QDir(blocked.path()).mkdir(QLatin1String(kSettingsFileName)));
    QString error;
    EXPECT_FALSE(WriteCurrencySetting(blocked.path(), QStringLiteral("PLN"), &error));
    EXPECT_TRUE(error.contains(QLatin1String(kSettingsFileName))) << error.toStdString();
}

// A settings file larger than any text file is not read whole, nor written over.
TEST_F(CurrencyFolder, AHugeSettingsFileIsNeitherReadNorReplaced)
{
    {
        QFile huge(ini());
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        huge.write("[prices]\ncurrency=PLN\n");
        ASSERT_TRUE(huge.resize(qint64(1) << 30)); // sparse: no disk used
    }
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(CurrencySetting(dir.path()), QString());
    QString error;
    EXPECT_FALSE(WriteCurrencySetting(dir.path(), QStringLiteral("EUR"), &error));
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(error, ini() + QStringLiteral(" is larger than 4194304 bytes, more than a settings file holds; it is not read"));
    EXPECT_EQ(QFileInfo(ini()).size(), qint64(1) << 30);
}

TEST_F(CurrencyFolder, TheProgramAndTheToolShowTheSettingWhateverTheLanguage)
{
    AppState state;
    ASSERT_EQ(LoadParametersAndLanguage(state, dir.path()).failure, StartupFailure::None);
    EXPECT_EQ(state.LanguageEntry(text::kCurrency), QStringLiteral(" EUR")); // no setting: the language's word

    ASSERT_TRUE(WriteCurrencySetting(dir.path(), QStringLiteral("PLN"), nullptr));
    ASSERT_EQ(LoadParametersAndLanguage(state, dir.path()).failure, StartupFailure::None);
    EXPECT_EQ(state.LanguageEntry(text::kCurrency), QStringLiteral(" PLN"));

    const QString project = dir.filePath(QStringLiteral("shop.tab"));
    cli({QStringLiteral("project"), QStringLiteral("load"), fixtures::DataFile(QStringLiteral("examples/shop-front.json")),
         QStringLiteral("-o"), project});
    const QByteArray cost = cli({QStringLiteral("cost"), project});
    EXPECT_TRUE(cost.contains(" PLN\n")) << cost.toStdString();
    EXPECT_FALSE(cost.contains("EUR")) << cost.toStdString();
    const QByteArray summary = cli({QStringLiteral("summary"), project});
    EXPECT_TRUE(summary.contains(" PLN")) << summary.toStdString();
    EXPECT_FALSE(summary.contains("EUR")) << summary.toStdString();
}

} // namespace
