// The grid side of the in-place editor. The grid works without an editor object: every path
// checks for one, and without it the grid only keeps the editor mode and the edited cell.
#include "controls/GridsEh.h"

TInplaceEdit* TCustomGridEh::CreateEditorObject()
{
    return nullptr;
}

bool TCustomGridEh::EnsureEditor()
{
    if (FInplaceEdit != nullptr)
        return false;
    FInplaceEdit = CreateEditorObject();
    return FInplaceEdit != nullptr;
}

void TCustomGridEh::SyncEditor()
{
    if (EditorAllowed())
        EnsureEditor();
}

void TCustomGridEh::DismissEditor()
{
    FEditorCell = {-1, -1};
}

void TCustomGridEh::StoreEditorText() {}

void TCustomGridEh::ReloadEditor()
{
    FEditorCell = {-1, -1};
    SyncEditor();
}

void TCustomGridEh::StartEditingWithChar(Char)
{
    EnterEditorMode();
}
