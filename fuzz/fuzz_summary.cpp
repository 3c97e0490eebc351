// The summary page of any project of up to 20 signs with the shipped language files: its texts,
// its measuring with real fonts and its drawing.
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "core/project/app_state.h"
#include "core/render/summary.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace tablix;
    fuzz::EnsureGui();
    fuzz::Input in(data, size);
    const auto flags = in.get<std::uint8_t>();
    const int textHeight = in.get<std::uint8_t>() % 64;
    const auto verticalBar = in.get<std::int8_t>();
    const auto horizontalBar = in.get<std::int8_t>();

    AppState state;
    fuzz::OpenInputProject(state, in, flags & 1);
    state.SelectSign(1 + (flags >> 3) % state.signCount);

    QFont font;
    font.setPixelSize(std::max(textHeight, 1));
    const QFontMetrics metrics(font);
    try {
        (void)SummaryTexts(state);
        const auto extent = MeasureSummary(
            state, [&](const QString &t) { return metrics.horizontalAdvance(t); }, textHeight, verticalBar,
            horizontalBar);
        QImage image(96, 96, QImage::Format_RGB32);
        QPainter painter(&image);
        painter.setFont(font);
        const QSize box = extent ? QSize(extent->width, extent->height) : QSize(96, 96);
        (void)DrawSummary(painter, box, state, textHeight);
    } catch (const FloatingPointOverflow &) {
    }
    return 0;
}
