#pragma once
// Datasets of stock-in records and a sum list over them, shared by the sum list tests.
#include "datagrid/DBSumLst.h"

#include "platform/data/Field.h"
#include "platform/data/MemoryDataSet.h"

#include <cmath>
#include <cstdint>
#include <memory>

using namespace Qt::StringLiterals;

inline const String QtyField = u"数量"_s;
inline const String AmountField = u"金额"_s;

// A dataset of stock-in rows: 名称 (text), 数量 (integer) and 金额 (float), either may be Null.
template <class TData = TMemoryDataSet>
TData* NewStockDataSet(TComponent* Owner)
{
    auto* Data = new TData(Owner);
    Data->FieldDefs()->Add(u"id"_s, TFieldType::ftAutoInc);
    Data->FieldDefs()->Add(u"名称"_s, TFieldType::ftString, 20);
    Data->FieldDefs()->Add(QtyField, TFieldType::ftInteger);
    Data->FieldDefs()->Add(AmountField, TFieldType::ftFloat);
    return Data;
}

inline TDBSum* AddSum(TDBSumListProducer& Producer, TGroupOperation Operation, const String& FieldName)
{
    auto* Sum = static_cast<TDBSum*>(Producer.SumCollection()->Add());
    Sum->SetGroupOperation(Operation);
    Sum->SetFieldName(FieldName);
    return Sum;
}

// The raw units (1/10000) of an aggregate of the producer.
inline std::int64_t Units(const TDBSumListProducer& Producer, TGroupOperation Operation, const String& FieldName)
{
    const TDBSum* Sum = Producer.SumCollection()->FindSum(Operation, FieldName);
    return Sum == nullptr ? -1 : Sum->SumValue().Raw();
}

// The aggregates of one field worked out here by walking the dataset, the current record kept.
struct TWalkedTotals {
    std::int64_t Sum = 0;
    std::int64_t NotNull = 0;
    std::int64_t Records = 0;

    std::int64_t SumUnits() const { return Sum; }
    std::int64_t AvgUnits() const { return NotNull == 0 ? 0 : std::llrint(static_cast<long double>(Sum) / NotNull); }
    std::int64_t CountUnits() const { return NotNull * 10000; }
    std::int64_t AllUnits() const { return Records * 10000; }
};

inline TWalkedTotals WalkTotals(TDataSet* Data, const String& FieldName)
{
    TWalkedTotals Totals;
    const TBookmark Current = Data->Bookmark();
    for (Data->First(); !Data->Eof(); Data->Next()) {
        ++Totals.Records;
        TField* Field = Data->FieldByName(FieldName);
        if (!Field->IsNull()) {
            ++Totals.NotNull;
            Totals.Sum += std::llrint(static_cast<long double>(Field->AsFloat()) * 10000.0L);
        }
    }
    if (!Current.isEmpty())
        Data->SetBookmark(Current);
    return Totals;
}
