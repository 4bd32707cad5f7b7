#include "browser/symboldatabase.h"

#include "engine/numbers.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <functional>
#include <limits>
#include <system_error>
#include <utility>

namespace tessaly {
namespace {

struct IndustryRange {
    int first;
    int count;
};

// Every copy of the file numbers its industry sections this way.
constexpr std::array<IndustryRange, SymbolDatabase::kSectorCount> kIndustries{{
    {1, 17},
    {18, 1},
    {19, 32},
    {51, 33},
    {84, 16},
    {100, 19},
    {119, 60},
    {179, 32},
    {211, 5},
}};

constexpr std::string_view kSelectSector = "Select sector ...";
constexpr std::string_view kSelectMarket = "Select market ...";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The value of a directory line: the text after the first "=", the whole line without one.
std::string_view DirectoryValue(std::string_view line) {
    const auto equals = line.find('=');
    return equals == std::string_view::npos ? line : line.substr(equals + 1);
}

std::int64_t DirectoryCount(std::string_view line) {
    return std::max<std::int64_t>(0, ReadInteger(DirectoryValue(line)));
}

// A symbol goes into a file name and into a blank-separated symbol list: one with a blank or a
// control character in it would be split or refused there, so such entries are not offered.
bool IsUsableSymbol(std::string_view symbol) {
    if (symbol.empty())
        return false;
    return std::none_of(symbol.begin(), symbol.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7f;
    });
}

std::optional<SymbolEntry> ParseEntry(std::string_view line) {
    const auto first = line.find(',');
    if (first == std::string_view::npos)
        return std::nullopt;
    const auto second = line.find(',', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    SymbolEntry entry{std::string(Trim(line.substr(0, first))),
                      std::string(Trim(line.substr(first + 1, second - first - 1)))};
    if (!IsUsableSymbol(entry.symbol))
        return std::nullopt;
    return entry;
}

std::string NumberedMarker(std::string_view prefix, int number) {
    return std::string(prefix) + FormatInteger(number) + "]";
}

bool ReadWhole(const std::filesystem::path& path, std::string& text) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > SymbolDatabase::kMaxFileSize)
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    text.resize(static_cast<std::size_t>(size));
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return !in.bad();
}

} // namespace

SymbolDatabase::SymbolDatabase(std::string text, std::filesystem::path path)
    : text_(std::move(text))
    , path_(std::move(path))
    , loaded_(true) {}

SymbolDatabase::SymbolDatabase(const std::filesystem::path& path)
    : path_(path) {
    loaded_ = ReadWhole(path, text_);
    if (!loaded_)
        text_.clear();
}

SymbolDatabase SymbolDatabase::FromText(std::string text) {
    return SymbolDatabase(std::move(text), {});
}

SymbolDatabase SymbolDatabase::LoadFirstUsable(const std::vector<std::filesystem::path>& candidates) {
    std::optional<SymbolDatabase> firstReadable;
    for (const auto& candidate : candidates) {
        SymbolDatabase database(candidate);
        if (!database.IsLoaded())
            continue;
        if (HasListLayout(database.text_))
            return database;
        if (!firstReadable)
            firstReadable = std::move(database);
    }
    return firstReadable ? std::move(*firstReadable) : SymbolDatabase();
}

bool SymbolDatabase::HasListLayout(std::string_view text) {
    return text.find("SectorsNumber") != std::string_view::npos;
}

int SymbolDatabase::FirstIndustry(int sector) {
    return sector >= 1 && sector <= kSectorCount ? kIndustries[static_cast<std::size_t>(sector - 1)].first
                                                 : 0;
}

int SymbolDatabase::IndustryCount(int sector) {
    return sector >= 1 && sector <= kSectorCount ? kIndustries[static_cast<std::size_t>(sector - 1)].count
                                                 : 0;
}

