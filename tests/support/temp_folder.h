#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed afterwards.
struct TempFolder {
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // Writes a file (making its folders) and gives its full path.
    std::string Write(const std::string& relative, const std::string& content) const;
    std::string Read(const std::string& relative) const;
    std::string path;
};
