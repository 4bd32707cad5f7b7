#include "convert/metalib.h"

#include "convert/littleendian.h"
#include "convert/masterrecords.h"
#include "convert/mbf.h"
#include "convert/metastockdates.h"
#include "engine/atomicfile.h"
#include "engine/datenumber.h"
#include "engine/securityfiles.h"

#include <algorithm>
#include <array>
#include <bitset>

namespace tessaly {

using namespace metastock;

namespace {

constexpr std::string_view kCaption = "MetaLib";
// No sound master file comes near these sizes; larger ones are not MetaStock files.
constexpr std::size_t kMasterLimit = kMasterHeaderSize + 65535 * kMasterRecordSize;
constexpr std::size_t kEmasterLimit = kEmasterHeaderSize + 65535 * kEmasterRecordSize;
constexpr std::size_t kXmasterLimit = kXmasterHeaderSize + 65536 * kXmasterRecordSize;

// The form a symbol is stored and looked up in: its first 14 characters, trailing blanks dropped.
std::string_view StoredSymbol(std::string_view symbol) {
    symbol = symbol.substr(0, std::min(symbol.size(), kSymbolWidth));
    while (!symbol.empty() && symbol.back() == ' ')
        symbol.remove_suffix(1);
    return symbol;
}

bool SymbolMatches(const std::uint8_t* field, std::string_view symbol) {
    return EqualsIgnoringCase(GetText(field, kSymbolWidth), StoredSymbol(symbol));
}

// The index of the first of `count` records (behind a header of `headerSize` bytes) whose symbol
// field matches.
std::optional<std::size_t> IndexOfSymbol(const std::uint8_t* file, std::size_t headerSize, std::size_t count,
                                         std::size_t recordSize, std::size_t symbolOffset,
                                         std::string_view symbol) {
    for (std::size_t i = 0; i < count; ++i) {
        if (SymbolMatches(file + headerSize + i * recordSize + symbolOffset, symbol))
            return i;
    }
    return std::nullopt;
}

} // namespace

MetaLib::MetaLib(MessageBoxes& messages)
    : messages_(messages) {}

MetaLib::~MetaLib() {
    CloseFolder();
}

// --- master file access ---------------------------------------------------------------------------

std::size_t MetaLib::MasterCount() const {
    if (!master_.open)
        return 0;
    return std::min<std::size_t>(ReadU16(master_.bytes.data()),
                                 (master_.bytes.size() - kMasterHeaderSize) / kMasterRecordSize);
}

std::size_t MetaLib::EmasterCount() const {
    if (!emaster_.open)
        return 0;
    return std::min<std::size_t>(ReadU16(emaster_.bytes.data()),
                                 (emaster_.bytes.size() - kEmasterHeaderSize) / kEmasterRecordSize);
}

std::size_t MetaLib::XmasterCount() const {
    if (!xmaster_.open)
        return 0;
    return std::min<std::size_t>(ReadU32(xmaster_.bytes.data() + kXmasterCountAgainOffset),
                                 (xmaster_.bytes.size() - kXmasterHeaderSize) / kXmasterRecordSize);
}

std::uint8_t* MetaLib::MasterRecordAt(std::size_t index) {
    return master_.bytes.data() + kMasterHeaderSize + index * kMasterRecordSize;
}

std::uint8_t* MetaLib::EmasterRecordAt(std::size_t index) {
    return emaster_.bytes.data() + kEmasterHeaderSize + index * kEmasterRecordSize;
}

std::uint8_t* MetaLib::XmasterRecordAt(std::size_t index) {
    return xmaster_.bytes.data() + kXmasterHeaderSize + index * kXmasterRecordSize;
}

std::optional<std::size_t> MetaLib::MasterIndexOf(std::string_view symbol) const {
    return IndexOfSymbol(master_.bytes.data(), kMasterHeaderSize, MasterCount(), kMasterRecordSize,
                         kMasterSymbolOffset, symbol);
}

std::optional<std::size_t> MetaLib::EmasterIndexOf(std::string_view symbol) const {
    return IndexOfSymbol(emaster_.bytes.data(), kEmasterHeaderSize, EmasterCount(), kEmasterRecordSize,
                         kEmasterSymbolOffset, symbol);
}

std::optional<std::size_t> MetaLib::XmasterIndexOf(std::string_view symbol) const {
    return IndexOfSymbol(xmaster_.bytes.data(), kXmasterHeaderSize, XmasterCount(), kXmasterRecordSize,
                         kXmasterSymbolOffset, symbol);
}

MetaStockSecurity MetaLib::EmasterEntry(std::size_t index) const {
    const std::uint8_t* record = emaster_.bytes.data() + kEmasterHeaderSize + index * kEmasterRecordSize;
    MetaStockSecurity security;
    security.fileNumber = ReadU16(record + kEmasterNumberOffset);
    security.fileName = DataFileName(security.fileNumber);
    security.symbol = GetText(record + kEmasterSymbolOffset, kSymbolWidth);
    security.name = GetText(record + kEmasterNameOffset, kMasterNameWidth);
    security.periodicity = static_cast<char>(record[kEmasterLetterOffset]);
    security.firstDate = LongDate(DateFromFloat(ReadIeee(record + kEmasterFirstOffset)));
    security.lastDate = LongDate(DateFromFloat(ReadIeee(record + kEmasterLastOffset)));
    return security;
}

MetaStockSecurity MetaLib::XmasterEntry(std::size_t index) const {
    const std::uint8_t* record = xmaster_.bytes.data() + kXmasterHeaderSize + index * kXmasterRecordSize;
    MetaStockSecurity security;
    security.fileNumber = ReadU16(record + kXmasterNumberOffset);
    security.fileName = DataFileName(security.fileNumber);
    security.symbol = GetText(record + kXmasterSymbolOffset, kSymbolWidth);
    security.name = GetText(record + kXmasterNameOffset, kXmasterNameWidth);
    security.periodicity = static_cast<char>(record[kXmasterLetterOffset]);
    security.firstDate = static_cast<std::int32_t>(ReadU32(record + kXmasterFirstOffset));
    security.lastDate = static_cast<std::int32_t>(ReadU32(record + kXmasterLastOffset));
    security.inXmaster = true;
    return security;
}

bool MetaLib::Put(MasterFile& file, std::size_t offset, const std::uint8_t* data, std::size_t size) {
    if (!WriteFileAt(file.path, offset, data, size))
        return false;
    if (file.bytes.size() < offset + size)
        file.bytes.resize(offset + size);
    std::copy(data, data + size, file.bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return true;
}

bool MetaLib::Replace(MasterFile& file, std::vector<std::uint8_t> bytes) {
    const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!AtomicFile::WriteWhole(file.path, content))
        return false;
    file.bytes = std::move(bytes);
    return true;
}

void MetaLib::Remove(MasterFile& file) {
    std::error_code error;
    std::filesystem::remove(file.path, error);
    file = MasterFile{};
}

void MetaLib::NotFound(std::string_view symbol) {
    messages_.Show("Can not find security: " + std::string(symbol), kCaption, MessageButtons::Ok,
                   MessageIcon::None);
}

std::filesystem::path MetaLib::DataFilePath(std::uint32_t fileNumber) const {
    const std::string name = DataFileName(fileNumber);
    if (auto existing = FindFileIgnoringCase(folder_, name))
        return *existing;
    return folder_ / name;
}

// --- folder ---------------------------------------------------------------------------------------

int MetaLib::OpenFolder(const std::filesystem::path& folder) {
    CloseFolder();
    const auto load = [&](MasterFile& file, std::string_view name, std::size_t headerSize,
                          std::size_t limit) {
        const auto path = FindFileIgnoringCase(folder, name);
        if (!path || !LoadFile(*path, file.bytes, limit) || file.bytes.size() < headerSize)
            return false;
        file.path = *path;
        file.open = true;
        return true;
    };
    if (!load(master_, "MASTER", kMasterHeaderSize, kMasterLimit) ||
        !load(emaster_, "EMASTER", kEmasterHeaderSize, kEmasterLimit)) {
        CloseFolder();
        return 1;
    }
    if (FindFileIgnoringCase(folder, "XMASTER") &&
        !load(xmaster_, "XMASTER", kXmasterHeaderSize, kXmasterLimit)) {
        CloseFolder();
        return 1;
    }
    folder_ = folder;
    return 0;
}

int MetaLib::CreateFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directory(folder, error);
    const auto create = [&](std::string_view name, std::size_t headerSize) {
        if (FindFileIgnoringCase(folder, name))
            return true;
        const std::vector<std::uint8_t> header(headerSize, 0);
        return CreateNewFile(folder / std::string(name), header);
    };
    const bool master = create("MASTER", kMasterHeaderSize);
    const bool emaster = create("EMASTER", kEmasterHeaderSize);
    return master && emaster ? 0 : 1;
}

