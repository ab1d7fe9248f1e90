#pragma once
// Routines and building blocks the grids and edit controls share. Callers include this header;
// its parts live in headers by concern:
//   ToolCtrlsEhUtils.h        the themed-or-classic switch, input helpers, variant comparison,
//                             TStringListEh                (ToolCtrlsEhInput.cpp, ToolCtrlsEhValues.cpp)
//   ToolCtrlsEhDraw.h         colours, gradients, dotted and tree lines, the drop-downs' border
//                             (ToolCtrlsEhDraw.cpp); button faces and glyph sizes
//                             (ToolCtrlsEhFaces.cpp); the shared face cache (ToolCtrlsEhFaceCache.cpp)
//   ToolCtrlsEhEditButtons.h  the edit-button window (ToolCtrlsEhButtonControl.cpp), TEditButtonEh,
//                             its kinds, action link and collection (ToolCtrlsEhEditButtons.cpp)
//   ToolCtrlsEhPopups.h       drop-down placement (ToolCtrlsEhPlacement.cpp), IPopupOwnerEh, the size
//                             grip (ToolCtrlsEhSizeGrip.cpp), the popup list box
//                             (ToolCtrlsEhPopupList.cpp), recently used texts (ToolCtrlsEhMRU.cpp),
//                             the popup calendar (ToolCtrlsEhCalendar.cpp)
//   ToolCtrlsEhData.h         the special row, field lists, TDataLinkEh, the field value list
//                             (ToolCtrlsEhDataUtils.cpp); the bookmark list (ToolCtrlsEhBMList.cpp)
#include "controls/ToolCtrlsEhData.h"
#include "controls/ToolCtrlsEhDraw.h"
#include "controls/ToolCtrlsEhEditButtons.h"
#include "controls/ToolCtrlsEhPopups.h"
#include "controls/ToolCtrlsEhUtils.h"
