#include "browser/volumes.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <system_error>

namespace tessaly {

namespace {

using namespace std::string_view_literals;

// File systems of the kernel and of desktop services, never a place where a user keeps files.
constexpr std::array kPseudoTypes = {
    "autofs"sv,          "binfmt_misc"sv, "bpf"sv,         "cgroup"sv,   "cgroup2"sv,
    "configfs"sv,        "debugfs"sv,     "devpts"sv,      "devtmpfs"sv, "efivarfs"sv,
    "fuse.gvfsd-fuse"sv, "fuse.lxcfs"sv,  "fuse.portal"sv, "fusectl"sv,  "hugetlbfs"sv,
    "mqueue"sv,          "nsfs"sv,        "overlay"sv,     "proc"sv,     "pstore"sv,
    "rpc_pipefs"sv,      "securityfs"sv,  "selinuxfs"sv,   "squashfs"sv, "sysfs"sv,
    "tracefs"sv,
};
constexpr std::array kSystemFolders = {"/proc"sv, "/sys"sv,  "/dev"sv,           "/boot"sv,
                                       "/efi"sv,  "/snap"sv, "/var/lib/snapd"sv, "/var/lib/docker"sv};
constexpr std::array kNetworkTypes = {"9p"sv,        "afs"sv, "ceph"sv, "cifs"sv, "davfs"sv, "fuse.sshfs"sv,
                                      "glusterfs"sv, "nfs"sv, "nfs4"sv, "smb3"sv, "smbfs"sv, "sshfs"sv};
constexpr std::array kDiskTypes = {"btrfs"sv, "exfat"sv,    "ext2"sv,    "ext3"sv, "ext4"sv,
                                   "f2fs"sv,  "fuseblk"sv,  "hfsplus"sv, "jfs"sv,  "ntfs"sv,
                                   "ntfs3"sv, "reiserfs"sv, "vfat"sv,    "xfs"sv,  "zfs"sv};

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// `path` is `folder` or lies below it, compared by whole components.
bool IsWithin(std::string_view path, std::string_view folder) {
    if (folder == "/")
        return !path.empty() && path.front() == '/';
    if (path.substr(0, folder.size()) != folder)
        return false;
    return path.size() == folder.size() || path[folder.size()] == '/';
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

bool IsUserVolume(const MountedVolume& volume) {
    if (!volume.isDirectory || volume.mountPoint.empty() || volume.mountPoint.front() != '/')
        return false;
    if (volume.mountPoint == "/")
        return true;
    if (Contains(kPseudoTypes, volume.fileSystemType) || StartsWith(volume.device, "/dev/loop"))
        return false;
    for (std::string_view folder : kSystemFolders)
        if (IsWithin(volume.mountPoint, folder))
            return false;
    return !IsWithin(volume.mountPoint, "/run") || IsWithin(volume.mountPoint, "/run/media");
}

VolumeKind ClassifyVolume(const MountedVolume& volume) {
    const std::string_view type = volume.fileSystemType;
    if (type == "iso9660" || type == "udf" || StartsWith(volume.device, "/dev/sr") ||
        StartsWith(volume.device, "/dev/cdrom"))
        return VolumeKind::Optical;
    if (type == "tmpfs" || type == "ramfs")
        return VolumeKind::RamDisk;
    if (Contains(kNetworkTypes, type) || StartsWith(type, "fuse."))
        return VolumeKind::Unknown;
    // Desktops mount sticks and card readers under /media or /run/media, also those whose disk does
    // not call itself removable.
    if (volume.removable || IsWithin(volume.mountPoint, "/media") ||
        IsWithin(volume.mountPoint, "/run/media"))
        return VolumeKind::Removable;
    // The root of a container is an overlay of the host's disk.
    if (Contains(kDiskTypes, type) || (volume.mountPoint == "/" && type == "overlay"))
        return VolumeKind::Fixed;
    return VolumeKind::Unknown;
}

std::string VolumeLabel(VolumeKind kind, std::string_view mountPoint) {
    std::string_view name = "Unknown Drive";
    switch (kind) {
    case VolumeKind::Removable:
        name = "Floppy Drive";
        break;
    case VolumeKind::Fixed:
        name = "Local Disk";
        break;
    case VolumeKind::Optical:
        name = "CD/DVD Drive";
        break;
    case VolumeKind::RamDisk:
        name = "RAM Disk";
        break;
    case VolumeKind::Unknown:
        break;
    }
    return std::string(name) + " (" + std::string(mountPoint) + ")";
}

std::vector<VolumeRoot> VolumeRoots(const std::vector<MountedVolume>& mounted) {
    std::vector<VolumeRoot> roots;
    for (const MountedVolume& volume : mounted) {
        if (!IsUserVolume(volume))
            continue;
        const bool seen = std::any_of(roots.begin(), roots.end(), [&](const VolumeRoot& root) {
            return root.mountPoint == volume.mountPoint;
        });
        if (seen)
            continue;
        const VolumeKind kind = ClassifyVolume(volume);
        VolumeRoot root{volume.mountPoint, VolumeLabel(kind, volume.mountPoint), kind};
        if (volume.mountPoint == "/")
            roots.insert(roots.begin(), std::move(root));
        else
            roots.push_back(std::move(root));
    }
    return roots;
}

int VolumeOf(const std::vector<VolumeRoot>& roots, std::string_view path) {
    int best = -1;
    for (std::size_t i = 0; i < roots.size(); ++i) {
        std::string_view mountPoint = roots[i].mountPoint;
        if (mountPoint.size() > 1 && mountPoint.back() == '/')
            mountPoint.remove_suffix(1);
        if (IsWithin(path, mountPoint) &&
            (best < 0 || mountPoint.size() > roots[static_cast<std::size_t>(best)].mountPoint.size()))
            best = static_cast<int>(i);
    }
    return best;
}

bool IsRemovableDevice(std::string_view device, const std::filesystem::path& sysClassBlock) {
    if (!StartsWith(device, "/dev/"))
        return false;
    const std::filesystem::path name = std::filesystem::path(device).filename();
    if (name.empty() || name == "." || name == "..")
        return false;
    std::error_code error;
    // A partition's entry sits in its disk's folder, which carries the flag.
    std::filesystem::path entry = std::filesystem::canonical(sysClassBlock / name, error);
    if (error)
        return false;
    if (std::filesystem::exists(entry / "partition", error))
        entry = entry.parent_path();
    std::ifstream flag(entry / "removable");
    char value = '0';
    return flag.get(value) && value == '1';
}

} // namespace tessaly
