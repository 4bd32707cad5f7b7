#pragma once

#include "convert/datafile.h"
#include "engine/messagebox.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// A security as the master files list it.
struct MetaStockSecurity {
    std::uint32_t fileNumber = 0;
    std::string fileName; // "F1.DAT", "F256.MWD"
    std::string symbol;
    std::string name;
    char periodicity = 'D';
    std::int32_t firstDate = 0; // long form, YYYYMMDD
    std::int32_t lastDate = 0;
    bool inXmaster = false;
};

// A MetaStock database folder: MASTER and EMASTER list up to 255 securities, XMASTER those beyond,
// and every security has a data file Fn.DAT (n up to 255) or Fn.MWD. One object serves one folder at
// a time and one security's data file within it. Operations return 0 for success and 1 for failure.
//
// The master files are read once by OpenFolder and kept in memory; every change is written through
// to disk before the operation returns (in place where records are added or changed, by a crash-safe
// rewrite where records are removed). Files written by other programs may be damaged: counts are
// taken no further than the records the file holds, so nothing is read past an end.
class MetaLib {
public:
    explicit MetaLib(MessageBoxes& messages);
    ~MetaLib();
    MetaLib(const MetaLib&) = delete;
    MetaLib& operator=(const MetaLib&) = delete;

    // The folder and the conversion's operations.
    int OpenFolder(const std::filesystem::path& folder);
    int CreateFolder(const std::filesystem::path& folder);
    int CloseFolder();
    int AddSecurity(std::string_view symbol, std::string_view name, char periodicity);
    int FindSecurity(std::string_view symbol);
    int CloseSecurity();
    int AddRecord(std::int32_t date, float open, float high, float low, float close, float volume,
                  float openInterest);
    int UpdateLastRecord(std::int32_t date, float open, float high, float low, float close, float volume,
                         float openInterest);
    int GetFirstRecordDate(std::int32_t& date);
    int GetLastRecordDate(std::int32_t& date);
    int UpdateSecurityDates(std::string_view symbol, std::int32_t first, std::int32_t last, char periodicity);

    // Maintenance.
    int AddSecurityWithDates(std::string_view symbol, std::string_view name, char periodicity,
                             std::int32_t first, std::int32_t last, std::filesystem::path& dataFile);
    int ChangeSecurity(std::string_view symbol, std::string_view newName, std::string_view newSymbol);
    int DeleteSecurity(std::string_view symbol);
    int DeleteSecurityByFile(std::string_view fileName);
    int DeleteSecurities(std::string_view text);
    int FindSecurityByName(std::string_view name);
    int FindSecurityForWrite(std::string_view symbol, bool create);
    int OpenDataFile(const std::filesystem::path& path, bool create);
    int AddRecords(std::size_t count, const float* dates, const float* open, const float* high,
                   const float* low, const float* close, const float* volume, const float* openInterest);
    int FindRecord(std::int32_t date, int& found);
    int UpdateRecord(std::int32_t date, std::int32_t newDate, float open, float high, float low, float close,
                     float volume, float openInterest);
    int DeleteRecord(std::int32_t date);
    int DeleteRecords(std::int32_t from, std::int32_t to);
    const std::filesystem::path& GetFolder() const { return folder_; }

    // For the conversion, the command line and checks of a folder.
    bool IsFolderOpen() const { return master_.open && emaster_.open; }
    std::vector<MetaStockSecurity> ListSecurities() const;
    // The security a symbol (cut to its stored 14 characters) names, without opening its data file.
    std::optional<MetaStockSecurity> LookupSecurity(std::string_view symbol) const;
    // The data file of a file number: the folder's entry of that name in any case, else the new name.
    std::filesystem::path DataFilePath(std::uint32_t fileNumber) const;
    int AppendRecords(std::span<const DataRecord> records);
    int ReadRecords(std::vector<DataRecord>& records);
    // Removes every record of the current data file, leaving its header with count 1.
    int ClearRecords();

private:
    struct MasterFile {
        std::filesystem::path path;
        std::vector<std::uint8_t> bytes;
        bool open = false;
    };

    std::size_t MasterCount() const;
    std::size_t EmasterCount() const;
    std::size_t XmasterCount() const;
    std::uint8_t* MasterRecordAt(std::size_t index);
    std::uint8_t* EmasterRecordAt(std::size_t index);
    std::uint8_t* XmasterRecordAt(std::size_t index);
    std::optional<std::size_t> MasterIndexOf(std::string_view symbol) const;
    std::optional<std::size_t> EmasterIndexOf(std::string_view symbol) const;
    std::optional<std::size_t> XmasterIndexOf(std::string_view symbol) const;
    MetaStockSecurity EmasterEntry(std::size_t index) const;
    MetaStockSecurity XmasterEntry(std::size_t index) const;
    int OpenSecurityFile(const MetaStockSecurity& security, bool create);
    int AddSecurityAt(std::string_view symbol, std::string_view name, char periodicity,
                      std::int32_t firstShort, std::int32_t lastShort, std::int32_t firstLong,
                      std::int32_t lastLong, std::filesystem::path* dataFile);
    int WriteValues(std::size_t slot, std::span<const metastock::RecordValues> values, bool append);
    bool Put(MasterFile& file, std::size_t offset, const std::uint8_t* data, std::size_t size);
    bool Replace(MasterFile& file, std::vector<std::uint8_t> bytes);
    void Remove(MasterFile& file);
    void NotFound(std::string_view symbol);

    MessageBoxes& messages_;
    std::filesystem::path folder_;
    MasterFile master_;
    MasterFile emaster_;
    MasterFile xmaster_;
    metastock::DataFile data_;
};

} // namespace tessaly
