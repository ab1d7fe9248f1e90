// The image list's pictures cut, masked and blended, drawn by index, with its change links.
#include "platform/ui/ImageList.h"

#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/QtConvert.h"

#include <QPainter>

#include <algorithm>
#include <functional>

namespace {

// Image's Width x Height pieces, left to right, with the pixels Transparent says cleared.
std::vector<QImage> Pieces(const QImage& Image, int Width, int Height, const std::function<bool(int, int)>& Transparent)
{
    std::vector<QImage> pieces;
    const int count = std::max(1, Image.width() / Width);
    for (int index = 0; index < count; ++index) {
        QImage piece = Image.copy(index * Width, 0, Width, Height).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < piece.height(); ++y)
            for (int x = 0; x < piece.width(); ++x)
                if (Transparent(index * Width + x, y))
                    piece.setPixel(x, y, 0);
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

// Each opaque pixel moved Percent of the way towards Color.
void Blend(QImage& Image, TColor Color, int Percent)
{
    const TColor target = ColorToRGB(Color);
    const auto mix = [Percent](int from, int to) { return (from * (100 - Percent) + to * Percent) / 100; };
    for (int y = 0; y < Image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(Image.scanLine(y));
        for (int x = 0; x < Image.width(); ++x)
            if (qAlpha(line[x]) != 0)
                line[x] = qRgb(mix(qRed(line[x]), GetRValue(target)), mix(qGreen(line[x]), GetGValue(target)),
                               mix(qBlue(line[x]), GetBValue(target)));
    }
}

// The mask: black where the image is, white where it is transparent.
QImage MaskOf(const QImage& Image)
{
    QImage mask(Image.size(), QImage::Format_RGB32);
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            mask.setPixel(x, y, qAlpha(Image.pixel(x, y)) != 0 ? 0xFF000000u : 0xFFFFFFFFu);
    return mask;
}

// The dark pixels of Image in one colour: the shape a disabled image is drawn with.
QImage ShapeOf(const QImage& Image, TColor Color)
{
    QImage shape(Image.size(), QImage::Format_ARGB32);
    const QRgb color = ToQRgb(Color);
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x) {
            const QRgb pixel = Image.pixel(x, y);
            shape.setPixel(x, y, qAlpha(pixel) != 0 && qGray(pixel) < 128 ? color : 0u);
        }
    return shape;
}

TColor ListColor(TColor Color)
{
    return Color == clNone ? CLR_NONE : Color;
}

}  // namespace

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}

TImageList::~TImageList()
{
    for (TChangeLink* link : FChangeLinks)
        link->FSender = nullptr;
}

TChangeLink::~TChangeLink()
{
    if (FSender != nullptr)
        FSender->UnRegisterChanges(this);
}

void TImageList::RegisterChanges(TChangeLink* Link)
{
    if (Link->FSender == this)
        return;
    if (Link->FSender != nullptr)
        Link->FSender->UnRegisterChanges(Link);
    Link->FSender = this;
    FChangeLinks.push_back(Link);
}

void TImageList::UnRegisterChanges(TChangeLink* Link)
{
    std::erase(FChangeLinks, Link);
    if (Link->FSender == this)
        Link->FSender = nullptr;
}

void TImageList::SetWidth(int Value)
{
    if (Value == FWidth || Value <= 0)
        return;
    FWidth = Value;
    Clear();
}

void TImageList::SetHeight(int Value)
{
    if (Value == FHeight || Value <= 0)
        return;
    FHeight = Value;
    Clear();
}

void TImageList::SetBkColor(TColor Value)
{
    if (Value == FBkColor)
        return;
    FBkColor = Value;
    Changed();
}

void TImageList::SetBlendColor(TColor Value)
{
    if (Value == FBlendColor)
        return;
    FBlendColor = Value;
    Changed();
}

void TImageList::SetImageType(TImageType Value)
{
    if (Value == FImageType)
        return;
    FImageType = Value;
    Changed();
}

