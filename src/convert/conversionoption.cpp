#include "convert/conversionoption.h"

namespace tessaly {

namespace {

constexpr std::string_view kCurrentSection = "CurrentOption";
constexpr std::string_view kSettingsSection = "Settings";
constexpr std::string_view kPresetCount = "PresetOptions";
constexpr std::string_view kPresetName = "Name";

constexpr std::array<std::string_view, kDateFormatCount> kDateTokens = {
    "<MM/DD/YYYY>", "<DD/MM/YYYY>", "<MM/DD/YY>",   "<DD/MM/YY>", "<YYYYMMDD>",
    "<YYYYDDMM>",   "<YYYY/MM/DD>", "<YYYY/DD/MM>", "<DD-MMM-YY>"};

std::string PresetSection(int number) {
    return "Option" + std::to_string(number);
}

// The number of presets as stored; a damaged count neither goes below 0 nor makes a listing endless.
int PresetCount(const Profile& profile) {
    const int count = profile.GetInt(kSettingsSection, kPresetCount, 0);
    return count < 0 ? 0 : (count > kMaxPresetOptions ? kMaxPresetOptions : count);
}

ConversionOption ReadOption(const Profile& profile, std::string_view section) {
    ConversionOption option;
    for (const ConversionOptionField& field : kConversionOptionFields) {
        if (const auto* number = std::get_if<int ConversionOption::*>(&field.member))
            option.*(*number) = profile.GetInt(section, field.name, 0);
        else
            option.*std::get<std::string ConversionOption::*>(field.member) =
                profile.GetString(section, field.name, "");
    }
    return option;
}

bool WriteOption(Profile& profile, std::string_view section, const ConversionOption& option) {
    bool ok = true;
    for (const ConversionOptionField& field : kConversionOptionFields) {
        if (const auto* number = std::get_if<int ConversionOption::*>(&field.member))
            ok = profile.WriteInt(section, field.name, option.*(*number)) && ok;
        else
            ok = profile.WriteString(section, field.name,
                                     option.*std::get<std::string ConversionOption::*>(field.member)) &&
                 ok;
    }
    return ok;
}

} // namespace

const std::array<ConversionOptionField, 16> kConversionOptionFields = {{
    {"Symbol", &ConversionOption::Symbol},
    {"Periodicity", &ConversionOption::Periodicity},
    {"Date", &ConversionOption::Date},
    {"Open", &ConversionOption::Open},
    {"High", &ConversionOption::High},
    {"Low", &ConversionOption::Low},
    {"Close", &ConversionOption::Close},
    {"Volume", &ConversionOption::Volume},
    {"Interest", &ConversionOption::Interest},
    {"Headers", &ConversionOption::Headers},
    {"Separator", &ConversionOption::Separator},
    {"DateFormat", &ConversionOption::DateFormat},
    {"HeadersLine", &ConversionOption::HeadersLine},
    {"Extension", &ConversionOption::Extension},
    {"Single", &ConversionOption::Single},
    {"FileName", &ConversionOption::FileName},
}};

const ConversionOptionField* FindConversionOptionField(std::string_view name) {
    for (const ConversionOptionField& field : kConversionOptionFields) {
        if (field.name == name)
            return &field;
    }
    return nullptr;
}

void SetDefaults(ConversionOption& option) {
    option = ConversionOption{};
}

std::string BuildHeaderLine(const ConversionOption& option, std::optional<int> selectedDateFormat) {
    std::string line;
    if (option.Symbol)
        line += "<TICKER>,";
    if (option.Periodicity)
        line += "<PER>,";
    if (option.Date) {
        const bool known =
            selectedDateFormat && *selectedDateFormat >= 0 && *selectedDateFormat < kDateFormatCount;
        line += known ? kDateTokens[static_cast<std::size_t>(*selectedDateFormat)] : "<DATE>";
        line += ',';
    }
    if (option.Open)
        line += "<OPEN>,";
    if (option.High)
        line += "<HIGH>,";
    if (option.Low)
        line += "<LOW>,";
    if (option.Close)
        line += "<CLOSE>,";
    if (option.Volume)
        line += "<VOL>,";
    if (option.Interest)
        line += "<OPENINT>";
    while (!line.empty() && line.back() == ',')
        line.pop_back();
    return line;
}

ConversionOption LoadCurrentOption(const Profile& profile) {
    return ReadOption(profile, kCurrentSection);
}

bool SaveCurrentOption(Profile& profile, const ConversionOption& option) {
    return WriteOption(profile, kCurrentSection, option);
}

bool SavePresetOption(Profile& profile, std::string_view name, const ConversionOption& option) {
    const int stored = profile.GetInt(kSettingsSection, kPresetCount, 0);
    if (stored >= kMaxPresetOptions)
        return false;
    const int number = (stored < 0 ? 0 : stored) + 1;
    if (!profile.WriteInt(kSettingsSection, kPresetCount, number))
        return false;
    const std::string section = PresetSection(number);
    const bool named = profile.WriteString(section, kPresetName, name);
    return WriteOption(profile, section, option) && named;
}

std::vector<std::string> EnumPresetOptions(const Profile& profile) {
    std::vector<std::string> names;
    const int count = PresetCount(profile);
    for (int i = 1; i <= count; ++i)
        names.push_back(profile.GetString(PresetSection(i), kPresetName, ""));
    return names;
}

std::optional<ConversionOption> LoadPresetOption(const Profile& profile, std::string_view name) {
    const int count = PresetCount(profile);
    for (int i = 1; i <= count; ++i) {
        const std::string section = PresetSection(i);
        if (profile.GetString(section, kPresetName, "") == name)
            return ReadOption(profile, section);
    }
    return std::nullopt;
}

} // namespace tessaly
