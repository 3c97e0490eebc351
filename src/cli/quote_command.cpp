// tablix-cli quote: the customer's quote of a project as a PDF/A, with the shop's and the customer's details.
#include "cli/quote_command.h"

#include <QDate>
#include <QFileInfo>
#include <QGuiApplication>

#include "core/params/language_entries.h"
#include "core/params/shop_details.h"
#include "core/render/quote.h"
#include "core/render/quote_details.h"

namespace tablix::cli {

int quote(const Invocation &o)
{
    if (o.output.isEmpty())
        usageError(QStringLiteral("quote needs -o FILE.pdf"));
    // In process (the fuzz target) the caller may have made no GUI application.
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        ioError(QStringLiteral("quote needs a GUI application for its fonts"));
    AppState state;
    loadState(state, o);
    state.dataFolder = o.workdir;

    QString settingsError;
    const ShopDetails shop = ReadShopDetails(o.workdir, &settingsError);
    if (!settingsError.isEmpty())
        ioError(settingsError + QStringLiteral("; nothing written"));
    const QString detailsPath = o.details.isEmpty() ? QuoteDetailsPath(o.operands[0]) : o.details;
    // A file asked for must be there; the one beside the project is made by the program's first quote.
    if (!o.details.isEmpty() && !QFileInfo::exists(o.details))
        ioError(QStringLiteral("%1: no such file; nothing written").arg(o.details));
    const QuoteDetailsLoad load = ReadQuoteDetails(detailsPath);
    if (!load.details)
        ioError(QStringLiteral("%1: %2; nothing written").arg(detailsPath, load.error));

    bool numberTaken = false;
    const QuoteDetails details = CompletedQuoteDetails(*load.details, shop, QDate::currentDate(), &numberTaken);
    const std::optional<Quote> built = BuildQuote(state, QuoteProjectName(state, o.operands[0]), details, shop);
    if (!built)
        ioError(QStringLiteral("%1: %2").arg(o.operands[0], state.LanguageEntry(text::kQuoteNoSignInUse)));
    for (const QString &notice : built->notices)
        warn(notice);
    const std::optional<QByteArray> pdf = QuotePdf(state, *built);
    if (!pdf)
        ioError(QStringLiteral("the PDF of the quote could not be made"));
    writeOutputFile(o, o.output, *pdf);
    // The number is the shop's once the quote that bears it exists.
    QString error;
    if (numberTaken && !WriteNextQuoteNumber(o.workdir, std::min(shop.nextNumber, kMaxQuoteNumber - 1) + 1, &error))
        ioError(error + QStringLiteral("; the quote was written with number ") + details.number);
    return 0;
}

bool NeedsFonts(const QStringList &words)
{
    return words.contains(QLatin1String("quote"));
}

} // namespace tablix::cli
