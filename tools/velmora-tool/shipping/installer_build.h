#pragma once

#include <filesystem>

#include "tools/velmora-tool/export/export_plan.h"

// Whether LZMA gains on a file: most of eight samples spread over it (one
// for a small file) shrink by a sixth when deflated at the fastest level.
// Media, and bundles that are mostly media (their text and directory
// included), are stored; programs, scripts and text are compressed.
bool WorthCompressing(const std::filesystem::path& path, uint64_t size);

// Before anything is written: makensis must be there.
void CheckInstallerTools();

// The most an export may hold for its installer: NSIS keeps an installer's
// data in one block addressed by 32-bit signed offsets, and makensis fails
// past 2 GiB (measured with sparse files; README).
inline constexpr uint64_t MostInstallerBytes = (uint64_t {2} << 30) - (uint64_t {64} << 20);

// Before anything is written: the planned export fits one installer.
void CheckInstallerSize(uint64_t exportBytes);

// Makes the installer of the staged export at `out` with makensis, from the
// script InstallerScript writes (and an icon of the app's icon images),
// reporting the bytes taken so far. Its work files lie in the staged export
// while it runs. Throws ExportError with makensis's reason.
void BuildInstaller(const ExportPlan& plan, const std::filesystem::path& staging, const std::filesystem::path& out,
    const PackProgress& progress);
