// The drawing tools a canvas holds: font, pen and brush.
#include "platform/ui/Graphics.h"

#include "platform/ui/FontFaces.h"
#include "platform/ui/Types.h"

#include <cmath>

void TGraphicsObject::Changed()
{
    if (OnChange)
        OnChange(this);
}

namespace {

constexpr int DefaultFontSize = 9;

// Height 0 asks for the default size.
int HeightOrDefault(int Height) { return Height != 0 ? Height : -MulDiv(DefaultFontSize, ScreenPixelsPerInch, 72); }

// A font's pixel size giving a cell (ascent + descent) of CellHeight pixels.
int PixelSizeForCell(QFont Font, int CellHeight)
{
    constexpr int probeSize = 100;
    Font.setPixelSize(probeSize);
    const QFontMetrics probe(Font);
    const int cell = probe.ascent() + probe.descent();
    return std::max(1, static_cast<int>(std::lround(static_cast<double>(CellHeight) * probeSize / cell)));
}

}  // namespace

TFont::TFont() : FName(DefaultFontName), FHeight(HeightOrDefault(0)) {}

void TFont::Assign(TPersistent* Source)
{
    auto* font = dynamic_cast<TFont*>(Source);
    if (font == nullptr) {
        TGraphicsObject::Assign(Source);
        return;
    }
    FName = font->FName;
    FHeight = font->FHeight;
    FColor = font->FColor;
    FStyle = font->FStyle;
    FCharset = font->FCharset;
    FPitch = font->FPitch;
    FontChanged();
}

void TFont::SetName(const String& Value)
{
    if (Value.isEmpty() || Value == FName)
        return;
    FName = Value;
    FontChanged();
}

int TFont::Size() const
{
    return -MulDiv(FHeight, 72, ScreenPixelsPerInch);
}

void TFont::SetSize(int Value)
{
    SetHeight(-MulDiv(Value, ScreenPixelsPerInch, 72));
}

void TFont::SetHeight(int Value)
{
    if (Value == FHeight)
        return;
    FHeight = Value;
    FontChanged();
}

void TFont::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    Changed();
}

void TFont::SetStyle(TFontStyles Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    FontChanged();
}

void TFont::SetCharset(TFontCharset Value)
{
    if (Value == FCharset)
        return;
    FCharset = Value;
    Changed();  // Unicode text needs no character set: the Qt font stays as it is
}

void TFont::SetPitch(TFontPitch Value)
{
    if (Value == FPitch)
        return;
    FPitch = Value;
    FontChanged();
}

void TFont::FontChanged()
{
    FHandle.reset();
    FMetrics.reset();
    FTextMetric.reset();
    Changed();
}

const QFont& TFont::Handle() const
{
    if (!FHandle) {
        const int height = HeightOrDefault(FHeight);
        QFont font(InstalledFamily(FName, FPitch));
        font.setFixedPitch(FPitch == TFontPitch::fpFixed);
        font.setBold(FStyle.Contains(TFontStyle::fsBold));
        font.setItalic(FStyle.Contains(TFontStyle::fsItalic));
        font.setUnderline(FStyle.Contains(TFontStyle::fsUnderline));
        font.setStrikeOut(FStyle.Contains(TFontStyle::fsStrikeOut));
        font.setPixelSize(height < 0 ? InstalledPixelSize(-height) : PixelSizeForCell(font, height));
        FHandle = font;
    }
    return *FHandle;
}

const QFontMetrics& TFont::FontMetrics() const
{
    if (!FMetrics)
        FMetrics.emplace(Handle());
    return *FMetrics;
}

TTextMetric TFont::Metrics() const
{
    if (FTextMetric)
        return *FTextMetric;
    const QFontMetrics& metrics = FontMetrics();
    TTextMetric& result = FTextMetric.emplace();
    result.tmAscent = metrics.ascent();
    result.tmDescent = metrics.descent();
    result.tmHeight = result.tmAscent + result.tmDescent;
    // The character height is the one asked for, whatever size its installed face draws at.
    const int height = HeightOrDefault(FHeight);
    const int emHeight = height < 0 ? -height : Handle().pixelSize();
    result.tmInternalLeading = std::max(0, result.tmHeight - emHeight);
    result.tmExternalLeading = std::max(0, metrics.leading());
    result.tmAveCharWidth = metrics.averageCharWidth();
    result.tmMaxCharWidth = metrics.maxWidth();
    return result;
}

void TPen::Assign(TPersistent* Source)
{
    auto* pen = dynamic_cast<TPen*>(Source);
    if (pen == nullptr) {
        TGraphicsObject::Assign(Source);
        return;
    }
    FColor = pen->FColor;
    FWidth = pen->FWidth;
    FStyle = pen->FStyle;
    FMode = pen->FMode;
    Changed();
}

void TPen::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    Changed();
}

void TPen::SetWidth(int Value)
{
    if (Value < 0 || Value == FWidth)
        return;
    FWidth = Value;
    Changed();
}

void TPen::SetStyle(TPenStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Changed();
}

void TPen::SetMode(TPenMode Value)
{
    if (Value == FMode)
        return;
    FMode = Value;
    Changed();
}

void TBrush::Assign(TPersistent* Source)
{
    auto* brush = dynamic_cast<TBrush*>(Source);
    if (brush == nullptr) {
        TGraphicsObject::Assign(Source);
        return;
    }
    FColor = brush->FColor;
    FStyle = brush->FStyle;
    Changed();
}

void TBrush::SetColor(TColor Value)
{
    // A colour given to a clear brush makes it solid again, as on the platform, even when the
    // colour is the one it had.
    if (Value == FColor && FStyle != TBrushStyle::bsClear)
        return;
    FColor = Value;
    FStyle = TBrushStyle::bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Changed();
}
