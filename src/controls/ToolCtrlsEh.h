#pragma once
// Routines and building blocks the grids and edit controls share: the themed-or-classic switch,
// input helpers, variant comparison, colour blending and tree lines; button faces and their
// cache, edit buttons; drop-down placement, the size grip, popup list box, recently used texts
// and popup calendar; the special row, field-list routines, data links and the bookmark list.
#include "platform/core/Alignment.h"
#include "platform/core/Collection.h"
#include "platform/core/Persistent.h"
#include "platform/core/StringList.h"
#include "platform/core/Variant.h"
#include "platform/data/DataLink.h"
#include "platform/data/DataTypes.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Button.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Label.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Messages.h"
#include "platform/ui/MonthCalendar.h"
#include "platform/ui/Types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

class TBitmap;
class TCanvas;
class TImageList;
class TPopupCloseWatch;
class TPopupMenu;
class TTimer;

// --- Themes and input ---------------------------------------------------------------------

// True when the theme services draw themed; every painter picks themed or classic by it.
bool ThemesActive();
// Shift, Alt and Ctrl as held now.
TShiftState CurrentShiftState();
bool IsNumericFieldType(TFieldType FieldType);
// Elapsed ms since the previous click within the double-click time, and the points within the
// double-click distance on each axis.
bool IsWithinDoubleClick(TPoint PrevPoint, TPoint Point, std::uint32_t Elapsed);
// True when a left press is under way over Control that nobody handled: the press that closed
// a drop-down menu opened from Control, which must not act on Control a second time. Menus do
// not deliver their closing press again, so there is nothing to remove. The press must fall on
// Control as its parent's control at that point (disabled ones included, windowed ones not).
bool TakePendingMouseDown(TControl* Control);
// The same for any control, windowed or not, with the press inside its client area.
bool TakePendingMouseDownInClient(TControl* Control);

// --- Variants -----------------------------------------------------------------------------

enum class TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };

// Arrays are equal when their bounds and elements are; Unassigned equals only Unassigned,
// Null equals Null. Never raises.
bool VariantValuesEqual(const Variant& A, const Variant& B);
// Null sorts before every value; arrays of the same bounds compare by their first unequal
// elements; an array against a non-array, arrays of other bounds and empty arrays are
// vrNotEqual. Never raises: values of different kinds follow the variant order.
TVariantRelationship VariantRelation(const Variant& A, const Variant& B);

// --- Drawing ------------------------------------------------------------------------------

// Each RGB channel Percent % of the way from Color1 to Color2, rounded half to even.
TColor BlendColors(TColor Color1, TColor Color2, int Percent);
// Rows from Color1 at the top to Color2 at the bottom; a rectangle one row high or less
// draws nothing.
void DrawGradientRect(TCanvas* Canvas, const TRect& Rect, TColor Color1, TColor Color2);
// One line per pair of Points (offset by Origin), the pen running from Color2 for the first
// line to Color1 for the last.
void DrawShadedSegments(TCanvas* Canvas, TPoint Origin, std::span<const TPoint> Points, TColor Color1, TColor Color2);
// The colour as the image list takes it: RGB, with clNone as CLR_NONE and clDefault as CLR_DEFAULT.
TColor ColorForImageList(TColor Color);
// Image Index centred in Rect, clipped to it when larger; Selected blends it with the highlight.
void DrawImageListCentered(TCanvas* Canvas, const TRect& Rect, TImageList* Images, bool Selected, int Index);
// Dots one pixel long, two pen widths apart, from Start along Length pixels. Parity picks the
// checkerboard cells the dots fall on ((x + y) odd when true), so neighbouring lines line up.
void DrawDottedLine(TCanvas* Canvas, TPoint Start, int Length, bool Parity, bool Horizontal);
// The drop-downs' raised border: an outer and an inner raised edge, one pixel each.
void DrawRaisedPopupBorder(TCanvas* Canvas, TRect Rect);
// A drop-down's non-client frame on DC: its border (PaintBorder) with the 3D look, else one
// window-frame line.
void PaintPopupFrame(HDC DC, TWinControl* Popup, const std::function<void(TCanvas*, TRect)>& PaintBorder);

