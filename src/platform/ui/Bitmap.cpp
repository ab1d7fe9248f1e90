// A bitmap's image and the canvas drawing on it: size, transparency and resources.
#include "platform/ui/Bitmap.h"

#include "platform/ui/QtConvert.h"

#include <QPainter>

// A bitmap's canvas draws on the bitmap's image.
class TBitmap::TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& Bitmap) : FBitmap(Bitmap) {}
    using TCanvas::ReleaseDevice;

protected:
    QImage* DeviceImage() const override { return &FBitmap.FImage; }

private:
    TBitmap& FBitmap;
};

TBitmap::TBitmap() : FCanvas(std::make_unique<TBitmapCanvas>(*this))
{
    FCanvas->OnChange = [this](TObject*) { Changed(); };
}

TBitmap::TBitmap(int Width, int Height) : TBitmap()
{
    SetSize(Width, Height);
}

TBitmap::~TBitmap() = default;

void TBitmap::Assign(TPersistent* Source)
{
    auto* bitmap = dynamic_cast<TBitmap*>(Source);
    if (bitmap == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    FTransparent = bitmap->FTransparent;
    FTransparentColor = bitmap->FTransparentColor;
    FTransparentMode = bitmap->FTransparentMode;
    FPixelFormat = bitmap->FPixelFormat;
    SetImage(bitmap->Image());
}

TCanvas* TBitmap::Canvas()
{
    return FCanvas.get();
}

void TBitmap::SetSize(int Width, int Height)
{
    if (Width == this->Width() && Height == this->Height())
        return;
    FCanvas->ReleaseDevice();
    QImage image(std::max(Width, 0), std::max(Height, 0), QImage::Format_RGB32);
    if (!image.isNull()) {
        image.fill(Qt::white);
        if (!FImage.isNull()) {
            QPainter painter(&image);
            painter.drawImage(0, 0, FImage);
        }
    }
    FImage = image;
    Changed();
}

void TBitmap::SetTransparent(bool Value)
{
    if (Value == FTransparent)
        return;
    FTransparent = Value;
    Changed();
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentMode == TTransparentMode::tmFixed)
        return FTransparentColor;
    return Empty() ? clDefault : FCanvas->Pixels(0, Height() - 1);
}

void TBitmap::SetTransparentColor(TColor Value)
{
    if (Value == FTransparentColor)
        return;
    FTransparentColor = Value;
    FTransparentMode = Value == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value)
{
    if (Value == FTransparentMode)
        return;
    FTransparentMode = Value;
    if (Value == TTransparentMode::tmAuto)
        FTransparentColor = clDefault;
    Changed();
}

void TBitmap::LoadFromResourceName(const String& ResName)
{
    const QImage image(QStringLiteral(":/bitmaps/") + ResName);
    if (image.isNull())
        throw EResNotFound(QStringLiteral("找不到资源 %1").arg(ResName));
    SetImage(image);
}

const QImage& TBitmap::Image() const
{
    FCanvas->ReleaseDevice();  // a copy taken now must not see later drawing
    return FImage;
}

void TBitmap::SetImage(const QImage& Value)
{
    FCanvas->ReleaseDevice();
    FImage = Value.convertToFormat(QImage::Format_RGB32);
    Changed();
}

QImage TBitmap::MaskedImage() const
{
    QImage result = Image().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQRgb(TransparentColor()) & 0xFFFFFFu;
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            if ((line[x] & 0xFFFFFFu) == key)
                line[x] = 0;
    }
    return result;
}

void TBitmap::Changed()
{
    if (OnChange)
        OnChange(this);
}
