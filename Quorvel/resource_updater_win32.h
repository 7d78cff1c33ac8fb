#pragma once

#include <windows.h>

#include "Quorvel/resource_updater.h"

// IResourceUpdater over LoadLibraryExW, EnumResource* and the
// BeginUpdateResourceW family.
class ResourceUpdaterWin32 : public IResourceUpdater {
public:
    std::vector<ResourceRecord> ListIconResources(const std::string& exePath) override;
    bool Begin(const std::string& exePath) override;
    bool Update(uint16_t type, const ResourceName& name, uint16_t language, const std::string* data) override;
    bool End(bool discard) override;

private:
    HANDLE update = nullptr;
};
