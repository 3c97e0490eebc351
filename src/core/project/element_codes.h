// What an element code held by a row means: its family, its kind, its element-table row, its word.
#pragma once
#include "core/params/language_entries.h"
#include "core/project/sign_kinds.h"

namespace tablix {

// Codes 1..9 of family A correspond to codes 10..18 of family B; 20 to 21. 19 is the other infill,
// 30..35 and 40..45 the special profiles of the two families.
inline constexpr int kOtherInfillCode = 19;

// Panels and fixed profiles: the rows that carry strips and may be marked.
constexpr bool IsPanel(int code)
{
    return (code >= 1 && code <= 8) || (code >= 10 && code <= 17) || code == 20 || code == 21;
}

constexpr bool IsClosing(int code)
{
    return code == 9 || code == 18;
}

// Special profiles: described and drawn, but not priced.
constexpr bool IsSpecialProfile(int code)
{
    return (code >= 30 && code <= 35) || (code >= 40 && code <= 45);
}

// Exactly one of the two holds for every code that has a description, neither for 0, 19 and unknown codes.
constexpr bool IsFamilyA(int code)
{
    return (code >= 1 && code <= 9) || code == 20 || (code >= 30 && code <= 35);
}

constexpr bool IsFamilyB(int code)
{
    return (code >= 10 && code <= 18) || code == 21 || (code >= 40 && code <= 45);
}

// The same element in the other family; codes without a counterpart (0, 19, the special profiles) stay.
constexpr int OtherFamily(int code)
{
    if (code >= 1 && code <= 9)
        return code + 9;
    if (code >= 10 && code <= 18)
        return code - 9;
    if (code == 20)
        return 21;
    if (code == 21)
        return 20;
    return code;
}


// Entry of ElementTypeTable holding the height of a code's element; -1 for codes without a height.
constexpr int ElementTableRow(int code)
{
    if (code >= 1 && code <= 8)
        return code + 2;
    if (code >= 10 && code <= 17)
        return code - 7;
    if (code == 20 || code == 21)
        return 13;
    return -1;
}

// Entry of ElementTypeTable holding a code's price per metre: the closing profiles are priced but
// have no height. -1 for codes the element table does not count.
constexpr int PriceTableRow(int code)
{
    return IsClosing(code) ? 11 : ElementTableRow(code);
}

// Language entry of the element's word, or -1 when the code has none (0, 19 and unknown codes).
constexpr int ElementWordEntry(int code)
{
    if (code >= 1 && code <= 8)
        return text::kPanel1x13 + (code - 1);
    if (code >= 10 && code <= 17)
        return text::kPanel1x13 + (code - 10);
    if (IsClosing(code))
        return text::kClosingProfile;
    if (code == 20 || code == 21)
        return text::kFixedProfile;
    if (code >= 30 && code <= 35)
        return text::kSpecialProfile1 + (code - 30);
    if (code >= 40 && code <= 45)
        return text::kSpecialProfile1 + (code - 40);
    return -1;
}

// Language entry of the family word of a code with a word, or of a layout.
constexpr int FamilyWordEntry(int code)
{
    return IsFamilyA(code) ? text::kFamilyA : text::kFamilyB;
}
constexpr int LayoutFamilyWordEntry(Layout layout)
{
    return Number(layout) >= 3 ? text::kFamilyB : text::kFamilyA;
}

// Centimetres the frame adds to the stack height: only a closed frame of sign type 1 or 2 has one.
constexpr long double FrameAllowanceCm(Layout layout, SignType signType)
{
    if (!HasClosedFrame(layout))
        return 0;
    if (signType == SignType::NarrowFrame)
        return 1.5L;
    if (signType == SignType::WideFrame)
        return 2.5L;
    return 0;
}

} // namespace tablix
