#pragma once
// Readable failure messages for the platform's geometry records.
#include "platform/ui/Types.h"

#include <ostream>

inline void PrintTo(const TPoint& P, std::ostream* Out)
{
    *Out << "(" << P.X << ", " << P.Y << ")";
}

inline void PrintTo(const TRect& R, std::ostream* Out)
{
    *Out << "Rect(" << R.Left << ", " << R.Top << ", " << R.Right << ", " << R.Bottom << ")";
}
