#include "engine/atomicfile.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tessaly {
namespace {

std::size_t EntryCount(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(AtomicFileTest, TargetChangesOnlyOnCommit) {
    test::TempFolder folder;
    folder.Write("f.txt", "old");
    {
        AtomicFile file(folder / "f.txt");
        ASSERT_TRUE(file.IsOpen());
        ASSERT_TRUE(file.Write("new"));
        EXPECT_EQ(folder.Read("f.txt"), "old");
        EXPECT_EQ(EntryCount(folder.Path()), 2u);
        ASSERT_TRUE(file.Commit()) << file.Error();
    }
    EXPECT_EQ(folder.Read("f.txt"), "new");
    EXPECT_EQ(EntryCount(folder.Path()), 1u);
}

TEST(AtomicFileTest, DestroyedWithoutCommitLeavesNoTrace) {
    test::TempFolder folder;
    folder.Write("f.txt", "old");
    {
        AtomicFile file(folder / "f.txt");
        file.Write(std::string(200000, 'x'));
    }
    EXPECT_EQ(folder.Read("f.txt"), "old");
    EXPECT_EQ(EntryCount(folder.Path()), 1u);
}

TEST(AtomicFileTest, KeepsPermissionsAndWritesLargeContent) {
    test::TempFolder folder;
    const auto path = folder.Write("f.txt", "old");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    const std::string content(300000, 'y');
    ASSERT_TRUE(AtomicFile::WriteWhole(path, content));
    EXPECT_EQ(folder.Read("f.txt"), content);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(AtomicFileTest, MissingFolderIsReported) {
    test::TempFolder folder;
    std::string error;
    EXPECT_FALSE(AtomicFile::WriteWhole(folder / "no" / "f.txt", "x", &error));
    EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
}

} // namespace
} // namespace tessaly
