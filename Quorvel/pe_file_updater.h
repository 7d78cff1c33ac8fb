#pragma once

#include <string>

#include "Quorvel/resource_tree.h"
#include "Quorvel/resource_updater.h"

// The resource-update functions done portably, on the bytes of a PE32 or
// PE32+ file: Begin reads its tree, Update changes it in memory, End(false)
// writes a new image beside the file and renames it into place, so that a
// failure leaves the file as it was. lastError says why a call failed.
class PeFileUpdater : public IResourceUpdater {
public:
    std::vector<ResourceRecord> ListIconResources(const std::string& exePath) override;
    bool Begin(const std::string& exePath) override;
    bool Update(uint16_t type, const ResourceName& name, uint16_t language, const std::string* data) override;
    bool End(bool discard) override;

    // The tree Begin read, with the updates so far.
    const ResourceTree& Staged() const { return staged; }

    std::string lastError;

private:
    std::string path;
    std::string image;
    ResourceTree staged;
    bool open = false;
};
