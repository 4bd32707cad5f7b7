// The ASCII conversion of 1,000 securities of 5,000 daily records each (about 250 MB), against `cat`
// of the same files to /dev/null (from the page cache) and a read of them from the disk itself.
#include "convert/asciiconverter.h"
#include "engine/datenumber.h"
#include "engine/filefunctions.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kSecurities = 1000;
constexpr int kRecords = 5000;

struct Library {
    fs::path root;
    fs::path input;
    fs::path output;
    std::vector<std::string> symbols;
    std::uintmax_t bytes = 0;
};

Library& TheLibrary() {
    static Library library;
    return library;
}

// Weekdays from 2 January 2007 on, each with its own prices, the layout the quote download writes.
std::string SecurityContent() {
    std::string content(tessaly::kSecurityFileHeader);
    tessaly::DateNumber date = 20070102;
    char line[128];
    for (int i = 0; i < kRecords; ++i) {
        while (tessaly::IsWeekend(date))
            date = tessaly::NextDay(date);
        const double close = 50.0 + (i % 997) * 0.13;
        std::snprintf(line, sizeof line, "\r\n%s,%.2f,%.2f,%.2f,%.2f,%d,%.2f",
                      tessaly::DateNumberToStored(date).c_str(), close - 0.4, close + 0.9, close - 1.1, close,
                      1000000 + i * 37, close);
        content += line;
        date = tessaly::NextDay(date);
    }
    return content;
}

void MakeLibrary() {
    Library& library = TheLibrary();
    std::string pattern = (fs::temp_directory_path() / "tessaly-bench-ascii-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        std::abort();
    library.root = pattern;
    library.input = library.root / "data";
    library.output = library.root / "out";
    fs::create_directory(library.input);
    fs::create_directory(library.output);
    const std::string content = SecurityContent();
    for (int i = 0; i < kSecurities; ++i) {
        char symbol[16];
        std::snprintf(symbol, sizeof symbol, "S%04d", i);
        library.symbols.emplace_back(symbol);
        std::ofstream(library.input / (library.symbols.back() + ".csv"), std::ios::binary) << content;
        library.bytes += content.size();
    }
}

void SetRate(benchmark::State& state) {
    const double megabytes = static_cast<double>(TheLibrary().bytes) / 1e6;
    state.counters["MB/s"] =
        benchmark::Counter(megabytes * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void ConvertToAscii(benchmark::State& state) {
    const Library& library = TheLibrary();
    const tessaly::ConversionOption option; // the defaults: date, open, high, low, close, volume
    for (auto _ : state) {
        const tessaly::SkippedSymbols skipped =
            tessaly::ConvertSymbols(library.symbols, library.input, library.output, option);
        if (!skipped.empty())
            state.SkipWithError("a security was skipped");
    }
    SetRate(state);
}
BENCHMARK(ConvertToAscii)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

// All securities into one file with the symbol column: the streaming itself, without the cost of
// creating and syncing 1,000 files.
void ConvertToOneFile(benchmark::State& state) {
    const Library& library = TheLibrary();
    tessaly::ConversionOption option;
    option.Single = 1;
    option.Symbol = 1;
    for (auto _ : state) {
        if (!tessaly::ConvertSymbols(library.symbols, library.input, library.output, option).empty())
            state.SkipWithError("a security was skipped");
    }
    SetRate(state);
}
BENCHMARK(ConvertToOneFile)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void CatToDevNull(benchmark::State& state) {
    const std::string command = "cat '" + TheLibrary().input.string() + "'/*.csv > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("cat failed");
    }
    SetRate(state);
}
BENCHMARK(CatToDevNull)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The same files read past the page cache (O_DIRECT), in 1 MiB blocks: the speed of the disk itself.
void ReadFromDisk(benchmark::State& state) {
    constexpr std::size_t kBlock = 1 << 20;
    void* memory = nullptr;
    if (posix_memalign(&memory, 4096, kBlock) != 0)
        std::abort();
    char* block = static_cast<char*>(memory);
    const Library& library = TheLibrary();
    for (auto _ : state) {
        for (const std::string& symbol : library.symbols) {
            const int fd = ::open((library.input / (symbol + ".csv")).c_str(), O_RDONLY | O_DIRECT);
            if (fd < 0) {
                state.SkipWithError("the file system does not read past the page cache");
                break;
            }
            while (::read(fd, block, kBlock) > 0) {
            }
            ::close(fd);
        }
    }
    std::free(memory);
    SetRate(state);
}
BENCHMARK(ReadFromDisk)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    MakeLibrary();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code error;
    fs::remove_all(TheLibrary().root, error);
    return 0;
}
