#include "app/symboldatabaseupdate.h"
#include "browser/symboldatabase.h"
#include "engine/curlsession.h"
#include "fakemakerserver.h"
#include "support/scriptedmessageboxes.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

using namespace tessaly;
using tessaly::test::FakeMakerServer;
using tessaly::test::SymbolDatabaseText;
using tessaly::test::TempFolder;

namespace {

// Keeps the range and the position and cancels after a given number of steps.
class RecordingProgress final : public Progress {
public:
    void SetRange(int lower, int upper, int step) override {
        this->lower = lower;
        this->upper = upper;
        this->step = step;
        ++ranges;
    }
    int SetStep(int newStep) override { return std::exchange(step, newStep); }
    void StepIt() override {
        position += step;
        ++steps;
    }
    void PumpMessages(bool) override {
        if (cancelAfter >= 0 && steps >= cancelAfter)
            cancelled = true;
    }
    bool IsCancelled() const override { return cancelled; }

    int lower = -1, upper = -1, step = 0, ranges = 0, steps = 0, position = 0;
    int cancelAfter = -1;
    bool cancelled = false;
};

int LineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

constexpr std::string_view kOldCopy = "[Old]\nLines=1\nkept line\n";

class SymbolDatabaseUpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Start());
        endpoints.makerHost = server.BaseUrl();
        folder.Write("SymbolDatabase.dta", kOldCopy);
    }

    SymbolDatabaseUpdateResult Run() {
        return UpdateSymbolDatabase(transport, endpoints, folder.Path(), progress, messages);
    }
    std::string Stored() const { return folder.Read("SymbolDatabase.dta"); }

    FakeMakerServer server;
    CurlTransport transport{CurlLimits{std::chrono::milliseconds(2000), std::chrono::seconds(5),
                                       std::chrono::milliseconds(0), kMaxSymbolDatabaseBytes}};
    Endpoints endpoints;
    TempFolder folder;
    RecordingProgress progress;
    test::ScriptedMessageBoxes messages;
};

} // namespace

TEST_F(SymbolDatabaseUpdateTest, CopiesEveryLineAndSetsTheRangeFromTheCount) {
    struct Case {
        int lines;
        int upper;
    };
    for (const Case& c : {Case{0, 0}, Case{120, 120}}) {
        SCOPED_TRACE(c.lines);
        progress = RecordingProgress();
        messages.shown.clear();
        server.SetSymbolDatabase(SymbolDatabaseText(c.lines));
        EXPECT_EQ(Run(), SymbolDatabaseUpdateResult::Updated);
        EXPECT_EQ(Stored(), SymbolDatabaseText(c.lines));
        EXPECT_EQ(LineCount(Stored()), c.lines + 2);
        EXPECT_EQ(progress.ranges, 1);
        EXPECT_EQ(progress.lower, 0);
        EXPECT_EQ(progress.upper, c.upper);
        EXPECT_EQ(progress.step, 1);
        EXPECT_EQ(progress.position, c.upper); // the bar reaches its end with the last line
        EXPECT_TRUE(messages.shown.empty());
    }
    EXPECT_EQ(server.Requests().back(), "/forum/symboldatabase.txt");
    EXPECT_EQ(server.LastUserAgent(), "MySession");
}

TEST_F(SymbolDatabaseUpdateTest, TextWithoutCountIsCopiedWholeWithAnEmptyRange) {
    const std::string text = "first\nno count here\na\nb\r\nc";
    server.SetSymbolDatabase(text);
    EXPECT_EQ(Run(), SymbolDatabaseUpdateResult::Updated);
    EXPECT_EQ(Stored(), "first\nno count here\na\nb\nc\n");
    EXPECT_EQ(progress.upper, 0);
    EXPECT_EQ(progress.steps, 3);
}

