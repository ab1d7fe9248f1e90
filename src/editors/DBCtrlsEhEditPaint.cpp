// TCustomDBEditEh's geometry and painting: the window's height, the areas of the button strip,
// the image and the text, and what it paints over the edit window.
#include "editors/DBCtrlsEh.h"

#include "platform/data/Field.h"
#include "platform/ui/ImageList.h"

#include <algorithm>

// --- Window and geometry ----------------------------------------------------------------------

void TCustomDBEditEh::CreateWnd()
{
    TCustomMaskEdit::CreateWnd();
    ApplyFixedHeight();
    if (FFocused)
        RefreshActiveBorder();
    RebuildEditButtonControls();
    SyncEditButtonControls();
    RefreshImageWidth();
    RefreshImageIndex();
    ApplyTextRect();
    RefreshReadOnlyState();
}

void TCustomDBEditEh::Resize()
{
    TCustomMaskEdit::Resize();
    if (!HandleAllocated())
        return;
    RebuildEditButtonControls();
    ApplyTextRect();
}

void TCustomDBEditEh::RefreshImageWidth()
{
    const TImageList* images = FEditImage->Images();
    FImageWidth = FEditImage->Visible() && images != nullptr
                      ? (FEditImage->Width() > 0 ? FEditImage->Width() : images->Width()) + 4
                      : 0;
}

void TCustomDBEditEh::ApplyFixedHeight()
{
    if (FAutoSize && BorderStyle() == TBorderStyle::bsSingle) {
        SetControlStyle(ControlStyle() | csFixedHeight);
        SetHeight(FitHeightToFont());
    } else {
        SetControlStyle(ControlStyle() - csFixedHeight);
    }
}

int TCustomDBEditEh::FitHeightToFont()
{
    // One border pixel on each of the frame's lines and the text's own leading.
    const int extra = (Ctl3D() ? 8 : 6) - (FFlat ? 2 : 0);
    TCanvas* canvas = ControlCanvas();
    canvas->Font()->Assign(Font());
    int height = canvas->TextHeight(QStringLiteral("0"));
    const TImageList* images = FEditImage->Images();
    if (FEditImage->Visible() && FEditImage->UseImageHeight() && images != nullptr)
        height = std::max(height, images->Height());
    return extra + height;
}

TRect TCustomDBEditEh::ButtonAreaRect() const
{
    const TRect client = ClientRect();
    return Rect(client.Right - FButtonWidth, client.Top, client.Right, client.Bottom);
}

TRect TCustomDBEditEh::ImageAreaRect() const
{
    const TRect client = ClientRect();
    return Rect(client.Left, client.Top, client.Left + FImageWidth, client.Bottom);
}

TRect TCustomDBEditEh::ComputeTextRect(const TRect& Client)
{
    TRect rect = Client;
    rect.Right -= FButtonWidth;
    if (FEditImage->Visible() && FEditImage->Images() != nullptr)
        rect.Left += FImageWidth;
    return rect;
}

void TCustomDBEditEh::ApplyTextRect()
{
    if (!HandleAllocated())
        return;
    TRect rect = ComputeTextRect(ClientRect());
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rect));
    Perform(EM_SCROLLCARET);
}

TCanvas* TCustomDBEditEh::ControlCanvas()
{
    if (!FCanvas)
        FCanvas = std::make_unique<TCanvas>();
    return FCanvas.get();
}

// --- Painting ---------------------------------------------------------------------------------

void TCustomDBEditEh::PaintWindow(HDC DC)
{
    TCanvas* canvas = ControlCanvas();
    canvas->BeginPaint(DC);
    TImageList* images = FEditImage->Images();
    if (FImageWidth > 0 && images != nullptr && FEditImage->ImageIndex() >= 0) {
        TRect area = ImageAreaRect();
        area.Inflate(-2, -1);
        images->Draw(canvas, area.Left, area.Top + (area.Height() - images->Height()) / 2, FEditImage->ImageIndex(),
                     Enabled());
    }
    PaintRequiredMark(canvas);
    canvas->EndPaint();
}

void TCustomDBEditEh::PaintRequiredMark(TCanvas* Canvas)
{
    if (!FHighlightRequired || !FDataLink->IsOperational())
        return;
    bool due = false;
    if (FDataLink->OwnValueMode()) {
        due = VarIsNull(FetchValue()) || Text().isEmpty();
    } else {
        const TField* field = Field();
        due = FDataLink->DataSetEditing() && field->Required() && field->IsNull();
    }
    if (OnCheckDrawRequiredState)
        OnCheckDrawRequiredState(this, due);
    if (!due)
        return;
    const TRect text = ComputeTextRect(ClientRect());
    Canvas->Pen()->SetColor(clRed);
    Canvas->Pen()->SetStyle(TPenStyle::psDot);
    Canvas->Pen()->SetWidth(1);
    Canvas->MoveTo(text.Left + 2, ClientHeight() - 1);
    Canvas->LineTo(text.Right - 3, ClientHeight() - 1);
}
