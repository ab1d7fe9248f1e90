// The window messages the data grid answers on top of the base grid: timers, scrolling, typed
// characters, the keys it keeps from dialogs, the focus and the mouse cursor; the flat look and
// the base grid's options in effect.
#include "datagrid/DBGridEh.h"

#include "platform/data/DataSet.h"

namespace {

constexpr WPARAM AutoScrollTimer = 1;
// A deferred layout that found the layout locked tries again after this pause.
constexpr WPARAM DeferredLayoutTimer = 3;
constexpr unsigned DeferredLayoutRetryMs = 20;

} // namespace

void TCustomDBGridEh::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_TIMER:
        if (Message.WParam == AutoScrollTimer && FAutoScrollInterval >= 0) {
            PerformAutoScroll();
            return;
        }
        if (HandleSearchTimer(Message.WParam))
            return;
        if (Message.WParam == DeferredLayoutTimer) {
            KillTimer(DeferredLayoutTimer);
            RunDeferredLayout();
            return;
        }
        break;
    case WM_DEFERRED_LAYOUT_EH:
        if (TakeDeferredLayoutMessage())
            RunDeferredLayout();
        return;
    case WM_VSCROLL: HandleWMVScroll(Message); return;
    case WM_HSCROLL:
        if (HorzScrollBar()->Tracking() && LOWORD(Message.WParam) == SB_THUMBTRACK)
            Message.WParam = MAKEWPARAM(SB_THUMBPOSITION, HIWORD(Message.WParam));
        break;
    case WM_SIZE:
        TCustomGridEh::Dispatch(Message);
        HandleSizeChange();
        return;
    case WM_CHAR:
        if (HandleCharMessage(Message))
            return;
        break;
    case CM_WANTSPECIALKEY:
        // Esc must reach the grid's cancel while a record is edited, not a dialog's Cancel.
        if (LOWORD(Message.WParam) == VK_ESCAPE && DataLink()->Active() && DataLink()->DataSet()->Modified()) {
            Message.Result = 1;
            return;
        }
        break;
    case WM_GETDLGCODE:
        TCustomGridEh::Dispatch(Message);
        if (OptionsEh().Contains(dghPreferIncSearch))
            Message.Result |= DLGC_WANTCHARS;
        return;
    case WM_KILLFOCUS:
        TCustomGridEh::Dispatch(Message);
        if (!IsOwnEditorWindow(reinterpret_cast<HWND>(Message.WParam))) {
            // A press's drag or sizing ends when another window takes the keyboard.
            EndMouseTracking();
            EndPendingMultiSort();
        }
        return;
    case WM_SETCURSOR:
        if (HandleWMSetCursor(Message))
            return;
        break;
    case WM_IME_STARTCOMPOSITION:
        // What the input method commits goes where typed characters go: the search or the editor.
        if (!CharStartsSearch())
            ChangeEditorMode(true);
        break;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
        EndMouseTracking();
        break;
    case WM_NCPAINT:
        TCustomGridEh::Dispatch(Message);
        if (FFlatBorderWidth > 0)
            PaintFlatBorder(reinterpret_cast<HDC>(Message.WParam));
        return;
    case CM_PARENTFONTCHANGED:
        TCustomGridEh::Dispatch(Message);
        if (ParentFont())
            FollowParentFont();
        return;
    case CM_PARENTCOLORCHANGED:
        TCustomGridEh::Dispatch(Message);
        if (ParentColor()) {
            // Assigned directly: SetFooterColor would end the grid's parent colour.
            FFooterColor = Color();
            Invalidate();
        }
        return;
    case CM_HINTSHOWPAUSE:
    {
        auto* info = reinterpret_cast<THintPauseInfo*>(Message.LParam);
        HandleHintShowPause(info->CursorPos, info->Pause);
        return;
    }
    case CM_HINTSHOW:
        Message.Result = HandleCMHintShow(*reinterpret_cast<THintInfo*>(Message.LParam)) ? 0 : 1;
        return;
    case CM_REFOCUS_GRID:
        if (CanFocus())
            SetFocus();
        return;
    default: break;
    }
    TCustomGridEh::Dispatch(Message);
}

