#pragma once
// The one place where the library reaches the platform's window, drawing, string and variant
// services: thin routines the grids and edit controls call instead of the platform directly,
// two dataset helpers and a memory stream that grows in coarse steps.
#include "platform/core/Persistent.h"
#include "platform/core/Stream.h"
#include "platform/core/String.h"
#include "platform/core/Variant.h"
#include "platform/data/DataTypes.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Region.h"
#include "platform/ui/Types.h"

#include <bitset>
#include <cstdint>
#include <span>

class TBitmap;
class TDataSet;
class TDataSource;

// --- Type conversions ---------------------------------------------------------------------

// Bit Ch of a set of the 256 single-byte characters; characters beyond it are never members.
bool CharSetContains(Char Ch, const std::bitset<256>& Set);
inline void* PersistentAsPointer(TPersistent* Persistent) { return Persistent; }
inline std::intptr_t PointerAsInteger(const void* Pointer) { return reinterpret_cast<std::intptr_t>(Pointer); }

// --- Text output --------------------------------------------------------------------------

// DrawText with the first Count characters of Text (-1: all of it); returns the text height.
int DrawTextOnDC(TCanvas* DC, const String& Text, int Count, TRect& Rect, unsigned Format);
// DrawTextEx on a copy of Params, so the caller's record keeps its length drawn.
int DrawTextExOnDC(TCanvas* DC, const String& Text, int Count, TRect& Rect, unsigned Format, TDrawTextParams Params);
// ExtTextOut with the first Count characters of Text (-1: all of it).
bool ExtTextOutOnDC(TCanvas* DC, int X, int Y, unsigned Options, const TRect* Rect, const String& Text, int Count);

// --- Messages and windows -----------------------------------------------------------------

LRESULT SendMessageWithPointer(TControl* Wnd, unsigned Msg, WPARAM WParam, const void* Pointer);
// LParam points at the text's UTF-16 characters for the duration of the call.
LRESULT SendMessageWithText(TControl* Wnd, unsigned Msg, WPARAM WParam, const String& Text);
// Rect nullptr: the whole client area. Erasing is part of every repaint here.
void InvalidateWindowRect(TWinControl* Wnd, const TRect* Rect, bool Erase);
// Moves the pixels of ScrollRect (whole client when nullptr) clipped to ClipRect by (DX, DY).
void ScrollWindowAreaEx(TWinControl* Wnd, int DX, int DY, const TRect* ScrollRect, const TRect* ClipRect, unsigned Flags);
// As ScrollWindowAreaEx, with the uncovered part invalidated.
void ScrollWindowArea(TWinControl* Wnd, int DX, int DY, const TRect* ScrollRect, const TRect* ClipRect);
// EM_GETSEL: the edit answers the selection's start and end through the two pointers.
void GetEditSelection(TWinControl* Wnd, int* StartPtr, int* EndPtr);

// --- Geometry -----------------------------------------------------------------------------

// A point packed in a message parameter: x in the low 16 bits, y in the high 16 bits.
struct TSmallPoint {
    std::int16_t x = 0;
    std::int16_t y = 0;

    constexpr bool operator==(const TSmallPoint&) const = default;
};

inline void CopyRectOut(TRect& Dest, const TRect& Source) { Dest = Source; }
inline void AssignRect(TRect& Dest, const TRect& Source) { Dest = Source; }
inline void ZeroRect(TRect& Rect) { Rect = TRect{}; }
LPARAM SmallPointToLParam(TSmallPoint Point);
TSmallPoint LParamToSmallPoint(LPARAM Value);
// The polygon through the first Count points, filled by FillMode (ALTERNATE or WINDING).
TRegion CreatePolygonRegion(std::span<const TPoint> Points, int Count, int FillMode);

// --- Strings, resources and variants ------------------------------------------------------

String UpperCaseText(const String& S);
String LowerCaseText(const String& S);
// <0, 0, >0 by the Chinese collation, with or without case.
int CompareTextWithCase(const String& S1, const String& S2);
int CompareTextNoCase(const String& S1, const String& S2);
// Loads the named bitmap resource into Bitmap (EResNotFound when absent).
void LoadResourceIntoBitmap(TBitmap* Bitmap, const String& Name);
// Moves the high bound of a one-dimensional variant array.
void ResizeVariantArray(Variant& V, int HighBound);

// --- Datasets -----------------------------------------------------------------------------

// The dataset's CompareBookmarks on two bookmarks: <0, 0 or >0.
int CompareBookmarkStrings(const TDataSet* DataSet, const TBookmark& A, const TBookmark& B);

// A data-source property of a dataset, such as &TDataSet::MasterSource.
using TDataSourceProperty = TDataSource* (TDataSet::*)() const;
// The dataset of the data source that Property of DataSet holds; nullptr when there is no
// property, no data source in it, or reading it fails.
TDataSet* DataSetBehindSourceProperty(const TDataSet* DataSet, TDataSourceProperty Property);

// --- Memory stream ------------------------------------------------------------------------

// A memory stream that grows in steps of twice its half growth step, so that writing a large
// export run by run reallocates rarely.
class TMemoryStreamEh : public TMemoryStream {
public:
    // Set it before writing: the clipboard copy takes 65536 (steps of 128 KB).
    int HalfMemoryDelta() const { return FHalfMemoryDelta; }
    void SetHalfMemoryDelta(int Value) { FHalfMemoryDelta = Value; }

protected:
    void* Realloc(std::int64_t& NewCapacity) override;

private:
    int FHalfMemoryDelta = 4096;
};
