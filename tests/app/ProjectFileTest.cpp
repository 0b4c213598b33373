#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>

#include "app/FileCollection.h"
#include "app/FileTree.h"
#include "app/ProjectFile.h"
#include "measurement/SampleGenerator.h"
#include "res/StringTable.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::string Header(std::int32_t n, std::int32_t version) {
    std::string h(8, '\0');
    std::memcpy(h.data(), &n, 4);
    std::memcpy(h.data() + 4, &version, 4);
    return h;
}

TEST(ProjectFile, SaveOpenRoundTripIsByteForByte) {
    TempDir dir;
    std::vector<_tagFileDataExt> elements = {MakeSampleMeasurement(0, 1, "A"),
                                             MakeSampleMeasurement(2, 2, "B")};
    elements[0].file[9300] = 0x5A; // bytes past a kind 0 file are carried too
    ASSERT_EQ(SaveProject(dir.File("p.f71"), elements), ProjectStatus::Ok);
    const std::string bytes = ReadFile(dir.File("p.f71"));
    ASSERT_EQ(bytes.size(), 8u + 2 * 10599);
    EXPECT_EQ(bytes.substr(0, 8), Header(2, 200));

    ProjectLoad load = LoadProject(dir.File("p.f71"));
    ASSERT_EQ(load.status, ProjectStatus::Ok);
    ASSERT_EQ(load.elements.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_EQ(std::memcmp(load.elements[i].Bytes(), elements[i].Bytes(), kElementSize), 0);

    ASSERT_EQ(SaveProject(dir.File("q.f71"), load.elements), ProjectStatus::Ok);
    EXPECT_EQ(ReadFile(dir.File("q.f71")), bytes);
}

TEST(ProjectFile, EmptyCollectionAndOtherVersions) {
    TempDir dir;
    ASSERT_EQ(SaveProject(dir.File("empty.f71"), {}), ProjectStatus::Ok);
    EXPECT_EQ(ReadFile(dir.File("empty.f71")), Header(0, 200));
    ProjectLoad empty = LoadProject(dir.File("empty.f71"));
    EXPECT_EQ(empty.status, ProjectStatus::Ok);
    EXPECT_TRUE(empty.elements.empty());

    WriteFile(dir.File("v199.f71"), Header(1, 199) + std::string(kElementSize, 'x'));
    ProjectLoad v199 = LoadProject(dir.File("v199.f71"));
    EXPECT_EQ(v199.status, ProjectStatus::BadVersion);
    EXPECT_TRUE(v199.elements.empty());

    WriteFile(dir.File("short.f71"), "\x01\x00");
    EXPECT_EQ(LoadProject(dir.File("short.f71")).status, ProjectStatus::TooShort);
    EXPECT_EQ(LoadProject(dir.File("missing.f71")).status, ProjectStatus::CannotOpen);
}

TEST(ProjectFile, TruncatedFileAndHugeCounts) {
    TempDir dir;
    _tagFileDataExt a = MakeSampleMeasurement(1, 0, "A");
    std::string body(reinterpret_cast<const char*>(a.Bytes()), kElementSize);
    // Two announced, one and a half present: the second is partly zero.
    WriteFile(dir.File("t.f71"), Header(2, 200) + body + body.substr(0, 100));
    ProjectLoad t = LoadProject(dir.File("t.f71"));
    ASSERT_EQ(t.elements.size(), 2u);
    EXPECT_EQ(std::memcmp(t.elements[1].Bytes(), a.Bytes(), 100), 0);
    EXPECT_EQ(t.elements[1].file[200], 0);

    // A count far beyond the file costs only what the file holds.
    WriteFile(dir.File("huge.f71"), Header(0x7FFFFFFF, 200) + body);
    ProjectLoad huge = LoadProject(dir.File("huge.f71"));
    EXPECT_EQ(huge.status, ProjectStatus::Ok);
    EXPECT_EQ(huge.elements.size(), 1u);

    WriteFile(dir.File("neg.f71"), Header(-5, 200) + body);
    EXPECT_TRUE(LoadProject(dir.File("neg.f71")).elements.empty());
}

TEST(ProjectFile, FailedSaveKeepsThePreviousFile) {
    TempDir dir;
    const std::string path = dir.File("keep.f71");
    ASSERT_EQ(SaveProject(path, {MakeSampleMeasurement(0, 0, "OLD")}), ProjectStatus::Ok);
    const std::string before = ReadFile(path);
    if (::geteuid() != 0) { // root writes into read-only folders
        ::chmod(dir.Path().c_str(), 0500);
        EXPECT_NE(SaveProject(path, {}), ProjectStatus::Ok);
        ::chmod(dir.Path().c_str(), 0700);
        EXPECT_EQ(ReadFile(path), before);
    }
    // A target that is a directory cannot be replaced; nothing is lost either way.
    ::mkdir(dir.File("adir").c_str(), 0700);
    EXPECT_EQ(SaveProject(dir.File("adir"), {}), ProjectStatus::CannotWrite);
    EXPECT_EQ(SaveProject(dir.File("nofolder/x.f71"), {}), ProjectStatus::CannotCreate);
    EXPECT_EQ(ReadFile(path), before);
}

TEST(ProjectFile, ASaveOntoAFullDiskKeepsThePreviousFile) {
    TempDir dir;
    const std::string path = dir.File("site.f71");
    ASSERT_EQ(SaveProject(path, {MakeSampleMeasurement(0, 0, "OLD")}), ProjectStatus::Ok);
    const std::string before = ReadFile(path);
    test::FullDisk full;
    ASSERT_EQ(SaveProject(path, {MakeSampleMeasurement(1, 0, "NEW")}), ProjectStatus::CannotWrite);
    EXPECT_EQ(ProjectStatusText(ProjectStatus::CannotWrite, path),
              "Cannot write the project file " + path +
                  ": No space left on device; the previous file was kept");
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(test::FolderNames(dir.Path()), std::vector<std::string>{"site.f71"});
}

TEST(ProjectFile, OpenIntoTheCollectionKeepsItWhenTheFileCannotBeRead) {
    TempDir dir;
    CFileCollection collection;
    collection.Append(MakeSampleMeasurement(0, 0, "KEEP"), true);
    WriteFile(dir.File("short.f71"), "\xC8");
    WriteFile(dir.File("v199.f71"), Header(0, 199));
    EXPECT_EQ(OpenProject(dir.File("missing.f71"), collection).status, ProjectStatus::CannotOpen);
    EXPECT_EQ(OpenProject(dir.File("short.f71"), collection).status, ProjectStatus::TooShort);
    EXPECT_EQ(OpenProject(dir.File("v199.f71"), collection).status, ProjectStatus::BadVersion);
    EXPECT_EQ(collection.Incomplete(), std::vector<bool>{true}) << "another version keeps it too";
}

TEST(ProjectFile, AnElementIsIncompleteWhenItsMeasurementFileIsCutShort) {
    TempDir dir;
    const _tagFileDataExt k0 = MakeSampleMeasurement(0, 0, "K0"),
                          k2 = MakeSampleMeasurement(2, 0, "K2");
    const auto bytes = [](const _tagFileDataExt& e, std::size_t n) {
        return std::string(reinterpret_cast<const char*>(e.Bytes()), n);
    };
    const struct {
        std::string body;
        std::int32_t announced;
        std::vector<bool> incomplete;
    } cases[] = {
        // A kind 0 file ends after 1 + 9238 bytes; its zero padding may be missing.
        {bytes(k0, 1 + 9238), 1, {false}},
        {bytes(k0, 1 + 9237), 1, {true}},
        {bytes(k2, kElementSize) + bytes(k2, kElementSize - 1), 2, {false, true}},
        {bytes(k2, kElementSize), 3, {false}}, // two announced in vain
    };
    for (const auto& c : cases) {
        WriteFile(dir.File("cut.f71"), Header(c.announced, 200) + c.body);
        const ProjectLoad load = LoadProject(dir.File("cut.f71"));
        EXPECT_EQ(load.incomplete, c.incomplete) << c.body.size();
        EXPECT_EQ(load.MissingCount(), c.announced - c.incomplete.size()) << c.body.size();
    }
}

TEST(FileTree, ChildrenFollowTheSectionFlags) {
    _tagFileDataExt e;
    std::memcpy(e.file.data(), "F84", 3);
    e.file[29] = 0x84;
    _tagFileDataExt none;
    std::memcpy(none.file.data(), "F00", 3);
    std::vector<FileTreeItem> tree = RebuildFileTree({e, none}, kLanguageEnglish);
    ASSERT_EQ(tree.size(), 2u);
    EXPECT_EQ(tree[0].text, "F84");
    ASSERT_EQ(tree[0].children.size(), 2u);
    EXPECT_EQ(tree[0].children[0].text, "Level Analysis");
    EXPECT_EQ(tree[0].children[0].value, 500);
    EXPECT_EQ(tree[0].children[1].text, "Limit Analysis");
    EXPECT_EQ(tree[0].children[1].value, 1000);
    EXPECT_TRUE(tree[1].children.empty());

    e.file[29] = 0xFF; // the unused bits add nothing
    std::vector<int> values;
    const std::vector<FileTreeItem> zh = RebuildFileTree({e}, kLanguageChinese);
    for (const FileTreeItem& c : zh[0].children)
        values.push_back(c.value);
    EXPECT_EQ(values, (std::vector<int>{500, 600, 700, 800, 900, 1000}));
}

TEST(FileTree, SameNamesAndManyFilesStayApart) {
    std::vector<_tagFileDataExt> elements(620);
    for (auto& e : elements) {
        std::memcpy(e.file.data(), "SAME", 4);
        e.file[29] = 0x40;
    }
    std::vector<FileTreeItem> tree = RebuildFileTree(elements, kLanguageEnglish);
    ASSERT_EQ(tree.size(), 620u);
    EXPECT_EQ(tree[0].text, tree[1].text);
    EXPECT_NE(tree[0].value, tree[1].value);
    // File 600 and the tilt child of any file share the value 600 but not the role.
    EXPECT_TRUE(tree[600].isFile);
    EXPECT_EQ(tree[600].value, 600);
    EXPECT_FALSE(tree[3].children[0].isFile);
    EXPECT_EQ(tree[3].children[0].value, 600);
    EXPECT_EQ(tree[3].children[0].elementIndex, 3);
}

} // namespace
} // namespace qm
