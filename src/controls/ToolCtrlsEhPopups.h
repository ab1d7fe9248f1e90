#pragma once
// Drop-downs: their placement under an owner, the owner's close request, the size grip, the
// popup list box, the recently used texts with their list, and the popup calendar.
#include "platform/core/Persistent.h"
#include "platform/core/StringList.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/Messages.h"
#include "platform/ui/MonthCalendar.h"

#include <functional>
#include <memory>

class TCanvas;
class TImageList;
class TPopupCloseWatch;

// --- Drop-down placement ------------------------------------------------------------------

// Sent to a drop-down after placing it: WParam is the side its size grip moves to.
constexpr unsigned WM_SIZEGRIPSIDE = WM_USER + 100;
enum : WPARAM { sgsLeft = 0, sgsRight = 1, sgsTop = 2, sgsBottom = 3 };

enum class TDropDownAlign { daLeft, daRight, daCenter };

// Places DropDown under the owner's screen rectangle Rect, or above it when there is more room
// there, inside the work area of the monitor nearest to Rect; shortens or narrows it to fit,
// tells it its grip sides and returns its screen position.
TPoint PlaceDropDownAtRect(const TRect& Rect, TControl* DropDown, TDropDownAlign Alignment);
TPoint PlaceDropDownUnderEdit(const TControl* Edit, TControl* DropDown, TDropDownAlign Alignment);

// --- Drop-down owners ---------------------------------------------------------------------

// What a drop-down asks of the control that opened it: close me, taking my choice or not.
class IPopupOwnerEh {
public:
    virtual void CloseUp(bool Accept) = 0;

protected:
    ~IPopupOwnerEh() = default;
};

// --- Size grip ----------------------------------------------------------------------------

// The corner of its parent a size grip sits in.
enum class TSizeGripPosition { sgpTopLeft, sgpTopRight, sgpBottomRight, sgpBottomLeft };

// The triangular grip in a corner of a drop-down: dragging it resizes the drop-down (moving its
// left or top edge for grips on that side) within the work area of the monitor that holds it.
class TSizeGripEh : public TCustomControl {
public:
    explicit TSizeGripEh(TComponent* AOwner);

    TSizeGripPosition Position() const { return FPosition; }
    void SetPosition(TSizeGripPosition Value);
    // A triangle (the default) or the whole square.
    bool TriangleWindow() const { return FTriangleWindow; }
    void SetTriangleShape(bool Value);
    // Moves the grip to the corner on Side (sgsLeft, sgsRight, sgsTop or sgsBottom), keeping
    // the other coordinate of its corner.
    void SnapToSide(WPARAM Side);
    // Shows or hides the grip's window without changing Visible.
    void ShowGrip(bool Value);
    // Moves the grip into its corner of the parent's client area.
    void UpdatePosition();

    // The drag changed the parent's client size.
    TNotifyEvent OnParentResized;

protected:
    void CreateWnd() override;
    void ApplyTriangleRegion();
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    const char* ClassName() const override { return "TSizeGripEh"; }

private:
    bool OnRightSide() const;
    bool OnBottomSide() const;
    void DragTo(TPoint ScreenPos);

    TSizeGripPosition FPosition = TSizeGripPosition::sgpBottomRight;
    bool FTriangleWindow = true;
    TPoint FDownPos;
    TPoint FLastPos;
    int FDownWidth = 0;
    int FDownHeight = 0;
};

// --- Popup list box -----------------------------------------------------------------------

// A drop-down's window: top-level, on top, never activated (the edit keeps the focus), its
// screen saved beneath it; a plain border without the 3D look.
void MakeDropDownWindowParams(TCreateParams& Params, bool Ctl3D);

class TPopupListboxEh;

// The behaviour of one special item of a popup list box, stored as the item's object when
// UseItemObjects is on: how it paints, whether it shows a focus rectangle, what the mouse and
// keys do on it and whether choosing it closes the list.
class TPopupListboxItemEh : public TObject {
public:
    virtual bool DrawsFocusRect(TPopupListboxEh* ListBox, int Index);
    virtual void PaintItem(TPopupListboxEh* ListBox, int Index, TOwnerDrawState State, const TRect& Rect);
    virtual void ItemMouseDown(TPopupListboxEh* ListBox, int Index, TMouseButton Button, TShiftState Shift,
                               TPoint Point);
    virtual void ItemMouseMove(TPopupListboxEh* ListBox, int Index, TShiftState Shift, TPoint Point);
    virtual void ItemMouseUp(TPopupListboxEh* ListBox, int Index, bool& CloseList, TMouseButton Button,
                             TShiftState Shift, TPoint Point);
    virtual void ItemKeyPress(TPopupListboxEh* ListBox, int Index, bool& CloseList, TShiftState Shift, Char& Key);
    virtual bool ClosesListOnSelect(TPopupListboxEh* ListBox, int Index);
    virtual void Execute(TPopupListboxEh* ListBox, int Index);
};

