#pragma once
// The combo box edit TCustomDBComboBoxEh (published as TDBComboBoxEh): a data-aware edit with a
// drop-down list of texts. With KeyItems empty the text is the value and typing completes it
// from Items; with KeyItems, Items[i] shows the stored key KeyItems[i], the text cannot be
// edited and typing searches Items.
#include "editors/DBCtrlsEhEdit.h"

class TDropDownBoxEh : public TPersistent {
public:
    TDropDownAlign Align() const { return FAlign; }
    void SetAlign(TDropDownAlign Value) { FAlign = Value; }
    // Typing a character opens the list.
    bool AutoDrop() const { return FAutoDrop; }
    void SetAutoDrop(bool Value) { FAutoDrop = Value; }
    int Rows() const { return FRows; }
    void SetRows(int Value) { FRows = Value; }
    // The list shows its size grip.
    bool Sizable() const { return FSizable; }
    void SetSizable(bool Value) { FSizable = Value; }
    // -1: as wide as the widest item; 0 or less otherwise: the control's width.
    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    void Assign(TPersistent* Source) override;

protected:
    const char* ClassName() const override { return "TDropDownBoxEh"; }

private:
    TDropDownAlign FAlign = TDropDownAlign::daLeft;
    bool FAutoDrop = false;
    int FRows = 7;
    bool FSizable = false;
    int FWidth = 0;
};

using TCloseUpEventEh = std::function<void(TObject* Sender, bool Accept)>;
using TAcceptCloseUpEventEh = std::function<void(TObject* Sender, bool& Accept)>;
using TNotInListEventEh = std::function<void(TObject* Sender, const String& NewText, bool& RecheckInList)>;

class TCustomDBComboBoxEh : public TCustomDBEditEh {
public:
    explicit TCustomDBComboBoxEh(TComponent* AOwner);
    ~TCustomDBComboBoxEh() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    TStrings* KeyItems() const { return FKeyItems.get(); }
    void SetKeyItems(TStrings* Value) { FKeyItems->Assign(Value); }
    bool KeyBased() const { return FKeyBased; }
    // Items that can be chosen: in a key combo only those that have a key.
    int UsableCount() const { return FUsableCount; }
    int ItemIndex() const { return FItemIndex; }
    // Chooses an item and posts it, as writing Text does.
    void SetItemIndex(int Value) { ApplyItemIndex(Value); }
    TDropDownBoxEh* DropDownBox() const { return FDropDownBox.get(); }
    void SetDropDownBox(TDropDownBoxEh* Value) { FDropDownBox->Assign(Value); }
    // The drop-down list once it was first opened; nullptr before.
    TPopupListboxEh* PopupListbox() const { return FPopupListbox; }
    bool ListVisible() const;
    void Clear() override;

    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

    TNotifyEvent OnDropDown;
    TCloseUpEventEh OnCloseUp;
    TListGetImageIndexEventEh OnGetItemImageIndex;
    TNotInListEventEh OnNotInList;
    // Not published: the grid's filter editor decides whether a close-up accepts, and fills
    // the items when the list first needs them.
    TAcceptCloseUpEventEh OnAcceptCloseUp;
    TNotifyEvent OnItemsRequest;

    // The virtual operations the combo adds, in the order of their slots.
    virtual std::unique_ptr<TDropDownBoxEh> MakeDropDownBox();
    virtual bool LocateItemByText(const String& Text, bool Prefix);
    virtual bool HandleTypedText(const String& Str);
    virtual void RequestItems();
    virtual void SelectItemByIndex(int Index);

    std::unique_ptr<TEditButtonEh> MakeEditButton() override;
    TAlignment InitialAlignment() const override;
    Variant FetchValue() override;
    bool AcceptsChar(Char Key) override;
    int InitialImageIndex() const override { return FItemImageIndex; }
    void PrimaryButtonDown(bool LowerHalf) override;
    void OpenDropDown() override;
    void CloseDropDown(bool Accept) override;
    void FieldDataChanged() override;
    void PutText(const String& Text) override;
    void PutValue(const Variant& Value) override;
    void WriteTextToField() override;
    void PostEditToField() override;
    void ClearFieldMaxLength() override;
    String PaintCopyText() override;
    void RefreshImageIndex() override;

protected:
    void ApplyItemIndex(int Index);
    void SyncItemIndexToText();
    // Whether an open list's highlighted line follows the item that matches the text.
    virtual bool OpenListFollowsText() const { return true; }
    // The first usable item equal to Text, case ignored; with Prefix, the first that begins
    // with it. -1 when none.
    int FindItemIndex(const String& Text, bool Prefix) const;
    void StepItem(bool Previous);
    void ItemListChanged();
    void KeyListChanged();
    // A choice of the user: the item shows and the link counts as modified.
    void SelectItemByUser(int Index);
    TPopupListboxEh* ObtainPopupListbox();
    int WidestItemWidth();

    bool EditCanModify() override;
    void Change() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    const char* ClassName() const override { return "TCustomDBComboBoxEh"; }

private:
    void CompleteTypedText(Char Typed, int CaretBefore);
    void HandleKeyComboMouse(TMessage& Message);
    bool IsPositionUsable(int Index) const { return Index >= 0 && Index < FUsableCount; }

    std::unique_ptr<TStringList> FItems;
    std::unique_ptr<TStringListEh> FKeyItems;
    std::unique_ptr<TDropDownBoxEh> FDropDownBox;
    TPopupListboxEh* FPopupListbox = nullptr;  // owned as a component
    bool FKeyBased = false;
    int FUsableCount = 0;
    int FItemIndex = -1;
    Variant FKeyValue = Variant::Null();
    int FItemImageIndex = -1;
};

class TDBComboBoxEh : public TCustomDBComboBoxEh {
public:
    using TCustomDBComboBoxEh::TCustomDBComboBoxEh;
    using TCustomDBEditEh::CharCase;
    using TCustomDBEditEh::MaxLength;
    using TCustomDBEditEh::OnChange;
    using TCustomDBEditEh::SetCharCase;
    using TCustomDBEditEh::SetMaxLength;

protected:
    const char* ClassName() const override { return "TDBComboBoxEh"; }
};
