// The grid's hints: a title's own hint, and tool tips that show the whole text of a clipped
// title, data or footer cell in a window laid exactly over the text.
#include "datagrid/DBGridEh.h"

#include "datagrid/DBGridEhCellParams.h"
#include "datagrid/DBGridEhDraw.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"

#include <algorithm>

namespace {

// The tool-tip window's border and margin around its text.
constexpr int ToolTipTextInset = 3;
// A right-aligned text ends this far inside its cell.
constexpr int RightTextInset = 6;

} // namespace

TToolTipsWindow* TCustomDBGridEh::ToolTipsWindow()
{
    if (!FToolTipsWindow)
        FToolTipsWindow = std::make_unique<TToolTipsWindow>(nullptr);
    return FToolTipsWindow.get();
}

void TCustomDBGridEh::HandleHintShowPause(TPoint Pos, int& Pause)
{
    const TGridCoord cell = CellFromPoint(Pos.X, Pos.Y);
    TColumnEh* column = ColumnAtGridCol(cell.X);
    if (column == nullptr || cell.Y < 0)
        return;
    int areaCol = 0;
    int areaRow = 0;
    const TCellAreaEh area = GetCellType(cell.X, cell.Y, areaCol, areaRow);
    // The grid's event first, then the column's; either may settle the pause.
    const TRect rect = CellPixelRect(cell.X, cell.Y);
    const TPoint inCell = Point(Pos.X - rect.Left, Pos.Y - rect.Top);
    bool processed = false;
    for (const THintShowPauseEventEh* event : {&OnHintShowPause, &column->OnHintShowPause}) {
        if (*event)
            (*event)(this, Pos, cell, inCell, column, Pause, processed);
        if (processed)
            return;
    }
    bool toolTips = false;
    switch (area.Row) {
    case TCellAreaRowEh::carTitle: toolTips = column->Title()->ToolTips(); break;
    case TCellAreaRowEh::carData: toolTips = column->ToolTips() && DataLink()->Active(); break;
    case TCellAreaRowEh::carFooter: toolTips = column->FooterForRow(areaRow)->ToolTips(); break;
    case TCellAreaRowEh::carFilter: break;
    }
    if (toolTips)
        Pause = 0;
}

bool TCustomDBGridEh::HandleCMHintShow(THintInfo& Info)
{
    const TGridCoord cell = CellFromPoint(Info.CursorPos.X, Info.CursorPos.Y);
    TColumnEh* column = ColumnAtGridCol(cell.X);
    if (column == nullptr || cell.Y < 0)
        return false;
    const TRect cellRect = CellPixelRect(cell.X, cell.Y);
    Info.CursorRect = cellRect;
    int areaCol = 0;
    int areaRow = 0;
    const TCellAreaEh area = GetCellType(cell.X, cell.Y, areaCol, areaRow);
    if (area.Row == TCellAreaRowEh::carTitle && !column->Title()->Hint().isEmpty()) {
        Info.HintStr = GetShortHint(column->Title()->Hint());
        return true;
    }
    // No tool tip while the mouse is held or Ctrl is down (a drag, a multi-sort click).
    if (GetCapture() != nullptr || GetKeyState(VK_CONTROL) < 0)
        return false;
    if (area.Row == TCellAreaRowEh::carData && DataLink()->Active() && areaRow < DisplayRecordCount() &&
        RaiseDataHintShow(column, cell, Info))
        return !Info.HintStr.isEmpty();
    TCellToolTipEh tip;
    tip.CellRect = cellRect;
    tip.TextRect = cellRect;
    bool prepared = false;
    switch (area.Row) {
    case TCellAreaRowEh::carTitle: prepared = PrepareTitleToolTip(column, areaCol, Info.CursorPos, tip); break;
    case TCellAreaRowEh::carData: prepared = PrepareDataToolTip(column, areaRow, Info.CursorPos, tip); break;
    case TCellAreaRowEh::carFooter: prepared = PrepareFooterToolTip(column, areaCol, areaRow, tip); break;
    case TCellAreaRowEh::carFilter: break;
    }
    Info.CursorRect = PartUnderPointer(tip, Info.CursorPos);
    return prepared && PlaceToolTip(tip, Info);
}

