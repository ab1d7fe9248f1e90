#pragma once
// TImageList: a row of same-sized pictures, optionally masked, drawn by index in the
// platform's styles (normal, mask, blended when selected or focused).
#include "platform/core/Component.h"
#include "platform/ui/Colors.h"

#include <QImage>

#include <vector>

class TBitmap;
class TCanvas;

enum class TImageType { itImage, itMask };

// ImageList_DrawEx styles.
enum : unsigned {
    ILD_NORMAL = 0x0,
    ILD_TRANSPARENT = 0x1,
    ILD_BLEND25 = 0x2,
    ILD_FOCUS = ILD_BLEND25,
    ILD_BLEND50 = 0x4,
    ILD_SELECTED = ILD_BLEND50,
    ILD_MASK = 0x10,
};

class TImageList;

// One listener of an image list's changes: registered with the list, told through OnChange.
// A link unregisters itself when freed; a freed list leaves its links without a sender.
class TChangeLink {
public:
    TChangeLink() = default;
    ~TChangeLink();
    TChangeLink(const TChangeLink&) = delete;
    TChangeLink& operator=(const TChangeLink&) = delete;

    TImageList* Sender() const { return FSender; }
    TNotifyEvent OnChange;

private:
    friend class TImageList;
    TImageList* FSender = nullptr;
};

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* AOwner);
    ~TImageList() override;

    // Changing the size removes every image.
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    // Colour behind the images; clNone draws them transparently.
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor Value);
    // Colour Draw blends images towards in the blended styles; clNone: none.
    TColor BlendColor() const { return FBlendColor; }
    void SetBlendColor(TColor Value);
    TImageType ImageType() const { return FImageType; }
    void SetImageType(TImageType Value);
    int Count() const { return static_cast<int>(FImages.size()); }

    // Adds Image cut into Width-wide pieces; Mask (may be nullptr) marks transparent pixels in
    // white. Returns the index of the first piece.
    int Add(TBitmap* Image, TBitmap* Mask);
    // As Add, with the pixels of MaskColor transparent.
    int AddMasked(TBitmap* Image, TColor MaskColor);
    void Clear();

    // Draws in the list's own colours and image type; disabled images are greyed.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
    // The platform's ImageList_DrawEx: DX/DY of 0 take the image's size; Bk and Fg are colours,
    // CLR_NONE or CLR_DEFAULT (the list's BkColor, resp. clHighlight). A blend with Fg CLR_NONE
    // draws the image half transparent over what is there.
    bool DrawEx(TCanvas* Canvas, int Index, int X, int Y, int DX, int DY, TColor Bk, TColor Fg, unsigned Style);

    // The picture of one image with transparent pixels cleared (alpha 0).
    QImage Image(int Index) const;

    TNotifyEvent OnChange;
    // Link hears every later change, after OnChange; a link registered elsewhere moves here.
    void RegisterChanges(TChangeLink* Link);
    void UnRegisterChanges(TChangeLink* Link);

protected:
    const char* ClassName() const override { return "TImageList"; }

private:
    void Changed();

    int FWidth = 16;
    int FHeight = 16;
    TColor FBkColor = clNone;
    TColor FBlendColor = clNone;
    TImageType FImageType = TImageType::itImage;
    std::vector<QImage> FImages;
    std::vector<TChangeLink*> FChangeLinks;
};