TEST_F(SymbolDatabaseUpdateTest, CancelKeepsThePreviousCopy) {
    server.SetSymbolDatabase(SymbolDatabaseText(120));
    progress.cancelAfter = 10;
    EXPECT_EQ(Run(), SymbolDatabaseUpdateResult::Cancelled);
    EXPECT_EQ(progress.steps, 10);
    EXPECT_EQ(Stored(), kOldCopy);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Update is cancelled");
    EXPECT_EQ(messages.shown[0].caption, "");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST_F(SymbolDatabaseUpdateTest, FailuresKeepThePreviousCopyAndSayWhy) {
    struct Case {
        const char* name;
        std::string body;
        int status;
        std::string words;
    };
    const std::string shortText = SymbolDatabaseText(120).substr(0, SymbolDatabaseText(40).size());
    const std::vector<Case> cases = {
        {"fewer lines than the count", shortText, 200, "incomplete (40 of 120 lines)"},
        {"an error page", "<html>gone</html>\n", 404, "HTTP status 404"},
        {"a server error", SymbolDatabaseText(3), 500, "HTTP status 500"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        server.SetSymbolDatabase(c.body, c.status);
        EXPECT_EQ(Run(), SymbolDatabaseUpdateResult::Failed);
        EXPECT_EQ(Stored(), kOldCopy);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_NE(messages.shown[0].text.find(c.words), std::string::npos) << messages.shown[0].text;
        EXPECT_EQ(messages.shown[0].caption, "Tessaly Error Message");
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "SymbolDatabaseEx2.dta"));
}

TEST_F(SymbolDatabaseUpdateTest, UnreachableOrMissingServerLeavesTheFileUntouched) {
    const std::string address = server.BaseUrl();
    server.Stop();
    std::vector<test::ScriptedMessageBoxes::Shown> shown;
    for (const std::string& host : {address, std::string()}) {
        SCOPED_TRACE(host);
        messages.shown.clear();
        endpoints.makerHost = host;
        EXPECT_EQ(Run(), SymbolDatabaseUpdateResult::Failed);
        EXPECT_EQ(Stored(), kOldCopy);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].caption, "Tessaly Error Message");
        EXPECT_FALSE(messages.shown[0].text.empty());
        EXPECT_LE(messages.shown[0].text.size(), 255u);
        shown.push_back(messages.shown[0]);
    }
    EXPECT_EQ(shown[0].text.find("No update server"), std::string::npos);
    EXPECT_EQ(shown[1].text, MissingMakerHostText(endpoints));
    EXPECT_EQ(progress.ranges, 0);
}

TEST_F(SymbolDatabaseUpdateTest, ListLayoutBecomesThePerUserListCopy) {
    const std::string lists = "[Directory]\nLines=3\nMarketsNumber=1\nMarket1=NYSE\nSectorsNumber=0\n";
    server.SetSymbolDatabase(lists);
    EXPECT_EQ(Run(), SymbolDatabaseUpdateResult::Updated);
    EXPECT_EQ(folder.Read("SymbolDatabaseEx2.dta"), lists);
    const SymbolDatabase database = SymbolDatabase::LoadFirstUsable(
        {folder / "SymbolDatabaseEx2.dta", folder / "missing" / "SymbolDatabaseEx2.dta"});
    EXPECT_EQ(database.Groups(0), std::vector<std::string>{"NYSE"});

    // A text in another layout replaces only the downloaded copy.
    server.SetSymbolDatabase(SymbolDatabaseText(2));
    EXPECT_EQ(Run(), SymbolDatabaseUpdateResult::Updated);
    EXPECT_EQ(folder.Read("SymbolDatabaseEx2.dta"), lists);
    EXPECT_EQ(Stored(), SymbolDatabaseText(2));
}

TEST(CurlLimitsTest, AnswerBeyondTheBodyLimitIsRefused) {
    FakeMakerServer server;
    ASSERT_TRUE(server.Start());
    server.SetSymbolDatabase(std::string(5000, 'x'));
    CurlLimits limits;
    limits.maxBodyBytes = 1000;
    CurlTransport transport(limits);
    auto session = transport.OpenSession("test");
    EXPECT_THROW(session->OpenUrl(server.BaseUrl() + "forum/symboldatabase.txt"), HttpError);
    limits.maxBodyBytes = 5000;
    CurlTransport enough(limits);
    auto answer = enough.OpenSession("test")->OpenUrl(server.BaseUrl() + "forum/symboldatabase.txt");
    std::string line;
    ASSERT_TRUE(answer->ReadLine(line));
    EXPECT_EQ(line.size(), 5000u);
}
