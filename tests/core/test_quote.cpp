// The customer's quote: its amounts against the summary's, read back from the PDF, and page breaks.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "core/params/language_entries.h"
#include "core/project/app_state.h"
#include "core/render/quote.h"
#include "core/render/summary.h"
#include "support/fixtures.h"

using namespace tablix;

namespace {

bool HavePdfToText()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

// The text of every page, in order, as pdftotext reads the PDF.
QStringList PdfPages(const QByteArray &pdf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quote.pdf"));
    EXPECT_TRUE(fixtures::WriteBytes(path, pdf));
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    process.waitForFinished(60000);
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
    pages.removeLast();
    return pages;
}

// The number in "Total price = 1234.56 EUR", the summary's last line.
QString SummaryTotal(AppState &state)
{
    static const QRegularExpression number(QStringLiteral("= (-?[0-9]+\\.[0-9]{2}) "));
    return number.match(SummaryTexts(state).constLast()).captured(1);
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

    // Slots 1 and 3 framed, slot 2 on posts ordered three times; slot 3 current.
    void threeSigns()
    {
        SignSlotArray signs{};
        for (auto &s : signs)
            BlankSignRecord(s);
        signs[0] = Framed(QStringLiteral("!Front"), 240, 1);
        signs[1] = fixtures::SignWith(16, QStringLiteral("Posts"));
        signs[1].signType = SignType::WideFrame;
        signs[1].layout = Layout::SidePostsA;
        signs[1].rowElements[1] = 12;
        signs[1].auxDimension.set(2);
        signs[1].quantity.set(3);
        signs[1].priceLevel.set(90);
        signs[2] = Framed(QStringLiteral("Door"), 60, 2);
        state.OpenProject(signs, QStringLiteral("/tmp/shop.front.tab"));
        state.SelectSign(3);
    }

    void signs(int count)
    {
        SignSlotArray all{};
        for (auto &s : all)
            BlankSignRecord(s);
        for (int k = 0; k < count; ++k)
            all[size_t(k)] = Framed(QStringLiteral("Sign %1").arg(k + 1, 2, 10, QLatin1Char('0')), 50 + 37 * k, 1 + k % 3);
        state.OpenProject(all, QStringLiteral("big.tab"));
    }
};

TEST_F(QuoteTest, AmountsAreTheSummarysAndTheCurrentSignStays)
{
    threeSigns();
    const SignRecord current = state.currentSignRecord;
    const std::optional<Quote> quote = BuildQuote(state, QStringLiteral("shop.front"), QDate(2024, 3, 9));
    ASSERT_TRUE(quote);
    EXPECT_EQ(state.currentSign, 3);
    EXPECT_EQ(state.currentSignRecord, current);

    EXPECT_EQ(quote->heading, QStringLiteral("Quote: shop.front"));
    EXPECT_EQ(quote->dateLine, QStringLiteral("Date: 2024-03-09"));
    ASSERT_EQ(quote->signs.size(), 3u);
    EXPECT_EQ(quote->signs[0].title, QStringLiteral("Front"));
    EXPECT_EQ(quote->signs[1].quantity, QStringLiteral("3"));

    // Line by line as the summary's blocks, in the cost report's currency form.
    std::vector<SummaryBlock> blocks;
    WalkSummaryBlocks(state, [&](const AppState &, int, const SummaryBlock &b, const EngineResults &) { blocks.push_back(b); });
    ASSERT_EQ(blocks.size(), 3u);
    for (size_t k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        const QuoteSign &sign = quote->signs[k];
        EXPECT_EQ(sign.piecePrice, blocks[k].pieceValue + QStringLiteral(" EUR"));
        EXPECT_EQ(sign.lineTotal, (blocks[k].piecesShown ? blocks[k].orderValue : blocks[k].pieceValue) + QStringLiteral(" EUR"));
        EXPECT_FALSE(sign.drawingSize.isEmpty());
        EXPECT_LE(sign.drawingSize.width(), kQuoteDrawingBox.width() + 1);
        EXPECT_LE(sign.drawingSize.height(), kQuoteDrawingBox.height() + 1);
    }
    EXPECT_TRUE(quote->signs[0].size.startsWith(QStringLiteral("Size: 240.00 × ")));
    EXPECT_EQ(quote->total, SummaryTotal(state) + QStringLiteral(" EUR"));
    EXPECT_NE(quote->total, QStringLiteral("0.00 EUR"));
}

TEST_F(QuoteTest, NothingToQuoteWithoutASignInUse)
{
    SignSlotArray empty{};
    for (auto &s : empty)
        BlankSignRecord(s);
    state.OpenProject(empty, QString());
    EXPECT_FALSE(BuildQuote(state, QStringLiteral("x"), QDate(2024, 1, 1)));
}

TEST_F(QuoteTest, ProjectNameIsTheFileWithoutItsExtension)
{
    EXPECT_EQ(QuoteProjectName(state, QStringLiteral("/work/shops/shop.front.tab")), QStringLiteral("shop.front"));
    EXPECT_EQ(QuoteProjectName(state, QStringLiteral("hall.tab")), QStringLiteral("hall"));
    EXPECT_EQ(QuoteProjectName(state, QString()), state.LanguageEntry(text::kQuoteUntitledProject));
    // A name with placeholders of its own stays as it is.
    threeSigns();
    EXPECT_EQ(BuildQuote(state, QStringLiteral("50%1 %2"), QDate(2024, 1, 1))->heading, QStringLiteral("Quote: 50%1 %2"));
}

TEST_F(QuoteTest, ReadBackThePdfShowsEveryLineAndTheSummarysTotal)
{
    if (!HavePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) reads the quote";
    threeSigns();
    const std::optional<Quote> quote = BuildQuote(state, QStringLiteral("shop.front"), QDate(2024, 3, 9));
    ASSERT_TRUE(quote);
    const std::optional<QByteArray> pdf = QuotePdf(state, *quote);
    ASSERT_TRUE(pdf);
    ASSERT_TRUE(pdf->startsWith("%PDF"));
    const QStringList pages = PdfPages(*pdf);
    ASSERT_EQ(pages.size(), 1);
    const QString &page = pages[0];
    EXPECT_TRUE(page.contains(QStringLiteral("Quote: shop.front"))) << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("Date: 2024-03-09")));
    EXPECT_TRUE(page.contains(QStringLiteral("Page 1 of 1")));
    for (const QuoteSign &sign : quote->signs) {
        EXPECT_TRUE(page.contains(sign.title));
        EXPECT_TRUE(page.contains(sign.lineTotal)) << sign.lineTotal.toStdString();
        EXPECT_TRUE(page.contains(sign.piecePrice));
    }
    static const QRegularExpression totalLine(QStringLiteral("Project total +([0-9.]+) EUR"));
    EXPECT_EQ(totalLine.match(page).captured(1), SummaryTotal(state)) << page.toStdString();
}

