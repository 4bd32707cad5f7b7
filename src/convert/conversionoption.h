#pragma once

#include "engine/profile.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tessaly {

// One ASCII output layout: which columns, the date layout, the separator, the header line, the
// extension and whether all securities share one file. A plain value, copied freely; a
// default-made option holds the defaults.
struct ConversionOption {
    int Symbol = 0;
    int Periodicity = 0;
    int Date = 1;
    int Open = 1;
    int High = 1;
    int Low = 1;
    int Close = 1;
    int Volume = 1;
    int Interest = 0;
    int Headers = 1;
    int Separator = 1;  // 0 space, 1 comma, 2 slash, 3 tab
    int DateFormat = 4; // 0 MM/DD/YYYY ... 4 YYYYMMDD ... 8 DD-Mon-YY
    std::string HeadersLine = "<DTYYYYMMDD>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>";
    std::string Extension = ".txt";
    int Single = 0;
    std::string FileName = "ascii_file";

    bool operator==(const ConversionOption&) const = default;
};

inline constexpr int kSeparatorCount = 4;
inline constexpr int kDateFormatCount = 9;

// One of the sixteen values of an option, by the name the settings store it under.
struct ConversionOptionField {
    std::string_view name;
    std::variant<int ConversionOption::*, std::string ConversionOption::*> member;
};

// The sixteen values in the record's order.
extern const std::array<ConversionOptionField, 16> kConversionOptionFields;

// The field of that name (case-sensitive), or nullptr.
const ConversionOptionField* FindConversionOptionField(std::string_view name);

void SetDefaults(ConversionOption& option);

// A header line from the option's flags: the tokens of the columns that are on, joined by commas
// whatever the separator. `selectedDateFormat` is the date layout the user has chosen at the moment,
// or none (then the date column's token is "<DATE>").
std::string BuildHeaderLine(const ConversionOption& option, std::optional<int> selectedDateFormat);

// The current option, section "CurrentOption". Every value is read; a missing integer is 0 and a
// missing text empty, so a first start gives an option with everything off.
ConversionOption LoadCurrentOption(const Profile& profile);
// Writes all sixteen values; reports whether every write succeeded.
bool SaveCurrentOption(Profile& profile, const ConversionOption& option);

// The presets live in sections "Option1", "Option2", ... counted by "Settings"/"PresetOptions".
// Presets are never deleted or renumbered; names are not checked for duplicates.
inline constexpr int kMaxPresetOptions = 10000;

// Stores the option as a new preset; false when nothing could be stored (the store refused, or the
// settings already hold kMaxPresetOptions presets).
bool SavePresetOption(Profile& profile, std::string_view name, const ConversionOption& option);
// The names of all presets, Option1 first (empty text for a section without a name).
std::vector<std::string> EnumPresetOptions(const Profile& profile);
// The first preset whose name equals `name` exactly; nullopt when there is none.
std::optional<ConversionOption> LoadPresetOption(const Profile& profile, std::string_view name);

} // namespace tessaly
