#pragma once
// The platform's combo box: an edit with a drop-down button and a list window of its own. The
// list is a popup that never takes the focus: while it is open the caret stays in the edit, the
// user may go on typing, and the edit forwards the keys and wheel turns that move in the list.
//
// Events: OnDropDown fires before the list opens (a handler may refill Items); a choice from the
// list sets the text and fires OnClick, then OnSelect (or OnChange when OnSelect is not assigned),
// then OnCloseUp as the list closes. Typing fires OnChange. Code fires nothing.
#include "platform/core/StringList.h"
#include "platform/ui/Edit.h"

#include <algorithm>
#include <memory>

enum class TComboBoxStyle { csDropDown, csDropDownList };

class TComboListWindow;

class TCustomComboBox : public TCustomEdit {
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    // Clearing the items leaves the text as it is.
    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    bool Sorted() const { return FItems->Sorted(); }
    void SetSorted(bool Value) { FItems->SetSorted(Value); }
    // The chosen item; setting it shows the item's text (-1 empties the text).
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    bool DroppedDown() const { return FDroppedDown; }
    void SetDroppedDown(bool Value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) { FDropDownCount = std::max(Value, 1); }
    // Drops the list as the user starts typing.
    bool AutoDropDown() const { return FAutoDropDown; }
    void SetAutoDropDown(bool Value) { FAutoDropDown = Value; }
    // Completes typed text with the first item it begins, the completion selected.
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool Value) { FAutoComplete = Value; }

    using TCustomEdit::CharCase;
    using TCustomEdit::MaxLength;
    using TCustomEdit::OnChange;
    using TCustomEdit::SetCharCase;
    using TCustomEdit::SetMaxLength;

    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TNotifyEvent OnSelect;

    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

protected:
    virtual void DropDown();
    virtual void CloseUp();
    virtual void Select();
    void Change() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void PaintWindow(HDC DC) override;
    void CreateWnd() override;
    const char* ClassName() const override { return "TCustomComboBox"; }

private:
    friend class TComboListWindow;
    TRect ButtonRect() const;
    // Takes item Index as the user's choice.
    void ChooseItem(int Index);
    // Hides the list; with Accept the highlighted item is chosen first.
    void CloseList(bool Accept);
    // The user stepped Delta items from the chosen one, with the list closed.
    void StepItem(int Delta);
    // The first item that begins with Prefix, ignoring case; -1 when none.
    int FindPrefix(const String& Prefix, int From = 0) const;
    void ItemsChanged();
    void Complete();
    void SelectByLetter(Char Key);
    String ComboText() const { return WindowText(); }
    void ShowComboText(const String& Value);

    std::unique_ptr<TStringList> FItems;
    std::unique_ptr<TComboListWindow> FList;
    TComboBoxStyle FStyle = TComboBoxStyle::csDropDown;
    int FItemIndex = -1;
    bool FDroppedDown = false;
    int FDropDownCount = 8;
    bool FAutoDropDown = false;
    bool FAutoComplete = true;
};

class TComboBox : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;

protected:
    const char* ClassName() const override { return "TComboBox"; }
};
