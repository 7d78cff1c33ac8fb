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

// Bodies from the bundle's memory and from files in the web folder, on the
// UI thread. Partial requests for disk files map each request path once and
// keep it mapped until ReleaseMappedFiles.
class BodyStreamsWin32 : public IBodyStreams {
public:
    explicit BodyStreamsWin32(const AssetBundle& siteBundle) : bundle(siteBundle) {}

    std::shared_ptr<IBodyStream> Create(const ResourceAnswer& answer) override;
    void ReleaseMappedFiles() { mappings.clear(); }

private:
    const MappedFile& MapForRange(const std::string& requestPath, const std::string& diskPath);

    const AssetBundle& bundle;
    std::map<std::string, std::unique_ptr<MappedFile>> mappings;
};
