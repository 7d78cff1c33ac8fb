#pragma once

// The file the host writes into its user-data folder: the app's uninstaller
// removes a data folder only when it holds this file, so that an app named
// like another program's folder never takes that program's data with it.
inline constexpr const char* UserDataMark = "velmora-user-data.txt";
