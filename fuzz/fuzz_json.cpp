// Arbitrary text as the JSON of `params load` and of `project load`: what loads must come back
// unchanged through dump and load.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace tablix;
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    if (const auto p = ParametersFromJson(json, &error)) {
        const auto again = ParametersFromJson(ParametersToJson(*p), &error);
        if (!again || SerializeParameterRecord(*again) != SerializeParameterRecord(*p))
            __builtin_trap();
    } else if (error.isEmpty()) {
        __builtin_trap(); // a refusal always says why
    }
    error.clear();
    if (const auto signs = ProjectFromJson(json, &error)) {
        const auto again = ProjectFromJson(ProjectToJson(*signs), &error);
        if (!again || SerializeProject(*again) != SerializeProject(*signs))
            __builtin_trap();
    } else if (error.isEmpty()) {
        __builtin_trap();
    }
    return 0;
}
