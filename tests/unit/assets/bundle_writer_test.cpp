#include <gtest/gtest.h>

#include <filesystem>

#include <memory>

#include "assets/asset_bundle.h"
#include "assets/bundle_image.h"
#include "assets/bundle_writer.h"
#include "tests/support/temp_folder.h"

namespace {

std::vector<std::string> Names(const std::vector<BundleSource>& sources)
{
    std::vector<std::string> names;
    for (const BundleSource& source : sources)
        names.push_back(source.name);
    return names;
}

}

TEST(BundleWriter, CollectsRegularFilesInByteOrderLeavingOutTheBundle)
{
    TempFolder folder;
    folder.Write("www/b.txt", "b");
    folder.Write("www/B/inner.js", "inner");
    folder.Write("www/a b.png", "png");
    folder.Write("www/assets.dat", "old bundle");
    folder.Write("www/B/assets.dat", "another file of that name");
    std::vector<BundleSource> sources = CollectBundleSources(folder.path + "/www", folder.path + "/www/./assets.dat");
    EXPECT_EQ((std::vector<std::string> {"B/assets.dat", "B/inner.js", "a b.png", "b.txt"}), Names(sources));
    EXPECT_EQ(25u, sources[0].size);

    // The bundle is known by what it is, however its path is spelled.
    std::filesystem::create_symlink(folder.path + "/www", folder.path + "/linked");
    EXPECT_EQ(4u, CollectBundleSources(folder.path + "/www", folder.path + "/linked/assets.dat").size());
    EXPECT_EQ(5u, CollectBundleSources(folder.path + "/www", folder.path + "/elsewhere/assets.dat").size());

    // The names do not depend on how the folder is spelled.
    for (const std::string& spelling : {folder.path + "/www/", folder.path + "/./www", folder.path + "//www//"})
        EXPECT_EQ(Names(sources), Names(CollectBundleSources(spelling, folder.path + "/www/assets.dat"))) << spelling;
}

TEST(BundleWriter, WrittenBundleReadsBackWithEveryFileInOrder)
{
    TempFolder folder;
    folder.Write("www/index.html", "<html>");
    folder.Write("www/empty", "");
    folder.Write("www/data/level.json", "{\"level\":1}");
    std::vector<BundleSource> sources = CollectBundleSources(folder.path + "/www", "");
    std::vector<std::pair<uint64_t, uint64_t>> progress;
    WriteBundle(sources, folder.path + "/assets.dat",
        [&progress](uint64_t done, uint64_t total) { progress.emplace_back(done, total); });
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back().first, progress.back().second);
    EXPECT_EQ(17u, progress.back().second);

    AssetBundle bundle;
    std::shared_ptr<const MappedFile> image;
    MapBundle(folder.path + "/assets.dat", bundle, image);
    ASSERT_EQ(3u, bundle.Directory().size());
    std::optional<BundleEntry> level = bundle.Find("data/level.json");
    ASSERT_TRUE(level);
    EXPECT_EQ(0u, level->offset);
    EXPECT_EQ("{\"level\":1}", std::string(reinterpret_cast<const char*>(bundle.FileData(level->offset)), level->size));
    std::optional<BundleEntry> page = bundle.Find("index.html");
    ASSERT_TRUE(page);
    EXPECT_EQ("<html>", std::string(reinterpret_cast<const char*>(bundle.FileData(page->offset)), page->size));
    EXPECT_EQ(0u, bundle.Find("empty")->size);
}

TEST(BundleWriter, AFileThatShrankOrGrewWhilePackingFailsTheWrite)
{
    TempFolder folder;
    folder.Write("www/a.bin", "0123456789");
    std::vector<BundleSource> sources = CollectBundleSources(folder.path + "/www", "");
    for (const char* changed : {"01234", "0123456789 and more"}) {
        folder.Write("www/a.bin", changed);
        try {
            WriteBundle(sources, folder.path + "/assets.dat", nullptr);
            ADD_FAILURE() << "packed a file of the wrong size: " << changed;
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(folder.path + "/www/a.bin changed while packing", error.what());
        }
    }
    folder.Write("www/a.bin", "0123456789");
    EXPECT_EQ(BundleSize(sources), (WriteBundle(sources, folder.path + "/assets.dat", nullptr),
                                       std::filesystem::file_size(folder.path + "/assets.dat")));
    EXPECT_THROW(WriteBundle(sources, folder.path + "/missing/assets.dat", nullptr), std::runtime_error);
}
