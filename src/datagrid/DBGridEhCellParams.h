#pragma once
// The parameters of one data cell as the grid is about to paint (or edit) it. The grid keeps one
// object and refills it for every data cell; the grid's OnGetCellParams and the column's own
// OnGetCellParams may change it before the contents are painted.
#include "controls/GridsEh.h"
#include "platform/core/Alignment.h"
#include "platform/core/String.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Types.h"

class TColCellParamsEh {
public:
    TColCellParamsEh() = default;
    TColCellParamsEh(const TColCellParamsEh&) = delete;
    TColCellParamsEh& operator=(const TColCellParamsEh&) = delete;

    TGridDrawState State;
    TAlignment Alignment = TAlignment::taLeftJustify;
    TColor Background = clWindow;
    int ImageIndex = -1;
    // 0 unchecked, 1 checked, 2 grayed.
    int CheckboxState = 0;
    // The column does not let the cell be edited.
    bool ReadOnly = false;
    bool TextEditing = true;
    String Text;
    // Grid column and row of the cell; -1 outside painting.
    int Col = -1;
    int Row = -1;
    TRect CellRect;
    bool Frozen = false;
    // The cell keeps its own background and text colours: no highlight, no fixed colour.
    bool KeepOwnColors = false;

    // The cell's font; a handler may change it for this cell only.
    TFont* Font() { return &FFont; }

private:
    TFont FFont;
};
