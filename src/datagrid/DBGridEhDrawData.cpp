// The default contents of a data cell: text, images, check boxes and pictures.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhDraw.h"

#include "controls/ToolCtrlsEhUtils.h"
#include "platform/data/Field.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/ImageList.h"

#include <algorithm>
#include <cmath>

namespace {

// Word wrap pays only in a cell that has room for a second line.
bool HasRoomForTwoLines(TCanvas* Canvas, int Height)
{
    const TTextMetric metrics = Canvas->GetTextMetrics();
    return Height > metrics.tmHeight + metrics.tmExternalLeading + metrics.tmInternalLeading;
}

// A number cut at the cell's edge reads as another number: one that does not fit ends with the
// ellipsis whatever the column's setting.
bool EndsWithEllipsis(TColumnEh* Column)
{
    return Column->EndEllipsis() || (Column->Field() != nullptr && IsNumericFieldType(Column->Field()->DataType()));
}

void PaintGraphicCellData(TCanvas* Canvas, const TRect& ARect, TColumnEh* Column, TColCellParamsEh* Params,
                          const TDataCellLookEh& Look, int Margin)
{
    TField* field = Column->Field();
    if (!Look.DrawGraphicData || field == nullptr) {
        WriteTextInCell(Canvas, ARect, true, Params->Alignment, Column->Layout(), Column->EndEllipsis(), false,
                        Params->Text, Margin, Margin);
        return;
    }
    Canvas->FillRect(ARect);
    // A value that is no picture shows as an empty cell.
    TBitmap picture;
    if (!picture.LoadFromBytes(field->AsBytes()))
        return;
    Canvas->StretchDraw(GraphicCellRect(picture.Width(), picture.Height(), ARect), &picture);
}

}  // namespace

TEditButtonStyleEh CellButtonStyle(TCellButtonKindEh Kind)
{
    switch (Kind) {
    case TCellButtonKindEh::cbkEllipsis: return TEditButtonStyleEh::ebsEllipsisEh;
    case TCellButtonKindEh::cbkUpDown: return TEditButtonStyleEh::ebsUpDownEh;
    case TCellButtonKindEh::cbkAltUpDown: return TEditButtonStyleEh::ebsAltUpDownEh;
    case TCellButtonKindEh::cbkAltDropDown:
    case TCellButtonKindEh::cbkAltCalendar: return TEditButtonStyleEh::ebsAltDropDownEh;
    default: return TEditButtonStyleEh::ebsDropDownEh;
    }
}

int CellButtonTransparency(bool Designing, bool FocusedLook, bool CurrentRow)
{
    if (Designing)
        return 30;
    if (FocusedLook)
        return 0;
    return CurrentRow ? 30 : 80;
}

TRect PaintCellEditButtons(TCanvas* Canvas, const TRect& ARect, TColumnEh* Column, int ButtonHeight, bool Flat,
                           int Transparency)
{
    TRect rest = ARect;
    const int bottom = std::min(ARect.Bottom, ARect.Top + ButtonHeight);
    const auto place = [&](int Width, TEditButtonStyleEh Style, TBitmap* Glyph) {
        const TRect button{std::max(rest.Left, rest.Right - Width), ARect.Top, rest.Right, bottom};
        PaintCellButton(Canvas, button, Style, Glyph, Flat, false, Transparency);
        if (bottom < ARect.Bottom)
            Canvas->FillRect(TRect{button.Left, bottom, button.Right, ARect.Bottom});
        rest.Right = button.Left;
    };
    const TCellButtonKindEh kind = Column->EffectiveButtonKind();
    if (kind != TCellButtonKindEh::cbkNone)
        place(Column->CellButtonWidth(nullptr), CellButtonStyle(kind), nullptr);
    TEditButtonsEh* buttons = Column->EditButtons();
    for (int i = 0; i < buttons->Count(); ++i) {
        TEditButtonEh* button = buttons->ItemAt(i);
        if (button->Visible())
            place(Column->CellButtonWidth(button), button->Style(), button->Glyph());
    }
    return rest;
}

void PaintRequiredValueMark(TCanvas* Canvas, const TRect& ARect)
{
    Canvas->Pen()->SetColor(clRed);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(TPenStyle::psSolid);
    const int y = ARect.Bottom - 2;
    DrawDottedLine(Canvas, {ARect.Left + 2, y}, ARect.Width() - 5, true, true);
}

TRect GraphicCellRect(int PictureWidth, int PictureHeight, const TRect& ARect)
{
    int width = PictureWidth;
    int height = PictureHeight;
    if (ARect.Width() > 0 && ARect.Height() > 0 && (width > ARect.Width() || height > ARect.Height())) {
        const double scale = std::max(double(width) / ARect.Width(), double(height) / ARect.Height());
        width = static_cast<int>(std::lround(width / scale));
        height = static_cast<int>(std::lround(height / scale));
    }
    const int left = ARect.Left + (ARect.Width() - width) / 2;
    const int top = ARect.Top + (ARect.Height() - height) / 2;
    return {left, top, left + width, top + height};
}

void PaintDataCellContents(TCanvas* Canvas, const TRect& ARect, TColumnEh* Column, TColCellParamsEh* Params,
                           const TDataCellLookEh& Look, bool FillBackground)
{
    TRect area = ARect;
    if (Look.Raised && Look.Themed)
        area.Inflate(1, 1);
    else if (Look.Raised && Look.Flat) {
        area.Left += 1;
        area.Top += 1;
    } else if (Look.Raised)
        area.Inflate(-1, -1);
    const int margin = Look.Raised ? 1 : 2;
    const int topMargin = Look.Flat ? margin - 1 : margin;

    Canvas->Font()->Assign(Params->Font());
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Brush()->SetColor(Params->Background);
    if (FillBackground)
        Canvas->FillRect(area);

    TImageList* images = Column->ImageList();
    switch (Column->ClassifyCellKind()) {
    case TColumnCellKindEh::cckImageList:
        DrawGraphicClipped(images, Canvas, TAlignment::taCenter, 0, Params->ImageIndex, area);
        return;
    case TColumnCellKindEh::cckCheckbox:
        PaintCheckBoxInCell(Canvas, area, Params->CheckboxState, Look.Flat);
        return;
    case TColumnCellKindEh::cckGraphic:
        PaintGraphicCellData(Canvas, area, Column, Params, Look, margin);
        return;
    default: break;
    }
    if (images != nullptr && Column->ShowImageAndText()) {
        TRect imageArea = area;
        imageArea.Right = std::min(area.Right, area.Left + images->Width() + 4);
        Canvas->Brush()->SetColor(Column->Color());
        Canvas->FillRect(imageArea);
        DrawGraphicClipped(images, Canvas, TAlignment::taCenter, 0, Params->ImageIndex, imageArea);
        Canvas->Brush()->SetColor(Params->Background);
        area.Left = imageArea.Right + 1;
    }
    const bool wrap = Column->WordWrap() && HasRoomForTwoLines(Canvas, area.Height());
    WriteTextInCell(Canvas, area, false, Params->Alignment, Column->Layout(), EndsWithEllipsis(Column), wrap,
                    Params->Text, topMargin, margin);
}
