#pragma once

#include "engine/profile.h"

#include <map>
#include <string>
#include <utility>
#include <variant>

namespace tessaly {

// Settings held in memory, for tests and for runs that must not touch the user's settings.
class MemoryProfile final : public Profile {
public:
    int GetInt(std::string_view section, std::string_view name, int defaultValue) const override;
    std::string GetString(std::string_view section, std::string_view name,
                          std::string_view defaultValue) const override;
    bool HasValue(std::string_view section, std::string_view name) const override;
    bool WriteInt(std::string_view section, std::string_view name, int value) override;
    bool WriteString(std::string_view section, std::string_view name, std::string_view value) override;

    bool HasSection(std::string_view section) const;

private:
    using Key = std::pair<std::string, std::string>;
    std::map<Key, std::variant<int, std::string>, std::less<>> values_;
};

} // namespace tessaly
