#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "common/file_reading.h"
#include "Quorvel/icon_writer.h"
#include "Quorvel/pe_file_updater.h"
#include "Quorvel/pe_layout.h"
#include "Quorvel/resource_section_rewrite.h"
#include "Quorvel/std_export_files.h"
#include "tests/support/pe_builder.h"
#include "tests/support/temp_folder.h"
#include "tests/unit/Quorvel/resource_model.h"

namespace {

ResourceKey Key(uint16_t type, ResourceName name, uint16_t language)
{
    return {ResourceName::Number(type), std::move(name), language};
}

// A tree with every kind of name: a named type, names with units beyond
// ASCII, several languages of one name.
ResourceTree SampleTree()
{
    ResourceTree tree;
    tree[Key(24, ResourceName::Number(1), 0x409)] = "<assembly/>";
    tree[Key(3, ResourceName::Number(1), 0)] = std::string("icon\0one", 8);
    tree[Key(3, ResourceName::Number(1), 0x409)] = "english icon";
    tree[Key(14, ResourceName::Text(u"MAINICON"), 0)] = "group";
    tree[Key(14, ResourceName::Text(u"\u00c9CRAN"), 0x40C)] = "groupe";
    tree[{ResourceName::Text(u"TYPELIB"), ResourceName::Number(7), 0}] = "library";
    return tree;
}

PeBuilder HostLike(const ResourceTree& tree, bool relocations)
{
    return HostLayout([&tree](uint32_t address) { return BuildResourceSection(tree, address); }, relocations);
}

std::string Field(const std::string& image, size_t at)
{
    return image.substr(at, 4);
}

std::string ReadAll(const std::string& path)
{
    return ReadWholeFile(path);
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}

TEST(ResourceTreeTest, ReadsBackWhatItLaysOut)
{
    for (bool pe32Plus : {true, false}) {
        PeBuilder builder = HostLike(SampleTree(), false);
        builder.pe32Plus = pe32Plus;
        std::string image = builder.Build();
        EXPECT_EQ(ReadResourceTree(image, ReadPeLayout(image)), SampleTree());
    }
}

TEST(ResourceTreeTest, RefusesDamagedDirectories)
{
    std::string section = BuildResourceSection(SampleTree(), HostLike({}, false).AddressOf(2));
    // The root's first entry pointing at the root itself, then past the end.
    std::string looping = section;
    WriteU32At(looping, 20, 0x80000000u);
    std::string outside = section;
    WriteU32At(outside, 20, 0x80000000u | 0x7FFFFF00u);
    std::string leafTooEarly = section;
    WriteU32At(leafTooEarly, 20, ReadU32At(section, 20) & 0x7FFFFFFFu);
    for (const std::string& damaged : {looping, outside, leafTooEarly}) {
        PeBuilder builder = HostLike({}, false);
        builder.sections[2].bytes = damaged;
        std::string image = builder.Build();
        EXPECT_THROW(ReadResourceTree(image, ReadPeLayout(image)), std::runtime_error);
    }
}

TEST(ResourceSectionRewriteTest, GrowsTheLastSectionInPlace)
{
    std::string image = HostLike(SampleTree(), false).Build();
    PeLayout before = ReadPeLayout(image);
    ResourceTree tree = SampleTree();
    tree[Key(3, ResourceName::Number(2), 0)] = std::string(0x3456, 'i');

    std::string out = ReplaceResourceSection(image, tree);
    PeLayout after = ReadPeLayout(out);
    const PeSection& section = after.sections[2];
    EXPECT_EQ(ReadResourceTree(out, after), tree);
    EXPECT_EQ(out.substr(0, 0x200).size(), 0x200u);
    EXPECT_EQ(out.compare(0x200, before.sections[2].rawOffset - 0x200, image, 0x200, before.sections[2].rawOffset - 0x200), 0);
    EXPECT_EQ(section.rawSize % PeBuilder::FileAlignment, 0u);
    EXPECT_EQ(out.size(), static_cast<size_t>(section.rawOffset) + section.rawSize);
    EXPECT_EQ(after.directories[PeResourceDirectory].size, section.virtualSize);
    EXPECT_EQ(ReadU32At(out, after.optionalOffset + PeSizeOfImageField),
        PeBuilder::Align(section.virtualAddress + section.virtualSize, PeBuilder::SectionAlignment));
    EXPECT_EQ(ReadU32At(out, after.optionalOffset + PeSizeOfInitializedDataField),
        ReadU32At(image, before.optionalOffset + PeSizeOfInitializedDataField) + section.rawSize -
            before.sections[2].rawSize);
    // Only the fields the layout needs differ in the headers.
    std::string headers = out.substr(0, 0x200);
    for (size_t field : {after.optionalOffset + PeSizeOfImageField, after.optionalOffset + PeSizeOfInitializedDataField,
             after.directoryOffset + 8 * PeResourceDirectory + 4, section.headerOffset + 8, section.headerOffset + 16})
        headers.replace(field, 4, Field(image, field));
    EXPECT_EQ(headers, image.substr(0, 0x200));
}

TEST(ResourceSectionRewriteTest, MovesTheRelocationsBehind)
{
    PeBuilder builder = HostLike(SampleTree(), true);
    builder.checksum = 1;
    std::string image = builder.Build();
    ResourceTree tree = SampleTree();
    tree[Key(16, ResourceName::Number(1), 0)] = std::string(0x1800, 'v');

    std::string out = ReplaceResourceSection(image, tree);
    PeLayout after = ReadPeLayout(out);
    const PeSection& resources = after.sections[2];
    const PeSection& relocations = after.sections[3];
    EXPECT_EQ(ReadResourceTree(out, after), tree);
    EXPECT_EQ(relocations.virtualAddress,
        PeBuilder::Align(resources.virtualAddress + resources.virtualSize, PeBuilder::SectionAlignment));
    EXPECT_GT(relocations.virtualAddress, ReadPeLayout(image).sections[3].virtualAddress);
    EXPECT_EQ(relocations.rawOffset, resources.rawOffset + resources.rawSize);
    EXPECT_EQ(out.substr(relocations.rawOffset, relocations.rawSize), std::string(0x2A4, 'x') + std::string(0x200 - 0xA4, '\0'));
    EXPECT_EQ(after.directories[PeRelocationDirectory].rva, relocations.virtualAddress);
    EXPECT_EQ(after.directories[PeRelocationDirectory].size, 0x2A4u);
    EXPECT_EQ(after.checksum, PeChecksum(out, after.optionalOffset + PeChecksumField));
    EXPECT_NE(after.checksum, 1u);
}

TEST(ResourceSectionRewriteTest, RefusesLayoutsItCannotRewrite)
{
    struct Case {
        const char* what;
        PeBuilder builder;
        const char* error;
    };
    std::vector<Case> cases;
    PeBuilder data = HostLike(SampleTree(), true);
    data.sections.push_back({".data", "referenced by address"});
    cases.push_back({"a section after the relocations", data, "sections follow the resource section"});
    PeBuilder dataOnly = HostLike(SampleTree(), false);
    dataOnly.sections.push_back({".data", "referenced by address"});
    cases.push_back({"a section that is not the relocations", dataOnly, "sections follow the resource section"});
    PeBuilder overlay = HostLike(SampleTree(), false);
    overlay.overlay = "appended payload";
    cases.push_back({"an overlay", overlay, "executable has data after its last section"});
    PeBuilder signedFile = HostLike(SampleTree(), false);
    signedFile.certificateSize = 16;
    signedFile.overlay = std::string(16, 's');
    cases.push_back({"a signature", signedFile, "executable is signed"});
    PeBuilder none = HostLike(SampleTree(), false);
    none.resourceSection = -1;
    cases.push_back({"no resource section", none, "executable has no resource section"});
    for (const Case& test : cases) {
        try {
            ReplaceResourceSection(test.builder.Build(), SampleTree());
            ADD_FAILURE() << test.what << " was rewritten";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), test.error) << test.what;
        }
    }
}

