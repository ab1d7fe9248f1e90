#pragma once
// The data-aware edit control TCustomDBEditEh (published as TDBEditEh), its edit image and the
// interface of a window that hosts it as a cell editor. The sources split by concern:
//   DBCtrlsEhEdit.cpp          construction, properties, reading and writing the field
//   DBCtrlsEhEditMessages.cpp  keys, messages and focus
//   DBCtrlsEhEditPaint.cpp     geometry and painting
//   DBCtrlsEhButtons.cpp       the edit-button strip and the button events
//   DBCtrlsEhMRU.cpp           the drop-down of recently used texts and in-place hosting
#include "controls/ToolCtrlsEh.h"
#include "editors/DBCtrlsEhFieldLink.h"
#include "platform/data/DataSet.h"
#include "platform/ui/MaskEdit.h"

#include <cstdint>
#include <memory>
#include <vector>

class TCustomDBEditEh;
class TImageList;
class TShape;
class TToolTipsWindow;

// Tells an edit that its image settings changed: it builds its window again.
constexpr unsigned CM_EDITIMAGECHANGEDEH = WM_USER + 101;

// The image at the left edge of an edit; its index may follow the value.
class TEditImageEh : public TPersistent {
public:
    explicit TEditImageEh(TCustomDBEditEh* EditControl);

    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* Value);
    // The control is at least as high as an image.
    bool UseImageHeight() const { return FUseImageHeight; }
    void SetUseImageHeight(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // 0: the image list's width.
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    // All but UseImageHeight.
    void Assign(TPersistent* Source) override;

protected:
    TPersistent* GetOwner() override;
    const char* ClassName() const override { return "TEditImageEh"; }

private:
    void Changed();

    TCustomDBEditEh* FEditControl;
    int FImageIndex = -1;
    TImageList* FImages = nullptr;
    bool FUseImageHeight = true;
    bool FVisible = false;
    int FWidth = 0;
};

// What a window (the data grid) implements to host a data-aware edit as its cell editor: it
// sees the editor's messages and keys first.
class IInplaceEditHolderEh {
public:
    virtual bool CanEditorModify(TCustomDBEditEh* Editor) = 0;
    // The screen point and message time of the holder's last mouse press; false when none.
    virtual bool GetLastMouseDown(TPoint& Pos, std::uint32_t& Time) = 0;
    // A non-zero Result means the holder handled the message.
    virtual void EditorWndProc(TCustomDBEditEh* Editor, TMessage& Message) = 0;
    virtual void EditorKeyDown(TCustomDBEditEh* Editor, WORD& Key, TShiftState Shift) = 0;
    virtual void EditorKeyPress(TCustomDBEditEh* Editor, Char& Key) = 0;
    virtual void EditorKeyUp(TCustomDBEditEh* Editor, WORD& Key, TShiftState Shift) = 0;

protected:
    ~IInplaceEditHolderEh() = default;
};

using TOnCheckDrawRequiredStateEventEh = std::function<void(TObject* Sender, bool& DrawState)>;
using TGetImageIndexEventEh = std::function<void(TObject* Sender, int& ImageIndex)>;
using TUpdateDataEventEh = std::function<void(TObject* Sender, bool& Handled)>;

// Runs Handler, when assigned, with Posting set while it runs; answers whether it wrote the
// value itself.
bool UpdateDataHandled(const TUpdateDataEventEh& Handler, TObject* Sender, bool& Posting);

// A masked edit bound to one field of a dataset (or holding a value of its own), with edit
// buttons at the right edge, an image at the left, a drop-down of recently used texts and a
// red dotted line under an empty required value. Setting Text or Value puts the dataset into
// edit state, shows the text and writes it to the field at once; what the user types is
// written when the focus leaves.
class TCustomDBEditEh : public TCustomMaskEdit, public IPopupOwnerEh {
public:
    explicit TCustomDBEditEh(TComponent* AOwner);
    ~TCustomDBEditEh() override;

    TFieldDataLinkEh* DataLink() const { return FDataLink.get(); }
    TField* Field() const { return FDataLink->Field(); }