// The item object shared by lists whose special items keep the base behaviour.
TPopupListboxItemEh* DefaultPopupListboxItemEh();

using TListGetImageIndexEventEh = std::function<void(TObject* Sender, int ItemIndex, int& ImageIndex)>;

// An owner-drawn list box shown as a top-level window that never takes the focus: the owner
// keeps the keyboard and passes it keys (WM_KEYDOWN, WM_CHAR) and wheel turns. It always looks
// focused, follows the mouse (hot tracking), finds items by a typed prefix, shows optional
// images and an outside list of items, and has a size grip in a corner.
class TPopupListboxEh : public TCustomListBox {
public:
    explicit TPopupListboxEh(TComponent* AOwner);
    ~TPopupListboxEh() override;

    TSizeGripEh* SizeGrip() const { return FSizeGrip; }
    TImageList* ImageList() const { return FImageList; }
    void SetImageList(TImageList* Value);
    TListGetImageIndexEventEh OnGetImageIndex;
    // An outside list shown instead of Items (virtual style), not copied and not owned; nullptr
    // returns to Items. The owner sets Count again when the list changes.
    TStrings* SourceItems() const { return FSourceItems; }
    void SetSourceItems(TStrings* Value);
    bool UseItemObjects() const { return FUseItemObjects; }
    void SetUseItemObjects(bool Value) { FUseItemObjects = Value; }

    // Height of the border around the rows (top and bottom together).
    int FrameHeight() const;
    void SetHeightByRows(int Rows);
    // Whole rows the height holds.
    int RowCount() const { return FRowCount; }
    // Set whenever the window's size changes; the owner clears it.
    bool UserSized() const { return FUserSized; }
    void SetUserSized(bool Value) { FUserSized = Value; }
    int HotItem() const { return FHotItem; }
    // The verdict of the last press or release on an item: whether the owner closes the list.
    bool CloseList() const { return FCloseList; }

    void InvalidateItem(int Index);
    // The item's picture: its image and text (the item object's PaintItem calls this).
    virtual void DrawItemContent(int Index, const TRect& Rect, TOwnerDrawState State);

    // Heights are cut to whole rows; the window never gets smaller than a scroll-bar square.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    bool CanFocus() const override { return false; }
    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void PaintBorder(TCanvas* Canvas, TRect Rect);
    virtual void GetSourceItemText(TWinControl* Control, int Index, String& Data);
    virtual void GetSourceItemObject(TWinControl* Control, int Index, TObject*& DataObject);
    void CNDrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
    TRect ItemFocusRect(const TRect& Rect) const override;
    void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
    bool PaintsFocused() const override { return true; }
    void KeyPress(Char& Key) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    TPopupListboxItemEh* ItemBehaviour(int Index) const;
    const char* ClassName() const override { return "TPopupListboxEh"; }

private:
    void SearchTypedPrefix(Char& Key);

    int FBorderExtra = 2;
    TImageList* FImageList = nullptr;
    TPoint FLastMousePos{-1, -1};
    String FTypedPrefix;
    std::uint32_t FTypedTime = 0;
    int FRowCount = 0;
    TSizeGripEh* FSizeGrip = nullptr;
    bool FUserSized = false;
    TStrings* FSourceItems = nullptr;
    int FHotItem = -1;
    bool FCloseList = false;
    bool FUseItemObjects = false;
};

// A hidden drop-down list owned by Owner. A left release that ends the list calls CloseUp,
// accepting when the release lies inside it.
TPopupListboxEh* NewPopupListbox(TComponent* Owner, std::function<void(bool Accept)> CloseUp);

// --- Recently used texts ------------------------------------------------------------------

using TFilterMRUItemEventEh = std::function<void(TObject* Sender, const String& Item, bool& Accept)>;
using TMRUListCloseUpEventEh = std::function<void(TObject* Sender, bool Accept)>;

