#pragma once
// The drawing tools a canvas holds: font, pen and brush. Each tells its owner through OnChange
// when one of its properties changes, as the platform's graphics objects do.
#include "platform/core/Persistent.h"
#include "platform/core/String.h"
#include "platform/ui/Colors.h"

#include <QFont>
#include <QFontMetrics>

#include <cstdint>
#include <initializer_list>
#include <optional>

// Base of TFont, TPen and TBrush.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    void Changed();
    const char* ClassName() const override { return "TGraphicsObject"; }
};

enum class TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A set of font styles.
class TFontStyles {
public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(std::initializer_list<TFontStyle> styles)
    {
        for (TFontStyle style : styles)
            Include(style);
    }
    constexpr bool Contains(TFontStyle S) const { return (FBits & static_cast<std::uint8_t>(S)) != 0; }
    constexpr void Include(TFontStyle S) { FBits |= static_cast<std::uint8_t>(S); }
    constexpr void Exclude(TFontStyle S) { FBits &= static_cast<std::uint8_t>(~static_cast<std::uint8_t>(S)); }
    constexpr bool operator==(const TFontStyles&) const = default;

private:
    std::uint8_t FBits = 0;
};

enum class TFontPitch { fpDefault, fpVariable, fpFixed };

using TFontCharset = std::uint8_t;
enum : TFontCharset { ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, GB2312_CHARSET = 134 };

// The platform's TEXTMETRIC, the members the system reads (pixels).
struct TTextMetric {
    int tmHeight = 0;           // ascent + descent: the height of a line
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;  // tmHeight minus the character (em) height
    int tmExternalLeading = 0;  // the gap the font asks for between lines
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
};

// Logical pixels per inch of the screen, the platform's Screen.PixelsPerInch.
constexpr int ScreenPixelsPerInch = 96;

class TFont : public TGraphicsObject {
public:
    // The default font: the system's user-interface font at 9 points, black.
    TFont();

    void Assign(TPersistent* Source) override;

    const String& Name() const { return FName; }
    void SetName(const String& Value);
    // Points; derived from Height.
    int Size() const;
    void SetSize(int Value);
    // Pixels: negative = character (em) height, positive = cell height (ascent + descent).
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset Value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);
    int PixelsPerInch() const { return ScreenPixelsPerInch; }

    // Measures without a canvas (FontMeasure.cpp): the advance of Text on one line, and the
    // height of Text wrapped at word breaks into lines of Width pixels.
    int TextAdvance(const String& Text) const;
    int WrappedTextHeight(const String& Text, int Width) const;

    // The Qt font, its metrics and the platform's metrics, built on first use after a change.
    TTextMetric Metrics() const;
    const QFont& Handle() const;
    const QFontMetrics& FontMetrics() const;

protected:
    const char* ClassName() const override { return "TFont"; }

private:
    void FontChanged();

    String FName;
    int FHeight;
    TColor FColor = clWindowText;
    TFontStyles FStyle;
    TFontCharset FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = TFontPitch::fpDefault;
    mutable std::optional<QFont> FHandle;
    mutable std::optional<QFontMetrics> FMetrics;
    mutable std::optional<TTextMetric> FTextMetric;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// The platform's binary raster operations, in their order (R2_BLACK .. R2_WHITE - 1).
enum class TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TGraphicsObject {
public:
    void Assign(TPersistent* Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // Pixels; 0 and 1 both draw one pixel wide.
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode Value);

protected:
    const char* ClassName() const override { return "TPen"; }

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = TPenStyle::psSolid;
    TPenMode FMode = TPenMode::pmCopy;
};

enum class TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
public:
    void Assign(TPersistent* Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);

protected:
    const char* ClassName() const override { return "TBrush"; }

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = TBrushStyle::bsSolid;
};
