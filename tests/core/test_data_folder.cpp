// Where the data folder is found, and how a first start fills the configuration folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/params/data_folder.h"
#include "core/params/parameters.h"
#include "core/params/params_json.h"
#include "support/fixtures.h"

using namespace tablix;

namespace {

struct Folders {
    QTemporaryDir root;
    QString start = sub("start");
    QString config = root.filePath(QStringLiteral("config/tablix")); // not made: the lookup makes it
    QString share = sub("prefix/share/tablix");

    QString sub(const char *name)
    {
        const QString path = root.filePath(QLatin1String(name));
        QDir().mkpath(path);
        return path;
    }
    DataFolderPlaces places(const QString &workdir = QString()) const
    {
        return {workdir, start, config, {root.filePath(QStringLiteral("elsewhere")), share}};
    }
    // The installed defaults: the shipped parameters and both language files.
    void install() const
    {
        for (const char *name : {"params.json", "tablix_lng.eng", "tablix_lng.pol"})
            ASSERT_TRUE(QFile::copy(fixtures::DataFile(QLatin1String(name)), QDir(share).filePath(QLatin1String(name))));
    }
};

QString in(const QString &folder, const char *file)
{
    return QDir(folder).filePath(QLatin1String(file));
}

} // namespace

TEST(DataFolder, TheFolderGivenWinsAndIsNeverFilled)
{
    Folders f;
    f.install();
    fixtures::WriteBytes(in(f.start, "Tablix_pro.dan"), QByteArray(598, '\0'));
    const QString given = f.sub("given");
    const DataFolderChoice c = ChooseDataFolder(f.places(given));
    EXPECT_EQ(c.folder, given);
    EXPECT_EQ(c.searched, QStringList{given});
    EXPECT_FALSE(c.filled);
    EXPECT_FALSE(QFile::exists(in(given, "Tablix_pro.dan")));
    EXPECT_FALSE(QDir(f.config).exists());
}

TEST(DataFolder, AStartFolderHoldingTheParameterFileIsUsedAsItIs)
{
    Folders f;
    f.install();
    fixtures::WriteBytes(in(f.start, "Tablix_pro.dan"), QByteArray(598, '\0'));
    const DataFolderChoice c = ChooseDataFolder(f.places());
    EXPECT_EQ(c.folder, f.start);
    EXPECT_FALSE(c.filled);
    EXPECT_FALSE(QDir(f.config).exists());
}

TEST(DataFolder, AFirstStartFillsTheConfigurationFolderOnceAndKeepsTheUsersFiles)
{
    Folders f;
    f.install();
    const DataFolderChoice c = ChooseDataFolder(f.places());
    EXPECT_EQ(c.folder, f.config);
    EXPECT_EQ(c.installed, f.share);
    EXPECT_TRUE(c.filled) << c.error.toStdString();
    EXPECT_EQ(c.searched, (QStringList{f.start, f.config}));

    QString error;
    const auto expected = ParametersFromJson(fixtures::ReadBytes(in(f.share, "params.json")), &error);
    ASSERT_TRUE(expected) << error.toStdString();
    EXPECT_EQ(fixtures::ReadBytes(in(f.config, "Tablix_pro.dan")), SerializeParameterRecord(*expected));
    for (const char *name : {"tablix_lng.eng", "tablix_lng.pol"})
        EXPECT_EQ(fixtures::ReadBytes(in(f.config, name)), fixtures::ReadBytes(in(f.share, name))) << name;

    // What the user changed there stays: the next start only reads.
    fixtures::WriteBytes(in(f.config, "tablix_lng.eng"), "E=Mine\n");
    ParameterRecord edited = *expected;
    edited.priceListPercent.set(77);
    fixtures::WriteBytes(in(f.config, "Tablix_pro.dan"), SerializeParameterRecord(edited));
    const DataFolderChoice again = ChooseDataFolder(f.places());
    EXPECT_EQ(again.folder, f.config);
    EXPECT_FALSE(again.filled);
    EXPECT_EQ(fixtures::ReadBytes(in(f.config, "tablix_lng.eng")), QByteArray("E=Mine\n"));
    EXPECT_EQ(fixtures::ReadBytes(in(f.config, "Tablix_pro.dan")), SerializeParameterRecord(edited));
}

