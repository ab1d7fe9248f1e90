// The standard edit commands of the data grid: each runs only when the grid serves it
// (EditActions) and its selection and dataset allow it.
#include "datagrid/DBGridEh.h"

#include "datagrid/DBGridEhImpExp.h"

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
