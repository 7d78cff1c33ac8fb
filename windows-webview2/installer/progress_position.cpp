#include "installer/progress_position.h"

#include <algorithm>

std::optional<int32_t> OnProgress(uint32_t progress, uint32_t progressMax)
{
    if (progressMax == 0)
        return std::nullopt;
    float position = static_cast<float>(progress) * 100.0f / static_cast<float>(progressMax);
    // A report past its total would not fit the bar or, far past it, an int.
    return static_cast<int32_t>(std::min(position, 100.0f));
}
