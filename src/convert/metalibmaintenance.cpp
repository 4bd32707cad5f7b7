// The maintenance operations of MetaLib: renaming and deleting securities.
#include "convert/littleendian.h"
#include "convert/masterrecords.h"
#include "convert/metalib.h"
#include "convert/metastockdates.h"
#include "engine/securityfiles.h"

#include <algorithm>

namespace tessaly {

using namespace metastock;

namespace {

constexpr std::string_view kCaption = "MetaLib";
// The longest run of letters DeleteSecurities takes for a symbol.
constexpr std::size_t kMaxDeleteRun = 11;

void Erase(std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t size) {
    bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                bytes.begin() + static_cast<std::ptrdiff_t>(offset + size));
}

template <std::size_t N>
void Insert(std::vector<std::uint8_t>& bytes, std::size_t offset, const std::array<std::uint8_t, N>& record) {
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(offset), record.begin(), record.end());
}

void RemoveFile(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
}

void MoveFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    if (!error)
        return;
    if (std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error))
        std::filesystem::remove(from, error);
}

} // namespace

int MetaLib::ChangeSecurity(std::string_view symbol, std::string_view newName, std::string_view newSymbol) {
    if (!IsFolderOpen())
        return 1;
    const std::string stored(symbol.substr(0, std::min(symbol.size(), kSymbolWidth)));
    bool found = false;
    if (const auto index = MasterIndexOf(stored)) {
        MasterRecord record{};
        std::copy_n(MasterRecordAt(*index), record.size(), record.begin());
        PutText(record.data() + kMasterSymbolOffset, kSymbolWidth, newSymbol);
        PutText(record.data() + kMasterNameOffset, kMasterNameWidth, newName);
        if (!Put(master_, kMasterHeaderSize + *index * kMasterRecordSize, record.data(), record.size()))
            return 1;
        found = true;
    }
    if (const auto index = EmasterIndexOf(stored)) {
        EmasterRecord record{};
        std::copy_n(EmasterRecordAt(*index), record.size(), record.begin());
        PutText(record.data() + kEmasterSymbolOffset, kSymbolWidth, newSymbol);
        PutText(record.data() + kEmasterNameOffset, kMasterNameWidth, newName);
        return Put(emaster_, kEmasterHeaderSize + *index * kEmasterRecordSize, record.data(), record.size())
                   ? 0
                   : 1;
    }
    if (const auto index = XmasterIndexOf(stored)) {
        XmasterRecord record{};
        std::copy_n(XmasterRecordAt(*index), record.size(), record.begin());
        PutText(record.data() + kXmasterSymbolOffset, kSymbolWidth, newSymbol);
        PutText(record.data() + kXmasterNameOffset, kXmasterNameWidth, newName);
        return Put(xmaster_, kXmasterHeaderSize + *index * kXmasterRecordSize, record.data(), record.size())
                   ? 0
                   : 1;
    }
    if (found)
        return 0;
    NotFound(symbol);
    return 1;
}

