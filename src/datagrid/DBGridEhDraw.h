#pragma once
// What the data grid's cell painters share: the text writers (alignment, layout, margins, end
// ellipsis, word wrap, vertical text), clipped images, check boxes and buttons in cells, the
// fixed-cell backgrounds, the grid's glyphs and the two glyph image lists every grid uses, and
// the highlight choices of data and fixed cells.
#include "controls/GridsEh.h"
#include "controls/ToolCtrlsEh.h"
#include "datagrid/DBGridEh.h"
#include "platform/core/Alignment.h"
#include "platform/core/String.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Label.h"
#include "platform/ui/Types.h"

#include <vector>

// Puts display row Index's record under the fields while a cell is painted or measured.
class TRowRecordScope {
public:
    TRowRecordScope(TCustomDBGridEh* Grid, int Index) : FGrid(Grid) { FGrid->SwitchToRowRecord(Index); }
    ~TRowRecordScope() { FGrid->RestoreRowRecord(); }
    TRowRecordScope(const TRowRecordScope&) = delete;
    TRowRecordScope& operator=(const TRowRecordScope&) = delete;

private:
    TCustomDBGridEh* FGrid;
};

class TBitmap;
class TCanvas;
class TFont;
class TImageList;

// --- Text ---------------------------------------------------------------------------------------

// Text cut to fit MaxWidth with "..." appended: the first step drops two characters, each further
// step one more. A text that fits comes back unchanged.
String ShortenTextWithEllipsis(const String& Text, TCanvas* Canvas, int MaxWidth);

// Text in ARect in the canvas's font and brush. A single line is placed by Alignment (right-aligned
// text ends 3 pixels before the right edge) and Layout, after the margins, and clipped to ARect;
// WordWrap lays it out in lines (DrawTextInRect). The background is filled only with
// FillBackground; otherwise the brush is left clear for the text and restored afterwards.
void WriteTextInCell(TCanvas* Canvas, const TRect& ARect, bool FillBackground, TAlignment Alignment,
                     TTextLayout Layout, bool EndEllipsis, bool WordWrap, const String& Text, int TopMargin,
                     int LeftMargin);

// Text laid out in ARect less the margins (LeftMargin on both sides), broken into lines when
// WordWrap, shortened with "..." when EndEllipsis. Centred and bottom layouts place the measured
// block; a block taller than the rectangle is clipped to it.
void DrawTextInRect(TCanvas* Canvas, const TRect& ARect, const String& Text, TAlignment Alignment, TTextLayout Layout,
                    bool WordWrap, bool EndEllipsis, int LeftMargin, int TopMargin);

// Text turned by 90 degrees, reading upwards, in the canvas's font: across the cell by Alignment
// (left: after Margin), along it by Layout (bottom, the default: Margin above the bottom; top:
// Margin below the top; centre). Returns the text's length in pixels.
int DrawVerticalText(TCanvas* Canvas, const TRect& ARect, bool FillBackground, const String& Text,
                     TAlignment Alignment, TTextLayout Layout, int Margin);

// The canvas clipped to ARect until RestoreNarrowedClip, which gets the value returned.
int NarrowCanvasClip(TCanvas* Canvas, const TRect& ARect);
void RestoreNarrowedClip(TCanvas* Canvas, int Saved);

// Image ImageIndex placed left, right or centred (plus XOffset) and centred vertically in ARect;
// an image that sticks out of ARect is clipped to it.
void DrawGraphicClipped(TImageList* Images, TCanvas* Canvas, TAlignment Alignment, int XOffset, int ImageIndex,
                        const TRect& ARect);
void DrawGraphicClipped(TBitmap* Graphic, TCanvas* Canvas, TAlignment Alignment, int XOffset, const TRect& ARect);

// --- Cell contents ------------------------------------------------------------------------------

// A check box of the system's size centred in ARect with State 0, 1 or 2 (unchecked, checked,
// grayed); in a cell lower than the box, the box starts at the top and is cut at the bottom.
void PaintCheckBoxInCell(TCanvas* Canvas, const TRect& ARect, int State, bool Flat);

// An edit button in a cell: ebsGlyphEh shows Glyph (may be nullptr) centred in a sunken frame (flat:
// a framed button-face box), the other styles their face. Transparency (0..100) lets that much of
// what is under the button show through.
void PaintCellButton(TCanvas* Canvas, const TRect& ARect, TEditButtonStyleEh Style, TBitmap* Glyph, bool Flat,
                     bool Pressed, int Transparency);

// The background of a fixed (title, indicator, footer) cell. Themed raised cells: a gradient in a
// flat grid, else the theme's header item (pressed when Down or Hot) over ThemeRect (ARect when
// empty); raised cells of a flat grid with themes: a gradient from clBtnHighlight to the brush;
// every other cell a plain fill with the brush.
void FillFixedCellBackground(TCanvas* Canvas, const TRect& ARect, bool Themed, bool Raised, bool Flat,
                             const TRect& ThemeRect, bool Down, bool Hot);

