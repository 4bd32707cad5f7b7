#include "engine/folders.h"

#include "support/tempfolder.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(AssetFolder, InstalledTreeWinsOverTheExecutablesFolder) {
    test::TempFolder root;
    const std::filesystem::path bin = root.Path() / "bin";
    std::filesystem::create_directories(bin);
    EXPECT_EQ(AssetFolderFor(bin), bin);

    std::filesystem::create_directories(root.Path() / "share" / "tessaly");
    EXPECT_EQ(AssetFolderFor(bin), root.Path() / "share" / "tessaly");
}

} // namespace
} // namespace tessaly
