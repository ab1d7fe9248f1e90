#pragma once
// A data grid over an in-memory dataset of stock-in rows, shared by the column tests.
#include "datagrid/DBGridEh.h"

#include "SumListTestSupport.h"

#include "platform/data/DataSource.h"

#include <gtest/gtest.h>

#include <memory>

// The column model needs no painting: the grid paints nothing.
class TTestDBGridEh : public TCustomDBGridEh {
public:
    using TCustomDBGridEh::TCustomDBGridEh;
    using TCustomDBGridEh::Loaded;
    void SetDesigning(bool Value) { SetComponentStateFlag(TComponentStateFlag::csDesigning, Value); }

protected:
    void PaintCell(int, int, TGridDrawState, TRect) override {}
};

class DBGridEhFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Data.reset(NewStockDataSet(nullptr));
        Data->Open();
        Data->AppendRecord({Variant(), Variant(u"订书机"_s), Variant(3), Variant(12.5)});
        Data->AppendRecord({Variant(), Variant(u"铅笔"_s), Variant(5), Variant(0.1)});
        Data->AppendRecord({Variant(), Variant(u"胶水"_s), Variant::Null(), Variant(7.25)});
        Source = std::make_unique<TDataSource>(nullptr);
        Source->SetDataSet(Data.get());
        Grid = std::make_unique<TTestDBGridEh>(nullptr);
    }

    void TearDown() override
    {
        Grid.reset();
        Source.reset();
        Data.reset();
    }

    TColumnEh* AddColumn(const String& FieldName)
    {
        TColumnEh* Column = Grid->Columns()->Add();
        Column->SetFieldName(FieldName);
        return Column;
    }

    std::unique_ptr<TMemoryDataSet> Data;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TTestDBGridEh> Grid;
};
