// The true-size PDF drawing, read back by poppler's pdfinfo, pdftotext and pdftoppm.
#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "core/export/pdf.h"
#include "core/render/sign_drawing.h"
#include "support/boards.h"
#include "support/export_geometry.h"
#include "support/readers.h"

using namespace tablix;

namespace {

constexpr double kPointsPerMm = 72 / 25.4;

struct PdfInfo {
    double width = 0, height = 0; // points
    QString title;
};

// Nothing when poppler-utils is not installed.
std::optional<PdfInfo> Info(const QString &file)
{
    const auto run = readers::Start(QStringLiteral("pdfinfo"), {file});
    if (!run)
        return std::nullopt;
    EXPECT_EQ(run->exitCode, 0) << run->err.toStdString();
    PdfInfo info;
    const QString text = QString::fromUtf8(run->out);
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(text);
    info.width = size.captured(1).toDouble();
    info.height = size.captured(2).toDouble();
    info.title = QRegularExpression(QStringLiteral("Title:\\s+(.*)")).match(text).captured(1).trimmed();
    return info;
}

QString Write(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath(QStringLiteral("drawing.pdf"));
    EXPECT_TRUE(fixtures::WriteBytes(path, bytes));
    return path;
}

} // namespace

TEST(PdfDrawing, PageIsTheBoardPlusTheMarginAndCarriesTheTitle)
{
    fixtures::EnsureGuiApplication();
    fixtures::ComputedState s;
    boards::ShopBoard(s);
    const auto pdf = WritePdf(s, s.results);
    ASSERT_TRUE(pdf);
    QTemporaryDir dir;
    const QString file = Write(dir, *pdf);
    const auto info = Info(file);
    if (!info)
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    // Pages are whole points.
    EXPECT_NEAR(info->width, (1500 + 2 * kPdfMarginMm) * kPointsPerMm, 0.5);
    EXPECT_NEAR(info->height, (600 + 2 * kPdfMarginMm) * kPointsPerMm, 0.5);
    EXPECT_EQ(info->title, QStringLiteral("Shop board"));
    const auto text = readers::Start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    ASSERT_TRUE(text);
    EXPECT_EQ(text->out.trimmed(), QByteArray()) << "no scale note at true size";

    // At one pixel per millimetre the first panel is yellow where the page draws it.
    const auto ppm = readers::Start(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"),
                                                                QStringLiteral("25.4"), QStringLiteral("-singlefile"), file,
                                                                dir.filePath(QStringLiteral("page"))});
    ASSERT_TRUE(ppm);
    const QImage page(dir.filePath(QStringLiteral("page.png")));
    ASSERT_NEAR(page.width(), 1520, 1);
    ASSERT_NEAR(page.height(), 620, 1);
    const GeometryRecord &row = s.results.record(2);
    const int y = page.height() / 2 + int((row.y1.get() + row.y2.get()) * 5) - 300;
    EXPECT_EQ(page.pixel(page.width() / 2, y) & 0xFFFFFF, RowFillColour(row.colourClass)->rgb() & 0xFFFFFF);
    EXPECT_EQ(page.pixel(5, 5) & 0xFFFFFF, 0xFFFFFFu) << "the margin is white";
}

// Readers refuse pages over 200 inches: a longer board is scaled to fit and says so.
TEST(PdfDrawing, ABoardBeyondTheLargestPageIsScaledDownAndStatesTheScale)
{
    fixtures::EnsureGuiApplication();
    fixtures::ComputedState s;
    export_geometry::FramedSign(s);
    s.language = fixtures::ShippedLanguage();
    s.exportScale.set(5000); // 200 x 100 cm at 50 times: 10 000 mm long
    const auto pdf = WritePdf(s, s.results);
    ASSERT_TRUE(pdf);
    QTemporaryDir dir;
    const QString file = Write(dir, *pdf);
    const auto info = Info(file);
    if (!info)
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    EXPECT_EQ(info->width, 14400.0);
    EXPECT_NEAR(info->height, (5000 * 0.506 + 20) * kPointsPerMm, 0.5);
    const auto text = readers::Start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    ASSERT_TRUE(text);
    EXPECT_EQ(QString::fromUtf8(text->out).simplified(), QStringLiteral("Scale 2530.0 % of true size"));
}
