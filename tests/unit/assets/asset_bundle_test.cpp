#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

#include "assets/asset_bundle.h"
#include "assets/bundle_istream.h"
#include "tests/support/bundle_bytes.h"

namespace {

const std::string Blob = "hello world";

std::string ValidBundle()
{
    return BundleBytes().Header().Chunk("blob", Blob)
        .Chunk("fdir", Directory(2, DirectoryEntry("a.txt", 0, 5) + DirectoryEntry("dir/b.txt", 6, 5))).bytes;
}

// Parses from memory and from a stream; both must end the same way.
std::string ParseError(const std::string& image, AssetBundle* keep = nullptr)
{
    std::string errors[2];
    for (int mode = 0; mode < 2; ++mode) {
        AssetBundle bundle;
        std::istringstream stream(image);
        IstreamBundleSource source(stream);
        if (mode == 0)
            bundle.AttachMemory(reinterpret_cast<const uint8_t*>(image.data()), image.size());
        else
            bundle.AttachStream(source, image.size());
        try {
            bundle.Parse();
            errors[mode] = "ok";
        } catch (const std::range_error& error) {
            errors[mode] = std::string("range: ") + error.what();
        } catch (const std::runtime_error& error) {
            errors[mode] = error.what();
        }
        if (keep && mode == 0)
            *keep = std::move(bundle);
    }
    EXPECT_EQ(errors[0], errors[1]);
    return errors[0];
}

}

TEST(AssetBundle, ExampleBundleOfOneFileParses)
{
    std::string image = BundleBytes().Header().Chunk("blob", "abc").Chunk("fdir", Directory(1, DirectoryEntry("a.txt", 0, 3))).bytes;
    ASSERT_EQ(image.size(), 89u);
    AssetBundle bundle;
    EXPECT_EQ(ParseError(image, &bundle), "ok");
    bundle.AttachMemory(reinterpret_cast<const uint8_t*>(image.data()), image.size());
    bundle.Parse();
    std::optional<BundleEntry> entry = bundle.Find("a.txt");
    ASSERT_TRUE(entry);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bundle.FileData(entry->offset)), entry->size), "abc");
}

TEST(AssetBundle, FindsNamesExactly)
{
    std::string image = ValidBundle();
    AssetBundle bundle;
    bundle.AttachMemory(reinterpret_cast<const uint8_t*>(image.data()), image.size());
    bundle.Parse();
    ASSERT_TRUE(bundle.Find("dir/b.txt"));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bundle.FileData(bundle.Find("dir/b.txt")->offset)), 5), "world");
    EXPECT_FALSE(bundle.Find("A.txt"));
    EXPECT_FALSE(bundle.Find("dir\\b.txt"));
    EXPECT_FALSE(bundle.Find("/a.txt"));
    bundle.Clear();
    EXPECT_FALSE(bundle.Find("a.txt"));
}

TEST(AssetBundle, HeaderFaults)
{
    EXPECT_EQ(ParseError("q7ab"), "range: bundle read error");
    EXPECT_EQ(ParseError(""), "range: bundle read error");
    EXPECT_EQ(ParseError(BundleBytes().Text("q7aB").U32(0).U32(16).U32(0).bytes), "bad format");
    EXPECT_EQ(ParseError(BundleBytes().Header(16, 1).bytes), "unsupported version");
    EXPECT_EQ(ParseError(BundleBytes().Header(16, 0, 2).bytes), "invalid flags");
    EXPECT_EQ(ParseError(BundleBytes().Header(4000).bytes), "missing blob chunk");
    EXPECT_EQ(ParseError(BundleBytes().Header(0xFFFFFFFF).Chunk("blob", "").bytes), "missing blob chunk");
}

TEST(AssetBundle, ChunkFaultsAndRules)
{
    EXPECT_EQ(ParseError(BundleBytes().Header().Chunk("fdir", Directory(0, "")).bytes), "missing blob chunk");
    EXPECT_EQ(ParseError(BundleBytes().Header().Chunk("blob", "x").bytes), "missing fdir chunk");
    EXPECT_EQ(ParseError(BundleBytes().Header().bytes + "blob12345"), "range: bundle read error");
    EXPECT_EQ(ParseError(BundleBytes().Header().Text("blob").U64(10).Text("short").bytes), "bad chunk");
    EXPECT_EQ(ParseError(BundleBytes().Header().Text("blob").U64(UINT64_MAX - 3).bytes), "bad chunk");

    // A chunk area inside the header reads the header itself as a chunk header.
    std::string intoHeader = BundleBytes().Header(4).bytes;
    EXPECT_EQ(ParseError(intoHeader), "bad chunk");

    // First chunk of a tag wins; unknown chunks are skipped.
    AssetBundle bundle;
    std::string twoBlobs = BundleBytes().Header().Chunk("blob", "first").Chunk("zzzz", "skip me")
        .Chunk("blob", "second!").Chunk("fdir", Directory(1, DirectoryEntry("f", 0, 5))).bytes;
    EXPECT_EQ(ParseError(twoBlobs, &bundle), "ok");
    EXPECT_EQ(bundle.BlobSize(), 5u);
}

