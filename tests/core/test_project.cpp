#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "support/fixtures.h"
#include "core/project/app_state.h"

using namespace tablix;

namespace {

struct ProjectTest : ::testing::Test {
    AppState state;
    QTemporaryDir dir;
    void SetUp() override { fixtures::Prepare(state); }
    // Fills signs 1..n with signs in use, as the dialogs would.
    void makeSigns(int n)
    {
        for (int k = 1; k <= n; ++k) {
            if (k > 1)
                ASSERT_TRUE(state.NewSign());
            state.currentSignRecord = fixtures::SignWith(std::uint8_t(k), QStringLiteral("S%1").arg(k));
            state.LoadWorkingRows();
        }
        state.SaveCurrentSign();
    }
};

} // namespace

TEST_F(ProjectTest, SavingThreeSignsWritesOneRecordWithBlankSlotsAfterThem)
{
    makeSigns(3);
    const QString path = dir.filePath(QStringLiteral("three.tab"));
    ASSERT_TRUE(WriteProjectFile(path, state.SignSlots, nullptr));
    const QByteArray bytes = fixtures::ReadBytes(path);
    ASSERT_EQ(bytes.size(), 3920);
    SignRecord blank{};
    BlankSignRecord(blank);
    for (int k = 4; k <= 20; ++k)
        EXPECT_EQ(state.slot(k), blank) << k;
    EXPECT_EQ(bytes.mid(2 * 196 + 23, 1), QByteArray(1, '\x03'));
}

TEST_F(ProjectTest, OpenAndSaveReproduceTheFileByteForByte)
{
    QByteArray original(3920, '\0');
    for (int i = 0; i < 3920; ++i)
        original[i] = char((i * 131 + 7) & 0xFF);
    for (int k = 0; k < 20; ++k)
        original[k * 196 + 23] = char(k + 1); // every slot in use, so nothing moves
    const QString path = dir.filePath(QStringLiteral("p.tab"));
    fixtures::WriteBytes(path, original + "tail");
    const ProjectLoad load = ReadProjectFile(path);
    ASSERT_TRUE(load.signs);
    state.OpenProject(*load.signs, path);
    state.SaveCurrentSign();
    ASSERT_TRUE(WriteProjectFile(path, state.SignSlots, nullptr));
    EXPECT_EQ(fixtures::ReadBytes(path), original);
    EXPECT_EQ(state.projectFileName, "p.tab");
    EXPECT_EQ(state.signCount, 20);
}

TEST_F(ProjectTest, ShortOrMissingFileLeavesTheOpenProjectAlone)
{
    makeSigns(2);
    const SignSlotArray before = state.SignSlots;
    const QString path = dir.filePath(QStringLiteral("short.tab"));
    fixtures::WriteBytes(path, QByteArray(3919, '\x01'));
    ProjectLoad load = ReadProjectFile(path);
    EXPECT_FALSE(load.signs);
    EXPECT_TRUE(load.error.contains(QLatin1String("short.tab")));
    EXPECT_TRUE(load.error.contains(QLatin1String("3919")));
    load = ReadProjectFile(dir.filePath(QStringLiteral("none.tab")));
    EXPECT_FALSE(load.signs);
    EXPECT_FALSE(load.error.isEmpty());
    EXPECT_EQ(state.SignSlots, before);
}

TEST_F(ProjectTest, OpeningTakesThePriceLevelAndCompactsGaps)
{
    SignSlotArray signs{};
    for (auto &r : signs)
        BlankSignRecord(r);
    signs[0] = fixtures::SignWith(1, QStringLiteral("!First"));
    signs[0].priceLevel.set(80);
    signs[2] = fixtures::SignWith(3, QStringLiteral("Third"));
    signs[1].width.set(55); // a sign never given elements
    state.OpenProject(signs, QStringLiteral("/somewhere/gap.tab"));
    EXPECT_EQ(state.derived.FixedPricePercent.get(), 80);
    EXPECT_EQ(state.signCount, 2);
    EXPECT_TRUE(state.summaryTabVisible());
    EXPECT_EQ(state.slot(2).rowElements[0], 3);
    EXPECT_EQ(state.slot(3).width.get(), 55); // kept, only moved behind the signs in use
    EXPECT_EQ(state.tabCaptions[0], "First");
    EXPECT_EQ(state.tabCaptions[1], "Third");
    EXPECT_EQ(state.projectFileName, "gap.tab");
    EXPECT_EQ(state.currentSign, 1);
    EXPECT_EQ(state.workingRows[0], 1);

    signs[2] = signs[3];
    state.OpenProject(signs, QStringLiteral("one.tab"));
    EXPECT_EQ(state.signCount, 1);
    EXPECT_FALSE(state.summaryTabVisible());
}

