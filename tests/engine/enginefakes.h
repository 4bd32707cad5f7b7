#pragma once

#include "engine/clock.h"
#include "engine/curlsession.h"
#include "engine/downloaddialog.h"
#include "engine/downloader.h"
#include "engine/folders.h"
#include "engine/messagebox.h"
#include "engine/securitieslist.h"
#include "fakequoteserver.h"
#include "support/scriptedmessageboxes.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tessaly::test {

inline constexpr std::string_view kHeader = "Date,Open,High,Low,Close,Volume,Adj. Close*";

// A query date number: the month counted from 0.
constexpr int Query(int year, int month, int day) {
    return year * 10000 + (month - 1) * 100 + day;
}

// A data file's content: the header followed by the block of records.
inline std::string File(std::string_view records) {
    return std::string(kHeader) + std::string(records);
}

struct RecordingList final : SecuritiesList {
    std::vector<std::string> calls;
    void RemoveSecurityRows(std::string_view symbol) override {
        calls.push_back("remove " + std::string(symbol));
    }
    void AddSecurityRow(std::string_view fileName, const std::filesystem::path&) override {
        calls.push_back("add " + std::string(fileName));
    }
};

struct FakeDialog final : DownloadDialog {
    bool overwrite = false;
    std::vector<std::string> symbols;
    std::vector<int> positions;
    std::vector<std::string> elapsed;
    std::vector<std::string> remaining;
    int lower = -1;
    int upper = -1;
    int pauses = 0;
    int waitCursors = 0;
    int restores = 0;
    std::function<void(FakeDialog&)> onSymbol;
    std::function<void(FakeDialog&)> onPause;

    bool OverwriteAllRecords() const override { return overwrite; }
    void SetCurrentSymbol(std::string_view symbol) override {
        symbols.emplace_back(symbol);
        if (onSymbol)
            onSymbol(*this);
    }
    void SetElapsedTime(std::string_view text) override { elapsed.emplace_back(text); }
    void SetRemainingTime(std::string_view text) override { remaining.emplace_back(text); }
    void SetProgressRange(int from, int to) override {
        lower = from;
        upper = to;
    }
    void SetProgressPosition(int position) override { positions.push_back(position); }
    void PauseBetweenSecurities() override {
        ++pauses;
        if (onPause)
            onPause(*this);
    }
    void ShowWaitCursor() override { ++waitCursors; }
    void RestoreCursor() override { ++restores; }
};

// A day's setting: the fake server on a free port, a data folder and a program folder, a clock at
// `today`, and an engine over the real libcurl transport with short time-outs and recorded pauses.
class EngineTest : public ::testing::Test {
protected:
    explicit EngineTest(std::chrono::year_month_day today = std::chrono::year{2007} / 1 / 8)
        : clock_(std::make_shared<FixedClock>(today, 1000))
        , scopedClock_(clock_) {}

    void SetUp() override {
        ASSERT_TRUE(server_.Start());
        server_.SetTimeOutDelay(std::chrono::milliseconds(2500));
        MakeEngine(Endpoints{server_.BaseUrl(), server_.BaseUrl(), server_.BaseUrl(), ""});
    }

    void MakeEngine(Endpoints endpoints) {
        engine_ = std::make_unique<CDownloader>(transport_, folders_, messages_, std::move(endpoints));
        engine_->SetSecuritiesList(&list_);
        engine_->SetDialog(&dialog_);
        engine_->SetRetryPause([this](std::chrono::milliseconds pause) { pauses_.push_back(pause.count()); });
    }

    std::string ReadData(std::string_view name) const { return data_.Read(name); }
    void WriteData(std::string_view name, std::string_view records) const {
        data_.Write(name, std::string(kHeader) + std::string(records));
    }
    std::string ReportText() const { return ReadFile(program_ / "report.txt"); }

    std::shared_ptr<FixedClock> clock_;
    ScopedClock scopedClock_;
    FakeQuoteServer server_;
    TempFolder data_;
    TempFolder program_;
    FixedFolders folders_{data_.Path(), program_.Path()};
    CurlTransport transport_{CurlLimits{std::chrono::milliseconds(2000), std::chrono::seconds(5),
                                        std::chrono::milliseconds(1000)}};
    test::ScriptedMessageBoxes messages_;
    RecordingList list_;
    FakeDialog dialog_;
    std::vector<long long> pauses_;
    std::unique_ptr<CDownloader> engine_;
};

} // namespace tessaly::test
