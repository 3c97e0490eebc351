// What a sign's layout and sign type bytes mean. Both are stored as one byte and a damaged file
// may hold any value, so every test of them copes with values outside the named ones.
#pragma once

#include <cstdint>

namespace tablix {

// What holds the rows, and which profile family the sign is built of.
enum class Layout : std::uint8_t {
    ClosedFrameA = 1,
    SidePostsA = 2,
    ClosedFrameB = 3,
    SidePostsB = 4,
};

// The frame profile, and with it the allowances at the ends of every row.
enum class SignType : std::uint8_t {
    NarrowFrame = 1,
    WideFrame = 2,
    ClosingProfile = 3,
    DoubleSided = 4,
    SpecialFrame = 5,
    SpecialDoubleSided = 6,
};

constexpr int Number(Layout l)
{
    return int(l);
}
constexpr int Number(SignType t)
{
    return int(t);
}

constexpr bool IsKnown(Layout l)
{
    return Number(l) >= 1 && Number(l) <= 4;
}
constexpr bool IsKnown(SignType t)
{
    return Number(t) >= 1 && Number(t) <= 6;
}

constexpr bool HasClosedFrame(Layout l)
{
    return l == Layout::ClosedFrameA || l == Layout::ClosedFrameB;
}
constexpr bool HasSidePosts(Layout l)
{
    return l == Layout::SidePostsA || l == Layout::SidePostsB;
}
constexpr bool IsFamilyA(Layout l)
{
    return l == Layout::ClosedFrameA || l == Layout::SidePostsA;
}

// The types whose rows are panels with priced ends (the others take special profiles).
constexpr bool IsPanelType(SignType t)
{
    return Number(t) >= 1 && Number(t) <= 4;
}

// The same holder in the other family; an unknown layout stays as it is.
constexpr Layout OtherFamilyLayout(Layout l)
{
    switch (l) {
    case Layout::ClosedFrameA: return Layout::ClosedFrameB;
    case Layout::SidePostsA: return Layout::SidePostsB;
    case Layout::ClosedFrameB: return Layout::ClosedFrameA;
    case Layout::SidePostsB: return Layout::SidePostsA;
    }
    return l;
}

} // namespace tablix
