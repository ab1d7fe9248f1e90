#pragma once
// DBGridEh: the data grid. Its rows are the records of the dataset behind its DataSource, its data
// columns TColumnEh objects bound to the dataset's fields by name, with titles (sort markers and
// the multi-level title tree built from "A|B" captions), footers kept in step with the grid's sum
// list, grid-wide column defaults, a selection of records, cells or columns, incremental search,
// and export to and import from the clipboard.
//
// The unit's parts: DBGridEhTypes.h (enumerations and option sets), DBGridEhColumns.h (column
// defaults, titles, footers, drop-down box and filter settings, columns, stored column sets),
// DBGridEhSelection.h (the selection's kinds and stores), DBGridEhGridClass.h (the data link and
// the grid class). Callers include this header.
//
// Where the operations live:
//   DBGridEhColumns.cpp         a column's soft properties, its field binding, cell parameters
//   DBGridEhCellValues.cpp      the current record's cell: its texts, editing, check boxes, stepping
//   DBGridEhCollection.cpp      the column collection: rebuilding from fields, moving, naming
//   DBGridEhDefValues.cpp       the grid-wide column defaults
//   DBGridEhTitles.cpp          titles, sort markers and the multi-level title tree
//   DBGridEhFooters.cpp         footers and the grid's sum list
//   DBGridEhFooterValues.cpp    the texts of the footer cells
//   DBGridEhDropDownBox.cpp     a column's drop-down box settings
//   DBGridEhColumnFilter.cpp    a column's filter-row settings and its distinct values
//   DBGridEhColumnFilterExpr.cpp a column's filter-row condition, checked values, dialog texts
//   DBGridEhFilterRow.cpp       the filter row: settings, activating, the editor's place, painting, applying
//   DBGridEhFilterEdit.cpp      the filter cell's editor and its list's Enter, Space and close-up
//   DBGridEhFilterItems.cpp     the filter drop-down's items, its filling, the title drop-down
//   DBGridEhFilterKeys.cpp      the filter editor's keys, Up into the row, Ctrl+T, a press on a filter cell
//   DBGridEhColumnsStore.cpp    stored column sets, the legacy stored properties
//   DBGridEhColumnFit.cpp       row heights and column widths fitted to the data
//   DBGridEhViewPosition.cpp    the view position kept around a walk over every record
//   DBGridEhGrid.cpp            construction, the data link and its events, property writers
//   DBGridEhLayout.cpp          the field map, the layout rebuild and its locks, column widths
//   DBGridEhRows.cpp            row metrics, following the active record, switching display rows
//   DBGridEhScrolling.cpp       the vertical and horizontal scroll bars, scrolling by rows
//   DBGridEhWheel.cpp           the wheel and the vertical bar moving the current record
//   DBGridEhScrollBars.cpp      scroll-bar settings, external scroll bars
//   DBGridEhMemTable.cpp        memory-table mode
//   DBGridEhTreeColumn.cpp      the memory table's tree outline and node signs, the first column's indent
//   DBGridEhRecordDrag.cpp      records dragged by their indicator to another place (dghRecordMoving)
//   DBGridEhRowPanel*.cpp       row panel mode: the panel layout and focus, its painting, its mouse (DBGridEhRowPanel.h)
//   DBGridEhGrouping*.cpp       the grouping model: levels, group keys, the group tree (DBGridEhGrouping.h)
//   DBGridEhEditing.cpp         storing the edited text, starting a cell edit, base-grid overrides
//   DBGridEhInplaceEdit*.cpp    the cell editor: buttons, keys, drop-downs (DBGridEhInplaceEdit.h)
//   DBGridEhEditActions.cpp     the standard edit commands
//   DBGridEhKeys.cpp            keyboard: records, columns, Enter and Tab, typed characters
//   DBGridEhMouse.cpp           mouse: title buttons, row and cell selection, column sizing and moving
//   DBGridEhMessages.cpp        window messages on top of the base grid, the flat border
//   DBGridEhHints.cpp           title hints and the tool tips of clipped cells
//   DBGridEhSelection.cpp       the selection, its repaint, the selection commands' tests
//   DBGridEhBookmarkList.cpp    the selected rows
//   DBGridEhSearch.cpp          incremental search and finding a text in a column
//   DBGridEhFindDlgs.cpp        the find dialog, and the grid opening it (DBGridEhFindDlgs.h)
//   DBGridEhSimpleFilterDlg.cpp the custom filter dialog of "(Custom...)" (DBGridEhSimpleFilterDlg.h)
//   DBGridEhDrawCells.cpp       cell areas and the painters of indicator, title, data, footer cells
//   DBGridEhDrawCellParams.cpp  cell parameters offered to the handlers
//   DBGridEhDrawData.cpp        a data cell's default contents: text, images, check boxes, pictures
//   DBGridEhDrawTitles.cpp      a title's caption, image and sort marker
//   DBGridEhDrawText.cpp        the painters' text writers and clipped images
//   DBGridEhDrawLooks.cpp       check boxes, buttons, fixed-cell backgrounds, frames, row colours
//   DBGridEhDrawGlyphs.cpp      the indicator, sort marker, drop-down and filter glyphs
//   DBGridEhImpExp*.cpp         clipboard commands, exporters and importers (DBGridEhImpExp.h)
//   DBGridEhDropDownGrid.cpp    a column's drop-down lookup grid (the grid: DBLookupGridsEh.h)
//
// Call flow of a paint: the base grid's Paint → TCustomDBGridEh::PaintCell (DrawCells) picks the
// cell's area → PaintDataCell switches the row's record in (TRowRecordScope) and fills the cell
// parameters (InitCellParams, OnGetCellParams) → OnAdvDrawDataCell, else PaintDefaultDataCell:
// highlight, PaintDataCellContents (DrawData) with the text writers (DrawText) and looks
// (DrawLooks), then OnDrawColumnCell; the record is restored when the scope ends.
//
// Call flow of a key: KeyDown → HandleKeyDown (Keys): the incremental search takes its keys
// first (HandleSearchKey), then HandleCtrlKey or HandlePlainKey move the dataset or the column,
// extend the selection or insert, append and delete; the data link's scroll events bring the
// current row along (NotifyDataSetScrolled, Rows). Typed characters go through KeyPress.
//
// Call flow of a requery: the dataset closes and opens or refreshes → TGridDataLinkEh
// ActiveChanged or DataSetChanged → NotifyLinkActiveChanged rebuilds the layout (Layout) /
// NotifyDataSetChanged recomputes the row metrics, the vertical bar and the current row, reloads
// the editors and repaints.
#include "datagrid/DBGridEhColumns.h"
#include "datagrid/DBGridEhGridClass.h"
#include "datagrid/DBGridEhSelection.h"
#include "datagrid/DBGridEhTypes.h"