// How a data cell's contents are drawn.
struct TDataCellLookEh {
    bool Raised = false;           // 3D look of the cell
    bool Themed = false;           // raised and drawn by the theme
    bool Flat = false;             // the grid's Flat style
    bool DrawGraphicData = false;  // pictures of graphic fields rather than their text
};

// The rectangle a picture of PictureWidth x PictureHeight takes in ARect: scaled down, keeping its
// aspect, when larger than the cell either way; centred.
TRect GraphicCellRect(int PictureWidth, int PictureHeight, const TRect& ARect);

// The default contents of a data cell from Params (its text, image index, check state, font and
// background) by Column's cell kind: text with the column's ellipsis, word wrap and layout, an
// image beside the text or alone, a check box, a picture. The canvas's font and brush are set
// from Params; the cell is filled unless FillBackground is false.
void PaintDataCellContents(TCanvas* Canvas, const TRect& ARect, TColumnEh* Column, TColCellParamsEh* Params,
                           const TDataCellLookEh& Look, bool FillBackground = true);

// How much of the cell shows through an edit button, 0 to 100: 30 at design time; 0 for the
// focused cell (or any cell of a highlighted current row) while no filter cell is edited; 30
// for the other cells of the current row; 80 elsewhere.
int CellButtonTransparency(bool Designing, bool FocusedLook, bool CurrentRow);
// The style of the main button a cell of Kind shows, drawn in the cell and live in its editor.
TEditButtonStyleEh CellButtonStyle(TCellButtonKindEh Kind);

// Column's buttons at the right of a cell, each ButtonHeight high from its top: the main button
// (by the column's button kind) at the right edge, the visible EditButtons leftwards from it;
// what a taller cell shows below them is filled with the brush. Returns the cell less the buttons.
TRect PaintCellEditButtons(TCanvas* Canvas, const TRect& ARect, TColumnEh* Column, int ButtonHeight, bool Flat,
                           int Transparency);

// The mark of a required value that is still empty: a red dotted line one pixel above the
// cell's bottom, from its left + 2 to its right - 3.
void PaintRequiredValueMark(TCanvas* Canvas, const TRect& ARect);

// How a column title is drawn.
struct TTitleLookEh {
    bool Raised = false;
    bool Flat = false;
    bool Pressed = false;      // the title button is held down: the contents move by a pixel
    bool Highlighted = false;  // drawn selected: the sort index in white
    TSortMarkerEh SortMarker = TSortMarkerEh::smNoneEh;
    int SortedColumns = 0;     // columns with a sort marker; from 2 on the index is shown
    int VerticalMargin = 10;   // of vertical captions
    bool Filtered = false;     // the column has a filter condition: a funnel beside the caption
    TRect FilterButton;        // the title's filter button (filter row in the titles); empty for none
    int FilterButtonTransparency = 80;
};

// A column title's contents over the filled cell: the caption (or the title's image from
// TitleImages instead), across or, for vertical titles, upwards, and at the right the look's
// filter button, sort marker with the title's sort index while there is room for them, and the
// funnel of a filtered column.
void PaintColumnTitleContents(TCanvas* Canvas, const TRect& ARect, TColumnEh* Column, const String& Caption,
                              TImageList* TitleImages, const TTitleLookEh& Look);

// One upper part of a multi-level title and where it lies.
struct TTitlePartEh {
    THeadTreeNode* Node;
    TRect Rect;
};
// The parts above Leaf when its column's title row lies in CellRect, top part first: stacked
// from the cell's top, each as high as its node, starting left of the cell by the widths (and
// lines) of the nodes before this one's branch.
std::vector<TTitlePartEh> TitlePartsAbove(THeadTreeNode* Leaf, const TRect& CellRect);
// Leaf's own rectangle in its title row cell: below the parts above it.
TRect TitleLeafRect(THeadTreeNode* Leaf, const TRect& CellRect);
// The upper caption parts of a multi-level title over the cell, clipped to it: each filled in
// the brush, its caption centred and word-wrapped in the canvas font, with a raised frame when
// Raised and its node's line in LineColor below it and at its right.
void PaintTitlePartsAbove(TCanvas* Canvas, THeadTreeNode* Leaf, const TRect& CellRect, bool EndEllipsis, bool Raised,
                          TColor LineColor);

// --- Glyphs -------------------------------------------------------------------------------------