int MetaLib::DeleteSecurity(std::string_view symbol) {
    if (!IsFolderOpen())
        return 1;
    data_.Close();
    const auto masterIndex = MasterIndexOf(symbol);
    const auto emasterIndex = EmasterIndexOf(symbol);

    if (emasterIndex) {
        const std::uint32_t number = ReadU16(EmasterRecordAt(*emasterIndex) + kEmasterNumberOffset);
        const auto dataPath = DataFilePath(number);
        std::vector<std::uint8_t> master = master_.bytes;
        std::size_t masterCount = MasterCount();
        if (masterIndex) {
            Erase(master, kMasterHeaderSize + *masterIndex * kMasterRecordSize, kMasterRecordSize);
            --masterCount;
        }
        std::vector<std::uint8_t> emaster = emaster_.bytes;
        std::size_t emasterCount = EmasterCount() - 1;
        Erase(emaster, kEmasterHeaderSize + *emasterIndex * kEmasterRecordSize, kEmasterRecordSize);

        // The first XMASTER security moves into the freed number.
        std::vector<std::uint8_t> xmaster = xmaster_.bytes;
        std::size_t xmasterCount = XmasterCount();
        std::optional<std::filesystem::path> promotedFrom;
        const bool promote = xmasterCount > 0 && number >= 1 && number <= kMaxMasterRecords;
        if (promote) {
            const MetaStockSecurity moved = XmasterEntry(0);
            const SecurityFields fields{number,
                                        moved.symbol,
                                        std::string_view(moved.name).substr(0, kMasterNameWidth),
                                        moved.periodicity,
                                        ShortDate(moved.firstDate),
                                        ShortDate(moved.lastDate)};
            Insert(master, kMasterHeaderSize + masterCount * kMasterRecordSize,
                   MakeMasterRecord(fields, true));
            ++masterCount;
            Insert(emaster, kEmasterHeaderSize + emasterCount * kEmasterRecordSize,
                   MakeEmasterRecord(fields, true));
            ++emasterCount;
            Erase(xmaster, kXmasterHeaderSize, kXmasterRecordSize);
            xmaster.back() = 0;
            --xmasterCount;
            WriteU32(xmaster.data() + kXmasterCountOffset, static_cast<std::uint32_t>(xmasterCount));
            WriteU32(xmaster.data() + kXmasterCountAgainOffset, static_cast<std::uint32_t>(xmasterCount));
            if (moved.fileNumber >= kFirstXmasterNumber)
                promotedFrom = DataFilePath(moved.fileNumber);
        }
        WriteU16(master.data(), static_cast<std::uint16_t>(masterCount));
        WriteU16(emaster.data(), static_cast<std::uint16_t>(emasterCount));

        if (masterCount == 0)
            Remove(master_);
        else if (!Replace(master_, std::move(master)))
            return 1;
        if (emasterCount == 0)
            Remove(emaster_);
        else if (!Replace(emaster_, std::move(emaster)))
            return 1;
        if (promote) {
            if (xmasterCount == 0)
                Remove(xmaster_);
            else if (!Replace(xmaster_, std::move(xmaster)))
                return 1;
        }
        RemoveFile(dataPath);
        if (promotedFrom)
            MoveFile(*promotedFrom, folder_ / DataFileName(number));
        return 0;
    }

    if (const auto index = XmasterIndexOf(symbol)) {
        const std::uint32_t number = ReadU16(XmasterRecordAt(*index) + kXmasterNumberOffset);
        std::vector<std::uint8_t> xmaster = xmaster_.bytes;
        const std::size_t count = XmasterCount() - 1;
        Erase(xmaster, kXmasterHeaderSize + *index * kXmasterRecordSize, kXmasterRecordSize);
        xmaster.back() = 0;
        WriteU32(xmaster.data() + kXmasterCountOffset, static_cast<std::uint32_t>(count));
        WriteU32(xmaster.data() + kXmasterCountAgainOffset, static_cast<std::uint32_t>(count));
        if (count == 0)
            Remove(xmaster_);
        else if (!Replace(xmaster_, std::move(xmaster)))
            return 1;
        if (number >= kFirstXmasterNumber)
            RemoveFile(DataFilePath(number));
        return 0;
    }

    if (masterIndex) {
        // Listed in MASTER only (EMASTER out of step): the stray record goes.
        std::vector<std::uint8_t> master = master_.bytes;
        Erase(master, kMasterHeaderSize + *masterIndex * kMasterRecordSize, kMasterRecordSize);
        WriteU16(master.data(), static_cast<std::uint16_t>(MasterCount() - 1));
        return Replace(master_, std::move(master)) ? 0 : 1;
    }

    NotFound(symbol);
    return 1;
}

int MetaLib::DeleteSecurityByFile(std::string_view fileName) {
    if (!IsFolderOpen())
        return 1;
    std::uint32_t number = 0;
    bool valid = fileName.size() > 1 && (fileName[0] == 'F' || fileName[0] == 'f');
    std::size_t i = 1;
    for (; valid && i < fileName.size() && fileName[i] != '.'; ++i) {
        const char c = fileName[i];
        if (c < '0' || c > '9' || number > 0xFFFF)
            valid = false;
        else
            number = number * 10 + static_cast<std::uint32_t>(c - '0');
    }
    valid = valid && i > 1;
    std::optional<std::string> symbol;
    for (std::size_t r = 0, count = MasterCount(); valid && !symbol && r < count; ++r)
        if (MasterRecordAt(r)[0] == number)
            symbol = GetText(MasterRecordAt(r) + kMasterSymbolOffset, kSymbolWidth);
    for (std::size_t r = 0, count = XmasterCount(); valid && !symbol && r < count; ++r)
        if (ReadU16(XmasterRecordAt(r) + kXmasterNumberOffset) == number)
            symbol = GetText(XmasterRecordAt(r) + kXmasterSymbolOffset, kSymbolWidth);
    if (!symbol) {
        messages_.Show("Can not find security file", kCaption, MessageButtons::Ok, MessageIcon::None);
        return 1;
    }
    return DeleteSecurity(*symbol);
}

int MetaLib::DeleteSecurities(std::string_view text) {
    if (!IsFolderOpen())
        return 1;
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    int result = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (!isLetter(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && isLetter(text[end]))
            ++end;
        const std::string_view run = text.substr(i, end - i);
        if (run.size() > kMaxDeleteRun) {
            messages_.Show("Symbol too long: " + std::string(run), kCaption, MessageButtons::Ok,
                           MessageIcon::None);
            result = 1;
        } else if (DeleteSecurity(run) != 0) {
            result = 1;
        }
        i = end;
    }
    return result;
}

} // namespace tessaly
