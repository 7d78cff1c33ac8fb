#include "common/path_below.h"

#include <algorithm>

bool IsPathBelow(const std::filesystem::path& folder, const std::filesystem::path& path)
{
    auto [rest, at] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return rest == folder.end() && at != path.end();
}
