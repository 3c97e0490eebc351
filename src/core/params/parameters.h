// The parameter record: every technical and commercial constant, stored in Tablix_pro.dan.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstddef>
#include <optional>

#include "core/number/real48.h"

namespace tablix {

inline constexpr const char *kParameterFileName = "Tablix_pro.dan";

struct ElementTypeRow {
    Real48 priceB;   // family B, first price-list column
    Real48 priceA;   // family A, second price-list column
    Real48 heightMm;
};
static_assert(sizeof(ElementTypeRow) == 18);

struct ParameterRecord {
    Real48 markupPercent3;
    Real48 areaBandLimit1;
    Real48 areaBandLimit2;
    Real48 areaBandLimit3;
    Real48 markupPercent1;
    Real48 markupPercent2;
    Real48 costItem1;
    Real48 costItem2;
    Real48 costItem3;
    Real48 costItem4;
    Real48 generalValue;
    Real48 costItem5;
    Real48 costItem6;
    Real48 costItem7;
    Real48 costItem8;
    Real48 areaBandValue1;
    Real48 areaBandValue2;
    Real48 areaBandValue3;
    Real48 areaBandValue4;
    Real48 costItem9;
    Real48 costItem10;
    Real48 costItem11;
    Real48 costItem12;
    Real48 costItem13;
    Real48 costItem14;
    Real48 costItem15;
    Real48 costItem16;
    Real48 priceListPercent;
    ElementTypeRow elementRows[23];
    std::uint8_t languageFileName[16]; // length byte, then up to 15 characters

    QString languageFile() const;
    // Cut to what the record holds (15 characters).
    void setLanguageFile(const QString &name);
};
static_assert(sizeof(ParameterRecord) == 598);
static_assert(offsetof(ParameterRecord, markupPercent3) == 0);
static_assert(offsetof(ParameterRecord, areaBandLimit3) == 18);
static_assert(offsetof(ParameterRecord, markupPercent1) == 24);
static_assert(offsetof(ParameterRecord, generalValue) == 60);
static_assert(offsetof(ParameterRecord, costItem5) == 66);
static_assert(offsetof(ParameterRecord, areaBandValue1) == 90);
static_assert(offsetof(ParameterRecord, costItem9) == 114);
static_assert(offsetof(ParameterRecord, costItem16) == 156);
static_assert(offsetof(ParameterRecord, priceListPercent) == 162);
static_assert(offsetof(ParameterRecord, elementRows) == 168);
static_assert(offsetof(ParameterRecord, elementRows[22]) == 564);
static_assert(offsetof(ParameterRecord, languageFileName) == 582);

// The scalars by name, in file order.
struct ScalarField {
    const char *name;
    Real48 ParameterRecord::*field;
};
extern const std::array<ScalarField, 28> kScalarFields;

// Rows of elementRows in the order they are copied into ElementTypeTable entries 0..13.
inline constexpr std::array<int, 14> kElementTypeTableRows = {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 2, 22};

// What the program derives from the record at start-up and after every save.
struct DerivedParameters {
    std::array<ElementTypeRow, 14> ElementTypeTable{};
    Real48 FixedPricePercent{};
    bool HasFixedPricePercent = false;
    bool FixedPricePercentIs100 = false;
};

void RefreshElementTypeTable(const ParameterRecord &p, DerivedParameters &d);
void RefreshPricePercent(const ParameterRecord &p, DerivedParameters &d);

// Whole-file results: either the record or a message for the user; memory is never half-updated.
struct ParameterLoad {
    std::optional<ParameterRecord> record;
    bool missing = false; // the file could not be opened at all
    QString error;        // names the file, except the reason alone when it is missing
    QString notice;       // set when the file is longer than the record read from it
};

// The first 598 bytes make the record; fewer is an error naming the file and its size.
std::optional<ParameterRecord> ParseParameterRecord(const QByteArray &bytes, const QString &fileName,
                                                    QString *error);
ParameterLoad LoadParameterFile(const QString &path);
QByteArray SerializeParameterRecord(const ParameterRecord &p);

} // namespace tablix