// One tree level's picture: an expand box (minus or plus) with connectors up, down and to the
// right, or connectors alone (cross and vertical line).
enum class TTreeElementEh {
    tehMinusUpDown, tehMinusUp, tehMinusDown, tehMinus,
    tehPlusUpDown, tehPlusUp, tehPlusDown, tehPlus,
    tehCrossUpDown, tehCrossUp, tehCrossDown, tehVLine
};
void DrawTreeElement(TCanvas* Canvas, const TRect& Rect, TTreeElementEh Style, bool ShiftLeft, double ScaleY,
                     double ScaleX, bool Parity);

// --- Button faces -------------------------------------------------------------------------

// The faces the button painters draw, in the painters' own numbering.
enum class TDrawButtonStyleEh {
    dbsDropDownEh, dbsEllipsisEh, dbsUpDownEh, dbsCheckBoxEh, dbsPlusEh, dbsMinusEh, dbsAltDropDownEh, dbsAltUpDownEh
};

// The part of a button the mouse holds: none, the whole button or a spin pair's upper half,
// or a spin pair's lower half.
enum : int { bppNoneEh = 0, bppUpperEh = 1, bppLowerEh = 2 };

// Face DrawStyle in Rect through the shared bitmap cache. Spin pairs paint their halves apart
// (PressedPart says which is pressed); flat classic faces get a one-pixel frame in FrameColor.
// CheckState is used by check boxes only. An empty Rect draws nothing.
void PaintButtonFace(TCanvas* Canvas, const TRect& Rect, TColor FrameColor, TCheckBoxState CheckState, bool Enabled,
                     bool Hot, bool Flat, int PressedPart, TDrawButtonStyleEh DrawStyle);
// One face, or one half of a spin pair, drawn directly by the painter of its style.
void PaintStyledButtonFace(TCanvas* Canvas, TDrawButtonStyleEh DrawStyle, const TRect& Rect, bool DownHalf,
                           bool Pressed, bool Hot, bool Flat, bool Enabled);
void PaintCheckBoxFace(TCanvas* Canvas, const TRect& Rect, TCheckBoxState CheckState, bool Hot, bool Pressed,
                       bool Flat, bool Enabled);

// The per-style painters.
void PaintDropDownFace(TCanvas* Canvas, const TRect& Rect, bool Pressed, bool Hot, bool Flat, bool Enabled);
void PaintEllipsisFace(TCanvas* Canvas, const TRect& Rect, bool Pressed, bool Hot, bool Flat, bool Enabled);
void PaintUpDownFace(TCanvas* Canvas, const TRect& Rect, bool DownHalf, bool Pressed, bool Hot, bool Flat,
                     bool Enabled);
void PaintPlusMinusFace(TCanvas* Canvas, const TRect& Rect, bool Plus, bool Pressed, bool Hot, bool Flat,
                        bool Enabled);
void PaintAltDropDownFace(TCanvas* Canvas, const TRect& Rect, bool Pressed, bool Hot, bool Flat, bool Enabled);
// A plain face with an arrow pointing up or down.
void PaintSpinArrowFace(TCanvas* Canvas, const TRect& Rect, bool Up, bool Pressed, bool Hot, bool Flat,
                        bool Enabled);

// Glyph sizes inside a face.
struct TEllipsisDotsEh {
    int Size;  // side of each square dot
    int Gap;   // between two dots
};
TEllipsisDotsEh EllipsisDotsForWidth(int InnerWidth);
struct TPlusMinusBarsEh {
    int Length;
    int Thickness;
};
// M is the smaller inner side of the face.
TPlusMinusBarsEh PlusMinusBarsForSide(int M, bool Plus, bool Flat);
// The width of an arrow's widest row in a face whose smaller side is SmallerSide.
int SpinArrowWidth(int SmallerSide);

