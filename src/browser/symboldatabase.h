#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// One security of a symbol list: the name as the user reads it and the ticker symbol.
struct SymbolEntry {
    std::string name;
    std::string symbol;

    friend bool operator==(const SymbolEntry&, const SymbolEntry&) = default;
};

// What an entry of the type list stands for.
enum class SymbolListKind {
    Exchanges,
    Forex,
    SectorsHeading,
    Sector,
    IndicesHeading,
    UsIndices,
    WorldIndices,
    EtfsHeading,
    UsEtfs,
    WorldEtfs,
};

struct SymbolListType {
    std::string text; // as the type list shows it ("Exchanges", "  Basic Materials", "ETFs:")
    SymbolListKind kind = SymbolListKind::Exchanges;
    int sector = 0; // 1 to 9 for SymbolListKind::Sector, else 0
};

// The ready-made symbol lists of "SymbolDatabaseEx2.dta": markets, sectors with their industries,
// index and ETF families and the currency pairs. The file is read once into memory; every
// question is answered from that text by searching it from the top, the first line containing
// the searched text winning, exactly as a rescan of the file would. A missing, unreadable or
// oversized file gives a database without content: the fixed type entries and empty lists.
class SymbolDatabase {
public:
    static constexpr std::string_view kFileName = "SymbolDatabaseEx2.dta";
    // A downloaded copy is capped at this size, and a file larger than it is not read.
    static constexpr std::uintmax_t kMaxFileSize = 64u * 1024u * 1024u;

    static constexpr int kSectorCount = 9;
    static constexpr int kIndustryCount = 215;
    static constexpr int kUsIndexFamilies = 6;
    static constexpr int kUsEtfFamilies = 3;

    SymbolDatabase() = default;
    // Reads `path` whole; IsLoaded() tells whether that worked.
    explicit SymbolDatabase(const std::filesystem::path& path);
    static SymbolDatabase FromText(std::string text);
    // The first of `candidates` that can be read and holds a sector directory; when none holds
    // one, the first that can be read; when none can be read, an empty database.
    static SymbolDatabase LoadFirstUsable(const std::vector<std::filesystem::path>& candidates);
    // True when `text` has the layout of this file (it holds a "SectorsNumber" line), the test
    // by which a downloaded text may stand in for the shipped lists.
    static bool HasListLayout(std::string_view text);

    bool IsLoaded() const { return loaded_; }
    const std::filesystem::path& Path() const { return path_; }

    // The type list in order: "Exchanges", "FOREX", then, when the file has a sector directory,
    // "Sectors:", the sector names indented by two blanks, and the index and ETF headings with
    // their "  US Markets" and "  World Markets" entries.
    std::vector<SymbolListType> Types() const;
    std::vector<std::string> TypeEntries() const;

    // The group list for the type at `typePosition` of Types().
    std::vector<std::string> Groups(int typePosition) const;
    // The securities of group `groupPosition` of that type, in file order. Entries are trimmed;
    // those whose symbol is empty or holds a blank or control character are left out.
    std::vector<SymbolEntry> Entries(int typePosition, int groupPosition) const;

    // The industry numbering shared by every copy of the file: sector k (1 to 9) owns the
    // industries FirstIndustry(k) .. FirstIndustry(k) + IndustryCount(k) - 1.
    static int FirstIndustry(int sector);
    static int IndustryCount(int sector);

private:
    explicit SymbolDatabase(std::string text, std::filesystem::path path);

    struct FoundLine {
        std::string_view text; // without its line break
        std::size_t next = 0;  // where the line after it starts
    };
    // The first line that contains `needle`; nullopt when none does.
    std::optional<FoundLine> FindLine(std::string_view needle) const;
    // Reads the line starting at `offset` into `line` and moves `offset` past it; false at the end.
    bool NextLine(std::size_t& offset, std::string_view& line) const;
    std::vector<std::string> DirectoryValues(std::size_t offset, std::int64_t count) const;
    // Nullopt when the block's opening line or the count line right after it is missing.
    std::optional<std::vector<std::string>> FamilyNames(std::string_view block, std::string_view countKey,
                                                        std::int64_t limit) const;
    std::vector<SymbolEntry> ReadSections(const std::string& marker, int sections) const;
    std::optional<SymbolListType> TypeAt(int position) const;

    std::string text_;
    std::filesystem::path path_;
    bool loaded_ = false;
};

} // namespace tessaly