std::optional<SymbolDatabase::FoundLine> SymbolDatabase::FindLine(std::string_view needle) const {
    if (needle.empty())
        return std::nullopt;
    const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
    const auto found = std::search(text_.begin(), text_.end(), searcher);
    if (found == text_.end())
        return std::nullopt;
    const auto at = static_cast<std::size_t>(found - text_.begin());
    const auto before = std::string_view(text_).substr(0, at).rfind('\n');
    std::size_t offset = before == std::string_view::npos ? 0 : before + 1;
    FoundLine line;
    NextLine(offset, line.text);
    line.next = offset;
    return line;
}

bool SymbolDatabase::NextLine(std::size_t& offset, std::string_view& line) const {
    if (offset >= text_.size())
        return false;
    const std::string_view rest = std::string_view(text_).substr(offset);
    const auto end = rest.find('\n');
    line = end == std::string_view::npos ? rest : rest.substr(0, end);
    offset += end == std::string_view::npos ? rest.size() : end + 1;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return true;
}

std::vector<std::string> SymbolDatabase::DirectoryValues(std::size_t offset, std::int64_t count) const {
    std::vector<std::string> values;
    std::string_view line;
    for (std::int64_t i = 0; i < count && NextLine(offset, line); ++i)
        values.emplace_back(Trim(DirectoryValue(line)));
    return values;
}

// A family or industry directory: the block's opening line, directly followed by its count line.
std::optional<std::vector<std::string>>
SymbolDatabase::FamilyNames(std::string_view block, std::string_view countKey, std::int64_t limit) const {
    const auto opening = FindLine(block);
    if (!opening)
        return std::nullopt;
    std::size_t offset = opening->next;
    std::string_view countLine;
    if (!NextLine(offset, countLine) || countLine.find(countKey) == std::string_view::npos)
        return std::nullopt;
    return DirectoryValues(offset, std::min(DirectoryCount(countLine), limit));
}

std::vector<SymbolListType> SymbolDatabase::Types() const {
    std::vector<SymbolListType> types{{"Exchanges", SymbolListKind::Exchanges, 0},
                                      {"FOREX", SymbolListKind::Forex, 0}};
    const auto countLine = FindLine("SectorsNumber");
    if (!countLine)
        return types;
    types.push_back({"Sectors:", SymbolListKind::SectorsHeading, 0});
    // The industry numbering knows nine sectors; names beyond the ninth have no sections.
    const auto count = std::min<std::int64_t>(DirectoryCount(countLine->text), kSectorCount);
    int sector = 0;
    for (const auto& name : DirectoryValues(countLine->next, count))
        types.push_back({"  " + name, SymbolListKind::Sector, ++sector});
    types.push_back({"Indices:", SymbolListKind::IndicesHeading, 0});
    types.push_back({"  US Markets", SymbolListKind::UsIndices, 0});
    types.push_back({"  World Markets", SymbolListKind::WorldIndices, 0});
    types.push_back({"ETFs:", SymbolListKind::EtfsHeading, 0});
    types.push_back({"  US Markets", SymbolListKind::UsEtfs, 0});
    types.push_back({"  World Markets", SymbolListKind::WorldEtfs, 0});
    return types;
}

std::vector<std::string> SymbolDatabase::TypeEntries() const {
    std::vector<std::string> entries;
    for (auto& type : Types())
        entries.push_back(std::move(type.text));
    return entries;
}

std::optional<SymbolListType> SymbolDatabase::TypeAt(int position) const {
    auto types = Types();
    if (position < 0 || static_cast<std::size_t>(position) >= types.size())
        return std::nullopt;
    return std::move(types[static_cast<std::size_t>(position)]);
}

