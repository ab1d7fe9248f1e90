// The standard edit commands of the data grid: each runs only when the grid serves it
// (EditActions) and its selection and dataset allow it.
#include "datagrid/DBGridEh.h"

#include "datagrid/DBGridEhImpExp.h"

#include "platform/ui/StdActns.h"

#include <optional>

namespace {

// The grid's command a standard edit action stands for.
std::optional<TDBGridEhEditActions> GridCommandOf(const TBasicAction* Action)
{
    if (dynamic_cast<const TEditCopy*>(Action) != nullptr)
        return geaCopyEh;
    if (dynamic_cast<const TEditCut*>(Action) != nullptr)
        return geaCutEh;
    if (dynamic_cast<const TEditPaste*>(Action) != nullptr)
        return geaPasteEh;
    if (dynamic_cast<const TEditDelete*>(Action) != nullptr)
        return geaDeleteEh;
    if (dynamic_cast<const TEditSelectAll*>(Action) != nullptr)
        return geaSelectAllEh;
    return std::nullopt;
}

}  // namespace

bool TCustomDBGridEh::CanRunEditAction(TDBGridEhEditActions Action) const
{
    if (!FEditActions.Contains(Action))
        return false;
    if (Action == geaCopyEh)
        return CanCopyToClipboard();
    if (Action == geaCutEh)
        return CanCutToClipboard();
    if (Action == geaPasteEh)
        return CanPasteFromClipboard();
    if (Action == geaDeleteEh)
        return CanDeleteSelection();
    if (Action == geaSelectAllEh)
        return CanSelectAll();
    return false;
}

bool TCustomDBGridEh::RunEditAction(TDBGridEhEditActions Action)
{
    if (!CanRunEditAction(Action))
        return false;
    if (Action == geaCopyEh)
        CopyGridSelectionToClipboard(this, false);
    else if (Action == geaCutEh)
        CutGridSelection(this, false);
    else if (Action == geaPasteEh)
        PasteIntoGrid(this, false);
    else if (Action == geaDeleteEh)
        DeleteGridSelection(this, false);
    else
        FSelection->SelectAllCells();
    return true;
}

bool TCustomDBGridEh::ExecuteAction(TBasicAction* Action)
{
    if (FDataLink->ExecuteAction(Action))
        return true;
    if (const auto command = GridCommandOf(Action); command && Focused() && RunEditAction(*command))
        return true;
    return TCustomGridEh::ExecuteAction(Action);
}

bool TCustomDBGridEh::UpdateAction(TBasicAction* Action)
{
    if (FDataLink->UpdateAction(Action))
        return true;
    if (const auto command = GridCommandOf(Action); command && Focused()) {
        static_cast<TEditAction*>(Action)->SetEnabled(CanRunEditAction(*command));
        return true;
    }
    return TCustomGridEh::UpdateAction(Action);
}
