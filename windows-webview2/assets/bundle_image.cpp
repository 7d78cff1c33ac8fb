#include "assets/bundle_image.h"

void MapBundle(const std::string& path, AssetBundle& bundle, std::shared_ptr<const MappedFile>& image)
{
    image = std::make_shared<const MappedFile>(path);
    bundle.AttachMemory(image->Data(), image->Size());
    bundle.Parse();
}
