#pragma once

#include <windows.h>
#include <objidl.h>

#include <map>
#include <string>

#include "asset_bundle.h"
#include "disk_files_win32.h"
#include "resource_answer.h"

// An answer as the WebView takes it: status, reason, joined headers, body.
struct WebResponse {
    ResourceAnswer answer;
    IStream* body = nullptr; // owned by the caller, may be null
};

// Serves the app's files from the bundle and "www" on the UI thread. Partial
// requests for disk files map each file once and keep it mapped until
// releaseMappedFiles.
class ResourceServer {
public:
    ResourceServer(const AssetBundle& bundle, const std::string& appFolder, const std::string& webResourceFolder);
    ~ResourceServer();

    // What requests are answered from: the bundle, then the web folder.
    ResourceSite Site() const { return {bundle, disk, webFolder, '\\'}; }
    // The answer to the text after the origin, with the "Range" value if any.
    WebResponse Respond(const std::string& relativeUri, const std::string* range);
    // The body stream of an answer (owned by the caller, null when the answer
    // has none); a disk slice that cannot be mapped turns the answer into 500.
    IStream* CreateBody(ResourceAnswer& answer);
    const uint8_t* mapFileForRange(const std::string& requestPath, const std::string& diskPath);
    void releaseMappedFiles();
    size_t MappedFileCount() const { return mappings.size(); }

private:
    struct MappedFile {
        HANDLE file;
        HANDLE mapping;
        const uint8_t* view;
    };

    const AssetBundle& bundle;
    Win32DiskFiles disk;
    std::string webFolder;
    std::map<std::string, MappedFile> mappings;
};