TEST(ProjectWritePath, AppendsTabUnlessTheNameEndsInIt)
{
    EXPECT_EQ(ProjectWritePath(QStringLiteral("/tmp/shop")), "/tmp/shop.tab");
    EXPECT_EQ(ProjectWritePath(QStringLiteral("/tmp/Shop 1.2")), "/tmp/Shop 1.2.tab");
    EXPECT_EQ(ProjectWritePath(QStringLiteral("/tmp/shop.txt")), "/tmp/shop.txt.tab");
    EXPECT_EQ(ProjectWritePath(QStringLiteral("/tmp/HALL.TAB")), "/tmp/HALL.TAB");
    EXPECT_EQ(ProjectWritePath(QStringLiteral("/tmp/v1.2/shop")), "/tmp/v1.2/shop.tab");
}

TEST_F(ProjectTest, NewAndCopyNeedASignInUseAndStopAtTwenty)
{
    EXPECT_FALSE(state.NewSign());
    EXPECT_FALSE(state.CopySign());
    makeSigns(19);
    // The copy carries edits not yet saved into the slot.
    state.currentSignRecord.width.set(321);
    ASSERT_TRUE(state.CopySign());
    EXPECT_EQ(state.signCount, 20);
    EXPECT_EQ(state.currentSign, 20);
    EXPECT_EQ(state.slot(19).width.get(), 321);
    EXPECT_EQ(state.slot(20).width.get(), 321);
    EXPECT_EQ(state.tabCaptions[19], "S19");
    EXPECT_FALSE(state.NewSign());
    EXPECT_FALSE(state.CopySign());
}

TEST_F(ProjectTest, DeletingMovesLaterSignsDownAndGoesToPageOne)
{
    makeSigns(3);
    state.SelectSign(2);
    ASSERT_TRUE(state.DeleteSign());
    EXPECT_EQ(state.signCount, 2);
    EXPECT_EQ(state.slot(2).titleText(), "S3");
    EXPECT_FALSE(state.slot(3).inUse());
    EXPECT_EQ(state.currentSign, 1);
    EXPECT_EQ(state.currentSignRecord.titleText(), "S1");
    EXPECT_TRUE(state.pageChangeEnabled);

    state.SelectSign(2);
    ASSERT_TRUE(state.DeleteSign());
    EXPECT_EQ(state.signCount, 1);
    EXPECT_FALSE(state.summaryTabVisible());
    EXPECT_FALSE(state.DeleteSign());
}

TEST_F(ProjectTest, TitleSetByHandIsMarkedAndOnlyTheTitleOfTheSlotChanges)
{
    makeSigns(1);
    state.currentSignRecord.width.set(999); // not saved into the slot by the title command
    ASSERT_TRUE(state.SetSignTitle(QStringLiteral("Shop front with a long name"), false));
    EXPECT_EQ(state.currentSignRecord.titleText(), "!Shop front with a l");
    EXPECT_EQ(state.slot(1).titleText(), "!Shop front with a l");
    EXPECT_EQ(state.slot(1).width.get(), 100);
    EXPECT_EQ(state.tabCaptions[0], "Shop front with a long name");
    ASSERT_TRUE(state.SetSignTitle(QString::fromUtf8("Żółw"), true));
    EXPECT_EQ(state.slot(1).titleText(), QString::fromUtf8("Żółw"));
    EXPECT_EQ(state.slot(1).title[1], 0xAF); // Windows-1250 Ż

    state.ResetCurrentSign();
    EXPECT_FALSE(state.SetSignTitle(QStringLiteral("x"), true)); // empty titles are not retitled
}

TEST_F(ProjectTest, NewProjectBlanksEverySlotButKeepsTheSharedValues)
{
    makeSigns(3);
    state.currentSignRecord.quantity.set(4);
    state.projectFileName = QStringLiteral("old.tab");
    state.derived.FixedPricePercent.set(80);
    state.NewProject();
    EXPECT_EQ(state.signCount, 1);
    EXPECT_EQ(state.currentSign, 1);
    EXPECT_TRUE(state.projectFileName.isEmpty());
    EXPECT_EQ(state.derived.FixedPricePercent.get(), 0);
    for (int k = 1; k <= 20; ++k) {
        EXPECT_FALSE(state.slot(k).inUse());
        EXPECT_EQ(state.slot(k).quantity.get(), 4);
        EXPECT_EQ(state.slot(k).layout, 4);
    }
    EXPECT_EQ(state.tabCaptions[2], "Sign 3");
    EXPECT_EQ(MainWindowCaption(state.projectFileName), QStringLiteral("TABLIX - ") + kMakerContactLine + " ");
    EXPECT_EQ(MainWindowCaption(QStringLiteral("a.tab")), QStringLiteral("TABLIX - ") + kMakerContactLine + " - a.tab");
}