int TImageList::Add(TBitmap* Image, TBitmap* Mask)
{
    if (Image == nullptr || Image->Empty())
        return -1;
    const QImage mask = Mask != nullptr ? Mask->Image() : QImage();
    const auto transparent = [&mask](int x, int y) {
        return mask.valid(x, y) && (mask.pixel(x, y) & 0xFFFFFFu) != 0;
    };
    const int first = Count();
    for (QImage& piece : Pieces(Image->Image(), FWidth, FHeight, transparent))
        FImages.push_back(std::move(piece));
    Changed();
    return first;
}

int TImageList::AddMasked(TBitmap* Image, TColor MaskColor)
{
    if (Image == nullptr || Image->Empty())
        return -1;
    const QImage& image = Image->Image();
    const QRgb key = ToQRgb(MaskColor) & 0xFFFFFFu;
    const auto transparent = [&image, key](int x, int y) { return (image.pixel(x, y) & 0xFFFFFFu) == key; };
    const int first = Count();
    for (QImage& piece : Pieces(image, FWidth, FHeight, transparent))
        FImages.push_back(std::move(piece));
    Changed();
    return first;
}

void TImageList::Clear()
{
    FImages.clear();
    Changed();
}

QImage TImageList::Image(int Index) const
{
    return Index >= 0 && Index < Count() ? FImages[static_cast<std::size_t>(Index)] : QImage();
}

void TImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled)
{
    if (Enabled) {
        DrawEx(Canvas, Index, X, Y, 0, 0, ListColor(FBkColor), ListColor(FBlendColor),
               FImageType == TImageType::itMask ? ILD_MASK : ILD_NORMAL);
        return;
    }
    QPainter* painter = Canvas != nullptr ? Canvas->StylePainter() : nullptr;
    if (painter == nullptr || Index < 0 || Index >= Count())
        return;
    // Disabled: the image's shape embossed, as the platform greys it.
    const QImage& image = FImages[static_cast<std::size_t>(Index)];
    painter->drawImage(X + 1, Y + 1, ShapeOf(image, clBtnHighlight));
    painter->drawImage(X, Y, ShapeOf(image, clBtnShadow));
}

bool TImageList::DrawEx(TCanvas* Canvas, int Index, int X, int Y, int DX, int DY, TColor Bk, TColor Fg, unsigned Style)
{
    if (Index < 0 || Index >= Count())
        return false;
    QPainter* painter = Canvas != nullptr ? Canvas->StylePainter() : nullptr;
    if (painter == nullptr)
        return true;
    const int width = DX > 0 ? std::min(DX, FWidth) : FWidth;
    const int height = DY > 0 ? std::min(DY, FHeight) : FHeight;
    QImage image = FImages[static_cast<std::size_t>(Index)].copy(0, 0, width, height);
    if ((Style & ILD_MASK) != 0) {
        painter->drawImage(X, Y, MaskOf(image));
        return true;
    }
    const TColor background = Bk == CLR_DEFAULT ? ListColor(FBkColor) : Bk;
    if (background != CLR_NONE && (Style & ILD_TRANSPARENT) == 0)
        painter->fillRect(QRect(X, Y, width, height), ToQColor(background));
    const int percent = (Style & ILD_BLEND50) != 0 ? 50 : (Style & ILD_BLEND25) != 0 ? 25 : 0;
    const TColor foreground = Fg == CLR_DEFAULT ? clHighlight : Fg;
    painter->save();
    if (percent != 0 && foreground != CLR_NONE)
        Blend(image, foreground, percent);
    else if (percent != 0)
        painter->setOpacity(1.0 - percent / 100.0);  // no blend colour: towards what is behind
    painter->drawImage(X, Y, image);
    painter->restore();
    return true;
}

void TImageList::Changed()
{
    if (OnChange)
        OnChange(this);
    // A listener may unregister or free links while it is told: only those still registered hear.
    const std::vector<TChangeLink*> links = FChangeLinks;
    for (TChangeLink* link : links)
        if (std::ranges::find(FChangeLinks, link) != FChangeLinks.end() && link->OnChange)
            link->OnChange(this);
}
