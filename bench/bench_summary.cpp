// Drawing the summary page of a full project: twenty heavy signs, each recomputed, drawn small and
// read for its amounts, as every paint of the page does; measuring the page as well, as entering
// it or resizing does. Run by hand: make bench.
#include <benchmark/benchmark.h>

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "bench/gui_main.h"
#include "bench/heavy_sign.h"
#include "core/render/summary.h"
#include "core/project/app_state.h"

using namespace tablix;

namespace {

AppState TwentySigns()
{
    AppState state = bench::HeavySign();
    for (int k = 1; k <= kMaxSigns; ++k) {
        SignRecord sign = state.currentSignRecord;
        sign.width.set(120 + 15 * k);
        sign.quantity.set(k % 3 == 0 ? 1 : 3);
        sign.setTitle(QStringLiteral("Sign %1").arg(k));
        state.slot(k) = sign;
    }
    state.signCount = kMaxSigns;
    state.SelectSign(1);
    return state;
}

QFont SummaryFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(11);
    return font;
}

void BM_DrawSummary(benchmark::State &s)
{
    AppState state = TwentySigns();
    const QFontMetrics metrics(SummaryFont());
    const auto extent = MeasureSummary(
        state, [&metrics](const QString &text) { return metrics.horizontalAdvance(text); }, 11);
    // The paint box is as tall as the content, but a paint reaches only the part the page shows:
    // the window's backing store, here a full-HD page.
    const QSize paintBox(std::max(1920, extent->width), std::max(1080, extent->height));
    QImage image(QSize(1920, 1080), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : s) {
        QPainter painter(&image);
        painter.setFont(SummaryFont());
        DrawSummary(painter, paintBox, state, 11);
    }
    s.counters["height_px"] = extent->height;
}
BENCHMARK(BM_DrawSummary)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

void BM_MeasureAndDrawSummary(benchmark::State &s)
{
    AppState state = TwentySigns();
    const QFontMetrics metrics(SummaryFont());
    QImage image(QSize(1920, 1080), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : s) {
        const auto extent = MeasureSummary(
            state, [&metrics](const QString &text) { return metrics.horizontalAdvance(text); }, 11);
        QPainter painter(&image);
        painter.setFont(SummaryFont());
        DrawSummary(painter, QSize(std::max(1920, extent->width), std::max(1080, extent->height)), state, 11);
    }
}
BENCHMARK(BM_MeasureAndDrawSummary)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    return bench::RunWithApplication<QGuiApplication>(argc, argv);
}
