#pragma once
// Routines the grids and edit controls share: the themed-or-classic switch, input helpers,
// variant comparison with arrays and Null, colour blending, gradients, dotted tree lines,
// image-list centring and where a drop-down opens.
#include "platform/core/Alignment.h"
#include "platform/core/Collection.h"
#include "platform/core/Variant.h"
#include "platform/data/DataTypes.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Button.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Label.h"
#include "platform/ui/Messages.h"
#include "platform/ui/Types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

class TBitmap;
class TCanvas;
class TImageList;
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
