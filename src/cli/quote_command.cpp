// tablix-cli quote: the customer's quote of a project as a PDF, dated today.
#include "cli/quote_command.h"

#include <QDate>
#include <QGuiApplication>

#include "core/params/language_entries.h"
#include "core/render/quote.h"

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
    const std::optional<Quote> built = BuildQuote(state, QuoteProjectName(state, o.operands[0]), QDate::currentDate());
    if (!built)
        ioError(QStringLiteral("%1: %2").arg(o.operands[0], state.LanguageEntry(text::kQuoteNoSignInUse)));
    const std::optional<QByteArray> pdf = QuotePdf(state, *built);
    if (!pdf)
        ioError(QStringLiteral("the PDF of the quote could not be made"));
    writeOutputFile(o, o.output, *pdf);
    return 0;
}

bool NeedsFonts(const QStringList &words)
{
    return words.contains(QLatin1String("quote"));
}

} // namespace tablix::cli