int MetaLib::CloseFolder() {
    data_.Close();
    master_ = MasterFile{};
    emaster_ = MasterFile{};
    xmaster_ = MasterFile{};
    folder_.clear();
    return 0;
}

// --- securities -----------------------------------------------------------------------------------

std::vector<MetaStockSecurity> MetaLib::ListSecurities() const {
    std::vector<MetaStockSecurity> securities;
    for (std::size_t i = 0, count = EmasterCount(); i < count; ++i)
        securities.push_back(EmasterEntry(i));
    for (std::size_t i = 0, count = XmasterCount(); i < count; ++i)
        securities.push_back(XmasterEntry(i));
    return securities;
}

std::optional<MetaStockSecurity> MetaLib::LookupSecurity(std::string_view symbol) const {
    if (const auto index = EmasterIndexOf(symbol))
        return EmasterEntry(*index);
    if (const auto index = XmasterIndexOf(symbol))
        return XmasterEntry(*index);
    return std::nullopt;
}

int MetaLib::OpenSecurityFile(const MetaStockSecurity& security, bool create) {
    data_.Close();
    const bool inRange = security.inXmaster
                             ? security.fileNumber >= kFirstXmasterNumber
                             : security.fileNumber >= 1 && security.fileNumber <= kMaxMasterRecords;
    if (!inRange)
        return 1;
    const auto path = DataFilePath(security.fileNumber);
    if (!create && !std::filesystem::exists(path))
        return 1;
    if (!data_.Open(path, create) || data_.Slots() == 0) {
        data_.Close();
        return 1;
    }
    return 0;
}

