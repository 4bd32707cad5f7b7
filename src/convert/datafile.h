#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace tessaly {

// One price record of a MetaStock data file; the date in short form (1050228 for 28 Feb 2005).
struct DataRecord {
    std::int32_t date = 0;
    float open = 0;
    float high = 0;
    float low = 0;
    float close = 0;
    float volume = 0;
    float openInterest = 0;

    bool operator==(const DataRecord&) const = default;
};

namespace metastock {

inline constexpr std::size_t kDataRecordSize = 28;
// The header's u16 counts the header too, so a data file holds at most this many slots.
inline constexpr std::size_t kMaxDataSlots = 65535;

// The seven values of a record as stored (the date as a float), all MBF on disk.
using RecordValues = std::array<float, 7>;
RecordValues ValuesOf(const DataRecord& record);
void EncodeRecord(const RecordValues& values, std::uint8_t* out);
DataRecord DecodeRecord(const std::uint8_t* in);

// "F1.DAT" to "F255.DAT", "F256.MWD" and above.
std::string DataFileName(std::uint32_t fileNumber);

// A data file Fn.DAT or Fn.MWD: a 28-byte header whose u16 at offset 2 counts the 28-byte slots
// (the header included), then the records. Slots are counted by the file's size, so a damaged count
// never makes a read run past the end; a trailing partial slot is not a record.
class DataFile {
public:
    DataFile() = default;
    ~DataFile();
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    // Opens for reading and writing (reading only when the file may not be written). With `create`
    // the file is created or emptied and given a fresh header.
    bool Open(const std::filesystem::path& path, bool create);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    const std::filesystem::path& Path() const { return path_; }

    // Whole slots on disk, the header included; 0 when not even the header is there.
    std::size_t Slots() const;
    bool Read(std::size_t slot, DataRecord& record) const;
    bool ReadAll(std::vector<DataRecord>& records) const;
    // Writes `values` from `slot` on; appending past the end also drops a partial slot.
    bool Write(std::size_t slot, std::span<const RecordValues> values);
    // Sets the header's count to the slots on disk.
    bool WriteCount();
    bool Truncate(std::size_t slots);
    // Removes slot `slot`, moving later slots up by one.
    bool Remove(std::size_t slot);

private:
    bool ReadBytes(std::uint64_t offset, std::uint8_t* data, std::size_t size) const;
    bool WriteBytes(std::uint64_t offset, const std::uint8_t* data, std::size_t size);

    int fd_ = -1;
    std::filesystem::path path_;
};

// Whole-file helpers for the master files.
bool LoadFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, std::size_t limit);
bool WriteFileAt(const std::filesystem::path& path, std::uint64_t offset, const std::uint8_t* data,
                 std::size_t size);
bool CreateNewFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace metastock
} // namespace tessaly
