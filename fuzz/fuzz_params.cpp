// Arbitrary bytes as a parameter file: parse, derive, serialise, describe.
#include <cstddef>
#include <cstdint>

#include "core/number/number_format.h"
#include "core/params/parameters.h"
#include "core/project/app_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace tablix;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    const auto record = ParseParameterRecord(bytes, QStringLiteral("fuzz"), &error);
    if (!record)
        return 0;
    AppState state;
    state.parameters = *record;
    state.RefreshParameters();
    (void)state.parameters.languageFile();
    if (SerializeParameterRecord(state.parameters) != bytes.left(598))
        __builtin_trap();
    for (const ScalarField &f : kScalarFields)
        (void)FormatFixed((state.parameters.*(f.field)).get(), 10, 4);
    // Heights of every element code, and the title built from them.
    for (int code = 0; code < 256; ++code) {
        state.workingRows.fill(std::uint8_t(code));
        try {
            (void)state.StackHeight();
            (void)state.AutoTitle();
        } catch (const FloatingPointOverflow &) {
        }
        (void)state.ElementDescription(code);
    }
    return 0;
}
