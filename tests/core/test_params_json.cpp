// The parameter record as JSON: the object form the core offers beside the tool's text.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <charconv>
#include <cstdio>
#include <random>

#include "core/params/params_json.h"
#include "support/fixtures.h"

using namespace tablix;

TEST(ParamsJson, TextAndObjectGiveBackTheRecordByteForByte)
{
    ParameterRecord p = fixtures::ShippedParameters();
    p.costItem16.set(2.675L);
    p.markupPercent3.set(-1e-30L);
    p.elementRows[4].priceA.set(1.7e38L);
    const QByteArray record = SerializeParameterRecord(p);

    // A name with bytes behind it, as records of older installations hold.
    ParameterRecord oddName = p;
    oddName.languageFileName[15] = 0x9C;

    for (const ParameterRecord &r : {p, oddName}) {
        QString error;
        const std::optional<ParameterRecord> fromText = ParametersFromJson(ParametersToJson(r), &error);
        ASSERT_TRUE(fromText) << error.toStdString();
        EXPECT_EQ(SerializeParameterRecord(*fromText), SerializeParameterRecord(r));
        const QByteArray compact = QJsonDocument(ParametersToJsonObject(r)).toJson(QJsonDocument::Compact);
        const std::optional<ParameterRecord> fromObject = ParametersFromJson(compact, &error);
        ASSERT_TRUE(fromObject) << error.toStdString();
        EXPECT_EQ(SerializeParameterRecord(*fromObject), SerializeParameterRecord(r));
    }
    EXPECT_FALSE(ParametersToJsonObject(p).contains(QLatin1String("languageFileNameBytes")));
    EXPECT_TRUE(ParametersToJsonObject(oddName).contains(QLatin1String("languageFileNameBytes")));
}

TEST(ParamsJson, TextKeepsItsLayout)
{
    ParameterRecord p = fixtures::ShippedParameters();
    p.markupPercent3.set(0);
    fixtures::StepElementRows(p);
    const QByteArray text = ParametersToJson(p);
    EXPECT_TRUE(text.startsWith("{\n  \"markupPercent3\": 0,\n  \"areaBandLimit1\": 0.5,\n"));
    EXPECT_TRUE(text.contains("  \"elementRows\": [\n    {\"priceB\": 100, \"priceA\": 200, \"heightMm\": 10},\n"));
    EXPECT_TRUE(text.endsWith("}\n  ],\n  \"languageFileName\": \"tablix_lng.eng\"\n}\n"));
    // Numbers are what %.17g writes in the C locale, whatever locale the program runs in.
    for (long double v : {RoundToReal48(0.1L), -1e300L, 1e-5L, 123456789012345678.0L, 0.0L, -2.5L}) {
        char expected[40];
        std::snprintf(expected, sizeof expected, "%.17g", double(v));
        EXPECT_EQ(JsonNumber17(v), QByteArray(expected));
    }
    EXPECT_EQ(JsonQuoted(QString::fromUtf8("a\"\\\n\x1f ł")), QByteArray("\"a\\\"\\\\\\n\\u001f ł\""));
}

TEST(ParamsJson, RefusalsNameTheField)
{
    QJsonObject root = ParametersToJsonObject(fixtures::ShippedParameters());
    QString error;
    ASSERT_TRUE(ParametersFromJsonObject(root, &error));

    QJsonObject missing = root;
    missing.remove(QLatin1String("costItem9"));
    EXPECT_FALSE(ParametersFromJsonObject(missing, &error));
    EXPECT_EQ(error, "field \"costItem9\" is missing");

    QJsonObject shortRows = root;
    QJsonArray rows = root.value(QLatin1String("elementRows")).toArray();
    rows.removeLast();
    shortRows.insert(QLatin1String("elementRows"), rows);
    EXPECT_FALSE(ParametersFromJsonObject(shortRows, &error));
    EXPECT_EQ(error, "field \"elementRows\" is not a list of 23 rows");

    QJsonObject longName = root;
    longName.insert(QLatin1String("languageFileName"), QStringLiteral("a_very_long_name.eng"));
    EXPECT_FALSE(ParametersFromJsonObject(longName, &error));
    EXPECT_EQ(error, "field \"languageFileName\" is longer than 15 characters");

    EXPECT_FALSE(ParametersFromJson("{", &error));
    EXPECT_TRUE(error.startsWith(QLatin1String("invalid JSON at line 1, column 2: expected"))) << error.toStdString();
}

