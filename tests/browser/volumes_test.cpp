#include "browser/volumes.h"

#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tessaly;
using tessaly::test::TempFolder;

namespace {

struct VolumeCase {
    MountedVolume volume;
    bool shown;
    const char* label;
};

class VolumeTableTest : public testing::TestWithParam<VolumeCase> {};

TEST_P(VolumeTableTest, ShownAndLabelledByKind) {
    const VolumeCase& entry = GetParam();
    EXPECT_EQ(IsUserVolume(entry.volume), entry.shown) << entry.volume.mountPoint;
    if (entry.shown) {
        EXPECT_EQ(VolumeLabel(ClassifyVolume(entry.volume), entry.volume.mountPoint), entry.label);
    }
}

INSTANTIATE_TEST_SUITE_P(
    MountTable, VolumeTableTest,
    testing::Values(
        VolumeCase{{"/", "ext4", "/dev/nvme0n1p2"}, true, "Local Disk (/)"},
        VolumeCase{{"/", "overlay", "overlay"}, true, "Local Disk (/)"},
        VolumeCase{{"/home", "btrfs", "/dev/sda3"}, true, "Local Disk (/home)"},
        VolumeCase{{"/mnt/archive", "xfs", "/dev/sdc1"}, true, "Local Disk (/mnt/archive)"},
        VolumeCase{{"/mnt/windows", "fuseblk", "/dev/sda1"}, true, "Local Disk (/mnt/windows)"},
        VolumeCase{{"/mnt/card", "vfat", "/dev/mmcblk0p1", true}, true, "Floppy Drive (/mnt/card)"},
        VolumeCase{{"/media/anna/STICK", "vfat", "/dev/sdb1"}, true, "Floppy Drive (/media/anna/STICK)"},
        VolumeCase{{"/run/media/anna/USB", "exfat", "/dev/sdd1"}, true, "Floppy Drive (/run/media/anna/USB)"},
        VolumeCase{{"/media/anna/DISC", "iso9660", "/dev/sr0"}, true, "CD/DVD Drive (/media/anna/DISC)"},
        VolumeCase{{"/mnt/dvd", "udf", "/dev/sr1"}, true, "CD/DVD Drive (/mnt/dvd)"},
        VolumeCase{{"/tmp", "tmpfs", "tmpfs"}, true, "RAM Disk (/tmp)"},
        VolumeCase{{"/mnt/scratch", "ramfs", "ramfs"}, true, "RAM Disk (/mnt/scratch)"},
        VolumeCase{{"/mnt/share", "nfs4", "server:/export"}, true, "Unknown Drive (/mnt/share)"},
        VolumeCase{{"/mnt/office", "cifs", "//server/office"}, true, "Unknown Drive (/mnt/office)"},
        VolumeCase{{"/mnt/odd", "weirdfs", "/dev/odd"}, true, "Unknown Drive (/mnt/odd)"},
        VolumeCase{{"/proc", "proc", "proc"}, false, ""},
        VolumeCase{{"/sys/fs/cgroup", "cgroup2", "cgroup2"}, false, ""},
        VolumeCase{{"/dev/shm", "tmpfs", "tmpfs"}, false, ""},
        VolumeCase{{"/run", "tmpfs", "tmpfs"}, false, ""},
        VolumeCase{{"/run/user/1000", "tmpfs", "tmpfs"}, false, ""},
        VolumeCase{{"/running", "ext4", "/dev/sde1"}, true, "Local Disk (/running)"},
        VolumeCase{{"/boot/efi", "vfat", "/dev/nvme0n1p1"}, false, ""},
        VolumeCase{{"/snap/core22/1380", "squashfs", "/dev/loop3"}, false, ""},
        VolumeCase{{"/mnt/image", "ext4", "/dev/loop7"}, false, ""},
        VolumeCase{{"/var/lib/docker/overlay2/abc/merged", "overlay", "overlay"}, false, ""},
        VolumeCase{{"/etc/hosts", "ext4", "/dev/sda1", false, false}, false, ""},
        VolumeCase{{"relative", "ext4", "/dev/sda1"}, false, ""}));

TEST(VolumeRootsTest, RootFirstEachMountPointOnceAndSystemMountsLeftOut) {
    const std::vector<MountedVolume> mounted = {
        {"/proc", "proc", "proc"},
        {"/media/anna/STICK", "vfat", "/dev/sdb1"},
        {"/", "ext4", "/dev/sda2"},
        {"/home", "ext4", "/dev/sda3"},
        {"/media/anna/STICK", "vfat", "/dev/sdb1"},
        {"/media/anna/DISC", "iso9660", "/dev/sr0"},
    };
    const std::vector<VolumeRoot> roots = VolumeRoots(mounted);
    ASSERT_EQ(roots.size(), 4u);
    EXPECT_EQ(roots[0].label, "Local Disk (/)");
    EXPECT_EQ(roots[1].label, "Floppy Drive (/media/anna/STICK)");
    EXPECT_EQ(roots[2].label, "Local Disk (/home)");
    EXPECT_EQ(roots[3].label, "CD/DVD Drive (/media/anna/DISC)");
    EXPECT_TRUE(HasDiscImage(roots[3].kind));
    EXPECT_FALSE(HasDiscImage(roots[0].kind));
}

TEST(VolumeRootsTest, LongestMountPointHoldsAPath) {
    const std::vector<VolumeRoot> roots = {
        {"/", "Local Disk (/)", VolumeKind::Fixed},
        {"/home", "Local Disk (/home)", VolumeKind::Fixed},
        {"/home/anna/data", "Unknown Drive (/home/anna/data)", VolumeKind::Unknown},
    };
    EXPECT_EQ(VolumeOf(roots, "/home/anna/data/stocks/"), 2);
    EXPECT_EQ(VolumeOf(roots, "/home/anna/data"), 2);
    EXPECT_EQ(VolumeOf(roots, "/home/anna/database/"), 1);
    EXPECT_EQ(VolumeOf(roots, "/homework/"), 0);
    EXPECT_EQ(VolumeOf(roots, "/"), 0);
    EXPECT_EQ(VolumeOf(roots, "relative/path"), -1);
    EXPECT_EQ(VolumeOf({}, "/home"), -1);
}

TEST(RemovableDeviceTest, ReadsTheFlagOfTheDiskOfAPartition) {
    // The kernel's block folder: each entry a link to the device's folder; partitions inside disks.
    TempFolder sys;
    const auto devices = sys / "devices";
    std::filesystem::create_directories(devices / "sdb" / "sdb1");
    std::filesystem::create_directories(devices / "sda" / "sda1");
    std::filesystem::create_directories(devices / "sr0");
    tessaly::test::WriteFile(devices / "sdb" / "removable", "1\n");
    tessaly::test::WriteFile(devices / "sdb" / "sdb1" / "partition", "1\n");
    tessaly::test::WriteFile(devices / "sda" / "removable", "0\n");
    tessaly::test::WriteFile(devices / "sda" / "sda1" / "partition", "1\n");
    tessaly::test::WriteFile(devices / "sr0" / "removable", "1\n");
    const auto block = sys / "block";
    std::filesystem::create_directories(block);
    std::filesystem::create_directory_symlink(devices / "sdb" / "sdb1", block / "sdb1");
    std::filesystem::create_directory_symlink(devices / "sda" / "sda1", block / "sda1");
    std::filesystem::create_directory_symlink(devices / "sr0", block / "sr0");

    EXPECT_TRUE(IsRemovableDevice("/dev/sdb1", block));
    EXPECT_TRUE(IsRemovableDevice("/dev/sr0", block));
    EXPECT_FALSE(IsRemovableDevice("/dev/sda1", block));
    EXPECT_FALSE(IsRemovableDevice("/dev/sdz9", block));
    EXPECT_FALSE(IsRemovableDevice("tmpfs", block));
    EXPECT_FALSE(IsRemovableDevice("/dev/..", block));
}

} // namespace
