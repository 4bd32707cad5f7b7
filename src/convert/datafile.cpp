#include "convert/datafile.h"

#include "convert/littleendian.h"
#include "convert/mbf.h"
#include "convert/metastockdates.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly::metastock {

namespace {

bool PreadAll(int fd, std::uint64_t offset, std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t got = ::pread(fd, data, size, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        size -= static_cast<std::size_t>(got);
        offset += static_cast<std::uint64_t>(got);
    }
    return true;
}

bool PwriteAll(int fd, std::uint64_t offset, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t put = ::pwrite(fd, data, size, static_cast<off_t>(offset));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        data += put;
        size -= static_cast<std::size_t>(put);
        offset += static_cast<std::uint64_t>(put);
    }
    return true;
}

} // namespace

RecordValues ValuesOf(const DataRecord& record) {
    return {static_cast<float>(record.date),
            record.open,
            record.high,
            record.low,
            record.close,
            record.volume,
            record.openInterest};
}

void EncodeRecord(const RecordValues& values, std::uint8_t* out) {
    for (std::size_t i = 0; i < values.size(); ++i)
        WriteMbf(out + 4 * i, values[i]);
}

DataRecord DecodeRecord(const std::uint8_t* in) {
    DataRecord record;
    record.date = DateFromFloat(ReadMbf(in));
    record.open = ReadMbf(in + 4);
    record.high = ReadMbf(in + 8);
    record.low = ReadMbf(in + 12);
    record.close = ReadMbf(in + 16);
    record.volume = ReadMbf(in + 20);
    record.openInterest = ReadMbf(in + 24);
    return record;
}

std::string DataFileName(std::uint32_t fileNumber) {
    return "F" + std::to_string(fileNumber) + (fileNumber < 256u ? ".DAT" : ".MWD");
}

DataFile::~DataFile() {
    Close();
}

bool DataFile::Open(const std::filesystem::path& path, bool create) {
    Close();
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT | O_TRUNC : 0), 0644);
    if (fd < 0 && !create && (errno == EACCES || errno == EROFS || errno == EPERM))
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    path_ = path;
    if (create) {
        std::uint8_t header[kDataRecordSize] = {};
        WriteU16(header + 2, 1);
        if (!WriteBytes(0, header, sizeof header)) {
            Close();
            return false;
        }
    }
    return true;
}

void DataFile::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    path_.clear();
}

std::size_t DataFile::Slots() const {
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0 || info.st_size < 0)
        return 0;
    return static_cast<std::size_t>(info.st_size) / kDataRecordSize;
}

bool DataFile::ReadBytes(std::uint64_t offset, std::uint8_t* data, std::size_t size) const {
    return fd_ >= 0 && PreadAll(fd_, offset, data, size);
}

bool DataFile::WriteBytes(std::uint64_t offset, const std::uint8_t* data, std::size_t size) {
    return fd_ >= 0 && PwriteAll(fd_, offset, data, size);
}

bool DataFile::Read(std::size_t slot, DataRecord& record) const {
    std::uint8_t bytes[kDataRecordSize];
    if (slot == 0 || slot >= Slots() || !ReadBytes(slot * kDataRecordSize, bytes, sizeof bytes))
        return false;
    record = DecodeRecord(bytes);
    return true;
}

bool DataFile::ReadAll(std::vector<DataRecord>& records) const {
    records.clear();
    const std::size_t slots = Slots();
    if (slots < 2)
        return slots == 1;
    std::vector<std::uint8_t> bytes((slots - 1) * kDataRecordSize);
    if (!ReadBytes(kDataRecordSize, bytes.data(), bytes.size()))
        return false;
    records.reserve(slots - 1);
    for (std::size_t i = 0; i + 1 < slots; ++i)
        records.push_back(DecodeRecord(bytes.data() + i * kDataRecordSize));
    return true;
}

bool DataFile::Write(std::size_t slot, std::span<const RecordValues> values) {
    const std::size_t slots = Slots();
    if (fd_ < 0 || slot == 0 || slot > slots || slot + values.size() > kMaxDataSlots)
        return false;
    if (slot == slots && !Truncate(slots))
        return false;
    std::vector<std::uint8_t> bytes(values.size() * kDataRecordSize);
    for (std::size_t i = 0; i < values.size(); ++i)
        EncodeRecord(values[i], bytes.data() + i * kDataRecordSize);
    return WriteBytes(slot * kDataRecordSize, bytes.data(), bytes.size());
}

bool DataFile::WriteCount() {
    const std::size_t slots = Slots();
    if (slots == 0 || slots > kMaxDataSlots)
        return false;
    std::uint8_t count[2];
    WriteU16(count, static_cast<std::uint16_t>(slots));
    return WriteBytes(2, count, sizeof count);
}

bool DataFile::Truncate(std::size_t slots) {
    return fd_ >= 0 && ::ftruncate(fd_, static_cast<off_t>(slots * kDataRecordSize)) == 0;
}

bool DataFile::Remove(std::size_t slot) {
    const std::size_t slots = Slots();
    if (slot == 0 || slot >= slots)
        return false;
    const std::size_t tail = (slots - slot - 1) * kDataRecordSize;
    std::vector<std::uint8_t> bytes(tail);
    if (tail > 0 && (!ReadBytes((slot + 1) * kDataRecordSize, bytes.data(), tail) ||
                     !WriteBytes(slot * kDataRecordSize, bytes.data(), tail)))
        return false;
    return Truncate(slots - 1) && WriteCount();
}

bool LoadFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, std::size_t limit) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
              static_cast<std::uint64_t>(info.st_size) <= limit;
    if (ok) {
        bytes.resize(static_cast<std::size_t>(info.st_size));
        ok = bytes.empty() || PreadAll(fd, 0, bytes.data(), bytes.size());
    }
    ::close(fd);
    if (!ok)
        bytes.clear();
    return ok;
}

bool WriteFileAt(const std::filesystem::path& path, std::uint64_t offset, const std::uint8_t* data,
                 std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = PwriteAll(fd, offset, data, size);
    return ::close(fd) == 0 && ok;
}

bool CreateNewFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool ok = PwriteAll(fd, 0, bytes.data(), bytes.size());
    return ::close(fd) == 0 && ok;
}

} // namespace tessaly::metastock
