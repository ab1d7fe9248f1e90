#pragma once
// Finding a text in a column of the data grid: what incremental search and the find dialog ask.
#include "platform/core/String.h"
#include "platform/ui/SmallSet.h"

enum class TLocateTextMatchTypeEh { ltmAnyPartEh, ltmWholeEh, ltmFromBeginningEh };
// ltdUpEh: the previous match; ltdDownEh: the next one; ltdAllEh: from the current record on.
enum class TLocateTextDirectionEh { ltdUpEh, ltdDownEh, ltdAllEh };

using TLocateTextOptionsEh = TSmallSet<struct TLocateTextOptionsTag>;
constexpr TLocateTextOptionsEh ltoCaseInsensitiveEh{1u << 0};
constexpr TLocateTextOptionsEh ltoStopOnEscapeEh{1u << 1};
// Compare the shown text rather than the field's edit text.
constexpr TLocateTextOptionsEh ltoMatchFormatEh{1u << 2};

// Whether Value matches Text in the way Match asks.
bool LocateTextMatches(const String& Value, const String& Text, TLocateTextMatchTypeEh Match, bool CaseInsensitive);
// Text without its last character; a character outside the basic plane is one character.
String DropLastCharacter(const String& Text);
