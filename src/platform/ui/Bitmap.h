#pragma once
// TBitmap: an in-memory picture with its own canvas, optionally drawn with one colour
// transparent.
#include "platform/core/Exceptions.h"
#include "platform/core/Persistent.h"
#include "platform/core/String.h"
#include "platform/ui/Canvas.h"

#include <QByteArray>
#include <QImage>

#include <memory>

// A named resource that is not in the program.
class EResNotFound : public Exception {
public:
    using Exception::Exception;
};

enum class TTransparentMode { tmAuto, tmFixed };
// Kept for the callers that set it; pixels are always 32-bit here.
enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

class TBitmap : public TPersistent {
public:
    TBitmap();
    TBitmap(int Width, int Height);
    ~TBitmap() override;

    void Assign(TPersistent* Source) override;

    int Width() const { return FImage.width(); }
    void SetWidth(int Value) { SetSize(Value, Height()); }
    int Height() const { return FImage.height(); }
    void SetHeight(int Value) { SetSize(Width(), Value); }
    // Keeps the pixels that still fit; new pixels are white.
    void SetSize(int Width, int Height);
    bool Empty() const { return FImage.isNull(); }

    TCanvas* Canvas();

    // When set, Draw leaves out the pixels of TransparentColor.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    // tmAuto: the colour of the bottom-left pixel; tmFixed: the colour set.
    TColor TransparentColor() const;
    // Setting a colour switches to tmFixed.
    void SetTransparentColor(TColor Value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode Value);
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat Value) { FPixelFormat = Value; }

    // Loads the picture compiled in under ":/bitmaps/<ResName>"; EResNotFound when absent.
    void LoadFromResourceName(const String& ResName);

    // Decodes a picture in any format the platform reads (BitmapBytes.cpp); a value that holds
    // no picture leaves the bitmap empty and returns false.
    bool LoadFromBytes(const QByteArray& Bytes);

    // The pixels (32-bit, opaque), after everything the canvas drew.
    const QImage& Image() const;
    void SetImage(const QImage& Value);
    // The pixels as drawn: with the transparent colour cleared when Transparent.
    QImage MaskedImage() const;

    TNotifyEvent OnChange;

protected:
    const char* ClassName() const override { return "TBitmap"; }

private:
    class TBitmapCanvas;

    void Changed();

    QImage FImage;
    std::unique_ptr<TBitmapCanvas> FCanvas;
    bool FTransparent = false;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = TTransparentMode::tmAuto;
    TPixelFormat FPixelFormat = TPixelFormat::pfDevice;
};
