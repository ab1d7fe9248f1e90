#pragma once
// Unit DBCtrlsEh: the data-aware edit controls and what they share.
//   DBCtrlsEhFieldLink.h  TFieldDataLinkEh, the link of a control to its field or own value
//   DBCtrlsEhEdit.h       TCustomDBEditEh / TDBEditEh, TEditImageEh, IInplaceEditHolderEh
//   DBCtrlsEhCheckBox.h   TCustomDBCheckBoxEh / TDBCheckBoxEh, the check box bound by value lists
//   DBCtrlsEhComboBox.h   TCustomDBComboBoxEh / TDBComboBoxEh and TDropDownBoxEh
//   DBCtrlsEhDateTimeEdit.h TCustomDBDateTimeEditEh / TDBDateTimeEditEh with the calendar drop-down
//   DBCtrlsEhNumberEdit.h TCustomDBNumberEditEh / TDBNumberEditEh with the calculator drop-down
//   DBCtrlsEhToolTips.h   TToolTipsWindow, the hint window of edits and grids
#include "editors/DBCtrlsEhCheckBox.h"
#include "editors/DBCtrlsEhComboBox.h"
#include "editors/DBCtrlsEhDateTimeEdit.h"
#include "editors/DBCtrlsEhEdit.h"
#include "editors/DBCtrlsEhFieldLink.h"
#include "editors/DBCtrlsEhNumberEdit.h"
#include "editors/DBCtrlsEhToolTips.h"
