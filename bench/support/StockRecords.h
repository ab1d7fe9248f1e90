#pragma once
// Stock-in records of 8 fields (integers, floating-point numbers, Chinese texts) as the export
// benchmarks write them, generated the same way for every benchmark.
#include "platform/core/String.h"

#include <vector>

struct TStockRecord {
    int Id;
    String Name, Kind, Supplier;
    int Quantity;
    String Unit;
    double Price, Amount;
};

inline std::vector<TStockRecord> MakeStockRecords(int Count)
{
    const String Names[] = {u"签字笔"_qs, u"复印纸"_qs, u"文件夹"_qs, u"订书机"_qs, u"笔记本"_qs};
    const String Kinds[] = {u"办公用品"_qs, u"礼品"_qs, u"耗材"_qs};
    const String Units[] = {u"支"_qs, u"包"_qs, u"个"_qs, u"本"_qs};
    std::vector<TStockRecord> Result;
    Result.reserve(Count);
    for (int I = 0; I < Count; ++I)
        Result.push_back({I + 1, Names[I % 5] + String::number(I % 97), Kinds[I % 3],
                          u"供应商"_qs + String::number(I % 211), I % 50 + 1, Units[I % 4], 1.25 + I % 40,
                          (1.25 + I % 40) * (I % 50 + 1)});
    return Result;
}