TEST(AssetBundle, DirectoryFaults)
{
    auto withDirectory = [](const std::string& fdir) {
        return BundleBytes().Header().Chunk("blob", Blob).Chunk("fdir", fdir).bytes;
    };
    EXPECT_EQ(ParseError(withDirectory("\0\0\0")), "range: bundle read error");
    EXPECT_EQ(ParseError(withDirectory(Directory(0, ""))), "ok");
    EXPECT_EQ(ParseError(withDirectory(Directory(3, DirectoryEntry("a", 0, 1)))), "range: bundle read error");
    EXPECT_EQ(ParseError(withDirectory(Directory(1, DirectoryEntry("a", 0, 1, 1)))), "bad file entry");
    EXPECT_EQ(ParseError(withDirectory(Directory(1, DirectoryEntry("a", 0, Blob.size() + 1)))), "bad file entry");
    EXPECT_EQ(ParseError(withDirectory(Directory(1, DirectoryEntry("a", 1, UINT64_MAX)))), "bad file entry");
    EXPECT_EQ(ParseError(withDirectory(Directory(1, DirectoryEntry("a", 0, 1, 0, 1)))), "bad file compression");
    // A name longer than what is left of the directory chunk.
    std::string longName = DirectoryEntry("abc", 0, 1);
    longName.resize(longName.size() - 1);
    EXPECT_EQ(ParseError(withDirectory(Directory(1, longName))), "range: bundle read error");
    // A huge name length fails before anything is allocated for it.
    std::string hugeName = BundleBytes().U32(0).U32(0).U64(0).U64(0).U64(0).U8(0).U32(0xFFFFFFF0).bytes;
    EXPECT_EQ(ParseError(withDirectory(Directory(1, hugeName))), "range: bundle read error");
    // Trailing bytes after the last entry are ignored.
    EXPECT_EQ(ParseError(withDirectory(Directory(1, DirectoryEntry("a", 0, 1)) + "junk")), "ok");
}

TEST(AssetBundle, EntriesEdgesAndFirstNameWins)
{
    AssetBundle bundle;
    std::string image = BundleBytes().Header().Chunk("blob", Blob).Chunk("fdir",
        Directory(5, DirectoryEntry("end", 0, Blob.size()) + DirectoryEntry("", 3, 0) + DirectoryEntry("end", 1, 1) +
                     DirectoryEntry("Index.html", 0, 1) + DirectoryEntry("bad", 0, 1, 7))).bytes;
    EXPECT_EQ(ParseError(image, &bundle), "bad file entry");
    // Entries before the fault stay; the duplicate name kept its first entry.
    ASSERT_EQ(bundle.Directory().size(), 3u);
    EXPECT_EQ(bundle.Find("end")->size, Blob.size());
    EXPECT_EQ(bundle.Find("")->size, 0u);
    EXPECT_FALSE(bundle.Find("index.html"));

    // The duplicate is still checked in full.
    std::string badDuplicate = BundleBytes().Header().Chunk("blob", Blob).Chunk("fdir",
        Directory(2, DirectoryEntry("a", 0, 1) + DirectoryEntry("a", 0, 1, 0, 9))).bytes;
    EXPECT_EQ(ParseError(badDuplicate), "bad file compression");
}

