#pragma once

#include <cstdint>
#include <optional>

// The progress bar's position (0 to 100) for a download report, or none
// when the report gives no total and the bar stays where it is.
std::optional<int32_t> OnProgress(uint32_t progress, uint32_t progressMax);