// The box of a check box placed in Rect: the default size, cut to Rect; moved right, centred
// or down only when Rect is wider or higher than the default box.
TRect PlaceCheckBoxInRect(const TRect& Rect, TAlignment HorzAlignment, TTextLayout VertLayout);
// The system's check-box size.
TSize DefaultCheckBoxSize();
// Two thirds of the screen font's character height, even with themes and odd without, at most
// a scroll bar's width.
int ComputeEditButtonWidth();
// The height of a button Width wide: half as high again when Flat.
int EditButtonHeightForWidth(int Width, bool Flat);

// --- Button bitmap cache ------------------------------------------------------------------

// What a cached face looks like; every field takes part in the lookup.
struct TButtonBitmapKeyEh {
    int Width = 0;
    int Height = 0;
    TDrawButtonStyleEh DrawStyle = TDrawButtonStyleEh::dbsDropDownEh;
    bool Flat = false;
    bool Pressed = false;
    bool Hot = false;
    bool Enabled = true;
    bool DownHalf = false;
    TCheckBoxState CheckState = TCheckBoxState::cbUnchecked;

    bool operator==(const TButtonBitmapKeyEh&) const = default;
};

// One rendered face.
class TButtonBitmapInfoBitmapEh {
public:
    // Negative sizes of Key are kept as 0 (an empty face).
    explicit TButtonBitmapInfoBitmapEh(const TButtonBitmapKeyEh& Key);
    ~TButtonBitmapInfoBitmapEh();

    const TButtonBitmapKeyEh& Key() const { return FKey; }
    TBitmap* Bitmap() const { return FBitmap.get(); }

private:
    TButtonBitmapKeyEh FKey;
    std::unique_ptr<TBitmap> FBitmap;
};

// Each distinct face rendered once, in order of first use. A face rendered under the other
// theme state is stale: the cache empties itself when the state changes.
class TButtonsBitmapCache {
public:
    TButtonsBitmapCache();
    ~TButtonsBitmapCache();

    // The face for Key, rendered on first request.
    TBitmap* BitmapFor(const TButtonBitmapKeyEh& Key);
    int Count() const { return static_cast<int>(FEntries.size()); }
    TButtonBitmapInfoBitmapEh* EntryAt(int Index) const { return FEntries.at(static_cast<std::size_t>(Index)).get(); }
    void Clear();

private:
    std::vector<std::unique_ptr<TButtonBitmapInfoBitmapEh>> FEntries;
    bool FThemed = false;
};

// The cache every control of the process shares. It is emptied when the application's palette
// or style changes.
TButtonsBitmapCache& ButtonsBitmapCache();
void FlushButtonBitmapCache();

// --- Edit buttons ---------------------------------------------------------------------------

// The buttons at the right edge of an edit or a cell editor. The two spin styles (ebsUpDownEh,
// ebsAltUpDownEh) have an upper and a lower half. The order is stored in forms.
enum class TEditButtonStyleEh {
    ebsDropDownEh, ebsEllipsisEh, ebsGlyphEh, ebsUpDownEh, ebsPlusEh, ebsMinusEh, ebsAltDropDownEh, ebsAltUpDownEh
};

// The face a style is painted with; ebsGlyphEh has none of its own (it paints as a speed
// button) and answers dbsUpDownEh, as the face table does.
TDrawButtonStyleEh EditButtonDrawStyle(TEditButtonStyleEh Style);
bool IsSpinButtonStyle(TEditButtonStyleEh Style);

using TButtonClickEventEh = std::function<void(TObject* Sender, bool& Handled)>;
// TopButton: the press is on the button or a spin pair's upper half. Clearing AutoRepeat ends
// the repetition; setting it repeats any style.
using TButtonDownEventEh = std::function<void(TObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled)>;

// The window showing one edit button: paints its face, tracks which half of a spin pair is
// pressed and repeats OnDown while the mouse holds it (first after 400 ms, then every 100 ms).
class TEditButtonControlEh : public TSpeedButton {
public:
    static constexpr unsigned FirstRepeatDelay = 400;
    static constexpr unsigned RepeatInterval = 100;

    explicit TEditButtonControlEh(TComponent* AOwner);
    ~TEditButtonControlEh() override;

