// The customer's quote of a whole project as an A4 PDF/A: the shop's letterhead, the customer's
// address in the envelope's window, each sign in use with its drawing, size, quantity and prices,
// then sums that add up as printed, the notes and the terms.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "core/number/money.h"
#include "core/params/shop_details.h"
#include "core/render/quote_details.h"

namespace tablix {

struct AppState;

// The drawing of a sign is drawn at this many units per inch and fits this box.
inline constexpr int kQuoteDrawingDpi = 150;
inline constexpr QSize kQuoteDrawingBox{236, 177};
// The PDF's device units per inch.
inline constexpr int kQuoteDpi = 600;

struct QuoteSign {
    int slot = 0;
    QString title;
    QString size;               // empty when the sign has no size to give
    std::int64_t pieces = 0;    // the quantity, a fraction rounded up
    std::optional<Cents> unit;  // the price of a piece rounded to the cent; nothing when it has none
    Cents line = 0;             // pieces × unit
    QString quantity, unitPrice, lineTotal; // as printed
    QString note;               // rounding, unpriced special profiles, or why it has no price
    long double drawingScale = 0; // kQuoteDrawingDpi units per cm
    QSize drawingSize;            // in those units; empty when the sign is not drawn
};

struct QuoteTotalRow {
    QString label, amount;
    bool emphasised = false;
};

// Every text of the quote, taken from the language table when it was built.
struct Quote {
    QString title;      // "Quote Q-2026-0001"
    QString dateLine, validUntilLine, referenceLine;
    QString signColumn, quantityColumn, piecePriceColumn, lineTotalColumn;
    QString pageFooter; // "%1" the page, "%2" the page count
    // The letterhead: the name, then lines of address and contact; the footer's lines.
    QString shopName;
    QStringList shopLines, footerLines;
    QImage logo;
    QString returnAddress;      // the shop's name and address on one line above the window's address
    QStringList customerLines;  // name, then the address
    std::vector<QuoteSign> signs;
    // The sums, in cents: the lines add up to net (or gross, when the prices hold the tax).
    Cents net = 0, tax = 0, gross = 0;
    bool taxStated = false;
    std::vector<QuoteTotalRow> totals;
    QString notesHeading, termsHeading;
    QStringList notes; // the customer's notes, the signs left out and whether the prices hold tax
    QString terms;
    QStringList notices; // each sign left out, rounded up or without a price, for the tool's error output
    QString author, subject;
};

// The file's name without its folder and extension; the language's untitled name when empty.
QString QuoteProjectName(const AppState &state, const QString &projectFilePath);

// The quote of the project, each sign computed as the summary computes it. `details` are printed
// as given (see CompletedQuoteDetails). Nothing when no sign is in use. The current sign and working
// state are as before. The logo is read from the state's data folder.
std::optional<Quote> BuildQuote(AppState &state, const QString &projectName, const QuoteDetails &details,
                                const ShopDetails &shop = {});

// Where the blocks stand, in the PDF's device units; `body` is the part of a page below the
// column headings and above the footer that the blocks and the total share.
struct QuotePlacement {
    int page = 0; // from 0
    QRect rect;
};
struct QuoteLayout {
    std::vector<QuotePlacement> signs;
    QuotePlacement total;
    std::vector<QuotePlacement> notes; // the notes, then the terms
    int pageCount = 0;
    QRect firstBody;
    QRect body;
};

// The PDF/A-1b of a quote built from `state`, whose signs it draws again; nothing when the PDF
// engine could not start. `layout` receives where everything went. The current sign stays.
std::optional<QByteArray> QuotePdf(AppState &state, const Quote &quote, QuoteLayout *layout = nullptr);

} // namespace tablix
