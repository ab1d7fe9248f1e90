// Sizes from the data: the row height a record needs and the column widths that fit the titles,
// the records and the footers.
#include "datagrid/DBGridEh.h"

#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/ImageList.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int CellMargin = 4;
constexpr int FooterMargin = 5;
// Tall enough for any block of text a cell or title holds.
constexpr int UnboundedHeight = 1 << 20;

// The size Text takes in Font: one line, or wrapped into Width.
TSize MeasureText(TCanvas* Canvas, TFont* Font, const String& Text, bool WordWrap, int Width)
{
    Canvas->Font()->Assign(Font);
    TRect area{0, 0, std::max(1, Width), UnboundedHeight};
    unsigned format = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS;
    if (WordWrap)
        format |= DT_WORDBREAK;
    Canvas->DrawText(Text, area, format);
    return {area.Width(), area.Height()};
}

// The lowest level of a multi-level caption.
String LeafCaption(const String& Caption)
{
    const auto bar = Caption.lastIndexOf(u'|');
    return bar < 0 ? Caption : Caption.mid(bar + 1);
}

}  // namespace

// --- Column ------------------------------------------------------------------------------------

int TColumnEh::WidthWithIndent() const
{
    const TCustomDBGridEh* grid = OwningGrid();
    return grid != nullptr ? grid->ColumnWidthWithIndent(this, Width()) : Width();
}

int TColumnEh::RequiredRowHeight() const
{
    const TCustomDBGridEh* grid = OwningGrid();
    if (grid == nullptr)
        return 0;
    const int rowHeight = grid->ComputedRowHeight();
    if (!grid->OptionsEh().Contains(dghAutoFitRowHeight))
        return rowHeight;
    int needed = 0;
    const TField* field = Field();
    if (ClassifyCellKind() == TColumnCellKindEh::cckGraphic && grid->DrawGraphicData()) {
        TBitmap picture;
        if (field != nullptr)
            picture.LoadFromBytes(field->AsBytes());
        needed = picture.Height();
        if (picture.Width() > Width())
            needed = static_cast<int>(std::lround(static_cast<double>(needed) * Width() / picture.Width()));
    } else {
        int room = Width() - CellMargin - grid->CurrentRecordTreeIndent(this);
        if (AlwaysShowEditButton())
            room -= EditButtonsTotalWidth();
        if (ShowImageAndText() && FImageList != nullptr)
            room -= FImageList->Width() + 4;
        TCanvas canvas;
        needed = MeasureText(&canvas, Font(), ComputeDisplayText(), WordWrap(), room).cy;
    }
    if (needed <= rowHeight)
        return rowHeight;
    return needed + 1 + (grid->Flat() ? 0 : 2) + (grid->Options().Contains(dgRowLines) ? grid->GridLineWidth() : 0);
}

bool TColumnEh::IsTallerThanOneLine(int Height) const
{
    TCanvas canvas;
    canvas.Font()->Assign(Font());
    const TTextMetric metrics = canvas.GetTextMetrics();
    return Height > CellMargin + metrics.tmExternalLeading + metrics.tmHeight + metrics.tmInternalLeading;
}

void TColumnEh::FitWidthToData()
{
    TCustomDBGridEh* grid = OwningGrid();
    if (grid == nullptr)
        return;
    TColumnsEhList one;
    one.Add(this);
    grid->OptimizeColsWidth(&one);
}

// --- Grid --------------------------------------------------------------------------------------

int TCustomDBGridEh::ContentRowHeight()
{
    int height = 0;
    for (int i = 0; i < FVisibleColumns->Count(); ++i)
        height = std::max(height, FVisibleColumns->Items(i)->RequiredRowHeight());
    if (height == 0)
        height = FDataRowHeight;
    if (OnGetRowHeight)
        OnGetRowHeight(this, height);
    return height;
}

