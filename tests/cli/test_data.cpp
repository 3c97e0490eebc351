// The data shipped with the program: complete language files and a sound parameter set.
#include <gtest/gtest.h>

#include <QDir>
#include <QJsonDocument>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringDecoder>

#include "support/fixtures.h"
#include "core/params/language.h"
#include "core/params/language_entries.h"

using namespace tablix;

namespace {

const QString kData = QStringLiteral(TABLIX_DATA_DIR);

QByteArray languageFile(const char *suffix)
{
    return fixtures::ReadBytes(kData + QStringLiteral("/tablix_lng.") + QLatin1String(suffix));
}

} // namespace

class ShippedLanguage : public ::testing::TestWithParam<const char *> {};

TEST_P(ShippedLanguage, IsCompleteUtf8WithUsableFilters)
{
    const QByteArray bytes = languageFile(GetParam());
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_GE(bytes.count('\n'), kLanguageEntriesUsed);
    EXPECT_LE(bytes.count('\n'), kLanguageEntries);
    EXPECT_FALSE(bytes.contains('\t'));
    EXPECT_FALSE(bytes.contains('\r'));
    QStringDecoder utf8(QStringDecoder::Utf8);
    (void)QString(utf8(bytes));
    EXPECT_FALSE(utf8.hasError());
    EXPECT_EQ(bytes.indexOf('='), 1) << "line 0 must be one key character, '=', the name";

    const LanguageTable t = ParseLanguageFile(bytes);
    for (int n = 0; n < kLanguageEntriesUsed; ++n)
        EXPECT_FALSE(t.LanguageEntry(n).trimmed().isEmpty()) << "entry " << n;

    const QStringList projectFilter = t.LanguageEntry(text::kProjectFileFilter).split(QLatin1Char('|'));
    ASSERT_GE(projectFilter.size(), 2);
    EXPECT_TRUE(projectFilter[1] == QLatin1String("*.tab")) << projectFilter[1].toStdString();
    const QStringList exportFilter = t.LanguageEntry(text::kExportFileFilter).split(QLatin1Char('|'));
    ASSERT_GE(exportFilter.size(), 4);
    EXPECT_EQ(exportFilter[1], "*.wmf");
    EXPECT_EQ(exportFilter[3], "*.plt");
}

INSTANTIATE_TEST_SUITE_P(Data, ShippedLanguage, ::testing::Values("eng", "pol"));

TEST(ShippedLanguage, DisplayNamesDiffer)
{
    EXPECT_NE(LanguageDisplayName(languageFile("eng")), LanguageDisplayName(languageFile("pol")));
}

TEST(ShippedParameters, NameTheEnglishFileAndGiveEveryElementAHeight)
{
    const QJsonObject root = QJsonDocument::fromJson(fixtures::ReadBytes(kData + QStringLiteral("/params.json"))).object();
    EXPECT_EQ(root.value(QLatin1String("languageFileName")).toString(), "tablix_lng.eng");
    EXPECT_TRUE(QFile::exists(kData + QLatin1Char('/') + root.value(QLatin1String("languageFileName")).toString()));
    const QJsonArray rows = root.value(QLatin1String("elementRows")).toArray();
    ASSERT_EQ(rows.size(), 23);
    for (int i = 0; i < 23; ++i)
        EXPECT_GT(rows[i].toObject().value(QLatin1String("heightMm")).toDouble(), 0) << i;
    EXPECT_LT(root.value(QLatin1String("areaBandLimit1")).toDouble(), root.value(QLatin1String("areaBandLimit2")).toDouble());
    EXPECT_LT(root.value(QLatin1String("areaBandLimit2")).toDouble(), root.value(QLatin1String("areaBandLimit3")).toDouble());
}