    // The masked edit's text; writing it posts.
    String Text() const { return TCustomMaskEdit::Text(); }
    void SetText(const String& Value);
    Variant Value() { return FetchValue(); }
    void SetValue(const Variant& Value) { AssignValue(Value); }
    virtual void Clear() override;

    TAlignment Alignment() const;
    void SetAlignment(TAlignment Value);
    const String& EditMask() const { return TCustomMaskEdit::EditMask(); }
    void SetEditMask(const String& Value);
    bool EditMaskAssigned() const { return FEditMaskAssigned; }
    bool ReadOnly() const { return TCustomMaskEdit::ReadOnly(); }
    void SetReadOnly(bool Value);
    String DataField() { return GetDataField(); }
    TDataSource* DataSource() { return GetDataSource(); }

    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool AlwaysShowBorder() const { return FAlwaysShowBorder; }
    void SetAlwaysShowBorder(bool Value);
    bool HighlightRequired() const { return FHighlightRequired; }
    void SetHighlightRequired(bool Value);
    bool Tooltips() const { return FTooltips; }
    void SetTooltips(bool Value);
    bool ShowHint() const { return FOwnShowHint; }
    void SetShowHint(bool Value);
    // Either makes the edit window multi-line (wrapped, Enter typing a line break with
    // WantReturns); a PasswordChar keeps it one masked line.
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value);
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    TImageList* Images() const { return FEditImage->Images(); }
    // Sets the image list and shows the image.
    void SetImages(TImageList* Value);
    TEditImageEh* EditImage() const { return FEditImage.get(); }
    TEditButtonEh* EditButton() const { return FEditButton.get(); }
    void SetEditButton(TEditButtonEh* Value) { FEditButton->Assign(Value); }
    TEditButtonsEh* EditButtons() const { return FEditButtons.get(); }
    void SetEditButtons(TEditButtonsEh* Value) { FEditButtons->Assign(Value); }
    TMRUListEh* MRUList() const { return FMRUList.get(); }
    void SetMRUList(TMRUListEh* Value) { FMRUList->Assign(Value); }
    // The MRU list box once it was first shown; nullptr before.
    TMRUListboxEh* MRUListbox() const { return FMRUListbox; }
    bool DroppedDown() const { return FDroppedDown; }
    int ButtonStripWidth() const { return FButtonWidth; }
    int ButtonHeight() const { return FButtonHeight; }
    // The button control of entry Index: 0 the main button, i + 1 extra button i.
    TEditButtonControlEh* ButtonControl(int Index) const;
    TShape* ButtonSeparator(int Index) const;

    // In-place hosting (a holder without IInplaceEditHolderEh raises; nullptr ends the mode).
    void SetInplaceEditHolder(TWinControl* Holder);
    bool InplaceMode() const { return FInplaceHolder != nullptr; }
    void MoveToRect(const TRect& Rect);
    void HideInplace();
    void SetFocus() override;

    void SetOnGetImageIndex(TGetImageIndexEventEh Value);

    // IPopupOwnerEh: a drop-down closes itself through its owner edit.
    void CloseUp(bool Accept) override { CloseDropDown(Accept); }

    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    bool ExecuteAction(TBasicAction* Action) override;
    bool UpdateAction(TBasicAction* Action) override;

    TButtonClickEventEh OnButtonClick;
    TButtonDownEventEh OnButtonDown;
    TOnCheckDrawRequiredStateEventEh OnCheckDrawRequiredState;
    TUpdateDataEventEh OnUpdateData;

    // The virtual operations of the control, in the order of their slots.
    virtual bool IsButtonUsable();
    virtual std::unique_ptr<TFieldDataLinkEh> MakeFieldDataLink();
    virtual std::unique_ptr<TEditButtonEh> MakeEditButton();
    virtual TEditButtonControlEh* MakeEditButtonControl();
    virtual std::unique_ptr<TEditButtonsEh> MakeEditButtons();
    virtual std::unique_ptr<TEditImageEh> MakeEditImage();
    virtual TMRUListboxEh* MakeMRUListbox();
    virtual bool HoldsOwnValue() const;
    virtual TAlignment InitialAlignment() const;
    virtual String InitialEditMask() const;
    virtual int InitialImageIndex() const;
    virtual String GetDataField() const;
    virtual TDataSource* GetDataSource() const;
    virtual String PaintCopyText();
    virtual Variant FetchValue();
    virtual bool AcceptsChar(Char Key);
    virtual void LinkActivityChanged();
    virtual int FitHeightToFont();
    virtual void PrimaryButtonDown(bool LowerHalf);
    virtual TRect ComputeTextRect(const TRect& Client);
    virtual void CloseDropDown(bool Accept);
    virtual void FieldDataChanged();
    virtual void OpenDropDown();
    virtual void HandleEditButtonClick(TObject* Sender);
    virtual void HandleEditButtonDown(TObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled);
    virtual void HandleEditButtonMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    virtual void HandleEditButtonMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void EditingStateChanged();
    virtual void AcceptMRUItem(const String& Text, bool& Accept);
    virtual void PutText(const String& Text);
    virtual void PutValue(const Variant& Value);
    virtual void WriteTextToField();
    virtual void RememberMRUListSize();
    virtual void PaintRequiredMark(TCanvas* Canvas);
    virtual void ClearFieldMaxLength();
    virtual void SetDataField(const String& Value);
    virtual void SetDataSource(TDataSource* Value);
    virtual void SetFocusedState(bool Value);
    virtual void AssignValue(const Variant& Value);
    virtual void RefreshReadOnlyState();
    virtual void ApplyFixedHeight();
    virtual void RefreshShowHint();
    virtual void RefreshImageIndex();
    virtual void TextChangedByUser();
    virtual void PostEditToField();

