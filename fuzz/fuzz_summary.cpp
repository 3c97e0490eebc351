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
    state.parameters = fuzz::ShippedParameters();
    state.language = fuzz::ShippedLanguage(flags & 1);
    // The example's signs, then as many of the input's as it holds, then the parameters.
    SignSlotArray signs = fuzz::ExampleProject();
    in.bytes(signs.data(), std::min(in.left(), sizeof signs));
    in.bytes(&state.parameters, std::min(in.left(), sizeof(ParameterRecord)));
    state.RefreshParameters();
    state.OpenProject(signs, QStringLiteral("fuzz.tab"));
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