TEST(PeFileUpdaterTest, IconsWrittenAsTheUpdateFunctionsWould)
{
    TempFolder folder;
    ResourceTree tree = SampleTree();
    tree[Key(3, ResourceName::Number(2), 0x409)] = "old english second";
    tree[Key(3, ResourceName::Number(9), 0)] = "beyond the list";
    std::string exe = folder.path + "/game.exe";
    WriteAll(exe, HostLike(tree, true).Build());
    WriteAll(folder.path + "/a.png", "sixteen");
    WriteAll(folder.path + "/b.png", "thirty-two");
    std::vector<IconEntry> icons = {{"a.png", 16, 1}, {"b.png", 32, 2}};

    // The same calls against the model of the platform's functions.
    ResourceModel model;
    for (const auto& [key, data] : tree) {
        if (key.type.isInteger)
            model.Add(key.type.id, key.name, key.language, data);
    }
    MemoryExportFiles memory;
    memory.files["/x/a.png"] = "sixteen";
    memory.files["/x/b.png"] = "thirty-two";
    ASSERT_TRUE(WriteIconResources(model, memory, "/x/game.exe", "/x/", icons));

    PeFileUpdater updater;
    StdExportFiles files;
    ASSERT_TRUE(WriteIconResources(updater, files, exe, folder.path + "/", icons)) << updater.lastError;
    std::string written = ReadAll(exe);
    ResourceTree result = ReadResourceTree(written, ReadPeLayout(written));
    ResourceModel readBack;
    for (const auto& [key, data] : result) {
        if (key.type.isInteger)
            readBack.Add(key.type.id, key.name, key.language, data);
    }
    EXPECT_EQ(readBack.Describe(), model.Describe());
    EXPECT_EQ(result.count({ResourceName::Text(u"TYPELIB"), ResourceName::Number(7), 0}), 1u);
}

TEST(PeFileUpdaterTest, RefusedOrDiscardedLeavesTheFileAsItWas)
{
    TempFolder folder;
    std::string exe = folder.path + "/game.exe";
    PeBuilder builder = HostLike(SampleTree(), false);
    builder.sections.push_back({".data", "after"});
    std::string original = builder.Build();
    WriteAll(exe, original);
    std::string icon = "image";

    PeFileUpdater updater;
    ASSERT_TRUE(updater.Begin(exe));
    EXPECT_TRUE(updater.Update(RtIcon, ResourceName::Number(1), 0, &icon));
    EXPECT_FALSE(updater.End(false));
    EXPECT_EQ(updater.lastError, "sections follow the resource section");
    EXPECT_EQ(ReadAll(exe), original);
    EXPECT_FALSE(std::filesystem::exists(exe + ".resources-tmp"));

    WriteAll(exe, HostLike(SampleTree(), false).Build());
    std::string kept = ReadAll(exe);
    ASSERT_TRUE(updater.Begin(exe));
    EXPECT_TRUE(updater.Update(RtIcon, ResourceName::Number(1), 0, nullptr));
    EXPECT_FALSE(updater.Update(RtIcon, ResourceName::Number(5), 0, nullptr));
    EXPECT_TRUE(updater.End(true));
    EXPECT_EQ(ReadAll(exe), kept);

    WriteAll(exe, "MZ but nothing else");
    EXPECT_FALSE(updater.Begin(exe));
    EXPECT_EQ(updater.lastError, "not a pe image");
}
