#pragma once
// Edit buttons: the window of one button, their stored description (TEditButtonEh and its
// kinds, the action link) and the collection an edit or column keeps them in.
#include "controls/ToolCtrlsEhDraw.h"
#include "platform/core/Collection.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Button.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

class TImageList;
class TPopupMenu;
class TShape;
class TTimer;

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
    // Pops Menu up under the button during a press and lets the button up at once.
    void DropDownMenu(TPopupMenu* Menu);

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

// One edit button's window and the one-pixel separator left of it, which shows in the flat look
// without themes.
struct TEditButtonEntryEh {
    TShape* Separator = nullptr;
    TEditButtonControlEh* Control = nullptr;
};

// The button windows an edit or a cell editor lays along its right edge, the first entry
// leftmost.
struct TEditButtonStripEh {
    std::vector<TEditButtonEntryEh> Entries;

    std::size_t Count() const { return Entries.size(); }
    // nullptr outside the entries.
    TEditButtonControlEh* Control(int Index) const;
    TShape* Separator(int Index) const;
    // The entry whose control Sender is; -1 for none.
    int IndexOf(const TObject* Sender) const;
    // Adds entries up to Count: a control from MakeControl and a separator on Parent each.
    void Grow(std::size_t Count, TWinControl* Parent, const std::function<TEditButtonControlEh*()>& MakeControl);
    // Lays the first Widths.size() entries leftwards from Right, each Widths[i] wide and Height
    // high with its separator (one pixel while visible) left of it; returns the strip's left edge.
    int Place(int Right, const std::vector<int>& Widths, int Height) const;
};

// The height of a visible button Width wide in a strip StripHeight high: the button's own
// height where the strip is more than half as high again as the button is wide (rounded half
// to even). The one rule for the edits' strips and the grid's cell buttons.
int EditButtonHeightInStrip(int StripHeight, int Width, bool Flat);

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
