#include <gtest/gtest.h>

#include <stdexcept>

#include "bridge/extension_manager.h"
#include "tests/unit/bridge/extension_library_model.h"

extern "C" void SendFromC(IWrapperApp* app, const char* json);
extern "C" const char* ResolveFromC(IWrapperApp* app, const char* placeholder);

namespace {

using Strings = std::vector<std::string>;

struct HostModel : IExtensionHost {
    void PostJsonToPage(const std::string& json) override
    {
        if (failing)
            throw std::runtime_error("cannot post");
        posted.push_back(json);
    }
    const FolderMap& Folders() const override { return folders; }

    FolderMap folders = {{"<documents>", "C:\\Users\\u\\Documents"}};
    Strings posted;
    bool failing = false;
};

struct ExtensionManagerTest : testing::Test {
    // The whole life of the library as start-up and shut-down drive it.
    void Run()
    {
        manager.LoadExtensionLibrary();
        manager.OnMainWindowCreated(reinterpret_cast<NativeWindow>(uintptr_t {0x1234}));
        manager.SetWebViewHost(&host);
        manager.OnExtensionMessage(R"({"type":"extension-message"})");
        manager.Release();
        manager.FreeLibrary();
        manager.SetWebViewHost(nullptr);
    }

    ExtensionLibraryModel library;
    ExtensionManager manager {library, "C:\\Games\\Game\\", "www\\", "C:\\Users\\u\\AppData\\Local\\game"};
    HostModel host;
};

}

TEST_F(ExtensionManagerTest, ACompleteLibraryIsInitialisedCalledInOrderAndFreedLast)
{
    Run();
    Strings expected = {"load C:\\Games\\Game\\Tandrel.dll",
        "Init C:\\Games\\Game\\ | www\\ | C:\\Users\\u\\AppData\\Local\\game", "OnMainWindowCreated 4660",
        R"(OnExtensionMessage {"type":"extension-message"})", "Release", "free"};
    EXPECT_EQ(expected, library.calls);
    EXPECT_EQ((Strings {"sample.echo", "sample.folders"}), manager.ComponentIds());

    // Freed entry points are never called again.
    manager.Release();
    manager.OnExtensionMessage("{}");
    EXPECT_EQ(expected.size(), library.calls.size());
}

TEST_F(ExtensionManagerTest, IdentifiersAreCopiedBeforeTheLibraryMayReuseThem)
{
    EXPECT_TRUE(manager.LoadExtensionLibrary());
    library.idStorage.assign(2, std::string(64, 'x'));
    library.idList.assign(3, nullptr);
    EXPECT_EQ((Strings {"sample.echo", "sample.folders"}), manager.ComponentIds());
}

TEST_F(ExtensionManagerTest, WithoutOneExportInitIsNeverCalledButTheOthersAre)
{
    library.exports = {"Init", "Release", "OnMainWindowCreated"};
    Run();
    EXPECT_EQ((Strings {"load C:\\Games\\Game\\Tandrel.dll", "OnMainWindowCreated 4660", "Release", "free"}),
        library.calls);
    EXPECT_TRUE(manager.ComponentIds().empty());
}

TEST_F(ExtensionManagerTest, AMissingLibraryOrANullListMeansNoComponents)
{
    library.ids.reset();
    EXPECT_FALSE(manager.LoadExtensionLibrary());
    EXPECT_TRUE(manager.ComponentIds().empty());

    ExtensionLibraryModel missing;
    missing.present = false;
    ExtensionManager without {missing, "C:\\A\\", "www\\", "C:\\D"};
    EXPECT_FALSE(without.LoadExtensionLibrary());
    without.OnMainWindowCreated(nullptr);
    without.Release();
    EXPECT_EQ(Strings {"load C:\\A\\Tandrel.dll"}, missing.calls);
}

TEST_F(ExtensionManagerTest, TheLibraryReachesTheHostOnlyWhileItIsSet)
{
    manager.LoadExtensionLibrary();
    IWrapperApp* app = library.app;
    ASSERT_EQ(static_cast<IWrapperApp*>(&manager), app);
    app->SendMessageToPage(R"({"type":"early"})");
    EXPECT_STREQ("", app->ResolveFolderPlaceholder("<documents>"));

    manager.SetWebViewHost(&host);
    app->SendMessageToPage(R"({"type":"now"})");
    EXPECT_STREQ("C:\\Users\\u\\Documents", app->ResolveFolderPlaceholder("<documents>"));
    EXPECT_STREQ("", app->ResolveFolderPlaceholder("<unknown>"));
    EXPECT_EQ(Strings {R"({"type":"now"})"}, host.posted);

    manager.SetWebViewHost(nullptr);
    app->SendMessageToPage(R"({"type":"late"})");
    EXPECT_EQ(1u, host.posted.size());
}

TEST_F(ExtensionManagerTest, NothingTheLibraryPassesCanBreakOrUnwindIntoIt)
{
    manager.SetWebViewHost(&host);
    manager.SendMessageToPage(nullptr);
    EXPECT_STREQ("", manager.ResolveFolderPlaceholder(nullptr));
    host.failing = true;
    EXPECT_NO_THROW(manager.SendMessageToPage(R"({"type":"x"})"));
    EXPECT_TRUE(host.posted.empty());
}

TEST_F(ExtensionManagerTest, CCallersReachTheSameTwoSlots)
{
    manager.SetWebViewHost(&host);
    SendFromC(&manager, R"({"from":"c"})");
    EXPECT_EQ(Strings {R"({"from":"c"})"}, host.posted);
    EXPECT_STREQ("C:\\Users\\u\\Documents", ResolveFromC(&manager, "<documents>"));
}
