#include "window/dpi_scale.h"

#include <cmath>
#include <limits>

int32_t ScaleByFactor(int32_t value, float factor)
{
    float scaled = std::ceil(static_cast<float>(value) * factor);
    if (scaled >= static_cast<float>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (scaled <= static_cast<float>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(scaled);
}
