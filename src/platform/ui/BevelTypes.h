#pragma once
// The bevel settings shared by panels and bevelled windows.
#include "platform/ui/SmallSet.h"

// A bevel's cut: none, sunk into the surface, raised from it, or a plain band.
enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
// How a window's bevel looks: none at all, the classic 3-D tiles, their soft variant, or flat.
enum class TBevelKind { bkNone, bkTile, bkSoft, bkFlat };
using TBevelEdges = TSmallSet<struct TBevelEdgesTag>;
constexpr TBevelEdges beLeft{0x1};
constexpr TBevelEdges beTop{0x2};
constexpr TBevelEdges beRight{0x4};
constexpr TBevelEdges beBottom{0x8};
