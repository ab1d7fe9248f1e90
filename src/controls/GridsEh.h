#pragma once
// GridsEh: the base grid. TCustomGridEh is a window of cells in columns and rows: fixed cells at
// the top and left that never scroll, frozen fixed cells that do not scroll but look and act like
// data cells, contra cells pinned to the right and bottom edges, four outer bands around them, a
// current cell with an anchor that spans the selection, and an in-place editor over the current
// cell. It knows nothing of data; descendants paint the cells (PaintCell) and override the
// virtual operations to add their behaviour.
//
// The unit's parts: GridsEhTypes.h (cells, options, extents, layout, line colours, bands, the
// line cache), GridsEhGrid.h (TCustomGridEh), GridsEhWindows.h (drag windows, the in-place
// editor). Callers include this header.
//
// Where the operations live:
//   GridsEhModel.cpp      construction, options and look, the current cell, the selection,
//                         scrolling cells into view, invalidation, default virtual answers
//   GridsEhExtents.cpp    counts, extent arrays (widths, heights, tab stops), contra cells,
//                         moving columns and rows
//   GridsEhLayout.cpp     where cells lie for a client size, hit testing, cell rectangles
//   GridsEhScrolling.cpp  scroll-bar actions, moving the window contents, the bars kept in step
//   GridsEhPaint.cpp      painting of the cell areas, their lines and cells
//   GridsEhLines.cpp      grid line colours, the outer bands, the per-colour line cache
//   GridsEhKeys.cpp       keyboard navigation, Enter and typed characters, focus
//   GridsEhMouse.cpp      selecting, starting sizing and moving, wheel, hover, cell clicks
//   GridsEhSizing.cpp     sizing and moving columns and rows, the drag windows
//   GridsEhEditor.cpp     the in-place editor and the grid's operations on it
#include "controls/GridsEhGrid.h"
#include "controls/GridsEhTypes.h"
#include "controls/GridsEhWindows.h"
