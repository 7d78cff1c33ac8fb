#pragma once

#include <filesystem>

// Where the shipped programs (and the Steam kit) lie: beside the tool in
// dist/, or in the folder VELMORA_PROGRAMS_DIR names.
std::filesystem::path ProgramsFolder();
