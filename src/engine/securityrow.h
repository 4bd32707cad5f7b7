#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

// What the securities list shows of one security data file.
struct SecurityRow {
    std::string symbol;   // the file name up to its last dot, in upper case, whole
    std::string fileName; // the real name on disk
    std::string periodicity;
    std::string firstDate;
    std::string lastDate;
    std::string trend;
    std::int64_t records = 0;
};

// The row of one data file; nullopt when the file cannot be opened.
std::optional<SecurityRow> ReadSecurityRow(const std::filesystem::path& file, bool withRecordCount = false);
// The names of the security data files of `folder`, in the order the file system returns them.
std::vector<std::string> ListSecurityFileNames(const std::filesystem::path& folder);

} // namespace tessaly
