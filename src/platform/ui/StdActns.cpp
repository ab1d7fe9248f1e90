// The edit actions served by a focused edit, enabled by its selection, text and read-only state.
#include "platform/ui/StdActns.h"

#include "platform/ui/Clipboard.h"
#include "platform/ui/Edit.h"

namespace {

bool HasSelection(const TCustomEdit& Edit) { return Edit.SelLength() > 0; }

}  // namespace

bool TEditAction::HandlesTarget(TObject* Target)
{
    const auto* edit = dynamic_cast<TCustomEdit*>(Target);
    return edit != nullptr && edit->Focused();
}

bool TEditAction::ExecuteTarget(TObject* Target)
{
    if (OnExecute || !HandlesTarget(Target))
        return Execute();
    ActOn(*static_cast<TCustomEdit*>(Target));
    return true;
}

void TEditAction::UpdateTarget(TObject* Target)
{
    if (HandlesTarget(Target))
        SetEnabled(EnabledFor(*static_cast<TCustomEdit*>(Target)));
}

bool TEditAction::Update()
{
    if (TCustomAction::Update())
        return true;
    // Nobody focused serves it: only a handler of its own still can.
    SetEnabled(static_cast<bool>(OnExecute));
    return false;
}

bool TEditAction::Writable(const TCustomEdit& Edit) { return !Edit.ReadOnly(); }

void TEditCopy::ActOn(TCustomEdit& Edit) { Edit.CopyToClipboard(); }

bool TEditCopy::EnabledFor(const TCustomEdit& Edit) const { return HasSelection(Edit); }

void TEditCut::ActOn(TCustomEdit& Edit) { Edit.CutToClipboard(); }

bool TEditCut::EnabledFor(const TCustomEdit& Edit) const { return HasSelection(Edit) && Writable(Edit); }

void TEditPaste::ActOn(TCustomEdit& Edit) { Edit.PasteFromClipboard(); }

bool TEditPaste::EnabledFor(const TCustomEdit& Edit) const { return Writable(Edit) && Clipboard()->HasFormat(CF_TEXT); }

void TEditSelectAll::ActOn(TCustomEdit& Edit) { Edit.SelectAll(); }

bool TEditSelectAll::EnabledFor(const TCustomEdit& Edit) const
{
    const int length = static_cast<int>(Edit.Text().size());
    return length > 0 && Edit.SelLength() != length;
}

void TEditDelete::ActOn(TCustomEdit& Edit) { Edit.ClearSelection(); }

bool TEditDelete::EnabledFor(const TCustomEdit& Edit) const { return HasSelection(Edit) && Writable(Edit); }
