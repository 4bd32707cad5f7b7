#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// What kind of volume a root item of the folder tree stands for; it picks the label and the image.
enum class VolumeKind { Removable, Fixed, Optical, RamDisk, Unknown };

// One entry of the system's mount table, as the toolkit reports it.
struct MountedVolume {
    std::string mountPoint;
    std::string fileSystemType;
    std::string device;
    // The kernel marks the device's disk as removable.
    bool removable = false;
    // Some mounts cover a single file (a container's /etc/hosts); only folders can be browsed.
    bool isDirectory = true;
};

// A root item of the folder tree.
struct VolumeRoot {
    std::string mountPoint;
    std::string label;
    VolumeKind kind = VolumeKind::Unknown;
};

// False for what a file manager would not show: pseudo and system file systems, anything under
// /proc, /sys, /dev, /boot and /run (other than /run/media), snap and loop mounts.
bool IsUserVolume(const MountedVolume& volume);
VolumeKind ClassifyVolume(const MountedVolume& volume);
// "Local Disk (/)", "Floppy Drive (/media/stick)", ...
std::string VolumeLabel(VolumeKind kind, std::string_view mountPoint);
// True for the images of optical drives and RAM disks, which share one drawing.
inline bool HasDiscImage(VolumeKind kind) {
    return kind == VolumeKind::Optical || kind == VolumeKind::RamDisk;
}

// The tree's root items: the root file system first, then the other user volumes in the order of
// the mount table, each mount point once.
std::vector<VolumeRoot> VolumeRoots(const std::vector<MountedVolume>& mounted);
// The root whose mount point holds `path` most closely (the longest mount point that is a whole-
// component prefix of it); -1 when none does.
int VolumeOf(const std::vector<VolumeRoot>& roots, std::string_view path);

// Whether the kernel calls the disk of `device` (for example /dev/sdb1) removable, read from
// `sysClassBlock` (normally /sys/class/block); false when it cannot tell.
bool IsRemovableDevice(std::string_view device,
                       const std::filesystem::path& sysClassBlock = "/sys/class/block");

} // namespace tessaly
