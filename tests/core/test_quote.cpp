// The customer's quote: cents that add up, read back from the PDF in both languages, the shop's and the
// customer's details, the signs left out or rounded, page breaks and the PDF's metadata.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "core/number/money.h"
#include "core/params/language_entries.h"
#include "core/params/shop_details.h"
#include "core/project/app_state.h"
#include "core/render/quote.h"
#include "core/render/quote_details.h"
#include "core/render/summary.h"
#include "support/fixtures.h"

using namespace tablix;

namespace {

bool Have(const char *tool)
{
    return !QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty();
}

QString Output(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of every page, in order, as pdftotext reads the PDF.
QStringList PdfPages(const QByteArray &pdf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quote.pdf"));
    EXPECT_TRUE(fixtures::WriteBytes(path, pdf));
    QStringList pages = Output(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")}).split(QLatin1Char('\f'));
    pages.removeLast();
    return pages;
}

// "1,116.91" or "1 116,91" back to cents, exactly.
Cents Amount(QString text, QChar group, QChar decimal)
{
    text.remove(group);
    const std::optional<Cents> cents = CentsFromDecimalText(text.replace(decimal, QLatin1Char('.')));
    EXPECT_TRUE(cents) << text.toStdString();
    return cents.value_or(0);
}

struct QuoteTest : ::testing::Test {
    AppState state;

    void SetUp() override
    {
        fixtures::EnsureGuiApplication();
        use(QStringLiteral("tablix_lng.eng"));
    }

    void use(const QString &languageFile)
    {
        state.parameters = fixtures::ShippedParameters();
        state.language = fixtures::ShippedLanguage(languageFile);
        state.RefreshParameters();
    }

    // A framed sign of `width` cm ordered `quantity` times.
    static SignRecord Framed(const QString &title, long double width, long double quantity)
    {
        SignRecord sign = fixtures::SignWith(7, title);
        sign.layout = Layout::ClosedFrameA;
        sign.signType = SignType::NarrowFrame;
        sign.rowElements[1] = 3;
        sign.rowElements[2] = 20;
        sign.rowMarks[0] = 1;
        sign.width.set(width);
        sign.quantity.set(quantity);
        sign.priceLevel.set(100);
        return sign;
    }

    void open(const std::vector<SignRecord> &given, const QString &path = QStringLiteral("/tmp/shop.front.tab"))
    {
        SignSlotArray signs{};
        for (auto &s : signs)
            BlankSignRecord(s);
        for (size_t k = 0; k < given.size(); ++k)
            signs[k] = given[k];
        state.OpenProject(signs, path);
    }

    void signs(int count)
    {
        std::vector<SignRecord> all;
        for (int k = 0; k < count; ++k)
            all.push_back(Framed(QStringLiteral("Sign %1").arg(k + 1, 2, 10, QLatin1Char('0')), 50 + 37 * k, 1 + k % 3));
        open(all, QStringLiteral("big.tab"));
    }

    static QuoteDetails Customer()
    {
        QuoteDetails d;
        d.customerName = QStringLiteral("Bakery Nowak");
        d.customerAddress = QStringLiteral("ul. Długa 5\n00-950 Warszawa");
        d.number = QStringLiteral("Q-2024-0007");
        d.date = QDate(2024, 3, 9);
        d.validUntil = QDate(2024, 4, 8);
        d.reference = QStringLiteral("Shop front 2024");
        return d;
    }
};

TEST(Money, ParsesRoundsAndWritesCentsExactly)
{
    const struct {
        const char *text;
        std::optional<Cents> cents;
    } parsed[] = {{"116.00", 11600}, {"115.995", 11600}, {"115.994", 11599}, {"-3.5", -350}, {"+0.005", 1},
                  {"1116,91", 111691}, {"7", 700},      {"", std::nullopt}, {"1e3", std::nullopt}, {"1.2.3", std::nullopt}};
    for (const auto &p : parsed)
        EXPECT_EQ(CentsFromDecimalText(QString::fromLatin1(p.text)), p.cents) << p.text;

    EXPECT_EQ(FormatCents(111691, QLatin1Char('.'), QLatin1Char(',')), QStringLiteral("1,116.91"));
    EXPECT_EQ(FormatCents(111691, QLatin1Char(','), QLatin1Char(' ')), QStringLiteral("1 116,91"));
    EXPECT_EQ(FormatCents(-123456789, QLatin1Char('.'), QLatin1Char(',')), QStringLiteral("-1,234,567.89"));
    EXPECT_EQ(FormatCents(5, QLatin1Char(','), QChar()), QStringLiteral("0,05"));
    EXPECT_EQ(FormatRate(850, QLatin1Char(',')), QStringLiteral("8,5"));

    // Half a cent of tax goes up; the tax held in a gross amount adds back to it.
    EXPECT_EQ(TaxOfNet(250, 2300), 58);  // 57.5
    EXPECT_EQ(TaxOfNet(-250, 2300), -58);
    EXPECT_EQ(TaxOfNet(11691, 800), 935); // 935.28
    QRandomGenerator random(23);
    for (int k = 0; k < 1000; ++k) {
        const Cents gross = random.bounded(1, 10'000'000);
        const int rate = std::array{0, 800, 2300}[size_t(k % 3)];
        const Cents tax = TaxInGross(gross, rate);
        EXPECT_LE(std::abs(TaxOfNet(gross - tax, rate) - tax), 1) << gross << " at " << rate;
    }
    EXPECT_FALSE(MultiplyCents(kMaxCents, 2));
}

TEST_F(QuoteTest, EveryPrintedLineAndTotalAddsUpOverRandomProjects)
{
    if (!Have("pdftotext"))
        GTEST_SKIP() << "pdftotext (poppler-utils) reads the quote";
    QRandomGenerator random(2024);
    static const QRegularExpression line(QStringLiteral("(\\d+) +([0-9,]+\\.\\d\\d) EUR +([0-9,]+\\.\\d\\d) EUR"));
    for (int project = 0; project < 6; ++project) {
        SCOPED_TRACE(project);
        std::vector<SignRecord> given;
        const int count = random.bounded(1, 7);
        for (int k = 0; k < count; ++k)
            given.push_back(Framed(QStringLiteral("S%1").arg(k), 40 + random.bounded(400), random.bounded(1, 51)));
        open(given);
        ShopDetails shop;
        shop.taxRate = std::array{0, 800, 2300}[size_t(project % 3)];
        const std::optional<Quote> quote = BuildQuote(state, QStringLiteral("p"), Customer(), shop);
        ASSERT_TRUE(quote);
        const QString page = PdfPages(QuotePdf(state, *quote).value_or(QByteArray())).value(0);

        // Each line as printed: quantity × unit = line total; the unit is the cost report's piece price to the cent.
        std::vector<SummaryBlock> blocks;
        WalkSummaryBlocks(state, [&](const AppState &, int, const SummaryBlock &b, const EngineResults &) { blocks.push_back(b); });
        Cents net = 0;
        int lines = 0;
        for (auto it = line.globalMatch(page); it.hasNext(); ++lines) {
            const QRegularExpressionMatch m = it.next();
            const Cents unit = Amount(m.captured(2), QLatin1Char(','), QLatin1Char('.'));
            const Cents total = Amount(m.captured(3), QLatin1Char(','), QLatin1Char('.'));
            EXPECT_EQ(total, m.captured(1).toLongLong() * unit) << m.captured(0).toStdString();
            ASSERT_LT(size_t(lines), blocks.size());
            EXPECT_EQ(unit, CentsFromDecimalText(blocks[size_t(lines)].pieceValue).value());
            net += total;
        }
        EXPECT_EQ(lines, count) << page.toStdString();
        const auto printed = [&](const QString &label) {
            const QRegularExpression row(QRegularExpression::escape(label) + QStringLiteral(" +([0-9,]+\\.\\d\\d) EUR"));
            const QRegularExpressionMatch m = row.match(page);
            EXPECT_TRUE(m.hasMatch()) << label.toStdString() << "\n" << page.toStdString();
            return Amount(m.captured(1), QLatin1Char(','), QLatin1Char('.'));
        };
        const int rate = *shop.taxRate;
        const Cents tax = (net * rate + 5000) / 10000; // half up, net is not negative here
        EXPECT_EQ(printed(QStringLiteral("Total net")), net);
        EXPECT_EQ(printed(QStringLiteral("Tax %1 %").arg(rate / 100)), tax);
        EXPECT_EQ(printed(QStringLiteral("Total gross")), net + tax);
        EXPECT_EQ(quote->net, net);
        EXPECT_EQ(quote->gross, net + tax);
    }
}

TEST_F(QuoteTest, GrossPricesHoldTheTaxAndNoRateShowsOneTotal)
{
    open({Framed(QStringLiteral("Front"), 333, 3), Framed(QStringLiteral("Door"), 61, 7)});
    ShopDetails shop;
    shop.taxRate = 2300;
    shop.pricesGross = true;
    const std::optional<Quote> gross = BuildQuote(state, QStringLiteral("p"), Customer(), shop);
    ASSERT_TRUE(gross);
    Cents lines = 0;
    for (const QuoteSign &sign : gross->signs)
        lines += sign.line;
    EXPECT_EQ(gross->gross, lines);
    EXPECT_EQ(gross->tax, TaxInGross(lines, 2300));
    EXPECT_EQ(gross->net + gross->tax, gross->gross);
    EXPECT_TRUE(gross->notes.contains(state.LanguageEntry(text::kQuotePricesIncludeTax)));

    const std::optional<Quote> untaxed = BuildQuote(state, QStringLiteral("p"), Customer());
    ASSERT_TRUE(untaxed);
    ASSERT_EQ(untaxed->totals.size(), 1u);
    EXPECT_EQ(untaxed->totals[0].label, state.LanguageEntry(text::kQuoteProjectTotal));
    EXPECT_EQ(untaxed->gross, lines);
    EXPECT_FALSE(untaxed->taxStated);
}

TEST_F(QuoteTest, PolishAndEnglishQuotesReadBackInTheirOwnNumbers)
{
    if (!Have("pdftotext"))
        GTEST_SKIP() << "pdftotext (poppler-utils) reads the quote";
    ShopDetails shop;
    shop.name = QStringLiteral("Znaki Kowalski");
    shop.taxRate = 2300;
    const struct {
        const char *file;
        QString date, net, currency;
        QChar group, decimal;
    } languages[] = {{"tablix_lng.eng", QStringLiteral("Date: 2024-03-09"), QStringLiteral("Total net"), QStringLiteral("EUR"),
                      QLatin1Char(','), QLatin1Char('.')},
                     {"tablix_lng.pol", QStringLiteral("Data: 09.03.2024"), QStringLiteral("Razem netto"), QStringLiteral("zł"),
                      QLatin1Char(' '), QLatin1Char(',')}};
    for (const auto &l : languages) {
        SCOPED_TRACE(l.file);
        use(QString::fromLatin1(l.file));
        // Wide enough that the totals pass a thousand and show their grouping.
        open({Framed(QStringLiteral("Front"), 900, 3), Framed(QStringLiteral("Door"), 60, 2)});
        const std::optional<Quote> quote = BuildQuote(state, QStringLiteral("sklep"), Customer(), shop);
        ASSERT_TRUE(quote);
        ASSERT_GE(quote->gross, 100000);
        const QString page = PdfPages(QuotePdf(state, *quote).value_or(QByteArray())).value(0);
        EXPECT_TRUE(page.contains(l.date)) << page.toStdString();
        EXPECT_TRUE(page.contains(state.LanguageEntry(text::kQuoteGrossTotal)));
        EXPECT_TRUE(page.contains(QStringLiteral("Bakery Nowak")));
        EXPECT_TRUE(page.contains(QStringLiteral("ul. Długa 5")));
        EXPECT_TRUE(page.contains(state.LanguageEntry(text::kQuoteTitleNumber).arg(QStringLiteral("Q-2024-0007"))));
        const QString gross = FormatCents(quote->gross, l.decimal, l.group) + u' ' + l.currency;
        EXPECT_TRUE(page.contains(gross)) << gross.toStdString() << "\n" << page.toStdString();
        const QRegularExpression grouped(QStringLiteral("\\d{1,3}(%1\\d{3})+%2\\d\\d %3")
                                             .arg(QRegularExpression::escape(l.group), QRegularExpression::escape(l.decimal), l.currency));
        EXPECT_TRUE(grouped.match(page).hasMatch());
    }
}

TEST_F(QuoteTest, SignsLeftOutOrRoundedAreNamedOnTheQuote)
{
    if (!Have("pdftotext"))
        GTEST_SKIP() << "pdftotext (poppler-utils) reads the quote";
    open({Framed(QStringLiteral("Kept"), 100, 1), Framed(QStringLiteral("Nought"), 100, 0), Framed(QStringLiteral("Half"), 100, 1.5)});
    const std::optional<Quote> quote = BuildQuote(state, QStringLiteral("p"), Customer());
    ASSERT_TRUE(quote);
    ASSERT_EQ(quote->signs.size(), 2u);
    EXPECT_EQ(quote->signs[1].pieces, 2);
    EXPECT_EQ(quote->signs[1].line, 2 * *quote->signs[1].unit);
    ASSERT_EQ(quote->notices.size(), 2);
    EXPECT_EQ(quote->notices[0], QStringLiteral("Nought is not quoted: its quantity is 0."));
    EXPECT_EQ(quote->notices[1], QStringLiteral("Half: Quantity 1.50 rounded up to 2 pieces."));
    const QString page = PdfPages(QuotePdf(state, *quote).value_or(QByteArray())).value(0).simplified();
    EXPECT_TRUE(page.contains(QStringLiteral("Nought is not quoted: its quantity is 0."))) << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("Quantity 1.50 rounded up to 2 pieces.")));
}

TEST_F(QuoteTest, NothingToQuoteWithoutASignInUse)
{
    open({});
    EXPECT_FALSE(BuildQuote(state, QStringLiteral("x"), QuoteDetails{}));
    EXPECT_EQ(QuoteProjectName(state, QStringLiteral("/work/shops/shop.front.tab")), QStringLiteral("shop.front"));
    EXPECT_EQ(QuoteProjectName(state, QString()), state.LanguageEntry(text::kQuoteUntitledProject));
}

TEST_F(QuoteTest, PageBreaksNeverCutASignsBlockNorPartTheLastLineFromTheTotals)
{
    for (const int count : {20, 13, 14, 15}) {
        SCOPED_TRACE(count);
        signs(count);
        const std::optional<Quote> quote = BuildQuote(state, QStringLiteral("big"), Customer());
        ASSERT_TRUE(quote);
        QuoteLayout layout;
        const std::optional<QByteArray> pdf = QuotePdf(state, *quote, &layout);
        ASSERT_TRUE(pdf);
        ASSERT_GE(layout.pageCount, 2);
        EXPECT_EQ(layout.signs.back().page, layout.total.page);

        std::vector<QuotePlacement> placed = layout.signs;
        placed.push_back(layout.total);
        int page = 0, bottom = 0;
        for (size_t k = 0; k < placed.size(); ++k) {
            const QuotePlacement &p = placed[k];
            const QRect body = p.page == 0 ? layout.firstBody : layout.body;
            EXPECT_GE(p.rect.top(), body.top()) << k;
            EXPECT_LE(p.rect.bottom(), body.bottom()) << k;
            EXPECT_GE(p.page, page);
            if (p.page == page)
                EXPECT_GE(p.rect.top(), bottom) << k; // in order, never overlapping
            page = p.page;
            bottom = p.rect.bottom();
        }
        if (!Have("pdftotext"))
            continue;
        const QStringList pages = PdfPages(*pdf);
        ASSERT_EQ(pages.size(), layout.pageCount);
        for (size_t k = 0; k < quote->signs.size(); ++k) {
            const QuoteSign &sign = quote->signs[k];
            const QString &text = pages[layout.signs[k].page];
            EXPECT_TRUE(text.contains(sign.title) && text.contains(sign.size) && text.contains(sign.lineTotal))
                << sign.title.toStdString() << " on page " << layout.signs[k].page + 1;
        }
        EXPECT_TRUE(pages.last().contains(quote->totals.back().amount));
        EXPECT_TRUE(pages.last().contains(QStringLiteral("Page %1 of %1").arg(layout.pageCount)));
    }
}

TEST_F(QuoteTest, PdfNamesTitleAuthorSubjectAndIsPdfA)
{
    if (!Have("pdfinfo"))
        GTEST_SKIP() << "pdfinfo (poppler-utils) reads the PDF's information";
    open({Framed(QStringLiteral("Front"), 240, 1)});
    ShopDetails shop;
    shop.name = QStringLiteral("Znaki & Szyldy Łódź");
    const std::optional<Quote> quote = BuildQuote(state, QStringLiteral("p"), Customer(), shop);
    ASSERT_TRUE(quote);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("q.pdf"));
    ASSERT_TRUE(fixtures::WriteBytes(path, QuotePdf(state, *quote).value_or(QByteArray())));
    const QString info = Output(QStringLiteral("pdfinfo"), {path});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title: +Quote Q-2024-0007\n")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Author: +Znaki & Szyldy Łódź\n")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Subject: +Quote for Bakery Nowak\n"))));
    const QString meta = Output(QStringLiteral("pdfinfo"), {QStringLiteral("-meta"), path});
    EXPECT_TRUE(meta.contains(QStringLiteral("pdfaid:part=\"1\"")) && meta.contains(QStringLiteral("pdfaid:conformance=\"B\"")))
        << meta.toStdString();
    EXPECT_TRUE(meta.contains(QStringLiteral("<rdf:li>Znaki &amp; Szyldy Łódź</rdf:li>")));
}

