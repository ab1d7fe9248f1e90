#include "platform/ui/StdActns.h"

#include "platform/ui/Clipboard.h"
#include "platform/ui/Edit.h"

namespace {

bool HasSelection(const TCustomEdit* Edit) { return Edit->SelLength() > 0; }

}  // namespace

bool TEditAction::HandlesTarget(TObject* Target)
{
    const auto* edit = dynamic_cast<TCustomEdit*>(Target);
    return edit != nullptr && edit->Focused();
}

TCustomEdit* TEditAction::Edit(TObject* Target) { return static_cast<TCustomEdit*>(Target); }

bool TEditAction::Writable(TObject* Target) { return !Edit(Target)->ReadOnly(); }

bool TEditCopy::ExecuteTarget(TObject* Target)
{
    Edit(Target)->CopyToClipboard();
    return true;
}

void TEditCopy::UpdateTarget(TObject* Target) { SetEnabled(HasSelection(Edit(Target))); }

bool TEditCut::ExecuteTarget(TObject* Target)
{
    Edit(Target)->CutToClipboard();
    return true;
}

void TEditCut::UpdateTarget(TObject* Target)
{
    SetEnabled(HasSelection(Edit(Target)) && Writable(Target));
}

bool TEditPaste::ExecuteTarget(TObject* Target)
{
    Edit(Target)->PasteFromClipboard();
    return true;
}

void TEditPaste::UpdateTarget(TObject* Target)
{
    SetEnabled(Writable(Target) && Clipboard()->HasFormat(CF_TEXT));
}

bool TEditSelectAll::ExecuteTarget(TObject* Target)
{
    Edit(Target)->SelectAll();
    return true;
}

void TEditSelectAll::UpdateTarget(TObject* Target)
{
    const TCustomEdit* edit = Edit(Target);
    const int length = static_cast<int>(edit->Text().size());
    SetEnabled(length > 0 && edit->SelLength() != length);
}

bool TEditDelete::ExecuteTarget(TObject* Target)
{
    Edit(Target)->ClearSelection();
    return true;
}

void TEditDelete::UpdateTarget(TObject* Target)
{
    SetEnabled(HasSelection(Edit(Target)) && Writable(Target));
}
