// Projects as JSON: byte-exact round trips, readable text, and refusals that name the field.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <array>
#include <cstring>

#include "core/project/project_json.h"
#include "support/fixtures.h"

using namespace tablix;

namespace {

SignSlotArray blankProject()
{
    SignSlotArray signs;
    signs.fill(BlankSlotRecord());
    return signs;
}

SignSlotArray randomProject(quint32 seed)
{
    QRandomGenerator random(seed);
    std::array<quint32, sizeof(SignSlotArray) / sizeof(quint32)> words;
    random.fillRange(words.data(), words.size());
    // Any bytes: the JSON keeps even records that opening a project file refuses.
    SignSlotArray signs;
    std::memcpy(static_cast<void *>(signs.data()), words.data(), sizeof signs);
    return signs;
}

// Through the indented text and through QJsonObject, as scripts and other code use them.
void expectRoundTrips(const SignSlotArray &signs)
{
    QString error;
    const QByteArray text = ProjectToJson(signs);
    const std::optional<SignSlotArray> fromText = ProjectFromJson(text, &error);
    ASSERT_TRUE(fromText) << error.toStdString() << "\n" << text.toStdString();
    EXPECT_EQ(SerializeProject(*fromText), SerializeProject(signs)) << text.toStdString();

    const QByteArray compact = QJsonDocument(ProjectToJsonObject(signs)).toJson(QJsonDocument::Compact);
    const std::optional<SignSlotArray> fromObject = ProjectFromJson(compact, &error);
    ASSERT_TRUE(fromObject) << error.toStdString();
    EXPECT_EQ(SerializeProject(*fromObject), SerializeProject(signs));
}

QString loadError(const QByteArray &json)
{
    QString error;
    EXPECT_FALSE(ProjectFromJson(json, &error)) << json.toStdString();
    return error;
}

const QByteArray kOneSign = R"({"signs": [{"slot": 2, "title": "Front", "layout": 1, "signType": 2,
    "rowElements": [4, 9], "rowMarks": [1], "lowerMarks": [], "reserved": 0, "quantity": 1,
    "width": 120, "areaSurcharge": 5, "priceLevel": 100, "infillHeight": 0, "extraCost": 0,
    "auxDimension": 2}]})";

} // namespace

TEST(ProjectJson, EveryByteOfOddProjectsSurvives)
{
    SignSlotArray odd = blankProject();
    odd[0] = fixtures::SignWith(7, QString::fromUtf8("Zażółć gęślą jaźń"));
    odd[1] = fixtures::SignWith(3, QString::fromUtf8("Tab\tquote\" \\ \x01"));
    odd[1].title[5] = 0x00; // a NUL inside the title
    odd[1].title[6] = 0x81; // a byte the code page leaves undefined
    odd[2].title[0] = 20;
    std::memset(odd[2].title + 1, 0x7F, 20);
    odd[3].title[0] = 200;  // a length the record cannot hold
    odd[4].title[0] = 2;    // bytes after the title
    odd[4].title[1] = 'A';
    odd[4].title[2] = 'B';
    odd[4].title[9] = 'x';
    odd[5].width.bytes[3] = 0x55; // a zero whose other bytes are not zero
    odd[6].quantity.set(2.675L);
    odd[6].extraCost.set(-1e-9L);
    odd[6].infillHeight.set(1.7e38L);
    odd[7].rowElements[59] = 255; // the last row only
    odd[7].reserved = 9;
    odd[19].layout = Layout(0);
    expectRoundTrips(odd);

    expectRoundTrips(blankProject());
    SignSlotArray zeros{};
    expectRoundTrips(zeros);
    for (quint32 seed = 1; seed <= 40; ++seed)
        expectRoundTrips(randomProject(seed));
}

TEST(ProjectJson, TextIsReadable)
{
    SignSlotArray signs = blankProject();
    signs[0] = fixtures::SignWith(7, QString::fromUtf8("!Wejście główne"));
    signs[0].width.set(2.675L);
    signs[0].quantity.set(1200);
    signs[2] = fixtures::SignWith(3, QStringLiteral("Back"));
    signs[2].title[15] = 'z';
    const QByteArray text = ProjectToJson(signs);

    EXPECT_TRUE(text.contains(QString::fromUtf8("\"title\": \"!Wejście główne\",\n").toUtf8())) << text.toStdString();
    EXPECT_TRUE(text.contains("\"width\": 2.675,\n"));
    EXPECT_TRUE(text.contains("\"quantity\": 1200,\n"));
    EXPECT_TRUE(text.contains("\"rowElements\": [7],\n"));
    // Only the title that plain text cannot give back carries its bytes.
    EXPECT_EQ(text.count("\"titleBytes\""), 1);
    EXPECT_TRUE(text.contains("\"titleBytes\": \"044261636b000000000000000000007a0000000000\""));
    // Blank slots are left out.
    EXPECT_TRUE(text.contains("\"slot\": 1,"));
    EXPECT_TRUE(text.contains("\"slot\": 3,"));
    EXPECT_EQ(text.count("\"slot\""), 2);
    EXPECT_EQ(ProjectToJson(blankProject()), "{\n  \"signs\": []\n}\n");
}