int MetaLib::FindSecurity(std::string_view symbol) {
    return FindSecurityForWrite(symbol, false);
}

int MetaLib::FindSecurityForWrite(std::string_view symbol, bool create) {
    if (!IsFolderOpen())
        return 1;
    const auto security = LookupSecurity(symbol);
    return security ? OpenSecurityFile(*security, create) : 1;
}

int MetaLib::FindSecurityByName(std::string_view name) {
    if (!IsFolderOpen())
        return 1;
    for (std::size_t i = 0, count = MasterCount(); i < count; ++i) {
        const std::uint8_t* record = MasterRecordAt(i);
        if (EqualsIgnoringCase(GetText(record + kMasterNameOffset, kMasterNameWidth),
                               name.substr(0, std::min(name.size(), kMasterNameWidth)))) {
            MetaStockSecurity security;
            security.fileNumber = record[0];
            return OpenSecurityFile(security, false);
        }
    }
    for (std::size_t i = 0, count = XmasterCount(); i < count; ++i) {
        const std::uint8_t* record = XmasterRecordAt(i);
        if (EqualsIgnoringCase(GetText(record + kXmasterNameOffset, kXmasterNameWidth),
                               name.substr(0, std::min(name.size(), kXmasterNameWidth))))
            return OpenSecurityFile(XmasterEntry(i), false);
    }
    return 1;
}

int MetaLib::CloseSecurity() {
    data_.Close();
    return 0;
}

