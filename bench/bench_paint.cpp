// Repainting a sign page: the heaviest sign a user can build (sixty marked rows, posts, lower
// marks) through DrawSignPage on a full-HD page, in both raster formats a screen's backing store
// uses. Every paint recomputes the sign. Run by hand: make bench.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "output/render.h"
#include "params/language.h"
#include "shell/app_state.h"

using namespace tablix;

namespace {

AppState HeavySign()
{
    AppState state;
    if (auto language = LoadLanguageFile(QStringLiteral(TABLIX_DATA_DIR "/tablix_lng.eng")); language.table)
        state.language = *language.table;
    ParameterRecord &p = state.parameters;
    for (int k = 0; k < 23; ++k) {
        p.elementRows[k].priceA.set(10 + k);
        p.elementRows[k].priceB.set(11 + k);
        p.elementRows[k].heightMm.set(20 + 4 * k);
    }
    p.elementRows[0].heightMm.set(12.5);
    p.markupPercent1.set(20);
    p.areaBandLimit1.set(0.5);
    p.areaBandLimit2.set(1);
    p.areaBandLimit3.set(2);
    state.RefreshParameters();

    SignRecord &sign = state.currentSignRecord;
    sign.layout = 1;
    sign.signType = 1;
    sign.width.set(350);
    sign.quantity.set(3);
    sign.priceLevel.set(100);
    sign.auxDimension.set(2);
    for (int i = 0; i < kMaxRows; ++i) {
        sign.rowElements[i] = std::uint8_t(1 + i % 8 + (i % 3 == 0 ? 9 : 0));
        sign.rowMarks[i] = 1;
    }
    for (int i = 0; i < kLowerMarks; ++i)
        sign.lowerMarks[i] = 1;
    state.LoadWorkingState();
    return state;
}

void BM_DrawSignPage(benchmark::State &s, QImage::Format format)
{
    AppState state = HeavySign();
    const QSize page(1920, 1080);
    QImage image(page, format);
    for (auto _ : s) {
        QPainter painter(&image);
        DrawSignPage(painter, page, state);
    }
    if (image.pixel(960, 540) == qRgb(255, 255, 255))
        s.SkipWithError("the sign was not drawn");
}
BENCHMARK_CAPTURE(BM_DrawSignPage, RGB32, QImage::Format_RGB32)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_DrawSignPage, ARGB32_Premultiplied, QImage::Format_ARGB32_Premultiplied)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    // Painting needs the platform's font and raster set-up, as in the program.
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
