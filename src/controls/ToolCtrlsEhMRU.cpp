// TMRUListEh, the recently entered texts, and TMRUListboxEh, their drop-down.
#include "controls/ToolCtrlsEh.h"

#include "platform/core/SysUtils.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/ScrollBar.h"

#include <algorithm>

// --- The texts ------------------------------------------------------------------------------

TMRUListEh::TMRUListEh(TPersistent* AOwner) : FOwner(AOwner), FItems(std::make_unique<TStringList>()) {}

TMRUListEh::~TMRUListEh() = default;

TStrings* TMRUListEh::Items() const { return FItems.get(); }

void TMRUListEh::SetItems(TStrings* Value) { FItems->Assign(Value); }

void TMRUListEh::SetActive(bool Value)
{
    if (Value == FActive)
        return;
    FActive = Value;
    if (OnActiveChanged)
        OnActiveChanged(this);
}

void TMRUListEh::SetLimit(int Value)
{
    if (Value == FLimit)
        return;
    FLimit = Value;
    TrimToLimit();
}

void TMRUListEh::TrimToLimit()
{
    // A negative limit keeps nothing rather than deleting from an empty list.
    const int limit = std::max(FLimit, 0);
    if (FItems->Count() <= limit)
        return;
    FItems->BeginUpdate();
    while (FItems->Count() > limit)
        FItems->Delete(0);
    FItems->EndUpdate();
}

bool TMRUListEh::SameEntry(const String& A, const String& B) const
{
    return FCaseSensitive ? A == B : AnsiSameText(A, B);
}

void TMRUListEh::AddRecentText(const String& S)
{
    if (Trim(S).isEmpty())
        return;
    for (int index = 0; index < FItems->Count(); ++index)
        if (SameEntry(FItems->Strings(index), S)) {
            FItems->Move(index, FItems->Count() - 1);
            return;
        }
    FItems->Add(S);
    TrimToLimit();
}

bool TMRUListEh::CollectMatches(TStrings* Dest, const String& Prefix)
{
    // The scan is short (Limit texts), so it never gives way to pending keys and always completes.
    Dest->BeginUpdate();
    Dest->Clear();
    for (int index = 0; index < FItems->Count(); ++index) {
        const String& item = FItems->Strings(index);
        bool accept = SameEntry(item.left(Prefix.size()), Prefix);
        if (OnFilterItem)
            OnFilterItem(this, item, accept);
        if (accept)
            Dest->Add(item);
    }
    Dest->EndUpdate();
    return true;
}

void TMRUListEh::ListClosedUp(bool Accept)
{
    if (OnClosedUp)
        OnClosedUp(this, Accept);
}

void TMRUListEh::ListDroppedDown()
{
    if (OnDroppedDown)
        OnDroppedDown(this);
}

void TMRUListEh::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TMRUListEh*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    SetActive(source->FActive);
    SetItems(source->FItems.get());
    SetLimit(source->FLimit);
    SetRows(source->FRows);
    SetWidth(source->FWidth);
    SetCaseSensitive(source->FCaseSensitive);
}

// --- The drop-down --------------------------------------------------------------------------

TMRUListboxEh::TMRUListboxEh(TComponent* AOwner) : TPopupListboxEh(AOwner)
{
    FScrollBar = new TScrollBar(this);
    FScrollBar->SetKind(TScrollBarKind::sbVertical);
    FScrollBar->SetTabStop(false);
    FScrollBar->SetVisible(false);
    FScrollBar->SetWidth(GetSystemMetrics(SM_CXVSCROLL));
    FScrollBar->SetParent(this);
    // The bar scrolls the list as the list's own bar would.
    FScrollBar->OnScroll = [this](TObject*, TScrollCode Code, int& Pos) {
        static constexpr WORD Codes[] = {SB_LINEUP,   SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN,  SB_THUMBPOSITION,
                                         SB_THUMBTRACK, SB_TOP,    SB_BOTTOM, SB_ENDSCROLL};
        Perform(WM_VSCROLL, MAKEWPARAM(Codes[static_cast<int>(Code)], Pos));
        Pos = TopIndex();
    };
}

