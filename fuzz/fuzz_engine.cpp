// Arbitrary parameter and sign records through everything that computes, draws and exports a sign.
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/engine/compute_sign.h"
#include "core/export/emf.h"
#include "core/export/hpgl.h"
#include "core/render/sign_drawing.h"
#include "core/render/report_lines.h"
#include "core/render/summary.h"
#include "core/project/app_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace tablix;
    // The first 598 bytes are the parameters, then sign records; missing bytes are zero.
    constexpr std::size_t kParams = sizeof(ParameterRecord);
    constexpr std::size_t kSign = sizeof(SignRecord);
    if (size > kParams + 3 * kSign)
        return 0;
    std::uint8_t buffer[kParams + 3 * kSign] = {};
    if (size > 0)
        std::memcpy(buffer, data, size);

    AppState state;
    std::memcpy(&state.parameters, buffer, kParams);
    for (int i = 0; i < kLanguageEntries; ++i)
        state.language.entries[size_t(i)] = QStringLiteral("E%1").arg(i);
    state.RefreshParameters();
    SignSlotArray signs{};
    for (auto &s : signs)
        BlankSignRecord(s);
    for (int k = 0; k < 3; ++k)
        std::memcpy(&signs[size_t(k)], buffer + kParams + k * kSign, kSign);
    state.OpenProject(signs, QStringLiteral("fuzz.tab"));

    QImage image(64, 48, QImage::Format_RGB32);
    for (int k = 1; k <= state.signCount; ++k) {
        state.SelectSign(k);
        try {
            const EngineResults results = ComputeSign(state);
            state.ViewText = results.CostText;
            SplitViewText(state);
            {
                QPainter painter(&image);
                DrawSignPage(painter, image.size(), state);
                RenderSign(painter, state, results, 0.5L, 2, 2, 6);
            }
            state.exportScale.set(k == 2 ? 50 : 100);
            (void)PlotterFile(state);
            (void)MetafileFile(state, QSize(800, 600));
        } catch (const FloatingPointOverflow &) {
            // A value too large for the stored format abandons the run; nothing else may happen.
        } catch (const MetafileTooLarge &) {
            // A drawing beyond the metafile's coordinates is refused, never wrapped.
        }
    }
    try {
        (void)SummaryTexts(state);
    } catch (const FloatingPointOverflow &) {
    }
    return 0;
}
