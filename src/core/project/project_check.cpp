// Checks that a project read from a file holds only records the program could have written.
#include "core/project/project_check.h"

#include <algorithm>
#include <cmath>

#include "core/number/number_format.h"

namespace tablix {

namespace {

bool IsElementCode(int code)
{
    return (code >= 0 && code <= 21) || (code >= 30 && code <= 35) || (code >= 40 && code <= 45);
}

bool IsMark(int mark)
{
    return mark == 0 || mark == 1;
}

std::optional<RecordFault> CheckRecord(const SignRecord &r, int sign, bool plausible)
{
    auto fault = [sign](const QString &field, const QString &value) { return RecordFault{sign, field, value}; };
    auto byteFault = [&](const char *field, int value) { return fault(QLatin1String(field), QString::number(value)); };
    auto listFault = [&](const char *field, int i, int value) {
        return fault(QStringLiteral("%1[%2]").arg(QLatin1String(field)).arg(i), QString::number(value));
    };

    // An all-zero record is an empty slot, as a zero-filled file or another writer may leave it.
    const auto *bytes = reinterpret_cast<const unsigned char *>(&r);
    if (std::all_of(bytes, bytes + sizeof r, [](unsigned char b) { return b == 0; }))
        return std::nullopt;
    if (!IsKnown(r.layout))
        return byteFault("layout", Number(r.layout));
    if (!IsKnown(r.signType))
        return byteFault("signType", Number(r.signType));
    for (int i = 0; i < kMaxRows; ++i)
        if (!IsElementCode(r.rowElements[i]))
            return listFault("rowElements", i, r.rowElements[i]);
    for (int i = 0; i < kMaxRows; ++i)
        if (!IsMark(r.rowMarks[i]))
            return listFault("rowMarks", i, r.rowMarks[i]);
    for (int i = 0; i < kLowerMarks; ++i)
        if (!IsMark(r.lowerMarks[i]))
            return listFault("lowerMarks", i, r.lowerMarks[i]);

    const struct {
        const char *name;
        const Real48 &value;
    } numbers[] = {{"quantity", r.quantity},         {"width", r.width},
                   {"areaSurcharge", r.areaSurcharge}, {"priceLevel", r.priceLevel},
                   {"infillHeight", r.infillHeight}, {"extraCost", r.extraCost},
                   {"auxDimension", r.auxDimension}};
    for (const auto &n : numbers)
        if (!std::isfinite(n.value.get()))
            return fault(QLatin1String(n.name), FormatFixed(n.value.get(), 0, 2));
    if (!plausible)
        return std::nullopt;
    const struct {
        const char *name;
        const Real48 &value;
        long double low, high;
    } ranges[] = {{"quantity", r.quantity, 0, kMaxQuantity},
                  {"width", r.width, 0, kMaxWidthCm},
                  {"priceLevel", r.priceLevel, 0, HUGE_VALL},
                  {"extraCost", r.extraCost, -kMaxExtraCost, kMaxExtraCost}};
    for (const auto &n : ranges)
        if (n.value.get() < n.low || n.value.get() > n.high)
            return fault(QLatin1String(n.name), FormatFixed(n.value.get(), 0, 2));
    return std::nullopt;
}

} // namespace

std::optional<RecordFault> CheckProject(const SignSlotArray &signs, bool plausible)
{
    for (int k = 1; k <= kMaxSigns; ++k)
        if (auto fault = CheckRecord(signs[size_t(k - 1)], k, plausible))
            return fault;
    return std::nullopt;
}

QString RecordFaultText(const QString &message, const QString &fileName, const RecordFault &fault)
{
    return QString(message).arg(fileName, QString::number(fault.sign), fault.field, fault.value);
}

QString DefaultDamagedProjectMessage()
{
    return QStringLiteral("The project \"%1\" cannot be opened: sign %2 is damaged (%3 holds %4). "
                          "Nothing has been changed.");
}

} // namespace tablix
