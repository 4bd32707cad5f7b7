// The download engine's own cost for one security of 10,000 daily records (parse, rescale, order,
// write), apart from the transfer: the same answer is fetched from the local fake quote server over
// libcurl (transfer alone), then replayed from memory into DownloadHistory (engine alone), and the two
// are also measured together.
#include "engine/curlsession.h"
#include "engine/downloader.h"
#include "engine/folders.h"
#include "engine/messagebox.h"
#include "fakequoteserver.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

namespace {

using namespace tessaly;

constexpr int kRecords = 10000;

struct NoMessages final : MessageBoxes {
    MessageAnswer Show(std::string_view, std::string_view, MessageButtons, MessageIcon) override {
        return MessageAnswer::Ok;
    }
};

// A transport that answers every request with the same lines, kept in memory.
class ReplayTransport final : public HttpTransport {
public:
    explicit ReplayTransport(std::vector<std::string> lines)
        : lines_(std::move(lines)) {}

    std::unique_ptr<HttpSession> OpenSession(std::string_view) override {
        struct Answer final : HttpAnswer {
            const std::vector<std::string>& lines;
            std::size_t next = 0;
            explicit Answer(const std::vector<std::string>& l)
                : lines(l) {}
            int Status() const override { return 200; }
            bool ReadLine(std::string& line) override {
                if (next >= lines.size())
                    return false;
                line = lines[next++];
                return true;
            }
        };
        struct Session final : HttpSession {
            const std::vector<std::string>& lines;
            explicit Session(const std::vector<std::string>& l)
                : lines(l) {}
            std::unique_ptr<HttpAnswer> OpenUrl(const std::string&) override {
                return std::make_unique<Answer>(lines);
            }
            void Close() override {}
        };
        return std::make_unique<Session>(lines_);
    }

private:
    std::vector<std::string> lines_;
};

// The fake server with 10,000 records (every one of them to be rescaled) and a scratch folder.
struct Setting {
    test::FakeQuoteServer server;
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "tessaly-bench-download";
    std::string url;
    int start = 0;
    int end = 0;

    Setting() {
        std::filesystem::create_directories(folder);
        auto records = test::SyntheticHistory(19870101, 20261231, 30.0, 7, 0.5);
        records.resize(std::min<std::size_t>(records.size(), kRecords));
        const std::string first = records.front().substr(0, 10);
        const std::string last = records.back().substr(0, 10);
        const auto dateOf = [](const std::string& iso) {
            return std::stoi(iso.substr(0, 4)) * 10000 + std::stoi(iso.substr(5, 2)) * 100 +
                   std::stoi(iso.substr(8, 2));
        };
        start = dateOf(first) - 100;
        end = dateOf(last) - 100;
        server.SetHistory("BENCH", std::move(records), 'w');
        server.Start();
        url = server.BaseUrl();
    }
    ~Setting() {
        server.Stop();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

Setting& TheSetting() {
    static Setting setting;
    return setting;
}

std::vector<std::string> FetchLines(HttpTransport& transport, const std::string& url) {
    auto session = transport.OpenSession("MySession");
    auto answer = session->OpenUrl(url);
    std::vector<std::string> lines;
    std::string line;
    while (answer->ReadLine(line))
        lines.push_back(line);
    return lines;
}

void Transfer(benchmark::State& state) {
    Setting& setting = TheSetting();
    CurlTransport transport;
    const std::string url =
        setting.url + "table.csv?s=BENCH&a=00&b=01&c=1900&d=11&e=31&f=2099&g=w&ignore=.csv";
    std::size_t lines = 0;
    for (auto _ : state)
        lines = FetchLines(transport, url).size();
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(Transfer)->Unit(benchmark::kMillisecond);

void EngineAlone(benchmark::State& state) {
    Setting& setting = TheSetting();
    CurlTransport curl;
    ReplayTransport replay(FetchLines(
        curl, setting.url + "table.csv?s=BENCH&a=00&b=01&c=1900&d=11&e=31&f=2099&g=w&ignore=.csv"));
    FixedFolders folders(setting.folder, setting.folder);
    NoMessages messages;
    CDownloader engine(replay, folders, messages, Endpoints{"http://replay/", "http://replay/", "", ""});
    int written = 0;
    for (auto _ : state)
        written = engine.DownloadHistory("BENCH", setting.start, setting.end, 1, 2);
    state.counters["records"] = written;
}
BENCHMARK(EngineAlone)->Unit(benchmark::kMillisecond);

void EngineWithTransfer(benchmark::State& state) {
    Setting& setting = TheSetting();
    CurlTransport transport;
    FixedFolders folders(setting.folder, setting.folder);
    NoMessages messages;
    CDownloader engine(transport, folders, messages, Endpoints{setting.url, setting.url, "", ""});
    int written = 0;
    for (auto _ : state)
        written = engine.DownloadHistory("BENCH", setting.start, setting.end, 1, 2);
    state.counters["records"] = written;
}
BENCHMARK(EngineWithTransfer)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
