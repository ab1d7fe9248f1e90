#pragma once
// TScrollingWinControl: a window that hosts child controls, with the bevel frame a window can carry
// around its client area (edges, inner and outer cut, kind and width).
#include "platform/ui/BevelTypes.h"
#include "platform/ui/Controls.h"

class TScrollingWinControl : public TWinControl {
public:
    explicit TScrollingWinControl(TComponent* AOwner);

    // The bevel frame shows only with a kind other than bkNone; it takes room from the client area.
    TBevelEdges BevelEdges() const { return FBevelEdges; }
    void SetBevelEdges(TBevelEdges Value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    TBevelKind BevelKind() const { return FBevelKind; }
    void SetBevelKind(TBevelKind Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);

protected:
    void Dispatch(TMessage& Message) override;
    const char* ClassName() const override { return "TScrollingWinControl"; }

private:
    // The pixels the frame takes on each bevelled edge.
    int BevelFrameWidth() const;
    void PaintBevels(HDC DC);
    // The frame changed: the client area is laid out and the frame painted again.
    void BevelChanged();

    TBevelEdges FBevelEdges = beLeft | beTop | beRight | beBottom;
    TBevelCut FBevelInner = TBevelCut::bvRaised;
    TBevelCut FBevelOuter = TBevelCut::bvLowered;
    TBevelKind FBevelKind = TBevelKind::bkNone;
    int FBevelWidth = 1;
};
