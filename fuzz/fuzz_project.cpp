// Arbitrary bytes as a project file, opened into a running state and worked on.
#include <cstddef>
#include <cstdint>

#include "core/number/number_format.h"
#include "core/project/app_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace tablix;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    const auto signs = ParseProject(bytes, QStringLiteral("fuzz"), &error);
    if (!signs)
        return 0;
    if (SerializeProject(*signs) != bytes.left(3920))
        __builtin_trap();
    AppState state;
    for (auto &row : state.parameters.elementRows)
        row.heightMm.set(50);
    state.RefreshParameters();
    state.OpenProject(*signs, QStringLiteral("fuzz.tab"));
    if (state.signCount < 1 || state.signCount > 20)
        __builtin_trap();
    for (int k = 1; k <= state.signCount; ++k) {
        state.SelectSign(k);
        try {
            (void)state.StackHeight();
            (void)state.AutoTitle();
        } catch (const FloatingPointOverflow &) {
        }
        (void)FormatFixed(state.currentSignRecord.width.get(), 0, 2);
        for (std::uint8_t code : state.workingRows)
            (void)state.ElementDescription(code);
    }
    state.RefreshTabCaptions();
    state.CopySign();
    state.NewSign();
    state.SetSignTitle(QStringLiteral("x"), false);
    state.DeleteSign();
    state.NewProject();
    return 0;
}