namespace {

// What the title of Column needs: the caption in the title font (wrapped when the titles wrap),
// or the title image, beside the sort marker.
int TitleWidth(TCustomDBGridEh* Grid, TCanvas* Canvas, TColumnEh* Column)
{
    TColumnTitleEh* title = Column->Title();
    const int marker = title->SortMarkerAreaWidth();
    const int margin = marker >= 3 ? marker + 2 : CellMargin;
    if (Grid->TitleImages() != nullptr && title->ImageIndex() != -1)
        return margin + Grid->TitleImages()->Width();
    const String caption = Grid->UseMultiTitle() ? LeafCaption(title->Caption()) : title->Caption();
    const bool wrap = Grid->UseMultiTitle() || Grid->TitleHeight() != 0 || Grid->TitleLines() != 0;
    if (title->Orientation() == TTextOrientationEh::tohVertical)
        return margin + MeasureText(Canvas, title->Font(), caption, false, 0).cy;
    return margin + MeasureText(Canvas, title->Font(), caption, wrap, Column->Width() - margin).cx;
}

// What the current record's cell of Column needs, after the cell-parameter events.
int CellWidth(TCustomDBGridEh* Grid, TCanvas* Canvas, TColumnEh* Column)
{
    int width = CellMargin + Grid->CurrentRecordTreeIndent(Column);
    if (Column->AlwaysShowEditButton())
        width += Column->EditButtonsTotalWidth();
    TImageList* images = Column->ImageList();
    if (Column->ShowImageAndText() && images != nullptr)
        width += images->Width() + 4;
    switch (Column->ClassifyCellKind()) {
    case TColumnCellKindEh::cckImageList: return width + (images != nullptr ? images->Width() : 0);
    case TColumnCellKindEh::cckCheckbox: return width + DefaultCheckBoxSize().cx;
    default: break;
    }
    TColCellParamsEh params;
    Column->InitCellParams(&params);
    Grid->RaiseGetCellParams(Column, params.Font(), params.Background, TGridDrawState());
    Column->FireGetCellParams(false, &params);
    return width + MeasureText(Canvas, params.Font(), params.Text, false, 0).cx;
}

}  // namespace

int TCustomDBGridEh::FooterWidth(TCanvas* Canvas, TColumnEh* Column, int DataCol)
{
    int widest = 0;
    for (int row = 0; row < FFooterRowCount; ++row) {
        TColumnFooterEh* footer = Column->FooterForRow(row);
        String text;
        ComputeFooterText(row, Column, text);
        TFont font;
        font.Assign(footer->Font());
        TColor background = clWindow;
        TAlignment alignment = footer->Alignment();
        RaiseGetFooterParams(DataCol, row, Column, &font, background, alignment, TGridDrawState(), text);
        widest = std::max(widest, MeasureText(Canvas, &font, text, footer->WordWrap(), Column->Width()).cx + FooterMargin);
    }
    return widest;
}

void TCustomDBGridEh::OptimizeColsWidth(TColumnsEhList* Columns)
{
    if (!FDataLink->Active() || Columns == nullptr || Columns->Count() == 0)
        return;
    TCanvas canvas;
    std::vector<int> widths(static_cast<std::size_t>(Columns->Count()));
    for (int i = 0; i < Columns->Count(); ++i)
        widths[static_cast<std::size_t>(i)] = TitleWidth(this, &canvas, Columns->Items(i));

    TDataSet* dataSet = FDataLink->DataSet();
    const TGridViewPositionEh saved = SaveViewPosition();
    dataSet->DisableControls();
    try {
        dataSet->First();
        const int recordCount = dataSet->IsSequenced() ? dataSet->RecordCount() : -1;
        while (!dataSet->Eof()) {
            for (int i = 0; i < Columns->Count(); ++i) {
                int& width = widths[static_cast<std::size_t>(i)];
                width = std::max(width, CellWidth(this, &canvas, Columns->Items(i)));
            }
            if (recordCount >= 0 && dataSet->RecNo() >= recordCount)
                break;
            dataSet->Next();
        }
    } catch (...) {
        RestoreFitPosition(dataSet, saved);
        throw;
    }
    RestoreFitPosition(dataSet, saved);

    LockLayout();
    try {
        for (int i = 0; i < Columns->Count(); ++i) {
            TColumnEh* column = Columns->Items(i);
            int width = widths[static_cast<std::size_t>(i)];
            if (!FAutoFitColWidths)
                width = std::max(width, FooterWidth(&canvas, column, column->Index()));
            column->SetWidth(width);
        }
    } catch (...) {
        UnlockLayout();
        throw;
    }
    UnlockLayout();
}

void TCustomDBGridEh::RestoreFitPosition(TDataSet* DataSet, const TGridViewPositionEh& Saved)
{
    RestoreViewPosition(Saved);
    DataSet->EnableControls();
}

void TCustomDBGridEh::OptimizeSelectedColsWidth(TColumnEh* Column)
{
    TColumnsEhList columns;
    switch (Selection()->SelectionType()) {
    case TDBGridEhSelectionType::gstColumns:
        for (int i = 0; i < Selection()->Columns()->Count(); ++i)
            columns.Add(Selection()->Columns()->ColumnAt(i));
        if (columns.IndexOf(Column) < 0)
            columns.Add(Column);
        break;
    case TDBGridEhSelectionType::gstAll:
        for (int i = 0; i < Columns()->Count(); ++i)
            columns.Add(Columns()->ColumnAt(i));
        break;
    default: columns.Add(Column);
    }
    OptimizeColsWidth(&columns);
}
