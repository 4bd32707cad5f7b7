// The rows of a folder of 5,000 securities of 20 years of daily data each, as the securities list
// computes them when the folder is opened. The files are hard links to one generated history, so
// the figure is for a warm file cache.
#include "engine/datenumber.h"
#include "engine/filefunctions.h"
#include "engine/securityrow.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kSecurities = 5000;

std::filesystem::path MakeFolder() {
    const auto folder = std::filesystem::temp_directory_path() / "tessaly-bench-listing";
    if (std::filesystem::exists(folder / ("S" + std::to_string(kSecurities - 1) + ".csv")))
        return folder;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto first = folder / "S0.csv";
    {
        std::ofstream out(first);
        out << tessaly::kSecurityFileHeader << '\n';
        tessaly::DateNumber date = 20050103;
        for (int day = 0; day < 20 * 365; ++day, date = tessaly::AddDays(date, 1)) {
            if (tessaly::IsWeekend(date))
                continue;
            out << tessaly::DateNumberToStored(date) << ",10.25,10.75,10.00,10.50,123456,10.50\n";
        }
    }
    for (int i = 1; i < kSecurities; ++i)
        std::filesystem::create_hard_link(first, folder / ("S" + std::to_string(i) + ".csv"));
    return folder;
}

void ListFolderRows(benchmark::State& state) {
    const auto folder = MakeFolder();
    for (auto _ : state) {
        int rows = 0;
        for (const std::string& name : tessaly::ListSecurityFileNames(folder))
            rows += tessaly::ReadSecurityRow(folder / name).has_value() ? 1 : 0;
        benchmark::DoNotOptimize(rows);
    }
    state.SetItemsProcessed(state.iterations() * kSecurities);
}
BENCHMARK(ListFolderRows)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