bool TCustomDBGridEh::IsOwnEditorWindow(HWND Window) const
{
    const TWinControl* other = FindControl(Window);
    return other != nullptr && other->Parent() == this;
}

bool TCustomDBGridEh::HandleWMSetCursor(TMessage& Message)
{
    if (LOWORD(static_cast<std::uintptr_t>(Message.LParam)) != static_cast<unsigned>(HTCLIENT))
        return false;
    TTitleSizingBorderEh border;
    if (FDBMouseMode == TDBGridMouseModeEh::dmmSizeColumn ||
        (FDBMouseMode == TDBGridMouseModeEh::dmmNone && FindTitleSizingBorder(FLastMousePoint.X, FLastMousePoint.Y, border))) {
        ::SetCursor(crHSplit);
        Message.Result = 1;
        return true;
    }
    if (Designing() || !DataLink()->Active() || !Options().Contains(dgMultiSelect) ||
        IsOverSizingZone(FLastMousePoint.X, FLastMousePoint.Y))
        return false;
    const TGridCoord cell = CellFromPoint(FLastMousePoint.X, FLastMousePoint.Y);
    if (cell.X >= 0 && cell.X < IndicatorOffset() && IsDataRow(cell.Y) && !DataLink()->DataSet()->IsEmpty()) {
        ::SetCursor(crRecordSelectEh);
        Message.Result = 1;
        return true;
    }
    if (InColumnSelectZone(FLastMousePoint.X, FLastMousePoint.Y)) {
        ::SetCursor(crColumnSelectEh);
        Message.Result = 1;
        return true;
    }
    return false;
}

void TCustomDBGridEh::RunDeferredLayout()
{
    // Re-posting at once while a lock is held across a modal loop would spin; a short pause
    // lets the holder finish.
    if (TryLockLayout())
        UnlockLayout();
    else if (HandleAllocated())
        SetTimer(DeferredLayoutTimer, DeferredLayoutRetryMs);
}

void TCustomDBGridEh::FollowParentFont()
{
    // The copies are the parent's font, not fonts of their own: ParentFont stays on.
    FFollowingParentFont = true;
    FTitleFont->Assign(Font());
    FFooterFont->Assign(Font());
    FFollowingParentFont = false;
    NotifyLayoutChanged();
}

void TCustomDBGridEh::AdjustCreateParams(TCreateParams& Params)
{
    // A flat grid draws its own one-pixel border instead of the sunken edge, in the window's
    // one-pixel frame, so that its scroll bars stand inside the border.
    FFlatBorderWidth = 0;
    if (Flat() && Ctl3D()) {
        Params.Style &= ~WS_BORDER;
        Params.ExStyle &= ~WS_EX_CLIENTEDGE;
        if (BorderStyle() == TBorderStyle::bsSingle) {
            FFlatBorderWidth = 1;
            Params.Style |= WS_BORDER;
        }
    }
    if (FFlatBorderWidth > 0) {
        TControlStyle style = ControlStyle();
        style.Include(csNeedsBorderPaint);
        SetControlStyle(style);
    }
    Params.Style |= WS_CLIPCHILDREN;
}

void TCustomDBGridEh::PaintFlatBorder(HDC DC)
{
    TCanvas canvas;
    canvas.BeginPaint(DC);
    canvas.Brush()->SetColor(clBtnShadow);
    canvas.FrameRect(Rect(0, 0, Width(), Height()));
    canvas.EndPaint();
}

void TCustomDBGridEh::FlatChanged()
{
    FTextMargin = Flat() ? 2 : 4;
    // The border is chosen when the window is made.
    if (HandleAllocated())
        RecreateWnd();
    NotifyLayoutChanged();
}

TGridBaseOptionsEh TCustomDBGridEh::EffectiveGridOptions() const
{
    if (!Designing())
        return TCustomGridEh::Options();
    // A designer sizes the columns; persistent ones it may move too.
    TGridBaseOptionsEh options = goColSizing;
    if (Columns()->IsCustomized())
        options.Include(goColMoving);
    return options;
}