TEST(QuoteDetailsFile, RoundTripsAndRefusesADamagedFile)
{
    QTemporaryDir dir;
    EXPECT_EQ(QuoteDetailsPath(QStringLiteral("/w/shop-front.tab")), QStringLiteral("/w/shop-front.quote.json"));
    const QString path = dir.filePath(QStringLiteral("p.quote.json"));
    EXPECT_EQ(ReadQuoteDetails(path).details, QuoteDetails{}); // none yet: empty details, no error

    QuoteDetails d;
    d.customerName = QStringLiteral("Bäckerei \"Süd\"");
    d.customerAddress = QStringLiteral("Hauptstraße 1\n80331 München");
    d.number = QStringLiteral("Q-2024-0007");
    d.date = QDate(2024, 3, 9);
    d.validUntil = QDate(2024, 4, 8);
    d.notes = QStringLiteral("Mounting included.\nDelivery in 3 weeks.");
    ASSERT_TRUE(WriteQuoteDetails(path, d, nullptr));
    EXPECT_EQ(ReadQuoteDetails(path).details, d);

    const struct {
        QByteArray bytes;
        const char *reason;
    } damaged[] = {{"{\"customerName\": \"A\"", "not JSON"},
                   {"[1, 2]", "not a JSON object"},
                   {"{\"date\": \"9.3.2024\"}", "\"date\" is not a date"},
                   {"{\"number\": 7}", "\"number\" is not a text"},
                   {"{\"colour\": \"red\"}", "unknown field \"colour\""},
                   {"{\"date\": \"2024-03-09\", \"validUntil\": \"2024-03-01\"}", "before"},
                   {QByteArray("{\"reference\": \"a\\u001b[31mb\"}"), "control characters"},
                   {QByteArray(70 * 1024, ' '), "a quote details file"}};
    for (const auto &c : damaged) {
        SCOPED_TRACE(c.reason);
        ASSERT_TRUE(fixtures::WriteBytes(path, c.bytes));
        const QuoteDetailsLoad load = ReadQuoteDetails(path);
        EXPECT_FALSE(load.details);
        EXPECT_TRUE(load.error.contains(QLatin1String(c.reason))) << load.error.toStdString();
        EXPECT_EQ(fixtures::ReadBytes(path), c.bytes); // the file is left for the user to mend
    }
}

