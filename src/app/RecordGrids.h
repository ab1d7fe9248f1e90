#pragma once
// The record lists of the main and the settings window: data grids with the same options, a
// row-number column "序号" first and the hidden "id" last, their data columns in between.
#include "platform/core/Alignment.h"
#include "platform/core/String.h"
#include "platform/ui/Controls.h"

#include <initializer_list>

class TDataSource;
class TDBGridEh;
class TPopupMenu;

// One data column of a record list: its field, width, and, where it differs from the field
// name, its title and alignment.
struct TRecordColumn {
    const char* FieldName;
    int Width;
    const char* Title = nullptr;
    TAlignment Alignment = TAlignment::taLeftJustify;
};

TDBGridEh* AddRecordGrid(TComponent* Owner, TWinControl* Parent, const char* Name, const TRect& Bounds,
                         TDataSource* Source, TPopupMenu* Menu, int FrozenCols,
                         std::initializer_list<TRecordColumn> Columns);

// The focused cell of Grid as a double click filters by it: its column's field name and its
// value as text (empty without a field); false without a focused column.
bool FocusedCell(TDBGridEh* Grid, String& FieldName, String& Value);

// Writes Number into a row-number cell, as the grid has drawn it, at its text margin.
void DrawRowNumber(TDBGridEh* Grid, const TRect& Rect, int Number);

// The selection of the window's active control, when it is a record list that copies, goes to
// the clipboard in every format; anything else copies nothing.
void CopyActiveGridSelection(TWinControl* ActiveControl);

// Asks Owner's user, then deletes the records selected in Grid from the database; answers
// whether it did. An empty list, or a summary (whose rows stand for no stored record), is
// refused with a message.
bool DeleteSelectedRecords(HWND Owner, TDBGridEh* Grid);
