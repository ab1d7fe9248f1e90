// The grid-wide column defaults: what titles, footers and columns read until they hold their own values.
#include "datagrid/DBGridEh.h"

TAlignment TColumnTitleDefValuesEh::Alignment() const
{
    if (FAlignmentAssigned)
        return FAlignment;
    return FGrid != nullptr && FGrid->UseMultiTitle() ? TAlignment::taCenter : TAlignment::taLeftJustify;
}

void TColumnTitleDefValuesEh::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    FAlignmentAssigned = true;
    if (FGrid != nullptr)
        FGrid->NotifyLayoutChanged();
}

TColor TColumnTitleDefValuesEh::Color() const
{
    if (FColorAssigned)
        return FColor;
    return FGrid != nullptr ? FGrid->FixedColor() : clBtnFace;
}

void TColumnTitleDefValuesEh::SetColor(TColor Value)
{
    FColor = Value;
    FColorAssigned = true;
    if (FGrid != nullptr)
        FGrid->InvalidateGrid();
}

void TColumnTitleDefValuesEh::SetEndEllipsis(bool Value)
{
    FEndEllipsis = Value;
    if (FGrid != nullptr)
        FGrid->InvalidateGrid();
}

void TColumnTitleDefValuesEh::SetOrientation(TTextOrientationEh Value)
{
    FOrientation = Value;
    if (FGrid != nullptr)
        FGrid->NotifyLayoutChanged();
}

void TColumnTitleDefValuesEh::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TColumnTitleDefValuesEh*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    if (source->FAlignmentAssigned)
        SetAlignment(source->FAlignment);
    if (source->FColorAssigned)
        SetColor(source->FColor);
    SetEndEllipsis(source->FEndEllipsis);
    SetTitleButton(source->FTitleButton);
    SetToolTips(source->FToolTips);
    SetOrientation(source->FOrientation);
}

void TColumnFooterDefValuesEh::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TColumnFooterDefValuesEh*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    SetToolTips(source->ToolTips());
}

TColumnDefValuesEh::TColumnDefValuesEh(TCustomDBGridEh* Grid)
    : FGrid(Grid), FTitle(std::make_unique<TColumnTitleDefValuesEh>(Grid)), FFooter(std::make_unique<TColumnFooterDefValuesEh>())
{
}

void TColumnDefValuesEh::Repaint() const
{
    if (FGrid != nullptr)
        FGrid->InvalidateGrid();
}

void TColumnDefValuesEh::SetAlwaysShowEditButton(bool Value)
{
    FAlwaysShowEditButton = Value;
    Repaint();
}

void TColumnDefValuesEh::SetEndEllipsis(bool Value)
{
    FEndEllipsis = Value;
    Repaint();
}

void TColumnDefValuesEh::SetHighlightRequired(bool Value)
{
    FHighlightRequired = Value;
    Repaint();
}

void TColumnDefValuesEh::SetLayout(TTextLayout Value)
{
    FLayout = Value;
    Repaint();
}

void TColumnDefValuesEh::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TColumnDefValuesEh*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    FTitle->Assign(source->Title());
    SetAlwaysShowEditButton(source->FAlwaysShowEditButton);
    SetEndEllipsis(source->FEndEllipsis);
    SetAutoDropDown(source->FAutoDropDown);
    SetDblClickNextVal(source->FDblClickNextVal);
    SetToolTips(source->FToolTips);
    SetDropDownSizing(source->FDropDownSizing);
    SetDropDownShowTitles(source->FDropDownShowTitles);
}