TEST(ShopDetailsSettings, RefusesBadValuesNamingTheFieldAndRoundTrips)
{
    const LanguageTable &language = fixtures::ShippedLanguage();
    const std::pair<int, const char *> refused[] = {
        {text::kShopEmail, "shop.example.com"},    {text::kShopTaxRate, "23%"},          {text::kShopTaxRate, "100.5"},
        {text::kShopTaxRate, "8.125"},             {text::kShopNumberPattern, "Q-{year}"}, {text::kShopNumberPattern, "{n}-{month}"},
        {text::kShopNextNumber, "0"},              {text::kShopValidityDays, "-3"},      {text::kShopName, "A\tB"},
        {text::kShopAddress, "1\n2\n3\n4\n5\n6\n7"}};
    for (const auto &[entry, value] : refused) {
        ShopDetailsTexts texts;
        QString *into[] = {&texts.email, &texts.taxRate, &texts.numberPattern, &texts.nextNumber,
                           &texts.validityDays, &texts.name, &texts.address};
        const int fields[] = {text::kShopEmail, text::kShopTaxRate, text::kShopNumberPattern, text::kShopNextNumber,
                              text::kShopValidityDays, text::kShopName, text::kShopAddress};
        *into[std::find(std::begin(fields), std::end(fields), entry) - std::begin(fields)] = QString::fromUtf8(value);
        QString message;
        int field = 0;
        EXPECT_FALSE(ShopDetailsFromTexts(texts, language, &message, &field)) << value;
        EXPECT_EQ(field, entry) << value;
        EXPECT_TRUE(message.contains(language.LanguageEntry(entry))) << message.toStdString();
    }
    // Every field may stay empty.
    const std::optional<ShopDetails> none = ShopDetailsFromTexts({}, language, nullptr);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->identityEmpty());
    EXPECT_FALSE(none->taxRate);

    ShopDetailsTexts t;
    t.name = QStringLiteral("Znaki Kowalski");
    t.address = QStringLiteral(" ul. Polna 3 \r\n00-001 Warszawa\n\n");
    t.email = QStringLiteral("biuro@znaki.pl");
    t.taxRate = QStringLiteral("8,5");
    t.numberPattern = QStringLiteral("Q-{year}-{n:4}");
    t.nextNumber = QStringLiteral("41");
    t.validityDays = QStringLiteral("14");
    t.terms = QStringLiteral("Payment within 14 days.");
    t.pricesGross = true;
    const std::optional<ShopDetails> shop = ShopDetailsFromTexts(t, language, nullptr);
    ASSERT_TRUE(shop);
    EXPECT_EQ(shop->address, QStringLiteral("ul. Polna 3\n00-001 Warszawa"));
    EXPECT_EQ(shop->taxRate, 850);
    EXPECT_EQ(FormatQuoteNumber(shop->numberPattern, shop->nextNumber, QDate(2024, 3, 9)), QStringLiteral("Q-2024-0041"));
    EXPECT_EQ(FormatQuoteNumber(QString(), 7, QDate(2024, 3, 9)), QStringLiteral("7"));

    QTemporaryDir dir;
    ASSERT_TRUE(fixtures::WriteBytes(dir.filePath(QStringLiteral("tablix.ini")), "[prices]\ncurrency=PLN\n"));
    ASSERT_TRUE(WriteShopDetails(dir.path(), *shop, nullptr));
    EXPECT_EQ(ReadShopDetails(dir.path()), *shop);
    EXPECT_TRUE(fixtures::ReadBytes(dir.filePath(QStringLiteral("tablix.ini"))).contains("currency=PLN"));
    ASSERT_TRUE(WriteNextQuoteNumber(dir.path(), 42, nullptr));
    EXPECT_EQ(ReadShopDetails(dir.path()).nextNumber, 42);
    EXPECT_EQ(ReadShopDetails(dir.path()).name, shop->name);

    // A value edited by hand into nonsense costs only that value.
    ASSERT_TRUE(fixtures::WriteBytes(dir.filePath(QStringLiteral("tablix.ini")), "[shop]\nname=Kowalski\ntaxRate=lots\nnextNumber=x\n"));
    const ShopDetails read = ReadShopDetails(dir.path());
    EXPECT_EQ(read.name, QStringLiteral("Kowalski"));
    EXPECT_FALSE(read.taxRate);
    EXPECT_EQ(read.nextNumber, 1);
}

} // namespace
