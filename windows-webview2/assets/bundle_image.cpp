#include "assets/bundle_image.h"

void MapBundle(const std::string& path, AssetBundle& bundle, std::unique_ptr<MappedFile>& image)
{
    image = std::make_unique<MappedFile>(path);
    bundle.AttachMemory(image->Data(), image->Size());
    bundle.Parse();
}
