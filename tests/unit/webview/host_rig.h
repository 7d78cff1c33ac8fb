#pragma once

#include <memory>
#include <string>

#include "assets/std_disk_files.h"
#include "tests/support/temp_folder.h"
#include "tests/unit/bridge/extension_library_model.h"
#include "tests/unit/webview/webview_double.h"
#include "webview/corvane_webview.h"

// Everything a host object is made from, as models and doubles: a game
// installed at C:\Games\Game\ whose loose files lie in `folder`/www.
struct HostRig {
    HostRig();

    void Configure(const std::string& packageJson);
    std::unique_ptr<CorvaneWebView> MakeHost();
    // Made, initialised, and both creations completed.
    std::unique_ptr<CorvaneWebView> StartHost();
    // What the message loop does with the posted messages: each one runs
    // the host's posted work.
    void DeliverPostedWork(CorvaneWebView& host);
    // What the window procedure does with a posted close: unless the host
    // keeps it open, the window is destroyed, and the host hears of it
    // while the window still exists.
    void DeliverClose(CorvaneWebView& host);

    AppConfig config;
    TempFolder folder;
    AssetBundle bundle;
    StdDiskFiles disk;
    ResourceSite site {bundle, disk, folder.path + "/www/", '/'};
    BodyStreamsModel bodies {bundle};
    MainWindowModel window;
    DesktopModel desktop;
    WebViewDouble runtime;
    ExtensionLibraryModel library;
    Launch launch;
    ExtensionManager extensions {library, "C:\\Games\\Game\\", "www\\", "C:\\Users\\u\\AppData\\Local\\game"};
};
