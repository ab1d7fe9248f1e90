// The shared grid centre: handlers or defaults for what depends on the dataset, and a grid's
// registration with the shared style and centre.
#include "datagrid/DBGridEhCenter.h"

#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhStyle.h"
#include "platform/data/DataSet.h"

#include <algorithm>

namespace {

std::size_t OperatorSlot(TSTFilterValueKindEh Kind)
{
    switch (Kind) {
    case TSTFilterValueKindEh::fvkNumber: return 1;
    case TSTFilterValueKindEh::fvkDateTime: return 2;
    case TSTFilterValueKindEh::fvkBoolean: return 3;
    default: return 0;
    }
}

}  // namespace

TShowFindDialogEh& ShowFindDialog()
{
    static TShowFindDialogEh routine;
    return routine;
}

TDBGridEhCenter::TDBGridEhCenter() = default;

TDBGridEhCenter::~TDBGridEhCenter()
{
    while (!FGrids.empty())
        FGrids.back()->SetCenter(nullptr);
}

void TDBGridEhCenter::RegisterGrid(TCustomDBGridEh* Grid)
{
    if (!IsGridRegistered(Grid))
        FGrids.push_back(Grid);
}

void TDBGridEhCenter::UnregisterGrid(TCustomDBGridEh* Grid) { std::erase(FGrids, Grid); }

bool TDBGridEhCenter::IsGridRegistered(const TCustomDBGridEh* Grid) const
{
    return std::find(FGrids.begin(), FGrids.end(), Grid) != FGrids.end();
}

void TDBGridEhCenter::SetMenuItem(TDBGridEhMenuItemEh Item, bool Offered)
{
    const auto bit = static_cast<std::uint8_t>(1u << static_cast<unsigned>(Item));
    FMenuItems = Offered ? FMenuItems | bit : FMenuItems & ~bit;
}

TSTFilterDefaultOperatorEh TDBGridEhCenter::FilterDefaultOperator(TSTFilterValueKindEh Kind) const
{
    return FDefaultOperators.at(OperatorSlot(Kind));
}

void TDBGridEhCenter::SetFilterDefaultOperator(TSTFilterValueKindEh Kind, TSTFilterDefaultOperatorEh Value)
{
    FDefaultOperators.at(OperatorSlot(Kind)) = Value;
}

bool TDBGridEhCenter::DefaultLocateText(TCustomDBGridEh* Grid, const String& FieldName, const String& Text,
                                        TLocateTextTreeFindRangeEh TreeFindRange, TLocateTextMatchTypeEh Matching,
                                        TLocateTextDirectionEh Direction, TLocateTextOptionsEh Options)
{
    if (TDatasetFeaturesEh* features = DatasetFeaturesOf(Grid->DataLink()->DataSet()))
        return features->LocateText(Grid, FieldName, Text, TreeFindRange, Matching, Direction, Options);
    return FindTextInGrid(Grid, FieldName, Text, TreeFindRange, Matching, Direction, Options);
}

bool TDBGridEhCenter::DefaultMoveRecords(TCustomDBGridEh* Grid, TBMListEh* BookmarkList, int& ToRecNo, int TreeLevel,
                                         bool CheckOnly)
{
    TDatasetFeaturesEh* features = DatasetFeaturesOf(Grid->DataLink()->DataSet());
    return features != nullptr && features->MoveRecords(Grid, BookmarkList, ToRecNo, TreeLevel, CheckOnly);
}

bool TDBGridEhCenter::LocateText(TCustomDBGridEh* Grid, const String& FieldName, const String& Text,
                                 TLocateTextTreeFindRangeEh TreeFindRange, TLocateTextMatchTypeEh Matching,
                                 TLocateTextDirectionEh Direction, TLocateTextOptionsEh Options)
{
    if (OnLocateText)
        return OnLocateText(this, Grid, FieldName, Text, TreeFindRange, Matching, Direction, Options);
    return DefaultLocateText(Grid, FieldName, Text, TreeFindRange, Matching, Direction, Options);
}

bool TDBGridEhCenter::MoveRecords(TCustomDBGridEh* Grid, TBMListEh* BookmarkList, int& ToRecNo, int TreeLevel,
                                  bool CheckOnly)
{
    return DefaultMoveRecords(Grid, BookmarkList, ToRecNo, TreeLevel, CheckOnly);
}

void TDBGridEhCenter::ApplyFilter(TCustomDBGridEh* Grid)
{
    if (OnApplyFilter)
        OnApplyFilter(this, Grid);
    else
        DefaultApplyFilter(Grid);
}

void TDBGridEhCenter::ApplySorting(TCustomDBGridEh* Grid)
{
    if (OnApplySorting)
        OnApplySorting(this, Grid);
    else
        DefaultApplySorting(Grid);
}

void TDBGridEhCenter::OpenFindDialog(TCustomDBGridEh* Grid, const String& Text, bool Modal, const String&)
{
    if (ShowFindDialog())
        ShowFindDialog()(Grid, Text, Modal);
}

TSTFilterDefaultOperatorEh TDBGridEhCenter::DefaultFilterOperator(TCustomDBGridEh*, TColumnEh*,
                                                                  const TSTFilterExpressionEh& Expr)
{
    return FilterDefaultOperator(Expr.ExpressionType);
}

void TDBGridEhCenter::DefaultApplyFilter(TCustomDBGridEh* Grid)
{
    TDataSet* data = Grid->DataLink()->DataSet();
    if (TDatasetFeaturesEh* features = DatasetFeaturesOf(data))
        features->ApplyFilter(Grid, data, data->Active());
}

void TDBGridEhCenter::DefaultApplySorting(TCustomDBGridEh* Grid)
{
    TDataSet* data = Grid->DataLink()->DataSet();
    if (TDatasetFeaturesEh* features = DatasetFeaturesOf(data))
        features->ApplySorting(Grid, data, data->Active());
}

// --- The grid's side ------------------------------------------------------------------------------

void TCustomDBGridEh::SetStyle(TDBGridEhStyle* Value)
{
    if (Value == FStyle)
        return;
    if (FStyle != nullptr)
        FStyle->UnregisterGrid(this);
    FStyle = Value;
    if (Value == nullptr)
        return;
    Value->RegisterGrid(this);
    if (HandleAllocated())
        Invalidate();
}

void TCustomDBGridEh::SetCenter(TDBGridEhCenter* Value)
{
    if (Value == FCenter)
        return;
    if (FCenter != nullptr)
        FCenter->UnregisterGrid(this);
    FCenter = Value;
    if (Value != nullptr)
        Value->RegisterGrid(this);
}
