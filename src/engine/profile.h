#pragma once

#include <string>
#include <string_view>

namespace tessaly {

// The program's settings: integer and text values by section and name. A value that is missing
// reads as the default the caller gives.
class Profile {
public:
    virtual ~Profile() = default;

    virtual int GetInt(std::string_view section, std::string_view name, int defaultValue) const = 0;
    virtual std::string GetString(std::string_view section, std::string_view name,
                                  std::string_view defaultValue) const = 0;
    virtual bool HasValue(std::string_view section, std::string_view name) const = 0;

    virtual bool WriteInt(std::string_view section, std::string_view name, int value) = 0;
    virtual bool WriteString(std::string_view section, std::string_view name, std::string_view value) = 0;
};

} // namespace tessaly
