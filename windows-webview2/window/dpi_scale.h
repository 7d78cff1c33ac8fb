#pragma once

#include <cstdint>

// A length in 96-DPI units as pixels for a DPI factor (logical DPI / 96):
// the single-precision product rounded up, so negative values round toward zero.
int32_t ScaleByFactor(int32_t value, float factor);