bool TCustomDBGridEh::RaiseDataHintShow(TColumnEh* Column, TGridCoord Cell, THintInfo& Info)
{
    if (!OnDataHintShow && !Column->OnDataHintShow)
        return false;
    const TRect cellRect = CellPixelRect(Cell.X, Cell.Y);
    // The platform's hint font: the default font.
    TFont hintFont;
    TDBGridEhDataHintParams params;
    params.HintPos = ScreenToClient(Info.HintPos);
    params.HintMaxWidth = Info.HintMaxWidth;
    params.HintColor = Info.HintColor;
    params.HintFont = &hintFont;
    params.HintWindowRect = cellRect;
    params.ReshowTimeout = Info.ReshowTimeout;
    params.HideTimeout = Info.HideTimeout;
    bool processed = false;
    {
        int areaCol = 0;
        int areaRow = 0;
        GetCellType(Cell.X, Cell.Y, areaCol, areaRow);
        Column->Field();
        TRowRecordScope record(this, areaRow);
        const TPoint inCell = Point(Info.CursorPos.X - cellRect.Left, Info.CursorPos.Y - cellRect.Top);
        // The grid's event first; the column's only when the grid left the hint to it.
        for (const TDataHintShowEventEh* event : {&OnDataHintShow, &Column->OnDataHintShow}) {
            if (*event)
                (*event)(this, Info.CursorPos, Cell, inCell, Column, params, processed);
            if (processed)
                break;
        }
    }
    if (!processed)
        return false;
    TToolTipsWindow* window = ToolTipsWindow();
    window->CalcHintRect(params.HintMaxWidth, params.HintStr, params.HintFont);
    Info.HintPos = ClientToScreen(params.HintPos);
    Info.HintMaxWidth = params.HintMaxWidth;
    Info.HintColor = params.HintColor;
    Info.HideTimeout = params.HideTimeout;
    Info.ReshowTimeout = params.ReshowTimeout;
    // Where the pointer may move before the hint is asked for again: the cell unless changed.
    Info.CursorRect = params.HintWindowRect;
    Info.HintStr = params.HintStr;
    Info.HintWindow = window;
    return true;
}

TRect TCustomDBGridEh::PartUnderPointer(const TCellToolTipEh& Tip, TPoint CursorPos)
{
    // The text, or the part of the cell beside it (a sort marker, edit buttons, upper titles):
    // moving from one to the other asks for the hint again.
    const TRect& cell = Tip.CellRect;
    if (CursorPos.Y < Tip.TextRect.Top)
        return {cell.Left, cell.Top, cell.Right, Tip.TextRect.Top};
    if (CursorPos.X >= Tip.TextRect.Right)
        return {Tip.TextRect.Right, Tip.TextRect.Top, cell.Right, cell.Bottom};
    return Tip.TextRect;
}

bool TCustomDBGridEh::PrepareTitleToolTip(TColumnEh* Column, int AreaCol, TPoint CursorPos, TCellToolTipEh& Tip)
{
    TColumnTitleEh* title = Column->Title();
    // A turned caption is not shown turned in a hint window.
    if (!title->ToolTips() || title->Orientation() == TTextOrientationEh::tohVertical)
        return false;
    Tip.Text = title->Caption();
    THeadTreeNode* leaf = LeafOfColumn(AreaCol);
    if (MultiTitleInEffect() && leaf != nullptr) {
        Tip.Text = leaf->Caption;
        Tip.TextRect = TitleLeafRect(leaf, Tip.CellRect);
        if (CursorPos.Y < Tip.TextRect.Top)
            return false;
    }
    const int marker = title->SortMarkerAreaWidth();
    if (marker > 2)
        Tip.TextRect.Right -= marker;
    Tip.Alignment = title->Alignment();
    Tip.WordWrap = MultiTitleInEffect() || TitleHeight() > 0 || TitleLines() > 0;
    Tip.Font.Assign(title->Font());
    return true;
}

