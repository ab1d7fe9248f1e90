// MulDiv: the product in 64 bits, divided and rounded, -1 for a zero divisor or an overflow.
#include "platform/ui/Types.h"

#include <cstdlib>
#include <limits>

int MulDiv(int A, int B, int C)
{
    if (C == 0)
        return -1;
    const std::int64_t product = static_cast<std::int64_t>(A) * B;
    const std::int64_t magnitude = std::llabs(product);
    const std::int64_t divisor = std::llabs(static_cast<std::int64_t>(C));
    std::int64_t quotient = (magnitude + divisor / 2) / divisor;
    if ((product < 0) != (C < 0))
        quotient = -quotient;
    if (quotient > std::numeric_limits<int>::max() || quotient < std::numeric_limits<int>::min())
        return -1;
    return static_cast<int>(quotient);
}