namespace {

// The bytes a reader keeps of a decimal: the nearest double, stored in six bytes.
Real48 readBack(const QByteArray &text)
{
    double d = 0;
    const auto r = std::from_chars(text.constData(), text.constData() + text.size(), d);
    EXPECT_EQ(r.ptr, text.constData() + text.size()) << text.toStdString();
    Real48 stored;
    stored.set(d);
    return stored;
}

int significantDigits(const QByteArray &text)
{
    QByteArray mantissa = text.left(text.indexOf('e') < 0 ? text.size() : text.indexOf('e'));
    mantissa.replace("-", "").replace(".", "");
    while (mantissa.startsWith('0'))
        mantissa.remove(0, 1);
    while (mantissa.endsWith('0'))
        mantissa.chop(1);
    return int(mantissa.size());
}

} // namespace

TEST(ParamsJson, NumbersAreTheShortestDecimalsThatReadBack)
{
    const struct {
        long double value;
        const char *text;
    } cases[] = {
        {1.2L, "1.2"},           {0.1L, "0.1"},           {2.675L, "2.675"},      {-45, "-45"},
        {100, "100"},            {1e12L, "1000000000000"}, {1e15L, "1e15"},        {1.7e38L, "1.7e38"},
        {0.00001L, "0.00001"},   {-1.5e-6L, "-1.5e-6"},   {1e-30L, "1e-30"},      {0, "0"},
        {1.0L / 3, "0.3333333333335"}, {1099511627775.0L, "1099511627775"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(JsonNumberReal48(c.value), QByteArray(c.text)) << double(c.value);

    // Every field of the shipped file comes out as typed by a person.
    const ParameterRecord shipped = fixtures::ShippedParameters();
    const QByteArray text = ParametersToJson(shipped);
    EXPECT_FALSE(text.contains("0000000")) << text.toStdString();
    EXPECT_FALSE(text.contains("9999999")) << text.toStdString();

    // Random bytes: every number reads back to its bytes, in at most 14 digits, and one digit
    // fewer (the nearest such decimal and its neighbours) would not do.
    std::mt19937_64 random(13);
    for (int i = 0; i < 50000; ++i) {
        Real48 value;
        for (std::uint8_t &b : value.bytes)
            b = std::uint8_t(random());
        if (value.bytes[0] == 0)
            value.bytes[0] = 1;
        const QByteArray out = JsonNumberReal48(value.get());
        ASSERT_EQ(readBack(out), value) << out.toStdString();
        const int digits = significantDigits(out);
        ASSERT_LE(digits, 14) << out.toStdString();
        if (digits > 1) {
            char shorter[48];
            std::snprintf(shorter, sizeof shorter, "%.*e", digits - 2, std::fabs(double(value.get())));
            const double nearest = std::strtod(shorter, nullptr);
            const double step = std::pow(10.0, std::floor(std::log10(nearest)) - (digits - 2));
            for (double candidate : {nearest - step, nearest, nearest + step}) {
                char again[48];
                std::snprintf(again, sizeof again, "%.*e", digits - 2, value.bytes[5] & 0x80 ? -candidate : candidate);
                ASSERT_NE(readBack(again), value) << out.toStdString() << " vs " << again;
            }
        }
    }
}

TEST(ParamsJson, RandomRecordsSurviveTheTextAndShippedFileIsInThatForm)
{
    std::mt19937_64 random(29);
    for (int n = 0; n < 300; ++n) {
        QByteArray bytes = SerializeParameterRecord(fixtures::ShippedParameters());
        for (int i = 0; i < 582; ++i)
            bytes[i] = char(random());
        for (int i = 0; i < 582; i += 6)
            if (bytes[i] == 0)
                bytes[i] = 1;
        const std::optional<ParameterRecord> record = ParseParameterRecord(bytes, QStringLiteral("random"), nullptr);
        ASSERT_TRUE(record);
        QString error;
        const std::optional<ParameterRecord> again = ParametersFromJson(ParametersToJson(*record), &error);
        ASSERT_TRUE(again) << error.toStdString();
        ASSERT_EQ(SerializeParameterRecord(*again), SerializeParameterRecord(*record));
        const QByteArray compact = QJsonDocument(ParametersToJsonObject(*record)).toJson(QJsonDocument::Compact);
        const std::optional<ParameterRecord> fromObject = ParametersFromJson(compact, &error);
        ASSERT_TRUE(fromObject) << error.toStdString();
        ASSERT_EQ(SerializeParameterRecord(*fromObject), SerializeParameterRecord(*record));
    }
    // The shipped defaults are kept exactly as a dump of them writes them.
    EXPECT_EQ(fixtures::ReadBytes(fixtures::DataFile(QStringLiteral("params.json"))),
              ParametersToJson(fixtures::ShippedParameters()));
}
