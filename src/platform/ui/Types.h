#pragma once
// The platform's plain geometry records and integer helpers. Rectangles exclude their right
// and bottom edges, as the platform's do.
#include <cstdint>

struct TPoint {
    int X = 0;
    int Y = 0;

    constexpr bool operator==(const TPoint&) const = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;

    constexpr bool operator==(const TSize&) const = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    constexpr TPoint BottomRight() const { return {Right, Bottom}; }
    // Empty when it has no area; a rectangle with Right < Left is empty too.
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    // Right and bottom edges are outside.
    constexpr bool Contains(TPoint P) const { return P.X >= Left && P.X < Right && P.Y >= Top && P.Y < Bottom; }
    constexpr void Offset(int DX, int DY)
    {
        Left += DX;
        Right += DX;
        Top += DY;
        Bottom += DY;
    }
    // Grows each side outwards by DX/DY (shrinks for negative values).
    constexpr void Inflate(int DX, int DY)
    {
        Left -= DX;
        Right += DX;
        Top -= DY;
        Bottom += DY;
    }
    // The common part; the all-zero rectangle when they do not overlap.
    constexpr TRect Intersected(const TRect& R) const
    {
        const TRect result{Left > R.Left ? Left : R.Left, Top > R.Top ? Top : R.Top,
                           Right < R.Right ? Right : R.Right, Bottom < R.Bottom ? Bottom : R.Bottom};
        return result.IsEmpty() ? TRect{} : result;
    }
    // The smallest rectangle holding both; an empty operand does not count.
    constexpr TRect United(const TRect& R) const
    {
        if (R.IsEmpty())
            return IsEmpty() ? TRect{} : *this;
        if (IsEmpty())
            return R;
        return {Left < R.Left ? Left : R.Left, Top < R.Top ? Top : R.Top,
                Right > R.Right ? Right : R.Right, Bottom > R.Bottom ? Bottom : R.Bottom};
    }

    constexpr bool operator==(const TRect&) const = default;
};

constexpr TPoint Point(int X, int Y) { return {X, Y}; }
constexpr TRect Rect(int Left, int Top, int Right, int Bottom) { return {Left, Top, Right, Bottom}; }
constexpr TRect Bounds(int Left, int Top, int Width, int Height) { return {Left, Top, Left + Width, Top + Height}; }

// The platform's rectangle calls: each returns whether the result is non-empty.
constexpr bool IntersectRect(TRect& Dest, const TRect& A, const TRect& B)
{
    Dest = A.Intersected(B);
    return !Dest.IsEmpty();
}
constexpr bool UnionRect(TRect& Dest, const TRect& A, const TRect& B)
{
    Dest = A.United(B);
    return !Dest.IsEmpty();
}
constexpr bool PtInRect(const TRect& R, TPoint P) { return R.Contains(P); }

// A * B / C computed in 64 bits and rounded half away from zero; -1 when C is 0 or the result
// does not fit in 32 bits, as the platform answers.
int MulDiv(int A, int B, int C);
