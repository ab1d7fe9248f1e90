#pragma once
// Unit oprIndexes: the indexes the application's statements are planned on. Every filter field
// of the record pages compares one column by "=" or by a "like" prefix; each such column leads
// an index that goes on with the date, the id and the quantity, so a filter with its date term
// is searched in the index alone and its count and total read no table rows; the quantity has
// an index of its own. The settings lists get the indexes their look-ups and counters use.
class TADOConnection;

// Creates the indexes a file lacks (files of earlier versions included) in one transaction; the
// records are not touched. Raises EDatabaseError when the file cannot take them.
void CreateOprIndexes(TADOConnection& Connection);
