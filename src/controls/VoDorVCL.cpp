// The library's thin routines over the platform's drawing, message, text and variant services,
// the two dataset helpers and the coarse-step memory stream.
#include "controls/VoDorVCL.h"

#include "platform/core/Collation.h"
#include "platform/core/SysUtils.h"
#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "platform/ui/Bitmap.h"

namespace {

// The first Count characters; -1 (or any count past the end) means the whole text.
String LeadingText(const String& Text, int Count) { return Count < 0 ? Text : Text.left(Count); }

}  // namespace

bool CharSetContains(Char Ch, const std::bitset<256>& Set) { return Ch.unicode() < Set.size() && Set[Ch.unicode()]; }

int DrawTextOnDC(TCanvas* DC, const String& Text, int Count, TRect& Rect, unsigned Format)
{
    return DC->DrawText(LeadingText(Text, Count), Rect, Format);
}

int DrawTextExOnDC(TCanvas* DC, const String& Text, int Count, TRect& Rect, unsigned Format, TDrawTextParams Params)
{
    return DC->DrawTextEx(LeadingText(Text, Count), Rect, Format, &Params);
}

bool ExtTextOutOnDC(TCanvas* DC, int X, int Y, unsigned Options, const TRect* Rect, const String& Text, int Count)
{
    return DC->ExtTextOut(X, Y, Options, Rect, LeadingText(Text, Count));
}

LRESULT SendMessageWithPointer(TControl* Wnd, unsigned Msg, WPARAM WParam, const void* Pointer)
{
    return SendMessage(Wnd, Msg, WParam, reinterpret_cast<LPARAM>(Pointer));
}

LRESULT SendMessageWithText(TControl* Wnd, unsigned Msg, WPARAM WParam, const String& Text)
{
    return SendMessageWithPointer(Wnd, Msg, WParam, Text.utf16());
}

void InvalidateWindowRect(TWinControl* Wnd, const TRect* Rect, bool Erase) { Wnd->InvalidateRect(Rect); }

void ScrollWindowAreaEx(TWinControl* Wnd, int DX, int DY, const TRect* ScrollRect, const TRect* ClipRect, unsigned Flags)
{
    Wnd->ScrollWindowEx(DX, DY, ScrollRect, ClipRect, Flags);
}

void ScrollWindowArea(TWinControl* Wnd, int DX, int DY, const TRect* ScrollRect, const TRect* ClipRect)
{
    Wnd->ScrollWindowEx(DX, DY, ScrollRect, ClipRect, SW_INVALIDATE);
}

void GetEditSelection(TWinControl* Wnd, int* StartPtr, int* EndPtr)
{
    SendMessage(Wnd, EM_GETSEL, reinterpret_cast<WPARAM>(StartPtr), reinterpret_cast<LPARAM>(EndPtr));
}

LPARAM SmallPointToLParam(TSmallPoint Point) { return MAKELPARAM(Point.x, Point.y); }

TSmallPoint LParamToSmallPoint(LPARAM Value)
{
    return {static_cast<std::int16_t>(GET_X_LPARAM(Value)), static_cast<std::int16_t>(GET_Y_LPARAM(Value))};
}

TRegion CreatePolygonRegion(std::span<const TPoint> Points, int Count, int FillMode)
{
    return TRegion(Points.first(static_cast<std::size_t>(Count)), FillMode);
}

String UpperCaseText(const String& S) { return AnsiUpperCase(S); }
String LowerCaseText(const String& S) { return AnsiLowerCase(S); }

int CompareTextWithCase(const String& S1, const String& S2)
{
    return CollateCompare(S1, S2, TCaseSensitivity::Sensitive);
}

int CompareTextNoCase(const String& S1, const String& S2)
{
    return CollateCompare(S1, S2, TCaseSensitivity::Insensitive);
}

void LoadResourceIntoBitmap(TBitmap* Bitmap, const String& Name) { Bitmap->LoadFromResourceName(Name); }

void ResizeVariantArray(Variant& V, int HighBound) { VarArrayRedim(V, HighBound); }

int CompareBookmarkStrings(const TDataSet* DataSet, const TBookmark& A, const TBookmark& B)
{
    return DataSet->CompareBookmarks(A, B);
}

TDataSet* DataSetBehindSourceProperty(const TDataSet* DataSet, TDataSourceProperty Property)
{
    if (DataSet == nullptr || Property == nullptr)
        return nullptr;
    // No master is the answer to any failure: callers treat the dataset as standing alone.
    try {
        const TDataSource* Source = (DataSet->*Property)();
        return Source != nullptr ? Source->DataSet() : nullptr;
    } catch (...) {
        return nullptr;
    }
}

void* TMemoryStreamEh::Realloc(std::int64_t& NewCapacity)
{
    // Rounded up by division, so a step that is no power of two still gives whole steps, and
    // in 64 bits, so capacities near 2 GB do not overflow.
    const std::int64_t Step = 2 * std::int64_t(FHalfMemoryDelta);
    if (Step > 0 && NewCapacity > 0 && NewCapacity != Size())
        NewCapacity = (NewCapacity + Step - 1) / Step * Step;
    return ResizeMemory(NewCapacity);
}