TEST(ProjectJson, LoadFillsLeftOutSlotsAndRows)
{
    QString error;
    const std::optional<SignSlotArray> signs = ProjectFromJson(kOneSign, &error);
    ASSERT_TRUE(signs) << error.toStdString();
    EXPECT_EQ((*signs)[0], BlankSlotRecord());
    const SignRecord &r = (*signs)[1];
    EXPECT_EQ(r.titleText(), "Front");
    EXPECT_EQ(Number(r.layout), 1);
    EXPECT_EQ(Number(r.signType), 2);
    EXPECT_EQ(r.rowElements[0], 4);
    EXPECT_EQ(r.rowElements[1], 9);
    EXPECT_EQ(r.rowElements[2], 0);
    EXPECT_EQ(r.rowMarks[0], 1);
    EXPECT_EQ(r.width.get(), 120.0L);
    EXPECT_EQ(r.areaSurcharge.get(), 5.0L);
    EXPECT_EQ(r.auxDimension.get(), 2.0L);
}

TEST(ProjectJson, BadFieldsAreRefusedByName)
{
    const struct {
        QByteArray from, to, message;
    } cases[] = {
        {"\"width\": 120,", "", "field \"signs[0].width\" is missing"},
        {"\"slot\": 2,", "", "field \"signs[0].slot\" is missing"},
        {"\"width\": 120", "\"width\": \"120\"", "field \"signs[0].width\" is not a number"},
        {"\"width\": 120", "\"width\": 1e39", "field \"signs[0].width\": Floating point overflow"},
        {"\"layout\": 1", "\"layout\": 256", "field \"signs[0].layout\" is not a whole number from 0 to 255"},
        {"\"layout\": 1", "\"layout\": 1.5", "field \"signs[0].layout\" is not a whole number from 0 to 255"},
        {"\"reserved\": 0", "\"reserved\": null", "field \"signs[0].reserved\" is not a whole number from 0 to 255"},
        {"\"rowElements\": [4, 9]", "\"rowElements\": [4, -9]", "field \"signs[0].rowElements[1]\" is not a whole number from 0 to 255"},
        {"\"lowerMarks\": []", "\"lowerMarks\": [0,0,0,0,0,0,0,0,0,0,1]", "field \"signs[0].lowerMarks\" is not a list of at most 10 numbers"},
        {"\"rowMarks\": [1]", "\"rowMarks\": 1", "field \"signs[0].rowMarks\" is not a list of at most 60 numbers"},
        {"\"slot\": 2", "\"slot\": 21", "field \"signs[0].slot\" is not a whole number from 1 to 20"},
        {"\"title\": \"Front\"", "\"title\": 5", "field \"signs[0].title\" is not a text"},
        {"\"title\": \"Front\"", "\"title\": \"123456789012345678901\"", "field \"signs[0].title\" is longer than 20 characters"},
        {"\"title\": \"Front\"", "\"title\": \"Front \\u0416\"", "field \"signs[0].title\" holds a character that Windows-1250 lacks"},
        {"\"title\": \"Front\"", "\"title\": \"Fronts\", \"titleBytes\": \"0546726f6e74000000000000000000000000000000\"",
         "field \"signs[0].titleBytes\" does not hold the title \"Fronts\""},
        {"\"title\": \"Front\"", "\"title\": \"Front\", \"titleBytes\": \"05467\"", "field \"signs[0].titleBytes\" is not 21 bytes in hexadecimal"},
        {"\"width\": 120", "\"width\": 120, \"widthBytes\": \"000000000001\"", "field \"signs[0].widthBytes\" does not hold the value of \"width\""},
        {"{\"signs\": [{", "{\"signs\": [5, {", "field \"signs[0]\" is not an object"},
        {"{\"signs\": [", "{\"sign\": [", "field \"signs\" is missing"},
        {"}]}", "}, {\"slot\": 2}]}", "field \"signs[1].slot\" repeats slot 2"},
        {"}]}", "}", "invalid JSON at line "},
    };
    ASSERT_TRUE(ProjectFromJson(kOneSign, nullptr));
    for (const auto &c : cases) {
        QByteArray broken = kOneSign;
        const qsizetype at = broken.indexOf(c.from);
        ASSERT_GE(at, 0) << c.from.toStdString();
        broken.replace(at, c.from.size(), c.to);
        EXPECT_TRUE(loadError(broken).startsWith(QString::fromUtf8(c.message))) << loadError(broken).toStdString();
    }
    EXPECT_EQ(loadError("[]"), "expected a JSON object '{ ... }' holding the fields, found a list '[ ... ]'");
}
