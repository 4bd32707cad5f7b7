// Opens a MetaStock folder made from fuzzed MASTER, EMASTER, XMASTER and data file bytes and runs the
// library's lookups, reads and updates on it. Input: a flags byte, then up to four parts (MASTER,
// EMASTER, XMASTER, data file), each a little-endian u16 length and that many bytes.
#include "convert/metalib.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class SilentMessages final : public tessaly::MessageBoxes {
public:
    tessaly::MessageAnswer Show(std::string_view, std::string_view, tessaly::MessageButtons,
                                tessaly::MessageIcon) override {
        return tessaly::MessageAnswer::Ok;
    }
};

const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        const std::filesystem::path base =
            std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        auto path = base / ("metalib-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

void Write(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::uint8_t flags = data[0];
    std::vector<std::vector<std::uint8_t>> parts;
    std::size_t at = 1;
    while (parts.size() < 4 && at + 2 <= size) {
        const std::size_t length = std::min<std::size_t>(data[at] | (data[at + 1] << 8), size - at - 2);
        parts.emplace_back(data + at + 2, data + at + 2 + length);
        at += 2 + length;
    }
    parts.resize(4);

    const auto& folder = Folder();
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        std::filesystem::remove_all(entry.path(), error);
    Write(folder / "MASTER", parts[0].data(), parts[0].size());
    Write(folder / "emaster", parts[1].data(), parts[1].size());
    if (flags & 1)
        Write(folder / "XMASTER", parts[2].data(), parts[2].size());
    for (const char* name : {"F1.DAT", "f2.dat", "F3.DAT", "F256.MWD", "F257.MWD"})
        Write(folder / name, parts[3].data(), parts[3].size());

    SilentMessages messages;
    tessaly::MetaLib library(messages);
    if (library.OpenFolder(folder) != 0)
        return 0;
    std::vector<tessaly::DataRecord> records;
    const auto securities = library.ListSecurities();
    for (const auto& security : securities) {
        library.LookupSecurity(security.symbol);
        if (library.FindSecurity(security.symbol) == 0) {
            std::int32_t first = 0;
            std::int32_t last = 0;
            library.GetFirstRecordDate(first);
            library.GetLastRecordDate(last);
            library.ReadRecords(records);
            int found = 0;
            library.FindRecord(last, found);
            if (flags & 2) {
                library.AddRecord(last + 1, 1.0f, 2.0f, 0.5f, 1.5f, 100.0f, 0.0f);
                library.UpdateLastRecord(last + 1, 1.0f, 2.0f, 0.5f, 1.5f, 100.0f, 0.0f);
                library.UpdateRecord(first, first, 3.0f, 3.0f, 3.0f, 3.0f, 3.0f, 0.0f);
                library.DeleteRecord(first);
                library.DeleteRecords(first, first + 40);
            }
            library.CloseSecurity();
        }
        library.FindSecurityByName(security.name);
        library.CloseSecurity();
    }
    if (flags & 2) {
        if (!securities.empty()) {
            library.UpdateSecurityDates(securities.front().symbol, 1050228, 1050301, 'd');
            library.ChangeSecurity(securities.front().symbol, "Renamed", "REN");
        }
        library.AddSecurity("NEW", "New security", 'D');
        if (library.FindSecurity("NEW") == 0)
            library.AddRecord(1050228, 1, 1, 1, 1, 1, 0);
        if (flags & 4)
            library.DeleteSecurityByFile("F1.DAT");
        if (!securities.empty())
            library.DeleteSecurity(securities.back().symbol);
        library.DeleteSecurities("NEW, REN;ABCDEFGHIJKLM");
        library.ListSecurities();
    }
    library.CloseFolder();
    return 0;
}