std::vector<std::string> SymbolDatabase::Groups(int typePosition) const {
    const auto type = TypeAt(typePosition);
    if (!type)
        return {};
    constexpr auto kUnlimited = std::numeric_limits<std::int64_t>::max();
    switch (type->kind) {
    case SymbolListKind::Exchanges: {
        const auto countLine = FindLine("MarketsNumber");
        if (!countLine)
            return {};
        return DirectoryValues(countLine->next, DirectoryCount(countLine->text));
    }
    case SymbolListKind::Forex:
        return {"All"};
    case SymbolListKind::SectorsHeading:
        return {std::string(kSelectSector)};
    case SymbolListKind::IndicesHeading:
    case SymbolListKind::EtfsHeading:
        return {std::string(kSelectMarket)};
    case SymbolListKind::Sector: {
        // More names than the sector owns industries would label other sectors' lists.
        auto names = FamilyNames(NumberedMarker("[Sector", type->sector), "IndustryNumber",
                                 IndustryCount(type->sector));
        if (!names)
            return {};
        names->insert(names->begin(), "All");
        return std::move(*names);
    }
    case SymbolListKind::UsIndices:
        return FamilyNames("[US-Indices]", "IndexNumber", kUsIndexFamilies)
            .value_or(std::vector<std::string>{});
    case SymbolListKind::WorldIndices:
        return FamilyNames("[World-Indices]", "IndexNumber", kUnlimited).value_or(std::vector<std::string>{});
    case SymbolListKind::UsEtfs:
        return FamilyNames("[US-ETF]", "ETFNumber", kUsEtfFamilies).value_or(std::vector<std::string>{});
    case SymbolListKind::WorldEtfs:
        return FamilyNames("[World-ETF]", "ETFNumber", kUnlimited).value_or(std::vector<std::string>{});
    }
    return {};
}

std::vector<SymbolEntry> SymbolDatabase::Entries(int typePosition, int groupPosition) const {
    const auto type = TypeAt(typePosition);
    if (!type || groupPosition < 0 || static_cast<std::size_t>(groupPosition) >= Groups(typePosition).size())
        return {};
    const int g = groupPosition;
    switch (type->kind) {
    case SymbolListKind::Exchanges:
        return ReadSections(NumberedMarker("[Market", g + 1), 1);
    case SymbolListKind::Forex:
        return ReadSections("[FOREX]", 1);
    case SymbolListKind::SectorsHeading:
    case SymbolListKind::IndicesHeading:
    case SymbolListKind::EtfsHeading:
        return {};
    case SymbolListKind::Sector: {
        const int first = FirstIndustry(type->sector);
        if (g == 0)
            return ReadSections(NumberedMarker("[Industry", first), IndustryCount(type->sector));
        return ReadSections(NumberedMarker("[Industry", first + g - 1), 1);
    }
    case SymbolListKind::UsIndices:
        return ReadSections(NumberedMarker("[Index", g + 1), 1);
    case SymbolListKind::WorldIndices:
        return ReadSections(NumberedMarker("[Index", g + kUsIndexFamilies + 1), 1);
    case SymbolListKind::UsEtfs:
        return ReadSections(NumberedMarker("[ETF", g + 1), 1);
    case SymbolListKind::WorldEtfs:
        return ReadSections(NumberedMarker("[ETF", g + kUsEtfFamilies + 1), 1);
    }
    return {};
}

// Reads `sections` consecutive sections from the first line containing `marker`: an empty line
// ends a section, and the line after it is the next section's header. The end of the text ends
// the sweep whatever is left to read.
std::vector<SymbolEntry> SymbolDatabase::ReadSections(const std::string& marker, int sections) const {
    std::vector<SymbolEntry> entries;
    const auto header = FindLine(marker);
    if (!header)
        return entries;
    std::size_t offset = header->next;
    std::string_view line;
    while (NextLine(offset, line)) {
        if (!line.empty()) {
            if (auto entry = ParseEntry(line))
                entries.push_back(std::move(*entry));
            continue;
        }
        if (--sections <= 0)
            break;
        if (!NextLine(offset, line))
            break;
    }
    return entries;
}

} // namespace tessaly