protected:
    // Sets the masked edit's mask without marking EditMask assigned (field masks).
    void ApplyEditMask(const String& Value);
    // The window's own read-only state alone.
    void ApplyReadOnly(bool Value);
    void ApplyTextRect();
    TRect ButtonAreaRect() const;
    TRect ImageAreaRect() const;
    void RefreshActiveBorder();
    void HandleLinkDataChange();
    // Sets the edit text when it differs, as code does.
    void ShowEditText(const String& Value);
    // Puts the dataset into edit state when bound, runs Show and posts; a failing post shows
    // the record again and raises. Nothing when bound without a field to write.
    template <class TShow>
    void WriteThrough(TShow Show);

    // Makes the main button again: a descendant whose MakeEditButton differs calls it from its
    // constructor (a constructor reaches only the base's factories).
    void RenewEditButton();

    // The button strip.
    void RebuildEditButtonControls();
    void SyncEditButtonControls();
    void EditButtonsChanged();
    // The index of a button control in the strip; -1 for another sender.
    int ButtonControlIndex(TObject* Sender) const;
    TEditButtonEh* ButtonOfEntry(int Index) const;
    // Presses and clicks the button of entry Index, as its short cut does.
    void PressButtonControl(int Index);
    bool FireButtonShortCut(WORD Key, TShiftState Shift);
    bool NoClickCloseUp() const { return FNoClickCloseUp; }
    void SetNoClickCloseUp(bool Value) { FNoClickCloseUp = Value; }
    void SetDroppedDown(bool Value) { FDroppedDown = Value; }

    // The drop-down of recently used texts.
    void ShowMRUList();
    void HideMRUList(bool Accept);
    TMRUListboxEh* ObtainMRUListbox();
    bool MRUListShown() const;
    // Puts a text the user chose (from a list): the link counts it as modified.
    void PutUserText(const String& Text);
    // The keys an open drop-down List takes (Enter and Esc close it through Close, accepting on
    // Enter; paging and Ctrl+Home/End go to it); true when consumed.
    bool RouteKeyToList(TMessage& Message, TWinControl* List, const std::function<void(bool Accept)>& Close);
    // A wheel turn goes to an open drop-down first; true when it took it.
    static bool RouteWheelToList(TMessage& Message, TWinControl* List);
    // The text of an empty edit: the mask laid on nothing.
    String EmptyEditText() const;
    // Whether a top-level drop-down window (or one of its children) is the control under the
    // pointer that cancels a mode.
    bool OwnsWindow(TControl* Control) const;

    // The in-place holder's turn at a message; true when it handled it.
    bool HolderHandled(TMessage& Message);
    // The in-place holder's turn at a key going down (it may consume it).
    void HolderKeyDown(WORD& Key, TShiftState Shift);
    void TurnIntoDoubleClick(TMessage& Message);

    bool EditCanModify() override;
    void Change() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void CreateWnd() override;
    void Resize() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void PaintWindow(HDC DC) override;
    const char* ClassName() const override { return "TCustomDBEditEh"; }

    void SetPasswordChar(Char Value);
    TCanvas* ControlCanvas();
    bool FocusedState() const { return FFocused; }
    // Focused, the window shows its text left-aligned; otherwise as Alignment says.
    virtual void RefreshWindowAlignment();