// The indicator's glyph kinds.
enum : int {
    igkCurrentEh = 0,          // the current record
    igkCurrentSelectedEh = 1,  // the current record, selected
    igkEditingEh = 2,          // being edited
    igkInsertingEh = 3,        // being inserted
    igkIncSearchEh = 4         // the current record while an incremental search runs
};
// The images of GridIndicatorImages.
enum : int {
    iiArrowEh = 0,
    iiEditEh = 1,
    iiInsertEh = 2,
    iiMultiDotEh = 3,
    iiMultiArrowEh = 4,
    iiArrowWEh = 5,           // the arrow to be rendered on the highlight colour
    iiHighlightArrowEh = 6    // that arrow rendered
};

// The record indicator of glyph kind Kind centred in ARect. Themed, the arrow kinds (current,
// current selected, searching) are a 6 x 11 right-pointing arrow in a colour by kind (dark,
// light, IncSearchColor); kinds from 5 on paint nothing. The editing and inserting marks, and
// every kind without themes, are the indicator images.
void PaintIndicatorGlyph(TCanvas* Canvas, const TRect& ARect, int Kind, bool Themed, TColor IncSearchColor);
// An 8 x 4 downward triangle centred in ARect, in Color darkened (less when Highlighted) with a
// white edge; classic, the drop-down image of GridSortMarkerImages.
void PaintDropDownSign(TCanvas* Canvas, const TRect& ARect, TColor Color, bool Highlighted, bool Themed);
// A 6 x 6 funnel in Color centred in ARect.
void PaintTitleFilterGlyph(TCanvas* Canvas, const TRect& ARect, TColor Color);

// --- Glyph image lists --------------------------------------------------------------------------

// The colour the highlighted indicator arrow (image 6) is filled with; yellow at start.
TColor GridHighlightArrowColor();
// Renders image 6 again in the new colour.
void SetGridHighlightArrowColor(TColor Value);

// The shared lists, loaded on first use and kept until the program ends. Indicator images: see
// iiArrowEh ... iiHighlightArrowEh.
TImageList* GridIndicatorImages();
// Sort markers: 0 down, 1 up, 2 drop-down sign, 3 down and 4 up in their highlighted form.
TImageList* GridSortMarkerImages();
// Fills both lists from the program's glyph bitmaps.
void LoadGridGlyphs();
// Puts the arrow on the highlight colour as image 6 of the indicator list (replacing it).
void RenderHighlightArrowGlyph();
// One of the program's glyph bitmaps by its name ("DBGARROWEH", "DBEDITEH", "DBINSERTEH",
// "DBMULTIDOTEH", "DBMULTIARROWEH", "DBGARROWEHW", "DBSMDOWNEH", "DBSMUPEH", "DROPDOWNEH",
// "DBSMDOWNEH_1", "DBSMUPEH_1"), drawn into Bitmap; EResNotFound for another name.
void LoadGridGlyphBitmap(TBitmap* Bitmap, const String& Name);

// --- Highlight choices --------------------------------------------------------------------------

// What decides the look of a data cell.
struct TDataCellHighlightEh {
    bool InSelection = false;          // the grid's selection holds the cell
    bool NothingSelected = true;       // the selection is empty
    bool GridFocused = false;          // the grid or its editor holds the focus
    bool HighlightFocus = false;       // dghHighlightFocus
    bool RowHighlight = false;         // dghRowHighlight
    bool RowSelect = false;            // dgRowSelect
    bool AlwaysShowSelection = false;  // dgAlwaysShowSelection
    bool CurrentRow = false;
    bool CurrentCell = false;
    bool CurrentColumn = false;  // the cell lies in the focused column
    bool UpdatesSuppressed = false;
    bool HotRow = false;   // dghHotTrack, and the pointer is over a data cell of the cell's row
    bool HotCell = false;  // ... and over this cell
};

// True when the cell is highlighted, State then holding gdSelected; Emphasis: the focus or the
// row highlight asks for it.
bool DataCellHighlighted(const TDataCellHighlightEh& Cell, TGridDrawState& State, bool& Emphasis);
// True when the cell is highlighted: then State holds gdSelected and Background and the font
// colour are the highlight's (the focused look, the unfocused current cell's, or the button face).
bool PickDataCellHighlightColors(const TDataCellHighlightEh& Cell, TGridDrawState& State, TColor& Background,
                                 TFont* Font);
// A selected fixed cell: indicator and title-area cells of data columns dark grey with white
// text; footers and the rest the highlight while the grid is focused, else the button face.
void PickFixedCellHighlightColors(bool Selected, bool IndicatorOrTitle, bool GridFocused, TColor& Background,
                                  TFont* Font);
// The background of a data row: OddRowColor or EvenRowColor by RecNo when the column keeps the
// grid's colour, the two differ and the record numbers are known; else the column's colour.
TColor OddEvenRowColor(TColor ColumnColor, TColor GridColor, TColor OddRowColor, TColor EvenRowColor,
                       bool RecordNumbersKnown, int RecNo);
