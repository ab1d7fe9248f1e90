// TrimWorkingSet on the C library's malloc_trim.
#include "platform/core/WorkingSet.h"

#include <malloc.h>

void TrimWorkingSet() { malloc_trim(0); }
