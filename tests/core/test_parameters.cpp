// The parameter file: its layout, loading and saving, the derived tables and the start-up checks.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "support/fixtures.h"
#include "core/files/atomic_file.h"
#include "core/params/parameters.h"
#include "core/project/startup_data.h"

using namespace tablix;

TEST(ParameterFile, FieldsSitAtTheirOffsetsInTheFile)
{
    ParameterRecord p{};
    p.priceListPercent.set(100);
    p.elementRows[22].heightMm.set(1000);
    p.setLanguageFile(QStringLiteral("tablix_lng.pol"));
    const QByteArray bytes = SerializeParameterRecord(p);
    ASSERT_EQ(bytes.size(), 598);
    EXPECT_EQ(bytes.mid(162, 6), QByteArray::fromHex("870000000048"));
    EXPECT_EQ(bytes.mid(564 + 12, 6), QByteArray::fromHex("8a000000007a"));
    EXPECT_EQ(bytes.mid(582, 16), QByteArray("\x0etablix_lng.pol", 15) + QByteArray(1, '\0'));
}

TEST(ParameterFile, LoadsTheFirstRecordAndRefusesShortFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(kParameterFileName));
    const QByteArray record = SerializeParameterRecord(fixtures::ShippedParameters());

    fixtures::WriteBytes(path, record + "trailing bytes");
    ParameterLoad load = LoadParameterFile(path);
    ASSERT_TRUE(load.record);
    EXPECT_EQ(SerializeParameterRecord(*load.record), record);

    fixtures::WriteBytes(path, record.left(597));
    load = LoadParameterFile(path);
    EXPECT_FALSE(load.record);
    EXPECT_FALSE(load.missing);
    EXPECT_TRUE(load.error.contains(QLatin1String("Tablix_pro.dan"))) << load.error.toStdString();
    EXPECT_TRUE(load.error.contains(QLatin1String("597"))) << load.error.toStdString();

    load = LoadParameterFile(dir.filePath(QStringLiteral("absent.dan")));
    EXPECT_TRUE(load.missing);
}

TEST(ParameterFile, SaveAndLoadReproduceTheFileByteForByte)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.dan"));
    QByteArray original(598, '\0');
    for (int i = 0; i < 598; ++i)
        original[i] = char((i * 37 + 11) & 0xFF);
    fixtures::WriteBytes(path, original);
    const ParameterLoad load = LoadParameterFile(path);
    ASSERT_TRUE(load.record);
    ASSERT_TRUE(WriteFileAtomically(path, SerializeParameterRecord(*load.record), nullptr));
    EXPECT_EQ(fixtures::ReadBytes(path), original);
}

TEST(ParameterFile, FailedWriteLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.dan"));
    fixtures::WriteBytes(path, "old");
    QString error;
    // A directory where the new file should go cannot be written.
    EXPECT_FALSE(WriteFileAtomically(dir.filePath(QStringLiteral("missing/p.dan")), "new", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(fixtures::ReadBytes(path), "old");
}

TEST(DerivedParameters, ElementTypeTableFollowsTheCopyOrder)
{
    ParameterRecord p = fixtures::ShippedParameters();
    fixtures::StepElementRows(p); // every row its own height
    DerivedParameters d;
    RefreshElementTypeTable(p, d);
    EXPECT_EQ(d.ElementTypeTable[0].heightMm.get(), 10);  // row 0
    EXPECT_EQ(d.ElementTypeTable[2].heightMm.get(), 40);  // row 3
    EXPECT_EQ(d.ElementTypeTable[11].heightMm.get(), 150); // row 14
    EXPECT_EQ(d.ElementTypeTable[12].heightMm.get(), 30);  // row 2
    EXPECT_EQ(d.ElementTypeTable[13].heightMm.get(), 230); // row 22
}

TEST(DerivedParameters, PricePercentFlags)
{
    ParameterRecord p{};
    DerivedParameters d;
    const struct {
        long double percent;
        bool has, is100;
        long double fixed;
    } cases[] = {{0, false, false, 0}, {-5, false, false, 0}, {100, true, true, 100}, {99.99L, true, false, 0}};
    for (const auto &c : cases) {
        p.priceListPercent.set(c.percent);
        RefreshPricePercent(p, d);
        EXPECT_EQ(d.HasFixedPricePercent, c.has) << double(c.percent);
        EXPECT_EQ(d.FixedPricePercentIs100, c.is100) << double(c.percent);
        if (!c.has || c.is100) {
            EXPECT_EQ(d.FixedPricePercent.get(), c.fixed);
        }
    }
    EXPECT_EQ(d.FixedPricePercent, p.priceListPercent); // 99.99 taken as stored
}

TEST(LanguageFileName, IsCutToWhatTheRecordHolds)
{
    ParameterRecord p{};
    p.setLanguageFile(QStringLiteral("tablix_lng.engxxxxxx"));
    EXPECT_EQ(p.languageFile(), "tablix_lng.engx");
    p.languageFileName[0] = 200; // a damaged length byte reads no further than the field
    EXPECT_EQ(p.languageFile().size(), 15);
}

TEST(StartupData, ReportsEachFailureAndKeepsTheStateUntilBothFilesAreWhole)
{
    QTemporaryDir dir;
    AppState state;
    StartupLoadResult r = LoadParametersAndLanguage(state, dir.path());
    EXPECT_EQ(r.failure, StartupFailure::ParametersMissing);
    EXPECT_EQ(r.message, "Parameters absent.Reinstall program!");

    const QString paramPath = dir.filePath(QString::fromLatin1(kParameterFileName));
    fixtures::WriteBytes(paramPath, QByteArray(100, '\x01'));
    r = LoadParametersAndLanguage(state, dir.path());
    EXPECT_EQ(r.failure, StartupFailure::ParametersUnreadable);
    EXPECT_TRUE(r.message.contains(QLatin1String("100")));

    ParameterRecord stepped = fixtures::ShippedParameters();
    fixtures::StepElementRows(stepped);
    fixtures::WriteBytes(paramPath, SerializeParameterRecord(stepped));
    r = LoadParametersAndLanguage(state, dir.path());
    EXPECT_EQ(r.failure, StartupFailure::LanguageMissing);
    EXPECT_EQ(r.message, "Restart program!");
    EXPECT_EQ(state.parameters.elementRows[0].heightMm.get(), 0); // nothing taken yet

    fixtures::WriteBytes(dir.filePath(QStringLiteral("tablix_lng.eng")), "E=English\n1=Project\n");
    r = LoadParametersAndLanguage(state, dir.path());
    EXPECT_EQ(r.failure, StartupFailure::None);
    EXPECT_EQ(state.LanguageEntry(1), "Project");
    EXPECT_EQ(state.derived.ElementTypeTable[12].heightMm.get(), 30);
    EXPECT_EQ(state.tabCaptions[0], "Sign 1"); // entry 152 is missing from this short file: English
}