int MetaLib::AddSecurity(std::string_view symbol, std::string_view name, char periodicity) {
    const DateNumber start = YearsEarlier(TodayDateNumber(), 2);
    return AddSecurityAt(symbol, name, periodicity, ShortDate(start), ShortDate(start), start, start,
                         nullptr);
}

int MetaLib::AddSecurityWithDates(std::string_view symbol, std::string_view name, char periodicity,
                                  std::int32_t first, std::int32_t last, std::filesystem::path& dataFile) {
    const auto shortForm = [](std::int32_t date) { return date >= 19000001 ? date - 19000000 : date; };
    return AddSecurityAt(symbol, name, periodicity, shortForm(first), shortForm(last), first, last,
                         &dataFile);
}

int MetaLib::AddSecurityAt(std::string_view symbol, std::string_view name, char periodicity,
                           std::int32_t firstShort, std::int32_t lastShort, std::int32_t firstLong,
                           std::int32_t lastLong, std::filesystem::path* dataFile) {
    if (!IsFolderOpen())
        return 1;
    const std::size_t masterCount = MasterCount();
    const std::size_t emasterCount = EmasterCount();
    const std::uint16_t highest = ReadU16(master_.bytes.data() + 2);
    std::uint32_t number = 0;
    bool raiseHighest = false;
    if (highest < kMaxMasterRecords && masterCount < kMaxMasterRecords) {
        number = highest + 1u;
        raiseHighest = true;
    } else if (masterCount < kMaxMasterRecords) {
        std::bitset<256> used;
        for (std::size_t i = 0; i < masterCount; ++i)
            used.set(MasterRecordAt(i)[0]);
        for (std::uint32_t n = 1; n <= kMaxMasterRecords && number == 0; ++n)
            if (!used.test(n))
                number = n;
    }
    const bool toXmaster = number == 0;
    if (toXmaster) {
        number = kFirstXmasterNumber;
        if (xmaster_.open) {
            number = std::max(number, ReadU32(xmaster_.bytes.data() + kXmasterNextOffset));
            for (std::size_t i = 0, count = XmasterCount(); i < count; ++i)
                number =
                    std::max<std::uint32_t>(number, ReadU16(XmasterRecordAt(i) + kXmasterNumberOffset) + 1u);
        }
        if (number > 0xFFFF)
            return 1;
    }

    // The data file comes first, so a folder where it cannot be made keeps its master files as they were.
    const auto path = DataFilePath(number);
    {
        DataFile file;
        if (!file.Open(path, true))
            return 1;
    }
    if (dataFile)
        *dataFile = path;

    const std::string letter(1, UpperLetter(periodicity));
    if (toXmaster) {
        if (!xmaster_.open) {
            const auto header = MakeXmasterHeader();
            xmaster_.path = folder_ / "XMASTER";
            if (!CreateNewFile(xmaster_.path, header)) {
                xmaster_ = MasterFile{};
                return 1;
            }
            xmaster_.bytes.assign(header.begin(), header.end());
            xmaster_.open = true;
        }
        const std::size_t count = XmasterCount();
        const SecurityFields fields{number, StoredSymbol(symbol), name, periodicity, firstLong, lastLong};
        const XmasterRecord record = MakeXmasterRecord(fields);
        std::vector<std::uint8_t> bytes(1 + record.size(), 0);
        std::copy(record.begin(), record.end() - 1, bytes.begin() + 1);
        if (!Put(xmaster_, kXmasterHeaderSize + count * kXmasterRecordSize - 1, bytes.data(), bytes.size()))
            return 1;
        std::array<std::uint8_t, 12> counters{};
        WriteU32(counters.data(), static_cast<std::uint32_t>(count + 1));
        WriteU32(counters.data() + 4, static_cast<std::uint32_t>(count + 1));
        WriteU32(counters.data() + 8, number + 1);
        return Put(xmaster_, kXmasterCountOffset, counters.data(), counters.size()) ? 0 : 1;
    }

    const SecurityFields fields{number, StoredSymbol(symbol), name, periodicity, firstShort, lastShort};
    const MasterRecord masterRecord = MakeMasterRecord(fields);
    const EmasterRecord emasterRecord = MakeEmasterRecord(fields);
    std::array<std::uint8_t, 4> masterHeader{};
    WriteU16(masterHeader.data(), static_cast<std::uint16_t>(masterCount + 1));
    WriteU16(masterHeader.data() + 2, static_cast<std::uint16_t>(raiseHighest ? highest + 1 : highest));
    std::array<std::uint8_t, 4> emasterHeader{};
    const std::uint16_t emasterHighest = ReadU16(emaster_.bytes.data() + 2);
    WriteU16(emasterHeader.data(), static_cast<std::uint16_t>(emasterCount + 1));
    WriteU16(emasterHeader.data() + 2,
             static_cast<std::uint16_t>(raiseHighest ? emasterHighest + 1 : emasterHighest));
    const bool ok = Put(master_, kMasterHeaderSize + masterCount * kMasterRecordSize, masterRecord.data(),
                        masterRecord.size()) &&
                    Put(master_, 0, masterHeader.data(), masterHeader.size()) &&
                    Put(emaster_, kEmasterHeaderSize + emasterCount * kEmasterRecordSize,
                        emasterRecord.data(), emasterRecord.size()) &&
                    Put(emaster_, 0, emasterHeader.data(), emasterHeader.size());
    return ok ? 0 : 1;
}

