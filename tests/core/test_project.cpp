// The project: its file, the checks on opening it, and the commands on its list of signs.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <random>

#include "support/fixtures.h"
#include "core/project/app_state.h"
#include "core/project/project_check.h"

using namespace tablix;

namespace {

SignRecord BlankSlot()
{
    SignRecord r{};
    BlankSignRecord(r);
    return r;
}

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
    // Titles, numbers and the reserved byte hold anything; the rest what a sign can hold.
    for (int k = 0; k < 20; ++k) {
        char *r = original.data() + k * 196;
        r[21] = char(1 + k % 4);
        r[22] = char(1 + k % 6);
        for (int i = 0; i < 60; ++i)
            r[23 + i] = char(i < 3 ? k + 1 : (i * 7) % 22); // every slot in use, so nothing moves
        for (int i = 0; i < 60; ++i)
            r[83 + i] = char((i + k) % 2);
        std::memset(r + 143, 0, 10);
    }
    // The numbers a project may hold: any bits within the plausible range.
    SignSlotArray plausible;
    std::memcpy(plausible.data(), original.constData(), sizeof plausible);
    for (SignRecord &r : plausible)
        for (Real48 *n : {&r.quantity, &r.width, &r.priceLevel, &r.extraCost})
            if (!(n->get() >= 0 && n->get() <= 1000))
                n->set(std::fmod(std::fabs(n->get()), 997) + 0.123L);
    original = SerializeProject(plausible);
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

TEST_F(ProjectTest, DamagedRecordsAreRefusedByTheirSignAndField)
{
    makeSigns(2);
    const SignSlotArray before = state.SignSlots;
    const QByteArray valid = SerializeProject(state.SignSlots);
    const struct {
        int sign;
        std::size_t offset;
        int byte;
        const char *named;
    } damages[] = {
        {1, offsetof(SignRecord, layout), 0, "1|layout|0"},
        {2, offsetof(SignRecord, layout), 5, "2|layout|5"},
        {3, offsetof(SignRecord, signType), 7, "3|signType|7"},
        {4, offsetof(SignRecord, signType), 0, "4|signType|0"},
        {5, offsetof(SignRecord, rowElements), 22, "5|rowElements[0]|22"},
        {20, offsetof(SignRecord, rowElements) + 59, 36, "20|rowElements[59]|36"},
        {6, offsetof(SignRecord, rowElements) + 3, 46, "6|rowElements[3]|46"},
        {7, offsetof(SignRecord, rowMarks) + 7, 2, "7|rowMarks[7]|2"},
        {8, offsetof(SignRecord, lowerMarks) + 9, 255, "8|lowerMarks[9]|255"},
    };
    const QString path = dir.filePath(QStringLiteral("d.tab"));
    for (const auto &d : damages) {
        QByteArray bytes = valid;
        bytes[qsizetype((d.sign - 1) * 196 + d.offset)] = char(d.byte);
        fixtures::WriteBytes(path, bytes);
        const ProjectLoad load = ReadProjectFile(path, QStringLiteral("%1|%2|%3|%4"));
        EXPECT_FALSE(load.signs);
        EXPECT_EQ(load.error, QStringLiteral("d.tab|") + QLatin1String(d.named));
    }
    std::mt19937 random(11);
    QByteArray noise(3920, '\0');
    for (char &c : noise)
        c = char(random());
    fixtures::WriteBytes(path, noise);
    EXPECT_TRUE(ReadProjectFile(path).error.contains(QLatin1String("is not a Tablix project")));
    EXPECT_EQ(state.SignSlots, before);

    // The edges of what a sign can hold.
    QByteArray edges = valid;
    for (auto [offset, byte] : {std::pair{offsetof(SignRecord, layout), 4}, {offsetof(SignRecord, signType), 6},
                                {offsetof(SignRecord, rowElements) + 1, 45}, {offsetof(SignRecord, rowElements) + 2, 30},
                                {offsetof(SignRecord, rowElements) + 3, 21}, {offsetof(SignRecord, rowMarks), 1},
                                {offsetof(SignRecord, reserved), 255}})
        edges[qsizetype(offset)] = char(byte);
    fixtures::WriteBytes(path, edges);
    EXPECT_TRUE(ReadProjectFile(path).signs) << ReadProjectFile(path).error.toStdString();
}

// Values no dialog stores are refused on opening, but still read for repair; what older files
// may hold opens as before.
TEST_F(ProjectTest, ImplausibleValuesAreRefusedButReadForRepair)
{
    makeSigns(2);
    const struct {
        Real48 SignRecord::*field;
        long double value;
        const char *refused; // empty: opens
    } cases[] = {
        {&SignRecord::quantity, -5, "quantity|-5.00"},
        {&SignRecord::quantity, 1e12L, "quantity|1000000000000.00"},
        {&SignRecord::quantity, 100001, "quantity|100001.00"},
        {&SignRecord::quantity, 100000, ""},
        {&SignRecord::quantity, 0, ""},
        {&SignRecord::quantity, 1.5L, ""},
        {&SignRecord::width, -5, "width|-5.00"},
        {&SignRecord::width, 1e6L, "width|1000000.00"},
        {&SignRecord::priceLevel, -100, "priceLevel|-100.00"},
        {&SignRecord::extraCost, 1e38L, "extraCost|"},
        {&SignRecord::extraCost, -2e9L, "extraCost|-2000000000.00"},
        {&SignRecord::extraCost, -500, ""},
    };
    for (const auto &c : cases) {
        SignSlotArray signs = state.SignSlots;
        (signs[1].*c.field).set(c.value);
        QString error;
        const auto opened = ParseProject(SerializeProject(signs), QStringLiteral("p.tab"), &error, QStringLiteral("%1|%2|%3|%4"));
        EXPECT_EQ(!opened, *c.refused != 0) << c.refused << error.toStdString();
        if (*c.refused)
            EXPECT_TRUE(error.startsWith(QStringLiteral("p.tab|2|") + QLatin1String(c.refused))) << error.toStdString();
        EXPECT_TRUE(ParseProject(SerializeProject(signs), QStringLiteral("p.tab"), &error, QString(), true));
    }
}

TEST_F(ProjectTest, OpeningTakesThePriceLevelAndCompactsGapsKeepingTheOrder)
{
    SignSlotArray signs{};
    for (auto &r : signs)
        BlankSignRecord(r);
    // Signs in use in slots 1, 3, 6, 7 and 12; slots 2, 4 and 5 hold signs never given elements.
    const std::pair<int, const char *> inUse[] = {{1, "!First"}, {3, "Third"}, {6, "Sixth"}, {7, "Seventh"}, {12, "Twelfth"}};
    for (auto [slot, title] : inUse)
        signs[size_t(slot - 1)] = fixtures::SignWith(std::uint8_t(slot), QString::fromLatin1(title));
    signs[0].priceLevel.set(80);
    for (int slot : {2, 4, 5})
        signs[size_t(slot - 1)].width.set(50 + slot);
    // An older file's lower marks past the other infill in row 4 go, as the dialog leaves them.
    const std::uint8_t rows[] = {12, 1, 1, 19, 1, 1}, marks[] = {1, 1, 1, 0, 1, 1};
    std::copy(std::begin(rows), std::end(rows), signs[11].rowElements);
    std::copy(std::begin(marks), std::end(marks), signs[11].lowerMarks);

    state.OpenProject(signs, QStringLiteral("/somewhere/gap.tab"));
    EXPECT_EQ(state.derived.FixedPricePercent.get(), 80);
    EXPECT_EQ(state.signCount, 5);
    EXPECT_TRUE(state.summaryTabVisible());
    const char *captions[] = {"First", "Third", "Sixth", "Seventh", "Twelfth"};
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(state.tabCaptions[size_t(k - 1)], QString::fromLatin1(captions[k - 1])) << k;
        EXPECT_EQ(state.slot(k).rowElements[0], inUse[k - 1].first) << k;
    }
    const long double widths[] = {52, 54, 55}; // kept, in their order, behind the signs in use
    for (int k = 6; k <= 8; ++k)
        EXPECT_EQ(state.slot(k).width.get(), widths[k - 6]) << k;
    EXPECT_EQ(state.slot(9), BlankSlot());
    const std::uint8_t kept[10] = {1, 1, 1};
    EXPECT_TRUE(std::equal(std::begin(kept), std::end(kept), state.slot(5).lowerMarks));
    EXPECT_EQ(state.projectFileName, "gap.tab");
    EXPECT_EQ(state.currentSign, 1);
    EXPECT_EQ(state.workingRows[0], 1);

