// tablix-cli quote: the PDF of the shipped example read back against the summary command, and refusals.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "support/cli_runner.h"
#include "support/fixtures.h"

namespace {

using CliOutput = support::CliRun;

struct QuoteCommandTest : ::testing::Test {
    QTemporaryDir dir;

    CliOutput run(const QString &program, const QStringList &args) { return support::RunProgram(program, args); }

    CliOutput cli(QStringList args)
    {
        args.prepend(dir.path());
        args.prepend(QStringLiteral("--workdir"));
        return run(QStringLiteral(TABLIX_CLI), args);
    }

    void SetUp() override
    {
        ASSERT_EQ(cli({QStringLiteral("params"), QStringLiteral("load"), QStringLiteral(TABLIX_DATA_DIR "/params.json")}).exitCode, 0);
        QFile::copy(QStringLiteral(TABLIX_DATA_DIR "/tablix_lng.eng"), dir.filePath(QStringLiteral("tablix_lng.eng")));
    }

    // The shipped example as a project file.
    QString example()
    {
        const QString path = dir.filePath(QStringLiteral("shop-front.tab"));
        EXPECT_EQ(cli({QStringLiteral("project"), QStringLiteral("load"), QStringLiteral(TABLIX_DATA_DIR "/examples/shop-front.json"),
                       QStringLiteral("-o"), path})
                      .exitCode,
                  0);
        return path;
    }
};

TEST_F(QuoteCommandTest, ExampleQuoteAddsItsPrintedLinesAndNamesItsNumber)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) reads the quote";
    const QString project = example();
    const QString pdf = dir.filePath(QStringLiteral("quote.pdf"));
    const CliOutput quote = cli({QStringLiteral("quote"), project, QStringLiteral("-o"), pdf});
    ASSERT_EQ(quote.exitCode, 0) << quote.err.toStdString();
    EXPECT_TRUE(quote.out.isEmpty());
    EXPECT_TRUE(quote.err.isEmpty()) << quote.err.toStdString();

    // The example's projecting sign costs 115.995 a piece: its summary adds 231.99 for two, the
    // quote 2 × 116.00 = 232.00, so that the customer can check every line.
    const QString text = QString::fromUtf8(run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}).out);
    EXPECT_TRUE(text.contains(QStringLiteral("Quote 1\n"))) << text.toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("Projecting sign +2 +116\\.00 EUR +232\\.00 EUR")).match(text).hasMatch());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("Project total +2,160\\.90 EUR")).match(text).hasMatch()) << text.toStdString();
    const QString summary = QString::fromUtf8(cli({QStringLiteral("summary"), project}).out);
    EXPECT_TRUE(summary.contains(QRegularExpression(QStringLiteral("= 2160\\.88 +EUR")))) << summary.toStdString();
}

TEST_F(QuoteCommandTest, TheNumberAdvancesOnlyWhenAQuoteIsWritten)
{
    const QString project = example();
    ASSERT_TRUE(fixtures::WriteBytes(dir.filePath(QStringLiteral("tablix.ini")),
                                     "[shop]\nname=Kowalski\nnumberPattern=Q-{year}-{n:4}\nnextNumber=41\ntaxRate=23\n"));
    const auto next = [&] { return QSettings(dir.filePath(QStringLiteral("tablix.ini")), QSettings::IniFormat).value("shop/nextNumber").toInt(); };

    // Nowhere to write: the number stays free.
    EXPECT_EQ(cli({QStringLiteral("quote"), project, QStringLiteral("-o"), dir.filePath(QStringLiteral("missing/q.pdf"))}).exitCode, 2);
    EXPECT_EQ(next(), 41);
    // A damaged details file: refused with its reason, nothing written, no number taken.
    const QString damaged = dir.filePath(QStringLiteral("damaged.json"));
    ASSERT_TRUE(fixtures::WriteBytes(damaged, "{\"customerName\": "));
    const CliOutput refused = cli({QStringLiteral("quote"), project, QStringLiteral("-o"), dir.filePath(QStringLiteral("d.pdf")),
                                   QStringLiteral("--details"), damaged});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("damaged.json: not JSON")) << refused.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("d.pdf"))));
    EXPECT_EQ(next(), 41);

    const QString pdf = dir.filePath(QStringLiteral("q.pdf"));
    ASSERT_EQ(cli({QStringLiteral("quote"), project, QStringLiteral("-o"), pdf}).exitCode, 0);
    EXPECT_EQ(next(), 42);
    // A quote that carries its own number takes none of the shop's.
    const QString details = dir.filePath(QStringLiteral("d.json"));
    ASSERT_TRUE(fixtures::WriteBytes(details, "{\"number\": \"Q-2024-0007\", \"customerName\": \"Bakery Nowak\"}"));
    ASSERT_EQ(cli({QStringLiteral("quote"), project, QStringLiteral("-o"), pdf, QStringLiteral("--details"), details}).exitCode, 0);
    EXPECT_EQ(next(), 42);
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        return;
    const QString info = QString::fromUtf8(run(QStringLiteral("pdfinfo"), {pdf}).out);
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title: +Quote Q-2024-0007")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Author: +Kowalski")))) << info.toStdString();
}

