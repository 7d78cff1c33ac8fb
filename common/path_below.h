#pragma once

#include <filesystem>

// Whether path names something strictly below folder, component by
// component (both already canonical: no "..", no links left to resolve).
bool IsPathBelow(const std::filesystem::path& folder, const std::filesystem::path& path);
