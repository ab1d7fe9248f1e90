#pragma once
// A small set of flags, for the platform's sets whose members combine (shift state, control
// style and state, anchors). Each set is its own type through Tag, so members of different sets
// never mix.
#include <cstdint>

template <class Tag>
class TSmallSet {
public:
    constexpr TSmallSet() = default;
    constexpr explicit TSmallSet(std::uint32_t Bits) : FBits(Bits) {}
    // True when every member of Members is in the set.
    constexpr bool Contains(TSmallSet Members) const { return Members.FBits != 0 && (FBits & Members.FBits) == Members.FBits; }
    constexpr bool Intersects(TSmallSet Members) const { return (FBits & Members.FBits) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr void Include(TSmallSet Members) { FBits |= Members.FBits; }
    constexpr void Exclude(TSmallSet Members) { FBits &= ~Members.FBits; }
    constexpr TSmallSet operator|(TSmallSet Other) const { return TSmallSet(FBits | Other.FBits); }
    constexpr TSmallSet operator&(TSmallSet Other) const { return TSmallSet(FBits & Other.FBits); }
    constexpr TSmallSet operator-(TSmallSet Other) const { return TSmallSet(FBits & ~Other.FBits); }
    constexpr bool operator==(const TSmallSet&) const = default;
    constexpr std::uint32_t Bits() const { return FBits; }

private:
    std::uint32_t FBits = 0;
};