void TMRUListboxEh::CreateParams(TCreateParams& Params)
{
    TPopupListboxEh::CreateParams(Params);
    Params.Style &= ~(WS_VSCROLL | WS_HSCROLL);
}

void TMRUListboxEh::CreateWnd()
{
    TPopupListboxEh::CreateWnd();
    UpdateScrollBar();
}

TRect TMRUListboxEh::ScrollBarRect() const
{
    const TSizeGripEh* grip = SizeGrip();
    const int width = FScrollBar->Width();
    const int right = ClientWidth();
    switch (grip->Position()) {
    case TSizeGripPosition::sgpBottomRight: return Rect(right - width, 0, right, ClientHeight() - grip->Height());
    case TSizeGripPosition::sgpTopRight:
        return Rect(right - width, grip->Height(), right, ClientHeight() - grip->Height());
    default: return Rect(right - width, 0, right, ClientHeight());
    }
}

void TMRUListboxEh::UpdateScrollBar()
{
    if (!HandleAllocated() || FLayingOut)
        return;
    FLayingOut = true;
    const TRect bar = ScrollBarRect();
    FScrollBar->SetBounds(bar.Left, bar.Top, bar.Width(), std::max(bar.Height(), 0));
    const int rows = ClientHeight() / ItemHeight();
    TSizeGripEh* grip = SizeGrip();
    const bool gripOnRight = grip->Position() == TSizeGripPosition::sgpTopRight ||
                             grip->Position() == TSizeGripPosition::sgpBottomRight;
    if (Count() > 0 && Count() > rows) {
        FScrollBar->SetPageSize(0);
        FScrollBar->SetParams(TopIndex(), 0, Count() - 1);
        FScrollBar->SetPageSize(rows);
        FScrollBar->SetVisible(true);
        grip->SetTriangleShape(!gripOnRight);
    } else {
        FScrollBar->SetVisible(false);
        grip->SetTriangleShape(true);
    }
    FLayingOut = false;
}

void TMRUListboxEh::LayoutScrollBar()
{
    const TRect bar = ScrollBarRect();
    FScrollBar->SetBounds(bar.Left, bar.Top, bar.Width(), std::max(bar.Height(), 0));
}

void TMRUListboxEh::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SIZE:
    case WM_SIZEGRIPSIDE:
    case CM_CHANGED:
        TPopupListboxEh::Dispatch(Message);
        UpdateScrollBar();
        return;
    default: TPopupListboxEh::Dispatch(Message); return;
    }
}

TMRUListboxEh* NewMRUListbox(TComponent* Owner)
{
    auto* box = new TMRUListboxEh(Owner);
    box->SetVisible(false);
    box->SetCtl3D(false);
    box->SetSorted(true);
    return box;
}

int FillMRUListbox(TMRUListboxEh* Box, const TStrings* Items,
                   const std::function<void(const String& Text, bool& Accept)>& Accept)
{
    TStrings* matches = Box->Items();
    matches->BeginUpdate();
    matches->Clear();
    for (int i = 0; i < Items->Count(); ++i) {
        bool accept = false;
        Accept(Items->Strings(i), accept);
        if (accept)
            matches->Add(Items->Strings(i));
    }
    matches->EndUpdate();
    return matches->Count();
}

void PlaceMRUListbox(TMRUListboxEh* Box, TControl* Edit, const TMRUListEh* List, bool Opening)
{
    if (Opening) {
        Box->SetColor(Edit->Color());
        Box->SetFont(Edit->Font());
        Box->SetItemIndex(-1);
        Box->SetWidth(std::max(Edit->Width(), List->Width()));
    }
    Box->SetHeightByRows(std::min(Box->Items()->Count(), List->Rows()));
    const TPoint at = PlaceDropDownUnderEdit(Edit, Box, TDropDownAlign::daLeft);
    Box->SetBounds(at.X, at.Y, Box->Width(), Box->Height());
}
