#pragma once
// The platform's list box: a window of text rows painted here, one of them selected. A click or a
// key that moves the selection fires OnClick, as the platform's selection change does; setting
// ItemIndex from code fires nothing. Owner-drawn styles hand each row to DrawItem; the virtual
// style shows Count rows whose texts and objects come from OnData and OnDataObject.
#include "platform/core/StringList.h"
#include "platform/ui/Controls.h"

#include <memory>

enum class TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbVirtualOwnerDraw };

using TOwnerDrawState = TSmallSet<struct TOwnerDrawStateTag>;
constexpr TOwnerDrawState odSelected{0x01};
constexpr TOwnerDrawState odFocused{0x10};

using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TLBGetDataEvent = std::function<void(TWinControl* Control, int Index, String& Data)>;
using TLBGetDataObjectEvent = std::function<void(TWinControl* Control, int Index, TObject*& DataObject)>;

class TCustomListBox : public TCustomControl {
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    bool Sorted() const { return FItems->Sorted(); }
    void SetSorted(bool Value) { FItems->SetSorted(Value); }
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle Value);
    // The rows shown: Items' count, or in the virtual style the count set here.
    int Count() const;
    void SetCount(int Value);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int Value);
    // Rows are this high; 0 (the default) takes the font's line height.
    int ItemHeight() const;
    void SetItemHeight(int Value);
    // The item at a client point; -1 when none is there.
    int ItemAtPos(TPoint Pos) const;
    // The client rectangle of an item's row, shown or not.
    TRect ItemRect(int Index) const;
    // An item's text and object, from Items or in the virtual style from OnData/OnDataObject.
    String ItemText(int Index) const;
    TObject* ItemObject(int Index) const;
    // LB_SELECTSTRING over the whole list: selects the first item whose text begins with Prefix
    // (case ignored) and returns its index, or -1 leaving the selection alone.
    int SelectString(const String& Prefix);

    TDrawItemEvent OnDrawItem;
    TLBGetDataEvent OnData;
    TLBGetDataObjectEvent OnDataObject;

    void Dispatch(TMessage& Message) override;

protected:
    void CreateWnd() override;
    void Paint() override;
    // One row as the platform draws an owner-drawn item: canvas in the selection colours, then
    // DrawItem, then the focus rectangle while the state holds odFocused. Index -1 only fills.
    virtual void CNDrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    // Where the focus rectangle of the item drawn in Rect goes: the whole row.
    virtual TRect ItemFocusRect(const TRect& Rect) const { return Rect; }
    // The item's picture: OnDrawItem when set, else its text.
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    // Whether the selected row shows the focus rectangle.
    virtual bool PaintsFocused() const { return Focused(); }
    // Shows the scroll position on the window's scroll bar.
    virtual void UpdateScrollBar();
    int VisibleRows() const;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    const char* ClassName() const override { return "TCustomListBox"; }

private:
    void ItemsChanged();
    void MakeVisible(int Index);
    // The user selected Index: the selection moves and OnClick fires.
    void UserSelect(int Index);

    std::unique_ptr<TStringList> FItems;
    TListBoxStyle FStyle = TListBoxStyle::lbStandard;
    int FVirtualCount = 0;
    int FItemHeight = 0;
    int FItemIndex = -1;
    int FTopIndex = 0;
};

class TListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;

protected:
    const char* ClassName() const override { return "TListBox"; }
};
