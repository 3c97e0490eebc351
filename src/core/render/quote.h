// The customer's quote of a whole project as an A4 PDF: each sign in use with its drawing, size,
// quantity and prices, then the project total the summary adds up.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

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
    QString size;       // empty when the sign has no size to give
    QString quantity;
    QString piecePrice; // amount and currency as the cost report writes them; empty when it has none
    QString lineTotal;
    QString note;       // unpriced special profiles, or why the sign could not be computed
    long double drawingScale = 0; // kQuoteDrawingDpi units per cm
    QSize drawingSize;            // in those units; empty when the sign is not drawn
};

// Every text of the quote, taken from the language table when it was built.
struct Quote {
    QString heading;
    QString dateLine;
    QString signColumn, quantityColumn, piecePriceColumn, lineTotalColumn;
    QString totalLabel;
    QString total; // the summary's total, with the currency
    QString pageFooter; // "%1" the page, "%2" the page count
    std::vector<QuoteSign> signs;
};

// The file's name without its folder and extension; the language's untitled name when empty.
QString QuoteProjectName(const AppState &state, const QString &projectFilePath);

// The quote of the project through the summary's own walk, so its total is the summary's.
// Nothing when no sign is in use. The current sign and working state are as before.
std::optional<Quote> BuildQuote(AppState &state, const QString &projectName, QDate date);

// Where the blocks stand, in the PDF's device units; `body` is the part of a page below the
// column headings and above the footer that the blocks and the total share.
struct QuotePlacement {
    int page = 0; // from 0
    QRect rect;
};
struct QuoteLayout {
    std::vector<QuotePlacement> signs;
    QuotePlacement total;
    int pageCount = 0;
    QRect firstBody;
    QRect body;
};

// The PDF of a quote built from `state`, whose signs it draws again; nothing when the PDF engine
// could not start. `layout` receives where everything went. The current sign stays.
std::optional<QByteArray> QuotePdf(AppState &state, const Quote &quote, QuoteLayout *layout = nullptr);

} // namespace tablix
