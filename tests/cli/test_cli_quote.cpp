// tablix-cli quote: the PDF of the shipped example read back against the summary command, and refusals.
#include <gtest/gtest.h>

#include <QFile>
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

TEST_F(QuoteCommandTest, ExampleQuoteCarriesTheSummarysTotal)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) reads the quote";
    const QString project = example();
    const QString pdf = dir.filePath(QStringLiteral("quote.pdf"));
    const CliOutput quote = cli({QStringLiteral("quote"), project, QStringLiteral("-o"), pdf});
    ASSERT_EQ(quote.exitCode, 0) << quote.err.toStdString();
    EXPECT_TRUE(quote.out.isEmpty());

    const QString summary = QString::fromUtf8(cli({QStringLiteral("summary"), project}).out);
    const QString expected = QRegularExpression(QStringLiteral("= ([0-9]+\\.[0-9]{2}) ")).match(summary.trimmed().split('\n').last()).captured(1);
    ASSERT_FALSE(expected.isEmpty()) << summary.toStdString();

    const QString text = QString::fromUtf8(run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}).out);
    EXPECT_TRUE(text.contains(QStringLiteral("Quote: shop-front"))) << text.toStdString();
    EXPECT_EQ(QRegularExpression(QStringLiteral("Project total +([0-9.]+) EUR")).match(text).captured(1), expected) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Shop fascia")));
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
