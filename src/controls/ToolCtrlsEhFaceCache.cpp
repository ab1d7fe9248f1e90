// The shared face cache: each distinct face is rendered once into a bitmap and copied from
// there afterwards, since grids paint many identical buttons per paint.
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
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas->Brush()->SetColor(clBtnFace);
        Canvas->FillRect(Face);
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
