#pragma once
// The platform's list box: a window of text rows painted here, one of them selected. A click or a
// key that moves the selection fires OnClick, as the platform's selection change does; setting
// ItemIndex from code fires nothing.
#include "platform/core/StringList.h"
#include "platform/ui/Controls.h"

#include <memory>

class TListBox : public TCustomControl {
public:
    explicit TListBox(TComponent* AOwner);
    ~TListBox() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    bool Sorted() const { return FItems->Sorted(); }
    void SetSorted(bool Value) { FItems->SetSorted(Value); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int Value);
    int ItemHeight() const;
    // The item at a client point; -1 when none is there.
    int ItemAtPos(TPoint Pos) const;

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    const char* ClassName() const override { return "TListBox"; }

private:
    int VisibleRows() const;
    void ItemsChanged();
    void UpdateScrollBar();
    void MakeVisible(int Index);
    // The user selected Index: the selection moves and OnClick fires.
    void UserSelect(int Index);

    std::unique_ptr<TStringList> FItems;
    int FItemIndex = -1;
    int FTopIndex = 0;
};