    TEditButtonStyleEh Style() const { return FStyle; }
    void SetStyle(TEditButtonStyleEh Value);
    // Without themes: a flat button that shows its raised edge as if the mouse were over it.
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    // Held down while the button's drop-down is open.
    bool AlwaysDown() const { return FAlwaysDown; }
    void SetAlwaysDown(bool Value);
    // bppNoneEh, bppUpperEh or bppLowerEh.
    int PressedPart() const { return FPressedPart; }
    // The repeat timer, once the first repeating press made it.
    TTimer* RepeatTimer() const { return FRepeatTimer; }

    // Does nothing while a release that left the pressed half is swallowed.
    void Click() override;

    TButtonDownEventEh OnDown;

protected:
    void FireDown(bool TopButton, bool& AutoRepeat);
    // The part under (X, Y) while the button is down: the upper or lower half of a spin pair
    // (the middle row or two press nothing), else the whole button.
    void TrackPressedPart(int X, int Y);
    // Runs the repeat timer at Interval; nothing when it already runs so.
    void RestartRepeatTimer(unsigned Interval);
    TTimer* ObtainRepeatTimer();
    void StopRepeat();
    // Whether the hot look is shown: the mouse over it with themes, else Active.
    bool HotLook() const;
    // A flat glyph button with themes always looks hot.
    bool FlatHot() const override;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    const char* ClassName() const override { return "TEditButtonControlEh"; }

private:
    void RepeatTimerTick();
    void PaintGlyphButton();
    void PaintThemedCaptionButton();

    TEditButtonStyleEh FStyle = TEditButtonStyleEh::ebsDropDownEh;
    bool FActive = false;
    bool FAlwaysDown = false;
    bool FClickSuppressed = false;
    int FPressedPart = bppNoneEh;
    TTimer* FRepeatTimer = nullptr;  // owned as a component
};

// A speed button that paints an edit-button face (ebsDropDownEh unless set) or, with
// ebsGlyphEh, its glyph and caption.
class TSpeedButtonEh : public TEditButtonControlEh {
public:
    using TEditButtonControlEh::TEditButtonControlEh;

protected:
    const char* ClassName() const override { return "TSpeedButtonEh"; }
};

class TEditButtonEh;

// Passes an action's Enabled, Hint, ShortCut and Visible on to an edit button while the
// button's value still equals the action's.
class TEditButtonActionLinkEh : public TActionLink {
public:
    explicit TEditButtonActionLinkEh(TEditButtonEh* Client) : FClient(Client) {}

    bool IsEnabledLinked() const override;
    bool IsHintLinked() const override;
    bool IsShortCutLinked() const override;
    bool IsVisibleLinked() const override;
    void SetEnabled(bool Value) override;
    void SetHint(const String& Value) override;
    void SetShortCut(TShortCut Value) override;
    void SetVisible(bool Value) override;

private:
    TEditButtonEh* FClient;
};

// The stored description of one edit button: of an edit control (built-in or extra) or of a
// column's collection.
class TEditButtonEh : public TCollectionItem {
public:
    // A built-in button of EditControl (nullptr for none).
    explicit TEditButtonEh(TWinControl* EditControl);
    // An item of Collection.
    explicit TEditButtonEh(TCollection* Collection);
    ~TEditButtonEh() override;

    void Assign(TPersistent* Source) override;

    TWinControl* EditControl() const { return FEditControl; }

    TBasicAction* Action() const;
    void SetAction(TBasicAction* Value);
    // Not owned; forgotten when the menu is destroyed.
    TPopupMenu* DropdownMenu() const;
    void SetDropdownMenu(TPopupMenu* Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value);
    // 1..4; other values are clamped.
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    TEditButtonStyleEh Style() const { return FStyle; }
    void SetStyle(TEditButtonStyleEh Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // 0: the default edit-button width.
    int Width() const { return FWidth; }
    void SetWidth(int Value);

    // Whether a form stores the property: not while it is taken from the action.
    bool IsEnabledStored() const;
    bool IsHintStored() const;
    bool IsShortCutStored() const;
    bool IsVisibleStored() const;

    // A new button window owned and parented by EditControl, 10 x 17, visible.
    virtual TEditButtonControlEh* BuildButtonControl(TWinControl* EditControl);
    // OnClick when set; else executes the action on the edit control (or on the collection's
    // owner when that is a component) and sets Handled.
    virtual void PerformClick(TObject* Sender, bool& Handled);
    // Lets the action update its state.
    virtual void RefreshAction();

    TButtonClickEventEh OnClick;
    TButtonDownEventEh OnDown;
    // Set by the owner that shows the button; told of every change that shows.
    TNotifyEvent OnChanged;

protected:
    // OnChanged when set, else the collection hears of the change.
    void NotifyChanged();
    // Takes the action's properties; with CheckDefaults only into those still at their default.
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);
    TEditButtonActionLinkEh* ActionLink() const { return FActionLink.get(); }
    // The defaults of a built-in kind, set by its constructor without notification.
    void SetDefaults(TShortCut ShortCut, bool Visible);
    const char* ClassName() const override { return "TEditButtonEh"; }

private:
    class TMenuWatch;