TEST_F(QuoteTest, PolishQuoteKeepsItsLettersDateAndCurrency)
{
    if (!HavePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) reads the quote";
    use(QStringLiteral("tablix_lng.pol"));
    threeSigns();
    const std::optional<Quote> quote = BuildQuote(state, QStringLiteral("sklep"), QDate(2024, 3, 9));
    ASSERT_TRUE(quote);
    const QString page = PdfPages(QuotePdf(state, *quote).value_or(QByteArray())).value(0);
    EXPECT_TRUE(page.contains(QStringLiteral("Data: 09.03.2024"))) << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("Cena za sztukę")));
    EXPECT_TRUE(page.contains(SummaryTotal(state) + QStringLiteral(" zł")));
}

TEST_F(QuoteTest, PageBreaksNeverCutASignsBlock)
{
    signs(20);
    const std::optional<Quote> quote = BuildQuote(state, QStringLiteral("big"), QDate(2024, 3, 9));
    ASSERT_TRUE(quote);
    ASSERT_EQ(quote->signs.size(), 20u);
    QuoteLayout layout;
    const std::optional<QByteArray> pdf = QuotePdf(state, *quote, &layout);
    ASSERT_TRUE(pdf);
    ASSERT_GE(layout.pageCount, 2);

    std::vector<QuotePlacement> placed = layout.signs;
    placed.push_back(layout.total);
    int page = 0, bottom = 0;
    for (size_t k = 0; k < placed.size(); ++k) {
        SCOPED_TRACE(k);
        const QuotePlacement &p = placed[k];
        const QRect body = p.page == 0 ? layout.firstBody : layout.body;
        EXPECT_GE(p.rect.top(), body.top());
        EXPECT_LE(p.rect.bottom(), body.bottom());
        EXPECT_GE(p.page, page);
        if (p.page == page)
            EXPECT_GE(p.rect.top(), bottom); // in order, never overlapping
        page = p.page;
        bottom = p.rect.bottom();
    }
    EXPECT_EQ(page, layout.pageCount - 1);

    if (!HavePdfToText())
        return;
    const QStringList pages = PdfPages(*pdf);
    ASSERT_EQ(pages.size(), layout.pageCount);
    for (size_t k = 0; k < quote->signs.size(); ++k) {
        const QuoteSign &sign = quote->signs[k];
        const QString &text = pages[layout.signs[k].page];
        EXPECT_TRUE(text.contains(sign.title) && text.contains(sign.size) && text.contains(sign.lineTotal))
            << sign.title.toStdString() << " on page " << layout.signs[k].page + 1;
    }
    EXPECT_TRUE(pages.last().contains(quote->total));
    EXPECT_TRUE(pages.last().contains(QStringLiteral("Page %1 of %1").arg(layout.pageCount)));
}

} // namespace
