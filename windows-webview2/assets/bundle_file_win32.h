#pragma once

#include <windows.h>

#include <string>

#include "asset_bundle.h"

// The read-only mapping of "assets.dat" that the bundle is parsed in and
// served from for the whole run.
struct BundleFile {
    HANDLE file = INVALID_HANDLE_VALUE;
    HANDLE mapping = nullptr;
    const uint8_t* view = nullptr;

    // Maps the whole file and parses it in place; throws on any failure,
    // keeping what was obtained for Close.
    void Open(const std::string& path, AssetBundle& bundle);
    void Close();
};