bool TCustomDBGridEh::PrepareDataToolTip(TColumnEh* Column, int AreaRow, TPoint CursorPos, TCellToolTipEh& Tip)
{
    if (!Column->ToolTips() || !DataLink()->Active() || AreaRow >= DisplayRecordCount())
        return false;
    if (Column->AlwaysShowEditButton()) {
        Tip.TextRect.Right = std::max(Tip.TextRect.Left, Tip.TextRect.Right - Column->EditButtonsTotalWidth());
        if (CursorPos.X >= Tip.TextRect.Right)
            return false;
        Tip.CutShort = Tip.TextRect.Right < Tip.CellRect.Right;
    }
    Column->Field();
    TRowRecordScope record(this, AreaRow);
    TColCellParamsEh params;
    Column->InitCellParams(&params);
    params.CellRect = Tip.CellRect;
    TColor background = Column->Color();
    RaiseGetCellParams(Column, params.Font(), background, TGridDrawState());
    Column->FireGetCellParams(false, &params);
    Tip.Text = params.Text;
    const TColumnCellKindEh kind = Column->ClassifyCellKind();
    Tip.Alignment = IsCheckOrImageKind(kind) ? TAlignment::taLeftJustify : params.Alignment;
    Tip.Font.Assign(params.Font());
    Canvas()->SetFont(&Tip.Font);
    Tip.WordWrap = Column->WordWrap() && Tip.TextRect.Height() > 2 * Canvas()->GetTextMetrics().tmHeight;
    return true;
}

bool TCustomDBGridEh::PrepareFooterToolTip(TColumnEh* Column, int AreaCol, int AreaRow, TCellToolTipEh& Tip)
{
    TColumnFooterEh* footer = Column->FooterForRow(AreaRow);
    if (!footer->ToolTips())
        return false;
    Tip.Font.Assign(footer->Font());
    Tip.Alignment = footer->Alignment();
    TColor background = footer->Color();
    ComputeFooterText(AreaRow, Column, Tip.Text);
    RaiseGetFooterParams(AreaCol, AreaRow, Column, &Tip.Font, background, Tip.Alignment, TGridDrawState(), Tip.Text);
    Canvas()->SetFont(&Tip.Font);
    Tip.WordWrap = footer->WordWrap() && Tip.TextRect.Height() > 2 * Canvas()->GetTextMetrics().tmHeight;
    return true;
}

bool TCustomDBGridEh::MeasureTextOverflow(TCellToolTipEh& Tip)
{
    TCanvas* canvas = Canvas();
    canvas->SetFont(&Tip.Font);
    const int width = Tip.TextRect.Width() - TextMargin();
    if (!Tip.WordWrap)
        return canvas->TextWidth(Tip.Text) > width || Tip.Text.contains(u'\n');
    TRect needed = Rect(0, 0, std::max(width, 1), 0);
    canvas->DrawText(Tip.Text, needed, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    return needed.Height() > Tip.TextRect.Height() - TextMargin() || needed.Width() > width;
}

bool TCustomDBGridEh::PlaceToolTip(TCellToolTipEh& Tip, THintInfo& Info)
{
    const bool rightCut = Tip.Alignment == TAlignment::taRightJustify && Tip.CutShort;
    if (Tip.Text.isEmpty() || (!MeasureTextOverflow(Tip) && !rightCut))
        return false;
    TToolTipsWindow* window = ToolTipsWindow();
    // Without wrap the text keeps to one line, as wide as the screen allows.
    const int maxWidth = Tip.WordWrap ? Tip.TextRect.Width() - 4 : Screen->Width();
    const TRect size = window->CalcHintRect(maxWidth, Tip.Text, &Tip.Font);
    const int inset = Flat() ? 2 : 1;
    TPoint at{Tip.TextRect.Left - inset, Tip.TextRect.Top - inset};
    if (Tip.Alignment == TAlignment::taRightJustify)
        at.X = Tip.CellRect.Right - RightTextInset + ToolTipTextInset - size.Width();
    else if (Tip.Alignment == TAlignment::taCenter)
        at.X = Tip.CellRect.Left + (Tip.CellRect.Width() - size.Width()) / 2;
    Info.HintPos = ClientToScreen(at);
    Info.HintMaxWidth = maxWidth;
    Info.HintColor = clInfoBk;
    Info.HintStr = Tip.Text;
    Info.HintWindow = window;
    return true;
}