TEST_F(QuoteCommandTest, HelpListsTheDetailsAndSignsLeftOutAreNamedOnStderr)
{
    const CliOutput help = cli({QStringLiteral("quote"), QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    for (const char *field : {"customerName", "customerAddress", "number", "date", "validUntil", "reference", "notes", "--details FILE"})
        EXPECT_TRUE(help.out.contains(field)) << field << "\n" << help.out.constData();

    QJsonObject root = QJsonDocument::fromJson(fixtures::ReadBytes(QStringLiteral(TABLIX_DATA_DIR "/examples/shop-front.json"))).object();
    QJsonArray signs = root.value(QLatin1String("signs")).toArray();
    ASSERT_GE(signs.size(), 3);
    const auto setQuantity = [&](int k, double quantity) {
        QJsonObject sign = signs[k].toObject();
        sign.insert(QLatin1String("quantity"), quantity);
        signs[k] = sign;
    };
    setQuantity(1, 0);
    setQuantity(2, 2.5);
    root.insert(QLatin1String("signs"), signs);
    const QString json = dir.filePath(QStringLiteral("odd.json"));
    ASSERT_TRUE(fixtures::WriteBytes(json, QJsonDocument(root).toJson()));
    const QString project = dir.filePath(QStringLiteral("odd.tab"));
    ASSERT_EQ(cli({QStringLiteral("project"), QStringLiteral("load"), json, QStringLiteral("-o"), project}).exitCode, 0);
    const CliOutput quote = cli({QStringLiteral("quote"), project, QStringLiteral("-o"), dir.filePath(QStringLiteral("odd.pdf"))});
    ASSERT_EQ(quote.exitCode, 0) << quote.err.toStdString();
    EXPECT_TRUE(quote.err.contains("Opening hours is not quoted: its quantity is 0.")) << quote.err.toStdString();
    EXPECT_TRUE(quote.err.contains("Projecting sign: Quantity 2.50 rounded up to 3 pieces.")) << quote.err.toStdString();
    const CliOutput cutlist = cli({QStringLiteral("cutlist"), project});
    EXPECT_TRUE(cutlist.err.contains("2 Opening hours: quantity 0, left out of the cut list")) << cutlist.err.toStdString();
    EXPECT_TRUE(cutlist.out.contains(",,,3 Projecting sign: quantity 2.50 rounded up to whole pieces")) << cutlist.out.constData();
}

TEST_F(QuoteCommandTest, RefusesWhatCannotBeQuoted)
{
    // No sign in use: a clear message and no file.
    const QString empty = dir.filePath(QStringLiteral("empty.tab"));
    {
        tablix::SignSlotArray signs{};
        for (auto &s : signs)
            tablix::BlankSignRecord(s);
        ASSERT_TRUE(tablix::WriteProjectFile(empty, signs, nullptr));
    }
    const QString pdf = dir.filePath(QStringLiteral("none.pdf"));
    const CliOutput none = cli({QStringLiteral("quote"), empty, QStringLiteral("-o"), pdf});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_TRUE(none.err.contains("no sign in use")) << none.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));

    // Without -o: a usage error.
    const CliOutput noOutput = cli({QStringLiteral("quote"), example()});
    EXPECT_EQ(noOutput.exitCode, 1);
    EXPECT_TRUE(noOutput.err.contains("-o")) << noOutput.err.toStdString();

    // An unwritable place: nothing left behind, an existing file kept.
    const CliOutput unwritable = cli({QStringLiteral("quote"), example(), QStringLiteral("-o"), dir.filePath(QStringLiteral("missing/q.pdf"))});
    EXPECT_EQ(unwritable.exitCode, 2);
    ASSERT_TRUE(fixtures::WriteBytes(pdf, "kept"));
    EXPECT_EQ(cli({QStringLiteral("quote"), empty, QStringLiteral("-o"), pdf}).exitCode, 2);
    EXPECT_EQ(fixtures::ReadBytes(pdf), QByteArray("kept"));
}

} // namespace
