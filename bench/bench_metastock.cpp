// Adding 1,000 securities of 5,000 records each into a new MetaStock folder, against writing the same
// bytes sequentially into as many files.
#include "convert/datafile.h"
#include "convert/metalib.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kSecurities = 1000;
constexpr int kRecords = 5000;

class NoMessages final : public tessaly::MessageBoxes {
public:
    tessaly::MessageAnswer Show(std::string_view, std::string_view, tessaly::MessageButtons,
                                tessaly::MessageIcon) override {
        return tessaly::MessageAnswer::Ok;
    }
};

std::filesystem::path FreshFolder(const char* name) {
    const auto folder =
        std::filesystem::temp_directory_path() / (std::string(name) + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    return folder;
}

std::vector<tessaly::DataRecord> Records() {
    std::vector<tessaly::DataRecord> records(kRecords);
    for (int i = 0; i < kRecords; ++i)
        records[static_cast<std::size_t>(i)] = {1050101 + i, 10.0f + i, 11.0f + i, 9.0f + i,
                                                10.5f + i,   1000.0f,   0};
    return records;
}

void BM_AddSecuritiesToNewFolder(benchmark::State& state) {
    const auto records = Records();
    NoMessages messages;
    for (auto _ : state) {
        const auto folder = FreshFolder("bench-metastock-");
        tessaly::MetaLib library(messages);
        library.CreateFolder(folder);
        library.OpenFolder(folder);
        for (int i = 0; i < kSecurities; ++i) {
            const std::string symbol = "S" + std::to_string(i);
            library.AddSecurity(symbol, symbol, 'D');
            library.FindSecurity(symbol);
            library.AppendRecords(records);
            std::int32_t first = 0;
            std::int32_t last = 0;
            library.GetFirstRecordDate(first);
            library.GetLastRecordDate(last);
            library.CloseSecurity();
            library.UpdateSecurityDates(symbol, first, last, 'D');
        }
        library.CloseFolder();
        state.PauseTiming();
        std::filesystem::remove_all(folder);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * kSecurities * (kRecords + 1) * 28);
}

void BM_WriteSameBytesSequentially(benchmark::State& state) {
    const std::vector<char> bytes((kRecords + 1) * 28, 'x');
    for (auto _ : state) {
        const auto folder = FreshFolder("bench-sequential-");
        std::filesystem::create_directory(folder);
        for (int i = 0; i < kSecurities; ++i) {
            std::ofstream out(folder / ("F" + std::to_string(i + 1) + ".DAT"), std::ios::binary);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
        std::ofstream master(folder / "MASTER", std::ios::binary);
        master.write(bytes.data(), 53 * 256);
        std::ofstream emaster(folder / "EMASTER", std::ios::binary);
        emaster.write(bytes.data(), 192 * 256);
        master.close();
        emaster.close();
        state.PauseTiming();
        std::filesystem::remove_all(folder);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * kSecurities * (kRecords + 1) * 28);
}

BENCHMARK(BM_AddSecuritiesToNewFolder)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteSameBytesSequentially)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
