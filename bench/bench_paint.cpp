// Repainting a sign page: the heaviest sign a user can build (sixty marked rows, posts, lower
// marks) through DrawSignPage on a full-HD page, in both raster formats a screen's backing store
// uses. Every paint recomputes the sign. Run by hand: make bench.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "bench/gui_main.h"
#include "bench/heavy_sign.h"
#include "core/render/sign_drawing.h"
#include "core/params/language.h"
#include "core/project/app_state.h"

using namespace tablix;

namespace {

void BM_DrawSignPage(benchmark::State &s, QImage::Format format)
{
    AppState state = bench::HeavySign();
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
    return bench::RunWithApplication<QGuiApplication>(argc, argv);
}
