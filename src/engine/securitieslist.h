#pragma once

#include <filesystem>
#include <string_view>

namespace tessaly {

// The securities list as the download engine sees it: after a download the security's row is
// refreshed by removing its rows and adding one for the data file again.
class SecuritiesList {
public:
    virtual ~SecuritiesList() = default;
    virtual void RemoveSecurityRows(std::string_view symbol) = 0;
    virtual void AddSecurityRow(std::string_view fileName, const std::filesystem::path& folder) = 0;
};

} // namespace tessaly
