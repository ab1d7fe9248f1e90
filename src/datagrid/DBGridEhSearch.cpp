// Incremental search and finding a text in a column through the grid centre: the search text
// and its timeout (timer 2).
#include "datagrid/DBGridEhSearch.h"

#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhCenter.h"

namespace {

constexpr WPARAM SearchTimer = 2;

} // namespace

bool LocateTextMatches(const String& Value, const String& Text, TLocateTextMatchTypeEh Match, bool CaseInsensitive)
{
    const Qt::CaseSensitivity cs = CaseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    switch (Match) {
    case TLocateTextMatchTypeEh::ltmAnyPartEh: return Value.contains(Text, cs);
    case TLocateTextMatchTypeEh::ltmWholeEh: return Value.compare(Text, cs) == 0;
    case TLocateTextMatchTypeEh::ltmFromBeginningEh: return Value.startsWith(Text, cs);
    }
    return false;
}

String DropLastCharacter(const String& Text)
{
    if (Text.isEmpty())
        return Text;
    const qsizetype last = Text.size() - 1;
    const bool pair = last > 0 && Text.at(last).isLowSurrogate() && Text.at(last - 1).isHighSurrogate();
    return Text.left(pair ? last - 1 : last);
}

bool TCustomDBGridEh::LocateTextInColumn(TColumnEh* Column, const String& Text, TLocateTextMatchTypeEh Match,
                                         TLocateTextDirectionEh Direction, TLocateTextOptionsEh Options)
{
    const String fieldName = Column == nullptr ? String() : Column->FieldName();
    const auto range = TLocateTextTreeFindRangeEh::lttInAllNodesEh;
    if (FCenter == nullptr)
        return FindTextInGrid(this, fieldName, Text, range, Match, Direction, Options);
    return FCenter->LocateText(this, fieldName, Text, range, Match, Direction, Options);
}

void TCustomDBGridEh::ExtendIncrementalSearch(const String& Text, int Timeout, TLocateTextDirectionEh Direction)
{
    if (!DataLink()->Active())
        return;
    String candidate = FSearch.Text + Text;
    TColumnEh* column = FocusedColumn();
    if (!candidate.isEmpty() && column != nullptr) {
        LockLayout();
        bool found = false;
        try {
            found = LocateTextInColumn(column, candidate, TLocateTextMatchTypeEh::ltmFromBeginningEh, Direction,
                                       ltoCaseInsensitiveEh | ltoStopOnEscapeEh | ltoMatchFormatEh);
        } catch (...) {
            UnlockLayout();
            throw;
        }
        UnlockLayout();
        // The search text takes the letter case of the value found.
        if (found)
            FSearch.Text = column->ComputeDisplayText().left(candidate.size());
    }
    if (EditorMode())
        ChangeEditorMode(false);
    FSearch.Active = true;
    InvalidateRowCells(Row());
    FSearch.Timeout = Timeout;
    RestartSearchTimer();
}

void TCustomDBGridEh::EndIncrementalSearch()
{
    if (!FSearch.Active)
        return;
    StopSearchTimer();
    FSearch = {};
    InvalidateRowCells(Row());
    if (Options().Contains(dgAlwaysShowEditor) && EditorAllowed())
        ChangeEditorMode(true);
}

void TCustomDBGridEh::RestartSearchTimer()
{
    StopSearchTimer();
    if (FSearch.Timeout >= 0 && HandleAllocated()) {
        SetTimer(SearchTimer, static_cast<unsigned>(FSearch.Timeout));
        FSearch.TimerRunning = true;
    }
}

void TCustomDBGridEh::StopSearchTimer()
{
    if (!FSearch.TimerRunning)
        return;
    KillTimer(SearchTimer);
    FSearch.TimerRunning = false;
}

bool TCustomDBGridEh::HandleSearchTimer(WPARAM Id)
{
    if (Id != SearchTimer)
        return false;
    EndIncrementalSearch();
    return true;
}
