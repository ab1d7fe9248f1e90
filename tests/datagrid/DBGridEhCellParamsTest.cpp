// The cell parameters a column fills for the current record and what its OnGetCellParams
// decides: the texts, colours and editability a cell gets.
#include "DBGridEhTestGrid.h"

#include "platform/data/Field.h"
#include "platform/ui/ImageList.h"

namespace {

using CellParamsTest = DBGridEhFixture;

TEST_F(CellParamsTest, ParamsComeFromTheColumnAndTheCurrentRecord)
{
    Grid->SetDataSource(Source.get());
    TColumnEh* column = AddColumn(QtyField);
    column->SetColor(clYellow);
    column->SetAlignment(TAlignment::taCenter);
    column->Font()->SetColor(clRed);
    Data->First();
    Data->Next();

    TColCellParamsEh params;
    params.Col = 5;
    params.Row = 7;
    params.State = gdSelected;
    params.KeepOwnColors = true;
    column->InitCellParams(&params);
    EXPECT_EQ(params.Col, -1);
    EXPECT_EQ(params.Row, -1);
    EXPECT_TRUE(params.State.Empty());
    EXPECT_FALSE(params.KeepOwnColors);
    EXPECT_EQ(params.Text, u"5"_s);
    EXPECT_EQ(params.Background, clYellow);
    EXPECT_EQ(params.Alignment, TAlignment::taCenter);
    EXPECT_EQ(params.Font()->Color(), clRed);
    EXPECT_EQ(params.ImageIndex, 5) << "a number is its own image index";
    EXPECT_EQ(params.CheckboxState, 0);
    EXPECT_FALSE(params.ReadOnly);
    EXPECT_TRUE(params.TextEditing);

    // The params' font is a copy: a handler's change leaves the column alone.
    params.Font()->SetColor(clBlue);
    EXPECT_EQ(column->Font()->Color(), clRed);
}

TEST_F(CellParamsTest, ColumnHandlerSeesEditModeAndMayChangeTheParams)
{
    Grid->SetDataSource(Source.get());
    TColumnEh* column = AddColumn(u"名称"_s);
    int calls = 0;
    bool lastEditMode = true;
    column->SetOnGetCellParams([&](TColumnEh* Sender, bool EditMode, TColCellParamsEh* Params) {
        EXPECT_EQ(Sender, column);
        ++calls;
        lastEditMode = EditMode;
        Params->TextEditing = Params->Text != u"铅笔"_s;
    });
    Data->First();
    EXPECT_TRUE(column->EffectiveTextEditing());
    EXPECT_FALSE(lastEditMode);
    Data->Next();
    EXPECT_FALSE(column->EffectiveTextEditing());
    EXPECT_EQ(calls, 2);
    // Without a handler the column's own TextEditing stands.
    column->SetOnGetCellParams(nullptr);
    EXPECT_TRUE(column->EffectiveTextEditing());
}

TEST_F(CellParamsTest, HandlerMarkingTheCellReadOnlyStopsEditing)
{
    Grid->SetDataSource(Source.get());
    TColumnEh* column = AddColumn(QtyField);
    Data->First();
    EXPECT_TRUE(column->CanEditCell(false));
    bool sawEditMode = false;
    column->SetOnGetCellParams([&](TColumnEh*, bool EditMode, TColCellParamsEh* Params) {
        sawEditMode = EditMode;
        Params->ReadOnly = Params->Text == u"3"_s;
    });
    EXPECT_FALSE(column->CanEditCell(true));
    EXPECT_TRUE(sawEditMode);
    EXPECT_EQ(Data->State(), TDataSetState::dsBrowse) << "a refused cell does not start editing";
    Data->Next();
    EXPECT_TRUE(column->CanEditCell(false));
}

TEST_F(CellParamsTest, AssignCopiesTheHandlerAndGridParamsAreShared)
{
    Grid->SetDataSource(Source.get());
    TColumnEh* source = AddColumn(QtyField);
    int calls = 0;
    source->SetOnGetCellParams([&](TColumnEh*, bool, TColCellParamsEh*) { ++calls; });
    TColumnEh* copy = AddColumn(AmountField);
    copy->Assign(source);
    TColCellParamsEh params;
    copy->FireGetCellParams(false, &params);
    EXPECT_EQ(calls, 1);

    // The grid's own parameters are the ones EffectiveTextEditing fills.
    copy->EffectiveTextEditing();
    EXPECT_EQ(Grid->CellParams()->Text, source->ComputeDisplayText());
}

TEST_F(CellParamsTest, GridHandlerGetsTheCellsFontAndBackground)
{
    TColumnEh* column = AddColumn(QtyField);
    TFont font;
    TColor background = clWindow;
    TColumnEh* seen = nullptr;
    Grid->OnGetCellParams = [&](TObject* Sender, TColumnEh* Column, TFont* AFont, TColor& Background,
                                TGridDrawState State) {
        EXPECT_EQ(Sender, Grid.get());
        EXPECT_TRUE(State.Contains(gdFocused));
        seen = Column;
        Background = clAqua;
        AFont->SetColor(clMaroon);
    };
    Grid->RaiseGetCellParams(column, &font, background, gdFocused);
    EXPECT_EQ(seen, column);
    EXPECT_EQ(background, clAqua);
    EXPECT_EQ(font.Color(), clMaroon);
}

}  // namespace