    TWinControl* FEditControl = nullptr;
    bool FEnabled = true;
    std::unique_ptr<TBitmap> FGlyph;
    String FHint;
    int FNumGlyphs = 1;
    TShortCut FShortCut = scNone;
    TEditButtonStyleEh FStyle = TEditButtonStyleEh::ebsDropDownEh;
    bool FVisible = false;
    int FWidth = 0;
    std::unique_ptr<TMenuWatch> FDropdownMenu;
    std::unique_ptr<TEditButtonActionLinkEh> FActionLink;
};

// The drop-down button of an edit: Alt+Down presses it.
class TDropDownEditButtonEh : public TEditButtonEh {
public:
    explicit TDropDownEditButtonEh(TWinControl* EditControl);
    explicit TDropDownEditButtonEh(TCollection* Collection);

protected:
    const char* ClassName() const override { return "TDropDownEditButtonEh"; }
};

// A drop-down button shown unless hidden.
class TVisibleEditButtonEh : public TEditButtonEh {
public:
    explicit TVisibleEditButtonEh(TWinControl* EditControl);
    explicit TVisibleEditButtonEh(TCollection* Collection);

protected:
    const char* ClassName() const override { return "TVisibleEditButtonEh"; }
};

// Alt+Down: the built-in buttons' shortcut.
constexpr TShortCut DropDownButtonShortCut = scAlt | VK_DOWN;

// An edit control's or a column's extra buttons.
class TEditButtonsEh : public TCollection {
public:
    TEditButtonsEh(TPersistent* Owner, TCollectionItemClass ItemClass);

    TEditButtonEh* ItemAt(int Index) const;

    // Told of each item that changed (nullptr: all of them).
    std::function<void(TCollectionItem* Item)> OnItemUpdate;

protected:
    TPersistent* GetOwner() override { return FOwner; }
    void Update(TCollectionItem* Item) override;
    const char* ClassName() const override { return "TEditButtonsEh"; }

private:
    TPersistent* FOwner;
};

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
    int FDownClientWidth = 0;
    int FDownClientHeight = 0;
};

// --- Popup list box -----------------------------------------------------------------------

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

// --- Data-aware helpers ---------------------------------------------------------------------

class TDataSet;
class TField;

// --- Special row --------------------------------------------------------------------------

// The row a lookup list, a column's drop-down box or a lookup grid shows above the data rows,
// with its own cell texts, key value, colour, font and short-cut (a row standing for "no
// value", say). Changes reach the owner through OnChanged, held back inside BeginUpdate.
class TSpecRowEh : public TPersistent {
public:
    // Owner gives the default font (a control's) and colour (a custom control's).
    explicit TSpecRowEh(TPersistent* Owner);
    ~TSpecRowEh() override;

    // From another special row: CellsText, the effective Color (so the copy's colour counts as
    // assigned), Font only when assigned there, ShortCut, ShowIfNotInKeyList, Value, Visible.
    void Assign(TPersistent* Source) override;
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    // The cell texts as one string: cells separated by ';' or line breaks, a cell in double
    // quotes may hold both (a doubled quote stands for one). A blank after ';' starts the next
    // cell's text.
    const String& CellsText() const { return FCellsText; }
    void SetCellsText(const String& Value);
    int CellCount() const { return static_cast<int>(FCells.size()); }
    // Empty for an Index outside the cells.
    String CellTextAt(int Index) const;

