#pragma once
// Finding a text in a column of the data grid: what incremental search and the find dialog ask.
#include "platform/core/String.h"
#include "platform/ui/SmallSet.h"

enum class TLocateTextMatchTypeEh { ltmAnyPartEh, ltmWholeEh, ltmFromBeginningEh };
// ltdUpEh: the previous match; ltdDownEh: the next one; ltdAllEh: the first, from the first record.
enum class TLocateTextDirectionEh { ltdUpEh, ltdDownEh, ltdAllEh };
// Which nodes a tree view searches; the record scan of a plain dataset reads none of it.
enum class TLocateTextTreeFindRangeEh { lttInAllNodesEh, lttInExpandedNodesEh, lttInCurrentLevelEh, lttInCurrentNodeEh };

using TLocateTextOptionsEh = TSmallSet<struct TLocateTextOptionsTag>;
constexpr TLocateTextOptionsEh ltoCaseInsensitiveEh{1u << 0};
// Every visible column, cell by cell, rather than one column.
constexpr TLocateTextOptionsEh ltoAllFieldsEh{1u << 1};
// Compare the shown text rather than the field's text.
constexpr TLocateTextOptionsEh ltoMatchFormatEh{1u << 2};
constexpr TLocateTextOptionsEh ltoStopOnEscapeEh{1u << 4};

// Whether Value matches Text in the way Match asks.
bool LocateTextMatches(const String& Value, const String& Text, TLocateTextMatchTypeEh Match, bool CaseInsensitive);
// Text without its last character; a character outside the basic plane is one character.
String DropLastCharacter(const String& Text);