private:
    void RefreshMultiLine();
    void HandleExit(TMessage& Message);
    bool HintShow(TMessage& Message);
    void RefreshImageWidth();
    bool IsMouseButtonMessage(unsigned Msg) const;
    bool OverStripOrImage(TPoint At) const;
    unsigned DialogCode();

    std::unique_ptr<TFieldDataLinkEh> FDataLink;
    std::unique_ptr<TEditButtonEh> FEditButton;
    std::unique_ptr<TEditButtonsEh> FEditButtons;
    std::unique_ptr<TEditImageEh> FEditImage;
    std::unique_ptr<TMRUListEh> FMRUList;
    TMRUListboxEh* FMRUListbox = nullptr;  // owned as a component
    std::unique_ptr<TCanvas> FCanvas;
    TEditButtonStripEh FButtonControls;
    int FButtonWidth = 0;
    int FButtonHeight = 0;
    int FImageWidth = 0;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    bool FAlignmentAssigned = false;
    bool FEditMaskAssigned = false;
    bool FFlat = false;
    bool FAlwaysShowBorder = false;
    bool FHighlightRequired = false;
    bool FTooltips = false;
    bool FOwnShowHint = false;
    bool FWordWrap = false;
    bool FWantReturns = false;
    bool FWantTabs = false;
    bool FAutoSize = true;
    bool FFocused = false;
    bool FBorderActive = false;
    bool FMouseAbove = false;
    bool FDroppedDown = false;
    bool FNoClickCloseUp = false;
    bool FUserTextChanged = false;
    // The edit sizes the MRU list itself: that is no size the user chose.
    bool FPlacingMRUList = false;
    bool FPosting = false;
    // A key went down that closed the MRU list: its character types nothing.
    bool FSwallowListKeyChar = false;
    TToolTipsWindow* FToolTipsWindow = nullptr;  // owned as a component
    TGetImageIndexEventEh FOnGetImageIndex;
    TWinControl* FInplaceHolder = nullptr;
    IInplaceEditHolderEh* FInplaceInterface = nullptr;
};

template <class TShow>
void TCustomDBEditEh::WriteThrough(TShow Show)
{
    if (!FDataLink->OwnValueMode()) {
        // Without a field there is nothing to write: the dataset stays as it is.
        if (!FDataLink->IsOperational())
            return;
        FDataLink->DataSet()->Edit();
    }
    Show();
    if (FPosting)
        return;
    try {
        PostEditToField();
    } catch (...) {
        FDataLink->ReloadRecord();
        throw;
    }
}

// The data-aware edit as forms place it.
class TDBEditEh : public TCustomDBEditEh {
public:
    using TCustomDBEditEh::TCustomDBEditEh;
    using TCustomDBEditEh::AutoSelect;
    using TCustomDBEditEh::CharCase;
    using TCustomDBEditEh::MaxLength;
    using TCustomDBEditEh::OnChange;
    using TCustomDBEditEh::PasswordChar;
    using TCustomDBEditEh::SetAutoSelect;
    using TCustomDBEditEh::SetCharCase;
    using TCustomDBEditEh::SetMaxLength;
    using TCustomDBEditEh::SetPasswordChar;

protected:
    const char* ClassName() const override { return "TDBEditEh"; }
};
