// PaintButtonFace and the shared cache behind it: each distinct face is rendered once into a
// bitmap and copied from there afterwards, since grids paint many identical buttons per paint.
#include "controls/ToolCtrlsEh.h"

#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <algorithm>

namespace {

// Empties the cache when the look of faces changes: a new palette, style or theme.
class TLookChangeWatch : public QObject {
protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        switch (Event->type()) {
        case QEvent::ApplicationPaletteChange:
        case QEvent::StyleChange:
        case QEvent::ThemeChange:
            FlushButtonBitmapCache();
            break;
        default:
            break;
        }
        return QObject::eventFilter(Watched, Event);
    }
};

bool IsSpinPair(TDrawButtonStyleEh DrawStyle)
{
    return DrawStyle == TDrawButtonStyleEh::dbsUpDownEh || DrawStyle == TDrawButtonStyleEh::dbsAltUpDownEh;
}

// Copies the cached face for Key onto Canvas at the top left of Face.
void CopyFace(TCanvas* Canvas, const TRect& Face, TButtonBitmapKeyEh Key)
{
    if (Face.IsEmpty())
        return;
    Key.Width = Face.Width();
    Key.Height = Face.Height();
    Canvas->Draw(Face.Left, Face.Top, ButtonsBitmapCache().BitmapFor(Key));
}

void FrameWith(TCanvas* Canvas, const TRect& R, TColor Color)
{
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->FrameRect(R);
}

void FillWith(TCanvas* Canvas, const TRect& R, TColor Color)
{
    if (R.IsEmpty())
        return;
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->FillRect(R);
}

TRect Deflated(TRect R, int By)
{
    R.Inflate(-By, -By);
    return R;
}

// The check box: the largest square in Rect, one pixel smaller each side when flat classic.
// Its face is cached unflat: the flat frame is drawn here, around the copy.
void PaintCheckBoxButtonFace(TCanvas* Canvas, const TRect& Rect, TColor FrameColor, TCheckBoxState CheckState,
                             bool Enabled, bool Hot, bool Flat, int PressedPart)
{
    const bool ClassicFlat = Flat && !ThemesActive();
    const int Side = std::min(Rect.Width(), Rect.Height());
    TRect Box = Bounds(Rect.Left + (Rect.Width() - Side) / 2, Rect.Top + (Rect.Height() - Side) / 2, Side, Side);
    if (ClassicFlat)
        Box.Inflate(-1, -1);
    TButtonBitmapKeyEh Key;
    Key.DrawStyle = TDrawButtonStyleEh::dbsCheckBoxEh;
    Key.CheckState = CheckState;
    Key.Pressed = PressedPart != bppNoneEh;
    Key.Hot = Hot;
    Key.Enabled = Enabled;
    CopyFace(Canvas, Box, Key);
    if (!Flat)
        return;
    if (ClassicFlat)
        Box.Inflate(1, 1);
    if (ClassicFlat && Hot)
        Canvas->DrawEdge(Box, BDR_SUNKENOUTER, BF_RECT);
    else
        FrameWith(Canvas, Box, FrameColor);
}

}  // namespace

// --- Cache --------------------------------------------------------------------------------

TButtonBitmapInfoBitmapEh::TButtonBitmapInfoBitmapEh(const TButtonBitmapKeyEh& Key)
    : FKey(Key), FBitmap(std::make_unique<TBitmap>())
{
    FKey.Width = std::max(FKey.Width, 0);
    FKey.Height = std::max(FKey.Height, 0);
}

TButtonBitmapInfoBitmapEh::~TButtonBitmapInfoBitmapEh() = default;

TButtonsBitmapCache::TButtonsBitmapCache() : FThemed(ThemesActive()) {}

TButtonsBitmapCache::~TButtonsBitmapCache() = default;