TEST(AssetBundle, TheDirectoryIsOneSortedIndexOfViewsIntoTheImage)
{
    std::string entries = DirectoryEntry("b", 1, 1) + DirectoryEntry("a", 0, 1) + DirectoryEntry("c", 2, 1) +
                          DirectoryEntry("a", 3, 1) + DirectoryEntry("b", 4, 1) + DirectoryEntry("a", 5, 1);
    std::string image = BundleBytes().Header().Chunk("blob", Blob).Chunk("fdir", Directory(6, entries)).bytes;
    AssetBundle bundle;
    ASSERT_EQ(ParseError(image, &bundle), "ok");
    std::string order;
    for (const BundleEntry& entry : bundle.Directory())
        order += std::string(entry.Name()) + std::to_string(entry.offset) + " ";
    EXPECT_EQ("a0 b1 c2 ", order) << "in name order, the first entry of each name";

    AssetBundle mapped;
    mapped.AttachMemory(reinterpret_cast<const uint8_t*>(image.data()), image.size());
    mapped.Parse();
    for (const BundleEntry& entry : mapped.Directory()) {
        EXPECT_GE(entry.nameData, image.data());
        EXPECT_LE(entry.nameData + entry.nameLength, image.data() + image.size()) << "a view, not a copy";
    }

    // A streamed bundle's names outlive the stream.
    AssetBundle streamed;
    {
        std::istringstream stream(image);
        IstreamBundleSource source(stream);
        streamed.AttachStream(source, image.size());
        streamed.Parse();
    }
    image.assign(image.size(), 'x');
    ASSERT_TRUE(streamed.Find("c"));
    EXPECT_EQ("c", streamed.Find("c")->Name());
}

// Against a plain stable sort by name: names longer than the sort's keys,
// bytes above 0x7F, zeros inside names, names that begin others, repeats,
// and a first and last name that share more than all names do.
TEST(AssetBundle, TheSortedIndexMatchesAPlainSortByName)
{
    std::mt19937 random(11);
    const std::string letters("a\0\xff/", 4);
    std::vector<std::string> names = {"root/ab1", "root/c", "root/ab2"};
    for (int i = 0; i < 3000; ++i) {
        std::string name = "root/";
        size_t length = random() % 30;
        for (size_t j = 0; j < length; ++j)
            name += letters[random() % letters.size()];
        names.push_back(name);
    }
    names.push_back("root/ab1");
    std::string entries;
    for (size_t i = 0; i < names.size(); ++i)
        entries += DirectoryEntry(names[i], i % Blob.size(), 0);
    std::string image = BundleBytes().Header().Chunk("blob", Blob)
        .Chunk("fdir", Directory(static_cast<uint32_t>(names.size()), entries)).bytes;
    AssetBundle bundle;
    ASSERT_EQ(ParseError(image, &bundle), "ok");

    std::vector<std::pair<std::string, uint64_t>> expected;
    for (size_t i = 0; i < names.size(); ++i)
        expected.emplace_back(names[i], i % Blob.size());
    std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    expected.erase(std::unique(expected.begin(), expected.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
        expected.end());
    std::vector<std::pair<std::string, uint64_t>> actual;
    for (const BundleEntry& entry : bundle.Directory())
        actual.emplace_back(std::string(entry.Name()), entry.offset);
    EXPECT_EQ(expected, actual);
    EXPECT_EQ(0u, bundle.Find("root/ab1")->offset) << "the first of a repeated name";
    // Every name is found, as its first entry, and no name one byte longer
    // (no name holds \x01).
    for (const auto& [name, offset] : expected) {
        std::optional<BundleEntry> found = bundle.Find(name);
        ASSERT_TRUE(found) << name;
        EXPECT_EQ(name, found->Name());
        EXPECT_EQ(offset, found->offset);
        EXPECT_FALSE(bundle.Find(name + '\x01')) << name;
    }
}

TEST(AssetBundle, ReadModes)
{
    AssetBundle detached;
    EXPECT_THROW(detached.FileData(0), std::runtime_error);
    // With no source the limit is 0, so the room check fails first.
    EXPECT_THROW(detached.Parse(), std::range_error);

    std::string image = ValidBundle();
    std::istringstream stream(image);
    IstreamBundleSource source(stream);
    AssetBundle streamed;
    streamed.AttachStream(source, image.size());
    streamed.Parse();
    EXPECT_TRUE(streamed.Find("a.txt"));
    try {
        streamed.FileData(0);
        FAIL() << "fileData on a stream";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "wrong read mode");
    }

    // A stream shorter than the limit it was attached with.
    std::istringstream truncated(image.substr(0, 40));
    IstreamBundleSource truncatedSource(truncated);
    AssetBundle shortRead;
    shortRead.AttachStream(truncatedSource, image.size());
    try {
        shortRead.Parse();
        FAIL() << "short stream";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "file read error");
    }
}
