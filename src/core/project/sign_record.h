// One sign as it is held in memory and in project files, and the project of twenty of them.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstddef>
#include <optional>

#include "core/number/real48.h"
#include "core/project/sign_kinds.h"

namespace tablix {

struct LanguageTable;

inline constexpr int kMaxSigns = 20;
inline constexpr int kMaxRows = 60;
inline constexpr int kLowerMarks = 10;
inline constexpr int kTitleLength = 20;

struct SignRecord {
    std::uint8_t title[21]; // length byte, then up to 20 Windows-1250 characters
    Layout layout;
    SignType signType;
    std::uint8_t rowElements[kMaxRows];
    std::uint8_t rowMarks[kMaxRows];
    std::uint8_t lowerMarks[kLowerMarks];
    std::uint8_t reserved;
    Real48 quantity;
    Real48 width;
    Real48 areaSurcharge;
    Real48 priceLevel;
    Real48 infillHeight;
    Real48 extraCost;
    Real48 auxDimension;

    bool inUse() const { return rowElements[0] != 0; }
    QString titleText() const;
    // Cut to 20 characters of the code page.
    void setTitle(const QString &text);

    bool operator==(const SignRecord &) const = default;
};
static_assert(sizeof(SignRecord) == 196);
static_assert(offsetof(SignRecord, layout) == 21);
static_assert(offsetof(SignRecord, signType) == 22);
static_assert(offsetof(SignRecord, rowElements) == 23);
static_assert(offsetof(SignRecord, rowMarks) == 83);
static_assert(offsetof(SignRecord, lowerMarks) == 143);
static_assert(offsetof(SignRecord, reserved) == 153);
static_assert(offsetof(SignRecord, quantity) == 154);
static_assert(offsetof(SignRecord, width) == 160);
static_assert(offsetof(SignRecord, areaSurcharge) == 166);
static_assert(offsetof(SignRecord, priceLevel) == 172);
static_assert(offsetof(SignRecord, infillHeight) == 178);
static_assert(offsetof(SignRecord, extraCost) == 184);
static_assert(offsetof(SignRecord, auxDimension) == 190);

using SignSlotArray = std::array<SignRecord, kMaxSigns>;
static_assert(sizeof(SignSlotArray) == 3920);

// Blanks a record the way a new sign starts; quantity, areaSurcharge, priceLevel and
// auxDimension keep their values.
void BlankSignRecord(SignRecord &r);

// The first 3920 bytes make the project; fewer is an error, and so is a record no sign can hold
// (CheckProject), told by `damagedMessage` (language entry 174; empty: the English text). Memory
// is not touched here. `forRepair` lets implausible values through, to be shown and mended by hand.
std::optional<SignSlotArray> ParseProject(const QByteArray &bytes, const QString &fileName, QString *error,
                                          const QString &damagedMessage = QString(), bool forRepair = false);
QByteArray SerializeProject(const SignSlotArray &signs);

struct ProjectLoad {
    std::optional<SignSlotArray> signs;
    QString error;  // names the file
    QString notice; // set when the file is longer than the project read from it
};
// A file that is no project at all is refused first, in `language` (English without one).
ProjectLoad ReadProjectFile(const QString &path, const QString &damagedMessage = QString(),
                            const LanguageTable *language = nullptr, bool forRepair = false);
bool WriteProjectFile(const QString &path, const SignSlotArray &signs, QString *error);

// A name not ending in ".tab" (any case) is written with ".tab" appended.
QString ProjectWritePath(const QString &chosen);

} // namespace tablix