TBitmap* TButtonsBitmapCache::BitmapFor(const TButtonBitmapKeyEh& Key)
{
    if (ThemesActive() != FThemed) {
        Clear();
        FThemed = ThemesActive();
    }
    TButtonBitmapKeyEh Stored = Key;
    Stored.Width = std::max(Stored.Width, 0);
    Stored.Height = std::max(Stored.Height, 0);
    for (const auto& Entry : FEntries)
        if (Entry->Key() == Stored)
            return Entry->Bitmap();

    auto Entry = std::make_unique<TButtonBitmapInfoBitmapEh>(Stored);
    TBitmap* Bitmap = Entry->Bitmap();
    if (Stored.Width > 0 && Stored.Height > 0) {
        Bitmap->SetSize(Stored.Width, Stored.Height);
        TCanvas* Canvas = Bitmap->Canvas();
        const TRect Face = Rect(0, 0, Stored.Width, Stored.Height);
        FillWith(Canvas, Face, clBtnFace);
        if (Stored.DrawStyle == TDrawButtonStyleEh::dbsCheckBoxEh)
            PaintCheckBoxFace(Canvas, Face, Stored.CheckState, Stored.Hot, Stored.Pressed, Stored.Flat, Stored.Enabled);
        else
            PaintStyledButtonFace(Canvas, Stored.DrawStyle, Face, Stored.DownHalf, Stored.Pressed, Stored.Hot,
                                  Stored.Flat, Stored.Enabled);
    }
    FEntries.push_back(std::move(Entry));
    return Bitmap;
}

void TButtonsBitmapCache::Clear() { FEntries.clear(); }

TButtonsBitmapCache& ButtonsBitmapCache()
{
    static TButtonsBitmapCache Cache = [] {
        // The application frees the watch with itself.
        if (QCoreApplication* App = QCoreApplication::instance()) {
            auto* Watch = new TLookChangeWatch;
            Watch->setParent(App);
            App->installEventFilter(Watch);
        }
        return TButtonsBitmapCache();
    }();
    return Cache;
}

void FlushButtonBitmapCache() { ButtonsBitmapCache().Clear(); }

// --- Faces --------------------------------------------------------------------------------

void PaintButtonFace(TCanvas* Canvas, const TRect& Rect, TColor FrameColor, TCheckBoxState CheckState, bool Enabled,
                     bool Hot, bool Flat, int PressedPart, TDrawButtonStyleEh DrawStyle)
{
    if (Rect.IsEmpty())
        return;
    if (DrawStyle == TDrawButtonStyleEh::dbsCheckBoxEh) {
        PaintCheckBoxButtonFace(Canvas, Rect, FrameColor, CheckState, Enabled, Hot, Flat, PressedPart);
        return;
    }
    // A flat classic face is one pixel smaller each side, inside a frame of FrameColor.
    const bool ClassicFlat = Flat && !Hot && !ThemesActive();
    const int Shrink = ClassicFlat ? 1 : 0;
    TButtonBitmapKeyEh Key;
    Key.DrawStyle = DrawStyle;
    Key.Flat = Flat;
    Key.Hot = Hot;
    Key.Enabled = Enabled;
    if (IsSpinPair(DrawStyle)) {
        const int Half = Rect.Height() / 2;
        Key.Pressed = PressedPart == bppUpperEh;
        CopyFace(Canvas, Deflated(TRect{Rect.Left, Rect.Top, Rect.Right, Rect.Top + Half}, Shrink), Key);
        Key.DownHalf = true;
        Key.Pressed = PressedPart == bppLowerEh;
        CopyFace(Canvas, Deflated(TRect{Rect.Left, Rect.Bottom - Half, Rect.Right, Rect.Bottom}, Shrink), Key);
        // The row between the halves, and for flat classic the rows the halves left out.
        if (ClassicFlat)
            FillWith(Canvas, TRect{Rect.Left, Rect.Top + Half - 1, Rect.Right, Rect.Bottom - Half + 1}.Intersected(Rect),
                     FrameColor);
        else if (Rect.Height() % 2 != 0)
            FillWith(Canvas, TRect{Rect.Left, Rect.Top + Half, Rect.Right, Rect.Bottom - Half}, FrameColor);
    } else {
        Key.Pressed = PressedPart != bppNoneEh;
        CopyFace(Canvas, Deflated(Rect, Shrink), Key);
    }
    if (ClassicFlat)
        FrameWith(Canvas, Rect, FrameColor);
}
