// The shared face cache: each distinct face is rendered once into a bitmap and copied from
// there afterwards, since grids paint many identical buttons per paint.
#include "controls/ToolCtrlsEh.h"

#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/LookChanges.h"

#include <algorithm>

namespace {

// Key as stored: negative sizes become 0 (an empty face).
TButtonBitmapKeyEh StoredKey(TButtonBitmapKeyEh Key)
{
    Key.Width = std::max(Key.Width, 0);
    Key.Height = std::max(Key.Height, 0);
    return Key;
}

// Renders the face Key describes into Bitmap.
void RenderFace(TBitmap* Bitmap, const TButtonBitmapKeyEh& Key)
{
    if (Key.Width == 0 || Key.Height == 0)
        return;
    Bitmap->SetSize(Key.Width, Key.Height);
    TCanvas* Canvas = Bitmap->Canvas();
    const TRect Face = Rect(0, 0, Key.Width, Key.Height);
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Brush()->SetColor(clBtnFace);
    Canvas->FillRect(Face);
    if (Key.DrawStyle == TDrawButtonStyleEh::dbsCheckBoxEh)
        PaintCheckBoxFace(Canvas, Face, Key.CheckState, Key.Hot, Key.Pressed, Key.Flat, Key.Enabled);
    else
        PaintStyledButtonFace(Canvas, Key.DrawStyle, Face, Key.DownHalf, Key.Pressed, Key.Hot, Key.Flat, Key.Enabled);
}

}  // namespace

// --- Cache --------------------------------------------------------------------------------

TButtonBitmapInfoBitmapEh::TButtonBitmapInfoBitmapEh(const TButtonBitmapKeyEh& Key)
    : FKey(StoredKey(Key)), FBitmap(std::make_unique<TBitmap>())
{
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
    const TButtonBitmapKeyEh Stored = StoredKey(Key);
    for (const auto& Entry : FEntries)
        if (Entry->Key() == Stored)
            return Entry->Bitmap();

    auto Entry = std::make_unique<TButtonBitmapInfoBitmapEh>(Stored);
    TBitmap* Bitmap = Entry->Bitmap();
    RenderFace(Bitmap, Stored);
    FEntries.push_back(std::move(Entry));
    return Bitmap;
}

void TButtonsBitmapCache::Clear() { FEntries.clear(); }

TButtonsBitmapCache& ButtonsBitmapCache()
{
    // Faces drawn in the old colours or style are stale once the look changes.
    static TButtonsBitmapCache Cache = [] {
        HookApplicationWindow([](TMessage&) {
            FlushButtonBitmapCache();
            return false;
        });
        return TButtonsBitmapCache();
    }();
    return Cache;
}

void FlushButtonBitmapCache() { ButtonsBitmapCache().Clear(); }
