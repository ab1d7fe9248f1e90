// TCustomControl and TGraphicControl: controls whose code paints them on a canvas.
#include "platform/ui/Controls.h"

#include <QPainter>

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TCanvas>())
{
    // Outside painting the canvas draws into the overlay; the window shows it at its next paint.
    FCanvas->SetOverlay(&FOverlay);
    FCanvas->OnChange = [this](TObject*) { CanvasChanged(); };
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::Paint() {}

void TCustomControl::CanvasChanged()
{
    if (!FCanvas->Painting())
        Invalidate();
}

void TCustomControl::PaintWindow(HDC DC)
{
    FCanvas->SetOverlay(nullptr);
    FCanvas->BeginPaint(DC);
    Paint();
    FCanvas->EndPaint();
    FCanvas->SetOverlay(&FOverlay);
}

void TCustomControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        TWinControl::Dispatch(Message);
        if (HDC dc = PaintDC(); dc != nullptr && !FOverlay.IsEmpty())
            FOverlay.PaintOnto(*dc);
        return;
    case WM_SIZE:
        FOverlay.SetSize(ClientWidth(), ClientHeight());
        TWinControl::Dispatch(Message);
        return;
    default: TWinControl::Dispatch(Message); return;
    }
}

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Paint() {}

void TGraphicControl::Dispatch(TMessage& Message)
{
    if (Message.Msg != WM_PAINT) {
        TControl::Dispatch(Message);
        return;
    }
    FCanvas->BeginPaint(reinterpret_cast<HDC>(Message.WParam));
    Paint();
    FCanvas->EndPaint();
}
