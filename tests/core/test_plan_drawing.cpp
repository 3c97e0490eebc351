// The drawn cutting plan, the saw order's signs and the piece labels: pixels at the scaled places
// of a hand-made plan, pages that keep a profile whole, labels inside their sheet's grid.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <random>

#include "core/params/language_entries.h"
#include "core/workshop/cutting_plan.h"
#include "core/workshop/piece_labels.h"
#include "core/workshop/plan_drawing.h"
#include "support/fixtures.h"

using namespace tablix;

namespace {

// A bar of 600 cm, kerf 1 cm and trim 10 cm, so that each part is several pixels wide.
ProfilePlan HandMade(const QString &name, std::vector<std::vector<CutLength>> bars)
{
    ProfilePlan p;
    p.profile = name;
    p.stock = {600 * kCutUnitsPerCm, 1 * kCutUnitsPerCm, 10 * kCutUnitsPerCm};
    std::map<CutLength, long long, std::greater<>> demand;
    for (auto &cuts : bars) {
        PlannedBar bar;
        bar.cuts = cuts;
        CutLength used = 0;
        for (CutLength c : cuts) {
            used += c + p.stock.kerf;
            ++demand[c];
        }
        bar.offcut = p.stock.capacity() - used;
        p.bars.push_back(bar);
    }
    for (const auto &[length, count] : demand)
        p.pieces.push_back({length, count});
    p.lowerBound = p.firstFitBars = (long long)p.bars.size();
    p.optimal = true;
    return p;
}

QImage Render(const PlanDrawing &drawing)
{
    QImage image(int(PlanDrawing::kWidth), int(std::ceil(drawing.height())), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawing.paint(painter, 0, drawing.height());
    return image;
}

} // namespace

TEST(PlanDrawing, PiecesStandAtTheirScaledPlacesInTheirColours)
{
    fixtures::EnsureGuiApplication();
    const CutLength a = 200 * kCutUnitsPerCm, b = 150 * kCutUnitsPerCm, c = 5 * kCutUnitsPerCm;
    CuttingPlan plan{{HandMade(QStringLiteral("Frame"), {{a, b, b}, {a, b, b}, {a, c}})}};
    const PlanDrawing drawing(plan, fixtures::ShippedLanguage());
    const QImage image = Render(drawing);
    const double scale = (PlanDrawing::kWidth - PlanDrawing::kStripLeft) / 600.0; // units per cm

    // Bars cut alike are drawn once: the third bar has a strip of its own.
    int strips = 0;
    for (const PlanDrawing::Row &row : drawing.rows())
        strips += row.kind == PlanDrawing::Row::Strip;
    EXPECT_EQ(strips, 2);

    const struct {
        int bar, cut;
        double startCm, lengthCm;
    } boxes[] = {{0, 0, 10, 200}, {0, 1, 211, 150}, {1, 2, 362, 150}, {2, 0, 10, 200}, {2, 1, 211, 5}};
    for (const auto &box : boxes) {
        const QRectF rect = drawing.pieceRect(0, box.bar, box.cut);
        EXPECT_NEAR(rect.left(), PlanDrawing::kStripLeft + box.startCm * scale, 1e-6) << box.bar << "/" << box.cut;
        EXPECT_NEAR(rect.width(), box.lengthCm * scale, 1e-6);
        const CutLength length = CutLength(box.lengthCm * kCutUnitsPerCm);
        // A point inside the box away from its text, its outline and any texture's lines.
        const QColor colour = drawing.pieceColour(0, length);
        int matching = 0, seen = 0;
        for (int dx = 2; dx < int(rect.width()) - 2; ++dx) {
            const QPoint at(int(rect.left()) + dx, int(rect.top()) + 3);
            ++seen;
            matching += image.pixelColor(at) == colour;
        }
        EXPECT_GT(matching, seen / 2) << box.bar << "/" << box.cut;
    }
    // Same length, same colour; another length another; the offcut is not a piece's colour.
    EXPECT_EQ(drawing.pieceColour(0, b), drawing.pieceColour(0, b));
    EXPECT_NE(drawing.pieceColour(0, a), drawing.pieceColour(0, b));
    const QRectF last = drawing.pieceRect(0, 2, 1);
    const QColor offcut = image.pixelColor(QPoint(int(last.right() + 40), int(last.top() + 3)));
    EXPECT_NE(offcut, drawing.pieceColour(0, a));
    EXPECT_NE(offcut, drawing.pieceColour(0, c));
    // The kerf after a piece shows as a dark gap; the trim before the first piece too.
    EXPECT_LT(image.pixelColor(QPoint(int(drawing.pieceRect(0, 0, 0).right()) + 1, int(last.top() + 3))).lightness(), 80);
    EXPECT_LT(image.pixelColor(QPoint(int(PlanDrawing::kStripLeft + 5 * scale), int(last.top() + 3))).lightness(), 120);
}

TEST(PlanDrawing, PagesKeepAProfileWholeWhenItFits)
{
    fixtures::EnsureGuiApplication();
    std::mt19937 random(7);
    CuttingPlan plan;
    for (int n = 0; n < 12; ++n) {
        std::vector<std::vector<CutLength>> bars;
        const int count = 1 + int(random() % (n == 5 ? 60 : 6));
        for (int b = 0; b < count; ++b)
            bars.push_back({CutLength(100 + random() % 300) * kCutUnitsPerCm, CutLength(20 + random() % 100) * kCutUnitsPerCm});
        plan.profiles.push_back(HandMade(QStringLiteral("P%1").arg(n), bars));
    }
    const PlanDrawing drawing(plan, fixtures::ShippedLanguage());
    for (const double page : {300.0, 500.0, 700.0}) {
        const auto pages = drawing.paginate(page);
        // Every row once, in order.
        ASSERT_EQ(pages.front().first, 0u);
        ASSERT_EQ(pages.back().second, drawing.rows().size());
        for (size_t n = 1; n < pages.size(); ++n)
            ASSERT_EQ(pages[n].first, pages[n - 1].second);
        std::map<int, std::set<size_t>> pagesOf;
        std::map<int, double> heightOf;
        for (size_t n = 0; n < pages.size(); ++n) {
            double used = 0;
            for (size_t r = pages[n].first; r < pages[n].second; ++r) {
                pagesOf[drawing.rows()[r].profile].insert(n);
                heightOf[drawing.rows()[r].profile] += drawing.rows()[r].height;
                used += drawing.rows()[r].height;
            }
            EXPECT_TRUE(used <= page || pages[n].second - pages[n].first == 1) << page << " page " << n;
        }
        for (const auto &[profile, on] : pagesOf)
            if (heightOf[profile] <= page)
                EXPECT_EQ(on.size(), 1u) << "profile " << profile << " split at page height " << page;
    }
}

TEST(PlanDrawing, FiveHundredBarsDrawQuickly)
{
    fixtures::EnsureGuiApplication();
    std::mt19937 random(11);
    std::vector<std::vector<CutLength>> bars;
    for (int b = 0; b < 500; ++b)
        bars.push_back({CutLength(150 + random() % 200) * kCutUnitsPerCm, CutLength(10 + random() % 80) * kCutUnitsPerCm,
                        CutLength(5 + random() % 60) * kCutUnitsPerCm});
    const CuttingPlan plan{{HandMade(QStringLiteral("Frame"), bars)}};
    QElapsedTimer timer;
    timer.start();
    const PlanDrawing drawing(plan, fixtures::ShippedLanguage());
    // Every row painted, a screen's height at a time.
    QImage screen(int(PlanDrawing::kWidth), 800, QImage::Format_RGB32);
    for (double top = 0; top < drawing.height(); top += 800) {
        screen.fill(Qt::white);
        QPainter painter(&screen);
        painter.translate(0, -top);
        drawing.paint(painter, top, top + 800);
    }
    const qint64 screenMs = timer.elapsed();
    timer.restart();
    const std::optional<QByteArray> pdf = CuttingPlanPdf(drawing, fixtures::ShippedLanguage(), QDate(2026, 1, 2));
    const qint64 pdfMs = timer.elapsed();
    ASSERT_TRUE(pdf && pdf->startsWith("%PDF"));
    std::printf("500 bars: laid out and painted in %lld ms, as PDF in %lld ms\n", (long long)screenMs, (long long)pdfMs);
    // Generous against a loaded machine or a sanitizer build; it is far less on its own.
    EXPECT_LT(screenMs, 4000);
}

TEST(SawOrder, PiecesGoToTheirSignsFirstSignFirst)
{
    CutList list;
    list.rows = {{QStringLiteral("Frame"), QStringLiteral("f"), 20000, 3, {QStringLiteral("1 Door"), QStringLiteral("4 Hall")}, {2, 1}},
                 {QStringLiteral("Frame"), QStringLiteral("f"), 5000, 2, {QStringLiteral("4 Hall")}, {2}},
                 {QStringLiteral("Rail"), QStringLiteral("r"), 9000, 1, {QStringLiteral("2 Shop")}, {1}}};
    list.signsInUse = 3;
    const CuttingPlan plan = PlanCutList(list, StockSettings{});
    ASSERT_EQ(plan.profiles.size(), 2u);
    std::map<QString, std::map<CutLength, long long>> got;
    QStringList order;
    for (const ProfilePlan &p : plan.profiles)
        for (const PlannedBar &bar : p.bars) {
            ASSERT_EQ(bar.signs.size(), bar.cuts.size());
            for (size_t k = 0; k < bar.cuts.size(); ++k) {
                ++got[bar.signs[k]][bar.cuts[k]];
                if (bar.cuts[k] == 20000)
                    order << bar.signs[k];
            }
        }
    EXPECT_EQ(got[QStringLiteral("1 Door")], (std::map<CutLength, long long>{{20000, 2}}));
    EXPECT_EQ(got[QStringLiteral("4 Hall")], (std::map<CutLength, long long>{{20000, 1}, {5000, 2}}));
    EXPECT_EQ(got[QStringLiteral("2 Shop")], (std::map<CutLength, long long>{{9000, 1}}));
    EXPECT_EQ(order, (QStringList{QStringLiteral("1 Door"), QStringLiteral("1 Door"), QStringLiteral("4 Hall")}));

    // JSON: signs parallel to the cuts, which stay numbers; a length of several signs without
    // their counts gives nulls.
    const QJsonObject json = QJsonDocument::fromJson(CuttingPlanJson(plan)).object();
    const QJsonObject bar = json[QStringLiteral("profiles")].toArray()[0].toObject()[QStringLiteral("bars")].toArray()[0].toObject();
    ASSERT_EQ(bar[QStringLiteral("signs")].toArray().size(), bar[QStringLiteral("cuts")].toArray().size());
    EXPECT_TRUE(bar[QStringLiteral("cuts")].toArray()[0].isDouble());
    EXPECT_EQ(bar[QStringLiteral("signs")].toArray()[0].toString(), QStringLiteral("1 Door"));
    CutList unknown = list;
    for (CutListRow &row : unknown.rows)
        row.signCounts.clear();
    const QJsonObject bare = QJsonDocument::fromJson(CuttingPlanJson(PlanCutList(unknown, StockSettings{}))).object();
    EXPECT_TRUE(bare[QStringLiteral("profiles")].toArray()[0].toObject()[QStringLiteral("bars")].toArray()[0].toObject()[QStringLiteral("signs")]
                    .toArray()[0]
                    .isNull());
    // A length one sign needs is that sign's, counts or not.
    EXPECT_EQ(bare[QStringLiteral("profiles")].toArray()[1].toObject()[QStringLiteral("bars")].toArray()[0].toObject()[QStringLiteral("signs")]
                  .toArray()[0]
                  .toString(),
              QStringLiteral("2 Shop"));
}

TEST(PieceLabels, OnePerPieceInSawOrderInsideTheSheetsGrid)
{
    fixtures::EnsureGuiApplication();
    const CuttingPlan plan{{HandMade(QStringLiteral("Frame"), {{20000, 15000, 15000}, {20000, 500}}), HandMade(QStringLiteral("Rail"), {{9000}})}};
    const std::vector<PieceLabel> labels = PieceLabelsOf(plan);
    ASSERT_EQ(labels.size(), 6u);
    EXPECT_EQ(labels[2].bar, 1);
    EXPECT_EQ(labels[2].cut, 3);
    EXPECT_EQ(labels[4].length, 500);
    EXPECT_EQ(labels[5].profile, QStringLiteral("Rail"));

    for (const LabelSheet &sheet : LabelSheets()) {
        const QRectF page(0, 0, 210, 297);
        for (int i = 0; i < sheet.perSheet(); ++i) {
            const QRectF r = sheet.labelRect(i);
            EXPECT_TRUE(page.contains(r)) << sheet.name.toStdString() << " " << i;
            EXPECT_NEAR(r.left(), sheet.left + (i % sheet.columns) * (sheet.labelWidth + sheet.gapX), 1e-9);
            EXPECT_NEAR(r.top(), sheet.top + (i / sheet.columns) * (sheet.labelHeight + sheet.gapY), 1e-9);
            for (int j = 0; j < i; ++j)
                EXPECT_FALSE(r.adjusted(0.01, 0.01, -0.01, -0.01).intersects(sheet.labelRect(j))) << i << " meets " << j;
        }
        EXPECT_EQ(sheet.labelRect(sheet.perSheet()), sheet.labelRect(0)); // the next sheet starts over
    }
    EXPECT_TRUE(LabelSheetNamed(QStringLiteral("2X7")));
    EXPECT_FALSE(LabelSheetNamed(QStringLiteral("4x10")));

    // Thirty labels take two sheets of 3 x 8.
    std::vector<PieceLabel> many(30, labels[0]);
    const std::optional<QByteArray> pdf = PieceLabelsPdf(many, *LabelSheetNamed(QStringLiteral("3x8")), QStringLiteral("Shop"), fixtures::ShippedLanguage());
    ASSERT_TRUE(pdf);
    EXPECT_EQ(pdf->count("/Type /Page\n") + pdf->count("/Type /Page\r") + pdf->count("/Type /Page "), 2) << "pages";
}
