#pragma once
// Client-side sort orders: the text "field [ASC|DESC], field2 ..." and the comparison every
// cursor sorts with, so that all record sources order alike.
#include "platform/data/RecordCursor.h"

// Field names may be bracketed ([单价]); raises EDatabaseError "Field 'X' not found" for a name
// the fields lack and on a direction other than ASC or DESC. Empty text gives an empty spec.
TSortSpec ParseSortText(const String& Text, const std::vector<TCursorField>& Fields);

// Texts compare with the Chinese collation ignoring case; other values in Variant order
// (Null first).
int SortCompare(const Variant& A, const Variant& B);
int CompareRecords(const TRecordValues& A, const TRecordValues& B, const TSortSpec& Spec);
