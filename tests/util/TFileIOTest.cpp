#include "util/TFileIO.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/TFileSizeLimit.h"
#include "support/TTempDir.h"
#include "util/ENorvaleError.h"

namespace norvale {
namespace {

using test::TTempDir;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(TFileIOTest, AtomicWriteReplacesTheFileAndLeavesNothingElse) {
    TTempDir dir;
    dir.Write("list.dat", "old content that is longer");
    const std::string big(300000, 'x');  // past the writer's buffer
    WriteFileAtomically(dir.File("list.dat"), big, 0600);
    EXPECT_EQ(dir.Read("list.dat"), big);
    WriteFileAtomically(dir.File("list.dat"), "new");
    EXPECT_EQ(dir.Read("list.dat"), "new");
    struct stat st {};
    ASSERT_EQ(::stat(dir.File("list.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    EXPECT_THAT(FilesIn(dir.Path()), ElementsAre("list.dat"));
}

TEST(TFileIOTest, WriterWithoutCommitChangesNothing) {
    TTempDir dir;
    dir.Write("list.dat", "old");
    {
        TAtomicFileWriter writer(dir.File("list.dat"));
        writer.Write("half of the new content");
    }
    EXPECT_EQ(dir.Read("list.dat"), "old");
    EXPECT_THAT(FilesIn(dir.Path()), ElementsAre("list.dat"));
}

TEST(TFileIOTest, FailedWriteNamesTheFileAndKeepsTheOldContent) {
    TTempDir dir;
    dir.Write("list.dat", "old");
    ::mkdir(dir.File("folder").c_str(), 0755);
    struct TCase {
        std::string path;
        std::size_t limit;  // 0: none
    };
    const TCase cases[] = {
        {dir.File("missing/list.dat"), 0},
        {dir.File("folder"), 0},
        {dir.File("list.dat"), 100},  // the disk fills up half-way
    };
    for (const auto& c : cases) {
        try {
            std::unique_ptr<test::TFileSizeLimit> limit;
            if (c.limit)
                limit = std::make_unique<test::TFileSizeLimit>(c.limit);
            WriteFileAtomically(c.path, std::string(1 << 20, 'n'));
            ADD_FAILURE() << "no error for " << c.path;
        } catch (const EFileError& e) {
            EXPECT_THAT(e.what(), StartsWith("Cannot create file \"" + c.path + "\". ")) << c.path;
        }
    }
    EXPECT_EQ(dir.Read("list.dat"), "old");
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder")));
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("folder")));
    EXPECT_THAT(FilesIn(dir.Path()), ElementsAre("folder", "list.dat"));
}

TEST(TFileIOTest, ReadWholeFileRefusesWhatItCannotRead) {
    TTempDir dir;
    dir.Write("ten", "0123456789");
    EXPECT_EQ(ReadWholeFile(dir.File("ten")), "0123456789");
    EXPECT_EQ(ReadWholeFile(dir.File("ten"), 10), "0123456789");
    const auto message = [](const std::string& path, std::size_t cap) {
        try {
            ReadWholeFile(path, cap);
        } catch (const EFileError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_THAT(message(dir.File("ten"), 9), HasSubstr("\"" + dir.File("ten") + "\" is too large"));
    EXPECT_THAT(message(dir.File("none"), 100),
                StartsWith("Cannot open file \"" + dir.File("none") + "\". "));
    EXPECT_THAT(message(dir.Path(), 100), StartsWith("Cannot open file \"" + dir.Path() + "\". "));
}

TEST(TFileIOTest, FileQueriesDeleteAndKeepAside) {
    TTempDir dir;
    dir.Write("a.dat", "first");
    EXPECT_TRUE(FileExists(dir.File("a.dat")));
    EXPECT_FALSE(FileExists(dir.Path()));  // a folder is not a file
    EXPECT_TRUE(DirectoryExists(dir.Path()));
    EXPECT_FALSE(DirectoryExists(dir.File("a.dat")));

    // Two files kept aside within the same second get names of their own.
    const std::string first = KeepAside(dir.File("a.dat"));
    dir.Write("a.dat", "second");
    const std::string second = KeepAside(dir.File("a.dat"));
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    EXPECT_NE(first, second);
    EXPECT_THAT(first, StartsWith(dir.File("a.dat")));
    EXPECT_FALSE(FileExists(dir.File("a.dat")));
    EXPECT_EQ(ReadWholeFile(first), "first");
    EXPECT_EQ(ReadWholeFile(second), "second");
    EXPECT_EQ(KeepAside(dir.File("a.dat")), "");  // nothing to move

    EXPECT_NO_THROW(DeleteFileOrThrow(first));
    EXPECT_FALSE(FileExists(first));
    EXPECT_NO_THROW(DeleteFileOrThrow(first));  // already gone
    ::mkdir(dir.File("sub").c_str(), 0755);
    dir.Write("sub/x", "x");
    EXPECT_THROW(DeleteFileOrThrow(dir.File("sub")), EFileError);
}

}  // namespace
}  // namespace norvale
