#pragma once

// The runtime installer's error boxes, captioned with the app's title.
namespace InstallerMessage {
inline constexpr const char* CommonControlsFailed = "Failed to initialize common controls";
inline constexpr const char* UserDataFolderFailed = "Failed to create user data directory";
inline constexpr const char* RegisterClassFailed = "Failed to register window class";
inline constexpr const char* CreateWindowFailed = "Failed to create window";
}