    // The assigned colour, else the default one.
    TColor Color() const;
    void SetColor(TColor Value);
    bool ColorAssigned() const { return FColorAssigned; }
    // The owner's colour when it is a custom control, else the row's own.
    TColor DefaultColor() const;

    // The row's own font when assigned; else it follows InheritedFont, copied in on each read.
    TFont* Font() const;
    void SetFont(TFont* Value);
    bool FontAssigned() const { return FFontAssigned; }
    // The owner's font when it is a control, else the row's own.
    TFont* InheritedFont() const;

    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value) { FShortCut = Value; }
    bool ShowIfNotInKeyList() const { return FShowIfNotInKeyList; }
    void SetShowIfNotInKeyList(bool Value);
    // The key value the row stands for; Null when none.
    const Variant& Value() const { return FValue; }
    void SetValue(const Variant& Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);

    TNotifyEvent OnChanged;

protected:
    void NotifyChanged();
    TPersistent* GetOwner() override { return FOwner; }
    const char* ClassName() const override { return "TSpecRowEh"; }

private:
    void FontChanged();

    TPersistent* FOwner;
    std::unique_ptr<TFont> FFont;
    std::vector<String> FCells;
    String FCellsText;
    TColor FColor = clWindow;
    bool FColorAssigned = false;
    bool FFontAssigned = false;
    TShortCut FShortCut = scAlt | VK_DELETE;
    bool FShowIfNotInKeyList = true;
    Variant FValue = Variant::Null();
    bool FVisible = false;
    int FUpdateCount = 0;
};

// --- Field lists --------------------------------------------------------------------------

// Appends the fields named in the ';'-separated FieldNames to List (nullptr: only checks the
// names). An unknown name raises EDatabaseError "Field 'X' not found" on behalf of Component,
// the fields before it already appended.
void CollectFieldsByNames(std::vector<TField*>* List, const TDataSet* DataSet, const TComponent* Component,
                          const String& FieldNames);
// The named fields in order; Fields is left as it was when a name is unknown.
void CollectFieldsToArray(const TDataSet* DataSet, const TComponent* Component, const String& FieldNames,
                          std::vector<TField*>& Fields);
// Null clears every named field; otherwise one name takes Value and several take the elements
// 0, 1, ... of the variant array Value. Nothing is written when a name or an element is
// missing (EDatabaseError, EVariantError).
void StoreFieldValues(TDataSet* DataSet, const String& FieldNames, const Variant& Value);

// --- Data links ---------------------------------------------------------------------------

class TDataLinkEh;
using TDataLinkEhDataEvent = std::function<void(TDataLinkEh* Sender, TDataEvent Event, std::intptr_t Info)>;

// A data link that hands every data event, after its own handling, to OnDataEvent.
class TDataLinkEh : public TDataLink {
public:
    TDataLinkEhDataEvent OnDataEvent;

protected:
    void DataEvent(TDataEvent Event, std::intptr_t Info) override;
};

// The values a filter drop-down offers for a column.
class IMemTableDataFieldValueListEh {
public:
    virtual ~IMemTableDataFieldValueListEh() = default;
    virtual TStrings* GetValues() = 0;
};

// The sorted, distinct texts of one field of a data source's dataset (case ignored, as the
// platform's sorted lists compare). Read again on the first GetValues after the field, the
// source, the data or the field list changed.
class TDatasetFieldValueListEh : public IMemTableDataFieldValueListEh {
public:
    TDatasetFieldValueListEh();
    ~TDatasetFieldValueListEh() override;

    const String& FieldName() const { return FFieldName; }
    void SetFieldName(const String& Value);
    TDataSource* DataSource() const { return FDataLink.DataSource(); }
    void SetDataSource(TDataSource* Value);
    // Refilled first when obsolete. While the dataset is being edited the list stays empty
    // and obsolete: reading it would post the edit. The dataset's current record is kept.
    TStrings* GetValues() override;
    bool Obsolete() const { return FObsolete; }

private:
    void HandleDataEvent(TDataEvent Event);
    void RefreshValues();

