#pragma once

#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

#include <map>
#include <memory>
#include <string>

#include "assets/asset_bundle.h"
#include "assets/body_streams.h"
#include "assets/disk_file_bytes_win32.h"
#include "common/mapped_file.h"

// A body as the WebView2 runtime takes it.
struct ComStreamBody : IBodyStream {
    explicit ComStreamBody(Microsoft::WRL::ComPtr<IStream> body) : stream(std::move(body)) {}
    Microsoft::WRL::ComPtr<IStream> stream;
};

// Bodies read as the runtime asks for them, never copied beforehand: from
// the bundle's mapped image (null when there is none), kept mapped while a
// stream holds it, and from files inside the web folder (ending with a
// separator), read at a position. Partial requests for disk files open
// each request path once and keep it open until ReleaseOpenFiles; a whole
// disk file is opened for its one answer.
class BodyStreamsWin32 : public IBodyStreams {
public:
    BodyStreamsWin32(const AssetBundle& siteBundle, std::shared_ptr<const MappedFile> bundleImage,
        std::string siteWebFolder)
        : bundle(siteBundle), image(std::move(bundleImage)), webFolder(std::move(siteWebFolder))
    {
    }

    std::shared_ptr<IBodyStream> Create(const ResourceAnswer& answer) override;
    void ReleaseOpenFiles() { openFiles.clear(); }

private:
    std::shared_ptr<const OpenedDiskFile> OpenInside(const std::string& diskPath) const;
    std::shared_ptr<const OpenedDiskFile> OpenForRange(const std::string& requestPath, const std::string& diskPath);

    const AssetBundle& bundle;
    std::shared_ptr<const MappedFile> image;
    std::string webFolder;
    std::map<std::string, std::shared_ptr<const OpenedDiskFile>> openFiles;
};
