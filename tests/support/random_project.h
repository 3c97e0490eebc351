// Seeded random projects: signs a user could have built, and files other writers leave.
#pragma once

#include <QString>
#include <cstdint>
#include <random>

#include "core/project/sign_record.h"

namespace support {

// The same seed gives the same project on every machine: only the engine's raw output is used.
class Random {
public:
    explicit Random(std::uint32_t seed) : engine_(seed) {}
    int below(int n) { return int(engine_() % std::uint32_t(n)); } // 0..n-1
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }
    std::uint8_t byte() { return std::uint8_t(engine_() & 0xFF); }
    // A decimal with two places, as the numeric edits give it.
    long double amount(int lo, int hi) { return between(lo * 100, hi * 100) / 100.0L; }

private:
    std::mt19937 engine_;
};

inline std::uint8_t RandomElementCode(Random &r)
{
    static constexpr std::uint8_t kCodes[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                                              16, 17, 18, 19, 20, 21, 30, 31, 35, 40, 42, 45};
    return kCodes[r.below(int(std::size(kCodes)))];
}

inline QString RandomTitle(Random &r)
{
    static const QString kLetters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .x-ąęłńóśźżĄŁŚŻ");
    QString title = r.chance(20) ? QStringLiteral("!") : QString();
    for (int n = r.between(0, 22); n > 0; --n)
        title += kLetters[r.below(int(kLetters.size()))];
    return title;
}

// A sign in use: one block of rows from row 1 (now and then with a gap a file may hold),
// marks anywhere, numbers the dialogs accept.
inline tablix::SignRecord RandomSign(Random &r)
{
    tablix::SignRecord s{};
    tablix::BlankSignRecord(s);
    s.setTitle(RandomTitle(r));
    // Bytes after the title's length are kept as they are.
    for (int i = s.title[0] + 1; i <= tablix::kTitleLength; ++i)
        if (r.chance(10))
            s.title[i] = r.byte();
    s.layout = tablix::Layout(std::uint8_t(r.between(1, 4)));
    s.signType = tablix::SignType(std::uint8_t(r.between(1, 6)));
    const int rows = r.chance(10) ? r.between(30, 60) : r.between(1, 12);
    for (int i = 0; i < rows; ++i)
        s.rowElements[i] = RandomElementCode(r);
    if (rows > 3 && r.chance(10))
        s.rowElements[r.between(1, rows - 1)] = 0;
    for (int i = 0; i < tablix::kMaxRows; ++i)
        s.rowMarks[i] = std::uint8_t(r.chance(i < rows ? 40 : 3));
    for (int i = 0; i < tablix::kLowerMarks; ++i)
        s.lowerMarks[i] = std::uint8_t(r.chance(30));
    s.reserved = r.chance(10) ? r.byte() : 0;
    s.quantity.set(r.between(1, 12));
    s.width.set(r.amount(20, 600));
    s.areaSurcharge.set(r.chance(50) ? 0 : r.between(0, 30));
    s.priceLevel.set(r.chance(70) ? 100 : r.amount(50, 150));
    s.infillHeight.set(r.chance(60) ? 0 : r.amount(1, 40));
    s.extraCost.set(r.chance(70) ? 0 : r.amount(1, 500));
    s.auxDimension.set(tablix::Number(s.signType) <= 2 && r.chance(50) ? r.between(1, 10) : 0);
    return s;
}

// Slots in use from slot 1, now and then with an unused one between them (as older files hold),
// then blank slots, now and then all zero bytes.
inline tablix::SignSlotArray RandomProject(Random &r)
{
    tablix::SignSlotArray signs{};
    const int used = r.chance(15) ? r.between(2, tablix::kMaxSigns) : r.between(1, 4);
    for (int k = 0; k < tablix::kMaxSigns; ++k) {
        tablix::SignRecord &s = signs[size_t(k)];
        if (k < used && !(k > 0 && r.chance(5))) {
            s = RandomSign(r);
            continue;
        }
        if (r.chance(20))
            continue; // all zero
        tablix::BlankSignRecord(s);
        s.quantity.set(r.between(0, 3));
        s.priceLevel.set(r.chance(50) ? 0 : 100);
    }
    return signs;
}

} // namespace support