int MetaLib::UpdateSecurityDates(std::string_view symbol, std::int32_t first, std::int32_t last,
                                 char periodicity) {
    if (!master_.open)
        return 1;
    if (const auto index = MasterIndexOf(symbol)) {
        MasterRecord record{};
        std::copy_n(MasterRecordAt(*index), record.size(), record.begin());
        SetMasterDates(record.data(), first, last, periodicity);
        if (!Put(master_, kMasterHeaderSize + *index * kMasterRecordSize, record.data(), record.size()))
            return 1;
    }
    if (!emaster_.open)
        return 1;
    if (const auto index = EmasterIndexOf(symbol)) {
        EmasterRecord record{};
        std::copy_n(EmasterRecordAt(*index), record.size(), record.begin());
        SetEmasterDates(record.data(), first, last, periodicity);
        return Put(emaster_, kEmasterHeaderSize + *index * kEmasterRecordSize, record.data(), record.size())
                   ? 0
                   : 1;
    }
    if (const auto index = XmasterIndexOf(symbol)) {
        XmasterRecord record{};
        std::copy_n(XmasterRecordAt(*index), record.size(), record.begin());
        SetXmasterDates(record.data(), LongDate(first), LongDate(last), periodicity);
        return Put(xmaster_, kXmasterHeaderSize + *index * kXmasterRecordSize, record.data(), record.size())
                   ? 0
                   : 1;
    }
    NotFound(symbol);
    return 1;
}

// --- records --------------------------------------------------------------------------------------

int MetaLib::OpenDataFile(const std::filesystem::path& path, bool create) {
    if (!data_.Open(path, create) || data_.Slots() == 0) {
        data_.Close();
        return 1;
    }
    return 0;
}

int MetaLib::WriteValues(std::size_t slot, std::span<const RecordValues> values, bool append) {
    if (!data_.IsOpen() || data_.Slots() == 0)
        return 1;
    if (!data_.Write(slot, values))
        return 1;
    return !append || data_.WriteCount() ? 0 : 1;
}

int MetaLib::AddRecord(std::int32_t date, float open, float high, float low, float close, float volume,
                       float openInterest) {
    const RecordValues values{static_cast<float>(date), open, high, low, close, volume, openInterest};
    return WriteValues(data_.Slots(), std::span(&values, 1), true);
}

int MetaLib::UpdateLastRecord(std::int32_t date, float open, float high, float low, float close, float volume,
                              float openInterest) {
    // A file holding only its header has no last record; its header is not overwritten.
    if (data_.Slots() < 2)
        return 1;
    const RecordValues values{static_cast<float>(date), open, high, low, close, volume, openInterest};
    return WriteValues(data_.Slots() - 1, std::span(&values, 1), false);
}

