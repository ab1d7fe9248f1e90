#pragma once
// The base grid's helper windows: the drag feedback windows shared by every grid, the pace of
// auto-scrolling while a column is dragged, and the in-place editor.
#include "controls/GridsEhTypes.h"
#include "platform/ui/MaskEdit.h"

#include <cstdint>

// How often auto-scrolling steps while a column is dragged past an edge of the grid: slower
// near the edge, faster far from it. EdgeRoom is the room between that edge and the desktop's
// edge beyond it, MouseDistance how far the mouse is past the grid's edge (both in pixels).
unsigned ColumnMoveScrollInterval(int EdgeRoom, int MouseDistance);

// Drag feedback windows: popups that never take the focus, shared by every grid.
class TGridDragWinEh : public TCustomControl {
public:
    explicit TGridDragWinEh(TComponent* AOwner);
    // Forgets the window as a shared drag window: its owner may free it (the application's windows
    // are freed when it ends) while the grid unit still holds it.
    ~TGridDragWinEh() override;

    // Moves the window to a client point of Control.
    void MoveToClientPoint(TControl* Control, TPoint Point);
    // Shows the window at a screen point with a size, on top and without activating it.
    void ShowAt(TPoint ScreenPoint, int AWidth, int AHeight);
    bool IsShown() const { return Visible(); }

protected:
    const char* ClassName() const override { return "TGridDragWinEh"; }
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Paint() override;
    // 0..255; below 255 the window is translucent.
    int Alpha() const { return FAlpha; }
    void SetAlpha(int Value) { FAlpha = Value; }

private:
    int FAlpha = 200;
};

// The translucent box a grid drags with a cell.
class TGridDragBoxEh : public TGridDragWinEh {
public:
    using TGridDragWinEh::TGridDragWinEh;

protected:
    const char* ClassName() const override { return "TGridDragBoxEh"; }
};

// The red marker that shows where a dragged column will drop: an arrowhead at each end of a
// line, vertical (between columns) or horizontal.
class TGridMoveLineEh : public TGridDragWinEh {
public:
    explicit TGridMoveLineEh(TComponent* AOwner);

    // Shows the marker with its line of Length starting at a screen point.
    void ShowMarker(TPoint ScreenPoint, int Length, bool Vertical);
    // Moves the shown marker, keeping its size.
    void MoveMarker(TPoint ScreenPoint);
    bool Vertical() const { return FVertical; }

protected:
    const char* ClassName() const override { return "TGridMoveLineEh"; }
    void Paint() override;

private:
    bool FVertical = true;
};

// The shared drag windows, made on first use and owned by the application.
TGridDragBoxEh* GridDragBoxInstance();
TGridMoveLineEh* GridMoveLineInstance();
// The move marker when one was made; nullptr before the first column move.
TGridMoveLineEh* ExistingGridMoveLine();

// The borderless masked edit a grid places over its current cell while the cell is edited. It
// takes mask, text and maximum length from the grid, hands navigation keys back to the grid, and
// asks the grid's EditorMayModify at the moment of every change, whatever its path: typed or
// committed by an input method, Backspace or Delete, pasted, cut, cleared or dropped. Its
// visibility is driven by the grid alone.
class TInplaceEdit : public TCustomMaskEdit {
public:
    explicit TInplaceEdit(TComponent* AOwner);

    TCustomGridEh* Grid() const { return FGrid; }
    void SetGrid(TCustomGridEh* Value) { FGrid = Value; }
    // The time (GetTickCount) of the grid's last button-down; 0 when none is pending. A press
    // in the editor within the double-click time after it counts as a double click.
    std::uint32_t ClickTime() const { return FClickTime; }
    void SetClickTime(std::uint32_t Value) { FClickTime = Value; }

    // Shows the editor at Rect (grid client coordinates); an empty Rect hides it. It takes the
    // focus when the grid has it.
    void ShowAtRect(const TRect& Rect, bool Redraw);
    void PlaceWithoutRedraw(const TRect& Rect) { ShowAtRect(Rect, false); }
    void PlaceAndRedraw(const TRect& Rect) { ShowAtRect(Rect, true); }
    // Hides a shown editor; the focus it had goes to the grid.
    void HideEditorWindow();
    // Loads the edit mask, text and maximum length of the grid's current cell.
    virtual void LoadCellContents();
    // The text the grid stores for the cell: the shown text.
    virtual String CellText() const { return Text(); }
    // Caret at the end of the text, nothing selected.
    void CollapseSelection();
    bool IsWindowShown() const;
    void FocusWhenShown();
    // Repaints the grid area under the editor with it.
    void Invalidate() override;

    void WndProc(TMessage& Message) override;

protected:
    // Sets the formatting rectangle; runs after every placement.
    virtual void ApplyTextMargins();
    bool EditCanModify() override;
    // Tells the grid (WM_COMMAND, EN_CHANGE), which stores the text.
    void Change() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void DblClick() override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    const char* ClassName() const override { return "TInplaceEdit"; }

private:
    void SendKeyToGrid(WORD& Key, TShiftState Shift);
    void ShowKeyToGridEvent(WORD& Key, TShiftState Shift);
    int CaretIndex() const;
    bool CaretAtTextStart() const;
    bool CaretAtTextEnd() const;
    void SelectOnEnter();

    TCustomGridEh* FGrid = nullptr;
    std::uint32_t FClickTime = 0;
};