// The recently entered texts of an edit or a column, oldest first, and the settings of their
// drop-down.
class TMRUListEh : public TPersistent {
public:
    explicit TMRUListEh(TPersistent* AOwner);
    ~TMRUListEh() override;

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    bool AutoAdd() const { return FAutoAdd; }
    void SetAutoAdd(bool Value) { FAutoAdd = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }
    TStrings* Items() const;
    void SetItems(TStrings* Value);
    // Most texts kept; a negative limit keeps none.
    int Limit() const { return FLimit; }
    void SetLimit(int Value);
    int Rows() const { return FRows; }
    void SetRows(int Value) { FRows = Value; }
    // The drop-down's width as the user last sized it; 0 until then.
    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }

    // S becomes the newest text: moved to the end when held (by the case rule), else added and
    // the oldest trimmed. Texts of blanks only are ignored; S is kept untrimmed.
    void AddRecentText(const String& S);
    // Fills Dest with the texts that begin with Prefix (by the case rule) and that the
    // filter-item handler accepts, oldest first. Answers whether the scan completed.
    bool CollectMatches(TStrings* Dest, const String& Prefix);
    // Deletes the oldest texts beyond Limit.
    void TrimToLimit();
    virtual void ListClosedUp(bool Accept);
    virtual void ListDroppedDown();
    void Assign(TPersistent* Source) override;

    TNotifyEvent OnActiveChanged;
    TFilterMRUItemEventEh OnFilterItem;
    TMRUListCloseUpEventEh OnClosedUp;
    TNotifyEvent OnDroppedDown;

protected:
    TPersistent* GetOwner() override { return FOwner; }
    const char* ClassName() const override { return "TMRUListEh"; }

private:
    bool SameEntry(const String& A, const String& B) const;

    TPersistent* FOwner;
    bool FActive = false;
    bool FAutoAdd = true;
    bool FCaseSensitive = false;
    std::unique_ptr<TStringList> FItems;
    int FLimit = 100;
    int FRows = 7;
    int FWidth = 0;
};

class TScrollBar;

// The drop-down of recently used texts: a popup list box with a scroll bar of its own beside
// the size grip, shown only while there are more texts than rows.
class TMRUListboxEh : public TPopupListboxEh {
public:
    explicit TMRUListboxEh(TComponent* AOwner);

    TScrollBar* ScrollBar() const { return FScrollBar; }
    // Puts the bar's window back where UpdateScrollBar laid it.
    void LayoutScrollBar();
    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    // Lays the bar along the right edge and shows the scroll position on it.
    void UpdateScrollBar() override;
    const char* ClassName() const override { return "TMRUListboxEh"; }

private:
    TRect ScrollBarRect() const;

    TScrollBar* FScrollBar = nullptr;
    bool FLayingOut = false;
};

// A hidden, sorted, flat MRU drop-down owned by Owner.
TMRUListboxEh* NewMRUListbox(TComponent* Owner);
// Fills Box with the texts of Items that Accept lets through (it starts each at false), in their
// order; returns how many.
int FillMRUListbox(TMRUListboxEh* Box, const TStrings* Items,
                   const std::function<void(const String& Text, bool& Accept)>& Accept);
// Sizes Box to its texts (List's rows at the most) and places it under Edit. A box about to open
// first takes Edit's colour and font, no selection and the wider of Edit's and List's widths.
void PlaceMRUListbox(TMRUListboxEh* Box, TControl* Edit, const TMRUListEh* List, bool Opening);

// --- Popup calendar -----------------------------------------------------------------------

// The drop-down calendar of the date edits: a top-level month calendar that never takes the
// focus. Enter accepts and Esc cancels (keys passed on by the owner), a click on a day accepts,
// a press outside it or the focus moving elsewhere closes it without accepting, and a wheel
// turn moves the date by a day.
class TPopupMonthCalendarEh : public TMonthCalendar {
public:
    explicit TPopupMonthCalendarEh(TComponent* AOwner);
    ~TPopupMonthCalendarEh() override;

    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    virtual void PaintBorder(TCanvas* Canvas, TRect Rect);
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void DayClicked() override;
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    const char* ClassName() const override { return "TPopupMonthCalendarEh"; }

private:
    void CloseUp(bool Accept);
    void Shown(bool Value);

    int FBorderExtra = 2;
    std::unique_ptr<TPopupCloseWatch> FCloseWatch;
};