// An interrupted filling (no parameter file yet) is taken up again without touching what is there.
TEST(DataFolder, FillingAddsOnlyWhatIsMissing)
{
    Folders f;
    f.install();
    QDir().mkpath(f.config);
    fixtures::WriteBytes(in(f.config, "tablix_lng.pol"), "P=Mój\n");
    QString error;
    ASSERT_TRUE(FillDataFolder(f.config, f.share, &error)) << error.toStdString();
    EXPECT_EQ(fixtures::ReadBytes(in(f.config, "tablix_lng.pol")), QByteArray("P=Mój\n"));
    EXPECT_EQ(fixtures::ReadBytes(in(f.config, "tablix_lng.eng")), fixtures::ReadBytes(in(f.share, "tablix_lng.eng")));
    EXPECT_EQ(fixtures::ReadBytes(in(f.config, "Tablix_pro.dan")).size(), 598);
}

TEST(DataFolder, WithoutInstalledDefaultsTheMessageNamesEveryFolderSearched)
{
    Folders f;
    const DataFolderChoice c = ChooseDataFolder(f.places());
    EXPECT_EQ(c.folder, f.config);
    EXPECT_TRUE(c.installed.isEmpty());
    EXPECT_FALSE(QDir(f.config).exists()); // nothing to fill it with: nothing made
    const QString message = DataMissingMessage(c, QString(), false);
    for (const QString &folder : {f.start, f.config, f.root.filePath(QStringLiteral("elsewhere")), f.share})
        EXPECT_TRUE(message.contains(QDir::toNativeSeparators(folder))) << folder.toStdString();
    EXPECT_TRUE(message.startsWith(QStringLiteral("Parameters absent (Tablix_pro.dan).\n"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("--workdir FOLDER")));
    EXPECT_TRUE(message.contains(QStringLiteral("(not found)")));
    EXPECT_FALSE(message.contains(QStringLiteral("Brak parametrów")));
    EXPECT_TRUE(DataMissingMessage(c, QString()).contains(QStringLiteral("Brak parametrów")));
}

TEST(DataFolder, BrokenInstalledParametersAreReportedAndWriteNoParameterFile)
{
    Folders f;
    f.install();
    QFile::remove(in(f.share, "params.json"));
    fixtures::WriteBytes(in(f.share, "params.json"), "{ \"heightMm\": ");
    const DataFolderChoice c = ChooseDataFolder(f.places());
    EXPECT_FALSE(c.filled);
    EXPECT_TRUE(c.error.contains(QStringLiteral("params.json"))) << c.error.toStdString();
    EXPECT_FALSE(QFile::exists(in(f.config, "Tablix_pro.dan")));
    const QString message = DataMissingMessage(c, QString(), false);
    EXPECT_TRUE(message.startsWith(c.error)) << message.toStdString();
    // The next start tries again once the defaults are mended.
    QFile::remove(in(f.share, "params.json"));
    QFile::copy(fixtures::DataFile(QStringLiteral("params.json")), in(f.share, "params.json"));
    EXPECT_TRUE(ChooseDataFolder(f.places()).filled);
}

TEST(DataFolder, AConfigurationFolderThatCannotBeMadeIsReported)
{
    Folders f;
    f.install();
    fixtures::WriteBytes(f.root.filePath(QStringLiteral("config")), "a file where the folder should be");
    const DataFolderChoice c = ChooseDataFolder(f.places());
    EXPECT_FALSE(c.filled);
    EXPECT_TRUE(c.error.contains(QDir::toNativeSeparators(f.config))) << c.error.toStdString();
}

TEST(DataFolder, InstalledDefaultsLieBesideTheProgramOrInTheSourceTreeOfItsBuildFolder)
{
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("usr/bin"));
    QDir().mkpath(bin);
    EXPECT_EQ(InstalledDataCandidates(bin), QStringList{root.filePath(QStringLiteral("usr/share/tablix"))});

    fixtures::WriteBytes(QDir(bin).filePath(QStringLiteral("CMakeCache.txt")),
                         "CMAKE_HOME_DIRECTORY:INTERNAL=/elsewhere\nTablix_SOURCE_DIR:STATIC=/src/tablix\n");
    EXPECT_EQ(InstalledDataCandidates(bin),
              (QStringList{root.filePath(QStringLiteral("usr/share/tablix")), QStringLiteral("/src/tablix/data")}));
    // Another project's build folder is not ours.
    fixtures::WriteBytes(QDir(bin).filePath(QStringLiteral("CMakeCache.txt")), "Other_SOURCE_DIR:STATIC=/src/other\n");
    EXPECT_EQ(InstalledDataCandidates(bin).size(), 1);
}