    TStringList FValues;
    String FFieldName;
    TDataLinkEh FDataLink;
    bool FObsolete = true;
};

// --- Bookmark list ------------------------------------------------------------------------

class TBMListEh;
// <0, 0, >0 as the entry at Index1 sorts before, with, after the one at Index2.
using TBMListSortCompareEh = std::function<int(TBMListEh* List, int Index1, int Index2)>;

// Bookmarks of a dataset's records kept in the dataset's bookmark order, so a binary search
// answers whether a record is listed; a one-entry cache answers repeated questions for the
// same record (the grid asks for each row it paints) with one comparison. Bookmarks are record
// identities: the list stays right when the dataset is re-sorted, re-opened or loses records.
// Base of the grid's selected rows and the sum list's records.
class TBMListEh {
public:
    TBMListEh();
    TBMListEh(const TBMListEh&) = delete;
    TBMListEh& operator=(const TBMListEh&) = delete;
    // Frees the entries without signalling: a descendant that reacts to the selection empties
    // the list in its own destructor.
    virtual ~TBMListEh();

    virtual TDataSet* GetDataSet() const { return nullptr; }

    // Direct access; InsertAt and AppendBookmark trust the caller to keep the order.
    int ItemCount() const { return static_cast<int>(FItems.size()); }
    const TBookmark& BookmarkAt(int Index) const { return FItems.at(static_cast<std::size_t>(Index)); }
    void InsertAt(int Index, const TBookmark& Bookmark);
    void DeleteAt(int Index);
    void AppendBookmark(const TBookmark& Bookmark);

    // The dataset's CompareBookmarks; raises the closed-dataset error without a dataset.
    int CompareItems(const TBookmark& A, const TBookmark& B);
    // True when listed, Index its position; else Index is where it would go.
    bool FindBookmark(const TBookmark& Bookmark, int& Index);
    // -1 when absent.
    int IndexOfBookmark(const TBookmark& Bookmark);

    // The current record's bookmark; "Cannot perform this operation on a closed dataset"
    // through RaiseListError while the link is not active.
    TBookmark CurrentBookmark();
    bool IsCurrentRowSelected();
    // Lists or unlists the current record. A row without a record (nothing to show, a record
    // being inserted) is never listed.
    virtual void SetCurrentRowSelected(bool Value);

    bool LinkActive() const { return FLinkActive; }
    // Empties the list (RemoveAll, SelectionChanged) and stores Value.
    void SetLinkActive(bool Value);

    // Deletes the listed records from the dataset, last entry first, controls disabled. An
    // entry whose record is gone (or hidden by a filter) is dropped without deleting anything.
    // A failing delete stops the run: the entries done are gone, the others stay.
    void DeleteListedRecords();

    // Empties the list, then SelectionChanged and InvalidateView; nothing for an empty list.
    virtual void RemoveAll();
    // Quicksorts the entries by Compare (see QuickSortEh.h). Until the next selection change
    // the list keeps that order and searches it entry by entry; selecting a record then puts
    // it back into bookmark order.
    virtual void SortWith(const TBMListSortCompareEh& Compare);

protected:
    virtual void InvalidateView() {}
    // Must raise: Exception with Message in the base.
    virtual void RaiseListError(const String& Message);
    // Every change of the entries: the base forgets the search cache.
    virtual void StringsChanged();
    virtual void SelectionChanged() {}

private:
    [[noreturn]] void ListError(const String& Message);
    void Changed();
    // Back into bookmark order after SortWith left another one.
    void RestoreBookmarkOrder();

    std::vector<TBookmark> FItems;
    // False while SortWith's order stands: searches then go entry by entry.
    bool FInBookmarkOrder = true;
    TBookmark FCacheBookmark;
    int FCacheIndex = -1;
    bool FCacheFound = false;
    bool FLinkActive = false;
};

// --- String list --------------------------------------------------------------------------

// The string list of the library's own units (the combo box's key items).
class TStringListEh : public TStringList {
public:
    using TStringList::TStringList;

protected:
    const char* ClassName() const override { return "TStringListEh"; }
};
