#pragma once
// The enumerations of the dataset layer. TFieldType keeps the platform's ordinal order:
// stored layouts and other code key on the ordinals.
#include <QByteArray>

#include <cstdint>

enum class TFieldType {
    ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD,
    ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic,
    ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar, ftWideString,
    ftLargeint, ftADT, ftArray, ftReference, ftDataSet, ftOraBlob, ftOraClob, ftVariant,
    ftInterface, ftIDispatch, ftGuid, ftTimeStamp, ftFMTBcd
};

enum class TDataSetState {
    dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsCalcFields, dsFilter, dsNewValue,
    dsOldValue, dsCurValue, dsBlockRead, dsInternalCalc, dsOpening
};

enum class TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };

enum class TDataEvent {
    deFieldChange, deRecordChange, deDataSetChange, deDataSetScroll, deLayoutChange,
    deUpdateRecord, deUpdateState, deCheckBrowseMode, dePropertyChange, deFieldListChange,
    deFocusControl, deParentScroll, deConnectChange, deReconcileError, deDisabledStateChange
};

enum class TLocateOption : std::uint8_t { loCaseInsensitive = 1 << 0, loPartialKey = 1 << 1 };

// A set of locate options.
class TLocateOptions {
public:
    constexpr TLocateOptions() = default;
    constexpr TLocateOptions(TLocateOption Option) : FBits(static_cast<std::uint8_t>(Option)) {}
    constexpr TLocateOptions operator|(TLocateOption Option) const
    {
        return TLocateOptions(static_cast<std::uint8_t>(FBits | static_cast<std::uint8_t>(Option)));
    }
    constexpr bool Contains(TLocateOption Option) const { return (FBits & static_cast<std::uint8_t>(Option)) != 0; }

private:
    constexpr explicit TLocateOptions(std::uint8_t Bits) : FBits(Bits) {}
    std::uint8_t FBits = 0;
};

constexpr TLocateOptions operator|(TLocateOption A, TLocateOption B) { return TLocateOptions(A) | B; }

// The horizontal alignment a field suggests to the controls that show it.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// An opaque bookmark: the identity of its record, empty when there is no record.
using TBookmark = QByteArray;
