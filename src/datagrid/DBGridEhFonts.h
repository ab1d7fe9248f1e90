#pragma once
// The fonts of columns, titles and footers follow a default font until one of their own is set.
#include "platform/ui/Graphics.h"

// Copies Source into Own when they differ (always with Force), with Own's change handler
// silenced through Guard, so following the default never counts as setting a font.
inline void FollowFont(TFont& Own, const TFont& Source, bool& Guard, bool Force = false)
{
    if (&Own == &Source)
        return;
    if (!Force && Own.Handle() == Source.Handle() && Own.Color() == Source.Color())
        return;
    Guard = true;
    Own.Assign(const_cast<TFont*>(&Source));
    Guard = false;
}

// The font of the sort indexes drawn beside the title's sort markers, shared by every grid.
const TFont& SortMarkerFont();
