#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

#include "tests/unit/webview/host_rig.h"

namespace {

void Require(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "violated: %s\n", what);
    std::abort();
}

// One host for the whole run, as a page meets it: messages pile up window
// state and folder map entries the way a long session does.
struct Host : HostRig {
    Host()
    {
        extensions.LoadExtensionLibrary();
        host = StartHost();
    }
    std::unique_ptr<CorvaneWebView> host;
};

// The message's "type" as a plain parser reads it, or empty.
std::string TypeOf(const std::string& text)
{
    nlohmann::json parsed = nlohmann::json::parse(text.c_str(), nullptr, false);
    if (!parsed.is_object() || !parsed.contains("type") || !parsed["type"].is_string())
        return {};
    return parsed["type"].get<std::string>();
}

// A reply must be JSON that is already in its compact, sorted form.
void RequireCanonical(const std::string& json)
{
    nlohmann::json parsed = nlohmann::json::parse(json, nullptr, false);
    Require(!parsed.is_discarded(), "a reply is JSON");
    Require(parsed.dump() == json, "a reply is compact with sorted members");
}

}

// Any bytes the page posts end in a dropped message or in exactly the
// documented effect of its type, and nothing escapes the handler.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Destroyed at exit, so that the rig's folder goes with it.
    static Host h;
    std::string text(reinterpret_cast<const char*>(data), size);
    h.runtime.pageMessages.clear();
    h.window.calls.clear();
    size_t libraryCalls = h.library.calls.size();

    h.runtime.RaiseWebMessage("https://velmora.localhost/index.html", text);

    std::string type = TypeOf(text);
    bool windowType = type == "set-fullscreen" || type == "set-window-size" || type == "set-window-position";
    Require(windowType || h.window.calls.empty(), "only window messages act on the window");
    Require(type == "wrapper-init" || h.runtime.pageMessages.empty(), "only wrapper-init is answered");
    if (type == "wrapper-init") {
        Require(h.runtime.pageMessages.size() == 2, "wrapper-init gets two messages");
        Require(h.runtime.pageMessages[0].rfind("handles {\"type\":\"directory-handles\"} ", 0) == 0,
            "directory-handles comes first");
        Require(h.runtime.pageMessages[1].rfind("handles ", 0) == 0, "the response follows the handles' way");
        RequireCanonical(h.runtime.pageMessages[1].substr(8));
    }
    if (type == "extension-message") {
        Require(h.library.calls.size() == libraryCalls + 1, "the library gets the extension message");
        Require(h.library.calls.back() == "OnExtensionMessage " + std::string(text.c_str()),
            "the library gets the text unchanged");
    } else {
        Require(h.library.calls.size() == libraryCalls, "the library gets nothing else");
    }
    Require(h.host->Folders().size() <= 13, "the folder map holds at most the thirteen placeholders");
    return 0;
}
