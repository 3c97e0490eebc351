// Projects of up to 20 signs computed and exported to the plotter and as a metafile, at export
// scales and main-window sizes from the input; every metafile made must be well formed.
#include "core/engine/compute_sign.h"
#include "core/export/emf.h"
#include "core/export/hpgl.h"
#include "core/project/app_state.h"
#include "fuzz_support.h"
#include "support/emf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace tablix;
    fuzz::Input in(data, size);
    const Real48 scale = in.real();
    const auto windowWidth = in.get<std::int32_t>();
    const auto windowHeight = in.get<std::int32_t>();
    const auto flags = in.get<std::uint8_t>();

    AppState state;
    fuzz::OpenInputProject(state, in, flags & 1);
    // A zero scale (a short input) is the program's default.
    state.exportScale = scale;
    if (scale.get() == 0)
        state.exportScale.set(100);

    for (int k = 1; k <= state.signCount; ++k) {
        state.SelectSign(k);
        try {
            (void)PlotterFile(state);
            if (const auto emf = MetafileFile(state, QSize(windowWidth, windowHeight))) {
                const emf_reader::Metafile m = emf_reader::Read(*emf);
                if (!m.error.isEmpty())
                    __builtin_trap();
            }
        } catch (const FloatingPointOverflow &) {
        } catch (const MetafileTooLarge &) {
        }
    }
    return 0;
}
