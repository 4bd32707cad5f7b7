// The tail reading of a security data file against reading the whole file, on 20 years of daily
// records (about 5,000 lines).
#include "engine/filefunctions.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

std::filesystem::path MakeFile() {
    const auto path = std::filesystem::temp_directory_path() / "tessaly-bench-5000.csv";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << tessaly::kSecurityFileHeader;
    for (int i = 0; i < 5000; ++i)
        out << "\r\n"
            << (i % 28 + 1) << "-Mar-" << (i / 250 % 100 < 10 ? "0" : "") << (i / 250 % 100)
            << ",101.25,102.50,100.75,101.90,12345678,101.90";
    return path;
}

const std::filesystem::path& File() {
    static const std::filesystem::path path = MakeFile();
    return path;
}

void LastDateAndTrendFromTheTail(benchmark::State& state) {
    tessaly::TextFile file(File());
    for (auto _ : state) {
        benchmark::DoNotOptimize(tessaly::GetLastDate(file));
        benchmark::DoNotOptimize(tessaly::GetTrend(file));
    }
}
BENCHMARK(LastDateAndTrendFromTheTail);

void WholeFileRead(benchmark::State& state) {
    tessaly::TextFile file(File());
    std::string line;
    for (auto _ : state) {
        file.Rewind();
        std::string last;
        while (file.ReadLine(line))
            last.swap(line);
        benchmark::DoNotOptimize(last);
    }
}
BENCHMARK(WholeFileRead);

void SecurityRowOfOneFile(benchmark::State& state) {
    tessaly::TextFile file(File());
    for (auto _ : state) {
        benchmark::DoNotOptimize(tessaly::GetPeriodicity(file));
        benchmark::DoNotOptimize(tessaly::GetFirstDate(file));
        benchmark::DoNotOptimize(tessaly::GetLastDate(file));
        benchmark::DoNotOptimize(tessaly::GetTrend(file));
    }
}
BENCHMARK(SecurityRowOfOneFile);

} // namespace

BENCHMARK_MAIN();
