#pragma once

#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

#include <map>
#include <memory>
#include <string>

#include "assets/asset_bundle.h"
#include "assets/body_streams.h"
#include "common/mapped_file.h"

// A body as the WebView2 runtime takes it.
struct ComStreamBody : IBodyStream {
    explicit ComStreamBody(Microsoft::WRL::ComPtr<IStream> body) : stream(std::move(body)) {}
    Microsoft::WRL::ComPtr<IStream> stream;
};

// Bodies read straight from mapped views, never copied: the bundle's image
// (null when there is none) and files inside the web folder (ending with a
// separator). Each stream keeps its view mapped while the runtime holds it.
// Partial requests for disk files map each request path once and keep it
// mapped until ReleaseMappedFiles; a whole disk file is mapped for its one
// answer.
class BodyStreamsWin32 : public IBodyStreams {
public:
    BodyStreamsWin32(const AssetBundle& siteBundle, std::shared_ptr<const MappedFile> bundleImage,
        std::string siteWebFolder)
        : bundle(siteBundle), image(std::move(bundleImage)), webFolder(std::move(siteWebFolder))
    {
    }

    std::shared_ptr<IBodyStream> Create(const ResourceAnswer& answer) override;
    void ReleaseMappedFiles() { mappings.clear(); }

private:
    std::shared_ptr<const MappedFile> MapInside(const std::string& diskPath) const;
    std::shared_ptr<const MappedFile> MapForRange(const std::string& requestPath, const std::string& diskPath);

    const AssetBundle& bundle;
    std::shared_ptr<const MappedFile> image;
    std::string webFolder;
    std::map<std::string, std::shared_ptr<const MappedFile>> mappings;
};
