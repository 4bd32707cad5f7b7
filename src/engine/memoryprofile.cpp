#include "engine/memoryprofile.h"

#include "engine/numbers.h"

namespace tessaly {

int MemoryProfile::GetInt(std::string_view section, std::string_view name, int defaultValue) const {
    const auto it = values_.find(Key{section, name});
    if (it == values_.end())
        return defaultValue;
    if (const int* value = std::get_if<int>(&it->second))
        return *value;
    const std::string& text = std::get<std::string>(it->second);
    return StartsWithNumber(text) ? static_cast<int>(ReadInteger(text)) : defaultValue;
}

std::string MemoryProfile::GetString(std::string_view section, std::string_view name,
                                     std::string_view defaultValue) const {
    const auto it = values_.find(Key{section, name});
    if (it == values_.end())
        return std::string(defaultValue);
    if (const int* value = std::get_if<int>(&it->second))
        return FormatInteger(*value);
    return std::get<std::string>(it->second);
}

bool MemoryProfile::HasValue(std::string_view section, std::string_view name) const {
    return values_.count(Key{section, name}) > 0;
}

bool MemoryProfile::WriteInt(std::string_view section, std::string_view name, int value) {
    values_[Key{section, name}] = value;
    return true;
}

bool MemoryProfile::WriteString(std::string_view section, std::string_view name, std::string_view value) {
    values_[Key{section, name}] = std::string(value);
    return true;
}

bool MemoryProfile::HasSection(std::string_view section) const {
    const auto it = values_.lower_bound(Key{section, ""});
    return it != values_.end() && it->first.first == section;
}

} // namespace tessaly
