// The parameter record as JSON: the object form the core offers beside the tool's text.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <cstdio>

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