    signs = {};
    for (auto &r : signs)
        BlankSignRecord(r);
    signs[4] = fixtures::SignWith(5, QStringLiteral("Alone"));
    state.OpenProject(signs, QStringLiteral("one.tab"));
    EXPECT_EQ(state.signCount, 1);
    EXPECT_EQ(state.tabCaptions[0], "Alone");
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
        EXPECT_EQ(Number(state.slot(k).layout), 4);
    }
    EXPECT_EQ(state.tabCaptions[2], "Sign 3");
    // The maker's line is the language's, as every text the window shows.
    EXPECT_EQ(MainWindowCaption(state.language, state.projectFileName), QStringLiteral("TABLIX - E%1 ").arg(text::kMakerContactLine));
    EXPECT_EQ(MainWindowCaption(state.language, QStringLiteral("a.tab")), QStringLiteral("TABLIX - E%1 - a.tab").arg(text::kMakerContactLine));
}

TEST_F(ProjectTest, AFileThatIsNoProjectIsRefusedForWhatItHolds)
{
    const QByteArray project = SerializeProject(state.SignSlots);
    std::mt19937 random(11);
    QByteArray noise(3920, '\0');
    for (char &c : noise)
        c = char(random());
    const QByteArray png = QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(5000, '\0');
    QByteArray emf(200, '\0');
    emf[0] = 1;
    emf.replace(40, 4, " EMF");
    const struct {
        const char *name;
        QByteArray bytes;
        const char *refusal; // empty: read as a project, damaged or not
    } cases[] = {
        {"empty.tab", {}, "\"empty.tab\" is not a Tablix project: the file is empty. Nothing has been changed."},
        {"png.tab", png, "\"png.tab\" is not a Tablix project: it holds 5008 bytes; its first bytes look like an image (PNG). Nothing has been changed."},
        {"short.tab", QByteArray(100, '\1'), "\"short.tab\" is not a Tablix project: it holds 100 bytes; a project holds 3920 bytes. Nothing has been changed."},
        {"notes.tab", QByteArray("Shop front, 2 signs\n").repeated(300), "\"notes.tab\" is not a Tablix project: it holds 6000 bytes; its first bytes look like text. Nothing has been changed."},
        {"doc.tab", "%PDF-1.4\n" + QByteArray(4000, '\0'), "\"doc.tab\" is not a Tablix project: it holds 4009 bytes; its first bytes look like a document (PDF). Nothing has been changed."},
        {"pic.tab", emf, "\"pic.tab\" is not a Tablix project: it holds 200 bytes; its first bytes look like an image (EMF). Nothing has been changed."},
        {"zip.tab", "PK\x03\x04" + QByteArray(3916, 'x'), "\"zip.tab\" is not a Tablix project: it holds 3920 bytes; its first bytes look like an archive (ZIP). Nothing has been changed."},
        {"noise.tab", noise, "\"noise.tab\" is not a Tablix project: it holds 3920 bytes. Nothing has been changed."},
        {"%2.tab", {}, "\"%2.tab\" is not a Tablix project: the file is empty. Nothing has been changed."},
        {"project.tab", project, ""},
        {"longer.tab", project + "tail", ""},
        {"zeros.tab", QByteArray(3920, '\0'), ""},
    };
    for (const auto &c : cases) {
        const QString path = dir.filePath(QLatin1String(c.name));
        fixtures::WriteBytes(path, c.bytes);
        const ProjectLoad load = ReadProjectFile(path);
        EXPECT_EQ(load.error, QString::fromUtf8(c.refusal)) << c.name;
        EXPECT_EQ(bool(load.signs), !*c.refusal) << c.name;
    }

    // In the language of the window; a damaged project is still told by its sign and field.
    const QString path = dir.filePath(QStringLiteral("obraz.tab"));
    fixtures::WriteBytes(path, png);
    EXPECT_EQ(ReadProjectFile(path, QString(), &fixtures::ShippedLanguage(QStringLiteral("tablix_lng.pol"))).error,
              QStringLiteral("Plik \"obraz.tab\" nie jest projektem Tablix: rozmiar pliku: 5008 B; pierwsze bajty "
                             "wyglądają jak obraz (PNG). Nic nie zostało zmienione."));
    QByteArray damaged = project;
    damaged[qsizetype(offsetof(SignRecord, layout))] = 9;
    fixtures::WriteBytes(path, damaged);
    EXPECT_TRUE(ReadProjectFile(path).error.contains(QLatin1String("sign 1 is damaged (layout holds 9)")));
}
