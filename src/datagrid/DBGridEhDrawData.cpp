// The default contents of a data cell: text, images, check boxes and pictures.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhDraw.h"

#include "platform/data/Field.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/ImageList.h"

#include <QImage>

#include <algorithm>
#include <cmath>

namespace {

// Word wrap pays only in a cell that has room for a second line.
bool HasRoomForTwoLines(TCanvas* Canvas, int Height)
{
    const TTextMetric metrics = Canvas->GetTextMetrics();
    return Height > metrics.tmHeight + metrics.tmExternalLeading + metrics.tmInternalLeading;
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
    const QImage picture = QImage::fromData(field->AsBytes());
    if (picture.isNull())
        return;
    TBitmap bitmap;
    bitmap.SetImage(picture.convertToFormat(QImage::Format_RGB32));
    Canvas->StretchDraw(GraphicCellRect(picture.width(), picture.height(), ARect), &bitmap);
}

}  // namespace

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
    WriteTextInCell(Canvas, area, false, Params->Alignment, Column->Layout(), Column->EndEllipsis(), wrap,
                    Params->Text, topMargin, margin);
}
