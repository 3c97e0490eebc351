// The shop's own details for its quotes, kept once per installation in the data folder's settings.
#pragma once

#include <QDate>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

#include "core/params/language.h"

namespace tablix {

struct ShopDetails {
    QString name, address, phone, email, web, taxNumber, bankAccount;
    QString logo;                // a file name inside the data folder; empty for none
    std::optional<int> taxRate;  // hundredths of a percent; nothing when no tax is stated
    bool pricesGross = false;    // the cost reports' prices hold the tax already
    QString numberPattern;       // "Q-{year}-{n:4}"; empty numbers the quotes 1, 2, 3 ...
    int nextNumber = 1;
    int validityDays = 30;       // 0: a quote states no date of validity
    QString terms;

    // Nothing that the letterhead or the footer could show.
    bool identityEmpty() const;
    bool operator==(const ShopDetails &) const = default;
};

inline constexpr int kMaxQuoteNumber = 999'999'999;
inline constexpr int kMaxValidityDays = 3650;
inline constexpr qint64 kMaxLogoBytes = 2 * 1024 * 1024;

// The fields as a dialog holds them, before they are checked.
struct ShopDetailsTexts {
    QString name, address, phone, email, web, taxNumber, bankAccount, logo;
    QString taxRate, numberPattern, nextNumber, validityDays, terms;
    bool pricesGross = false;
};
ShopDetailsTexts TextsOfShopDetails(const ShopDetails &shop, QChar decimal);

// The details the texts give; otherwise nothing, `refusal` the message that names the field
// ("This value cannot be used: Tax rate, % the value must be ...") and `field` its label entry.
std::optional<ShopDetails> ShopDetailsFromTexts(const ShopDetailsTexts &texts, const LanguageTable &language,
                                                QString *refusal, int *field = nullptr);

// "23", "8.5", "8,5": hundredths of a percent from 0 to 100 %; nothing otherwise.
std::optional<int> ParseTaxRate(const QString &text);
// A pattern holds {n} or {n:1}..{n:9} once, may hold {year}, and nothing else in braces.
bool IsQuoteNumberPattern(const QString &pattern);
// The number `n` through the pattern, in the year of `date`.
QString FormatQuoteNumber(const QString &pattern, int n, QDate date);

// Read from the data folder's settings; a value that could not have been saved is left at its
// default, and an unreadable file gives the defaults with `error` set.
ShopDetails ReadShopDetails(const QString &workdir, QString *error = nullptr);
bool WriteShopDetails(const QString &workdir, const ShopDetails &shop, QString *error);
// Only the next number, for the quote that took the one before it.
bool WriteNextQuoteNumber(const QString &workdir, int next, QString *error);

// Copies a PNG or SVG image into the data folder as the shop's logo and gives the name it has
// there; false with `error` (the reason alone) when it is no such image or cannot be copied.
bool CopyShopLogo(const QString &workdir, const QString &source, QString *storedName, QString *error);
// The logo on white (the quote's PDF/A allows no transparency), fitted into `box` pixels; null
// when there is none or it cannot be read.
QImage ShopLogoImage(const QString &workdir, const QString &logo, QSize box);

} // namespace tablix
