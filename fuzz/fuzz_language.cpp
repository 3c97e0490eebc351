// Arbitrary bytes as a language file.
#include <cstddef>
#include <cstdint>

#include "core/params/language.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace tablix;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const LanguageTable table = ParseLanguageFile(bytes);
    (void)LanguageDisplayName(bytes);
    for (int slot = 1; slot <= 20; ++slot)
        (void)TabCaption(table, table.LanguageEntry(slot), slot);
    (void)table.LanguageEntry(-1);
    (void)table.LanguageEntry(251);
    return 0;
}