int MetaLib::AppendRecords(std::span<const DataRecord> records) {
    std::vector<RecordValues> values;
    values.reserve(records.size());
    for (const DataRecord& record : records)
        values.push_back(ValuesOf(record));
    return WriteValues(data_.Slots(), values, true);
}

int MetaLib::AddRecords(std::size_t count, const float* dates, const float* open, const float* high,
                        const float* low, const float* close, const float* volume,
                        const float* openInterest) {
    std::vector<RecordValues> values(count);
    for (std::size_t i = 0; i < count; ++i)
        values[i] = {dates[i], open[i], high[i], low[i], close[i], volume[i], openInterest[i]};
    return WriteValues(data_.Slots(), values, true);
}

int MetaLib::GetFirstRecordDate(std::int32_t& date) {
    date = 0;
    if (!data_.IsOpen())
        return 1;
    DataRecord record;
    if (data_.Read(1, record))
        date = record.date;
    return 0;
}

int MetaLib::GetLastRecordDate(std::int32_t& date) {
    date = 0;
    if (!data_.IsOpen())
        return 1;
    DataRecord record;
    if (data_.Slots() >= 2 && data_.Read(data_.Slots() - 1, record))
        date = record.date;
    return 0;
}

int MetaLib::ReadRecords(std::vector<DataRecord>& records) {
    records.clear();
    return data_.IsOpen() && data_.ReadAll(records) ? 0 : 1;
}

int MetaLib::ClearRecords() {
    return data_.IsOpen() && data_.Slots() > 0 && data_.Truncate(1) && data_.WriteCount() ? 0 : 1;
}

int MetaLib::FindRecord(std::int32_t date, int& found) {
    found = 0;
    std::vector<DataRecord> records;
    if (ReadRecords(records) != 0)
        return 1;
    found = std::any_of(records.begin(), records.end(), [&](const DataRecord& r) { return r.date == date; });
    return 0;
}

int MetaLib::UpdateRecord(std::int32_t date, std::int32_t newDate, float open, float high, float low,
                          float close, float volume, float openInterest) {
    std::vector<DataRecord> records;
    if (ReadRecords(records) != 0)
        return 1;
    const auto match =
        std::find_if(records.begin(), records.end(), [&](const DataRecord& r) { return r.date == date; });
    if (match == records.end())
        return 0;
    const RecordValues values{static_cast<float>(newDate), open, high, low, close, volume, openInterest};
    return WriteValues(static_cast<std::size_t>(match - records.begin()) + 1, std::span(&values, 1), false);
}

int MetaLib::DeleteRecord(std::int32_t date) {
    std::vector<DataRecord> records;
    if (ReadRecords(records) != 0)
        return 1;
    const auto match =
        std::find_if(records.begin(), records.end(), [&](const DataRecord& r) { return r.date == date; });
    if (match == records.end())
        return 0;
    return data_.Remove(static_cast<std::size_t>(match - records.begin()) + 1) ? 0 : 1;
}

int MetaLib::DeleteRecords(std::int32_t from, std::int32_t to) {
    // The same result as DeleteRecord for every value from `from` to `to` (the first record of each
    // date in the range goes), in one pass however wide the range.
    std::vector<DataRecord> records;
    if (ReadRecords(records) != 0)
        return 1;
    std::vector<std::int32_t> removedDates;
    std::vector<RecordValues> kept;
    for (const DataRecord& record : records) {
        const bool inRange = record.date >= from && record.date <= to;
        if (inRange &&
            std::find(removedDates.begin(), removedDates.end(), record.date) == removedDates.end()) {
            removedDates.push_back(record.date);
            continue;
        }
        kept.push_back(ValuesOf(record));
    }
    if (removedDates.empty())
        return 0;
    if (!data_.Truncate(1) || (!kept.empty() && !data_.Write(1, kept)) || !data_.WriteCount())
        return 1;
    return 0;
}

} // namespace tessaly
