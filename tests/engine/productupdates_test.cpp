#include "engine/productupdates.h"

#include <gtest/gtest.h>

#include <deque>
#include <variant>
#include <vector>

namespace tessaly {
namespace {

struct VersionCase {
    const char* answer; // the first line, or nullptr for an answer without lines
    UpdateAnswer::Kind kind;
    const char* shortVersion;
    const char* shownVersion;
};

class UpdateAnswerTest : public testing::TestWithParam<VersionCase> {};

TEST_P(UpdateAnswerTest, ReadsKindAndVersions) {
    const VersionCase& c = GetParam();
    const UpdateAnswer answer =
        ReadUpdateAnswer(c.answer ? std::optional<std::string>(c.answer) : std::nullopt);
    EXPECT_EQ(answer.kind, c.kind);
    EXPECT_EQ(answer.version.shortVersion, c.shortVersion);
    EXPECT_EQ(answer.version.shownVersion, c.shownVersion);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UpdateAnswerTest,
    testing::Values(VersionCase{"0", UpdateAnswer::Kind::NoUpdates, "", ""},
                    VersionCase{"", UpdateAnswer::Kind::NoUpdates, "", ""},
                    VersionCase{nullptr, UpdateAnswer::Kind::Empty, "", ""},
                    // Six digits: three for the setup name, points after the first and third.
                    VersionCase{"1107700", UpdateAnswer::Kind::Update, "107", "1.07.700"},
                    // Any other length: four for the setup name, points after the second and fourth.
                    VersionCase{"11107700", UpdateAnswer::Kind::Update, "1107", "11.07.700"},
                    VersionCase{"1107600", UpdateAnswer::Kind::Update, "107", "1.07.600"},
                    // Points past the end are appended.
                    VersionCase{"1", UpdateAnswer::Kind::Update, "", ".."},
                    VersionCase{"17", UpdateAnswer::Kind::Update, "7", "7.."},
                    VersionCase{"1123", UpdateAnswer::Kind::Update, "123", "12.3."},
                    VersionCase{"112345", UpdateAnswer::Kind::Update, "1234", "12.34.5"},
                    // A line break of either kind and blanks around the line are no part of it.
                    VersionCase{"1107700\r", UpdateAnswer::Kind::Update, "107", "1.07.700"},
                    VersionCase{" 1107700 \r\n", UpdateAnswer::Kind::Update, "107", "1.07.700"},
                    // Anything but digits after the "1" is no version.
                    VersionCase{"1.07.700", UpdateAnswer::Kind::NoUpdates, "", ""},
                    VersionCase{"1107700 beta", UpdateAnswer::Kind::NoUpdates, "", ""},
                    VersionCase{"<html><body>Not found</body></html>", UpdateAnswer::Kind::NoUpdates, "",
                                ""}));

TEST(ProductUpdateAddresses, AreBuiltOnTheMakerHost) {
    EXPECT_EQ(UpdateRequestUrl("http://example.test/", 107600),
              "http://example.test/updates.asp?version=107600&productid=2");
    EXPECT_EQ(UpdateRequestUrl("http://example.test/tessaly", 107600),
              "http://example.test/tessaly/updates.asp?version=107600&productid=2");
    EXPECT_EQ(ProductPageUrl("http://example.test/"), "http://example.test/tessaly.htm");
    EXPECT_EQ(SetupProgramUrl("http://example.test/", "107"), "http://example.test/tessaly107_setup.exe");
    EXPECT_EQ(SetupProgramUrl("http://example.test/", ""), "http://example.test/tessaly_setup.exe");
    EXPECT_EQ(ShownVersionOf(107600), "1.07.600");
}

// One scripted step per request: an answer's lines or a failure.
using Step = std::variant<std::vector<std::string>, HttpError>;

class ScriptedTransport final : public HttpTransport {
public:
    std::deque<Step> steps;
    std::vector<std::string> urls;
    std::string agent;

    std::unique_ptr<HttpSession> OpenSession(std::string_view userAgent) override {
        agent = userAgent;
        return std::make_unique<Session>(*this);
    }

private:
    class Answer final : public HttpAnswer {
    public:
        explicit Answer(std::vector<std::string> lines)
            : lines_(std::move(lines)) {}
        int Status() const override { return 200; }
        bool ReadLine(std::string& line) override {
            if (next_ >= lines_.size())
                return false;
            line = lines_[next_++];
            return true;
        }

    private:
        std::vector<std::string> lines_;
        std::size_t next_ = 0;
    };

    class Session final : public HttpSession {
    public:
        explicit Session(ScriptedTransport& owner)
            : owner_(owner) {}
        std::unique_ptr<HttpAnswer> OpenUrl(const std::string& url) override {
            owner_.urls.push_back(url);
            if (owner_.steps.empty())
                throw HttpError(HttpErrorKind::Other, "no more answers");
            Step step = owner_.steps.front();
            owner_.steps.pop_front();
            if (auto* error = std::get_if<HttpError>(&step))
                throw *error;
            return std::make_unique<Answer>(std::get<std::vector<std::string>>(step));
        }
        void Close() override {}

    private:
        ScriptedTransport& owner_;
    };
};

class ProductUpdateCheck : public testing::Test {
protected:
    UpdateCheckResult Check(std::string_view host = "http://maker.test/") {
        return CheckForProductUpdates(transport, host, 107600,
                                      [this](std::chrono::milliseconds delay) { waits.push_back(delay); });
    }
    ScriptedTransport transport;
    std::vector<std::chrono::milliseconds> waits;
};

TEST_F(ProductUpdateCheck, SendsTheRunningVersionAndReadsOnlyTheFirstLine) {
    transport.steps.push_back(std::vector<std::string>{"1107700", "0"});
    const UpdateCheckResult result = Check();
    EXPECT_FALSE(result.Failed());
    EXPECT_EQ(result.answer.kind, UpdateAnswer::Kind::Update);
    EXPECT_EQ(result.answer.version.shownVersion, "1.07.700");
    ASSERT_EQ(transport.urls.size(), 1u);
    EXPECT_EQ(transport.urls[0], "http://maker.test/updates.asp?version=107600&productid=2");
    EXPECT_EQ(transport.agent, "MySession");
}

TEST_F(ProductUpdateCheck, RetriesTimeOutsAfterAPause) {
    transport.steps.push_back(HttpError(HttpErrorKind::TimedOut, "The operation timed out"));
    transport.steps.push_back(HttpError(HttpErrorKind::Other, "The request timed out"));
    transport.steps.push_back(std::vector<std::string>{"0"});
    const UpdateCheckResult result = Check();
    EXPECT_FALSE(result.Failed());
    EXPECT_EQ(result.answer.kind, UpdateAnswer::Kind::NoUpdates);
    EXPECT_EQ(result.attempts, 3);
    EXPECT_EQ(waits, std::vector<std::chrono::milliseconds>(2, std::chrono::milliseconds(200)));
}

TEST_F(ProductUpdateCheck, ReportsTheTimeOutWhenTheAttemptsAreUsedUp) {
    for (int i = 0; i < kUpdateCheckAttempts + 1; ++i)
        transport.steps.push_back(HttpError(HttpErrorKind::TimedOut, "The operation timed out"));
    const UpdateCheckResult result = Check();
    EXPECT_TRUE(result.Failed());
    EXPECT_EQ(result.error, "The operation timed out");
    EXPECT_EQ(result.attempts, kUpdateCheckAttempts);
    EXPECT_EQ(transport.urls.size(), static_cast<std::size_t>(kUpdateCheckAttempts));
}

TEST_F(ProductUpdateCheck, OtherErrorsEndTheCheckAtOnceWithTheirTextCut) {
    transport.steps.push_back(HttpError(HttpErrorKind::ConnectionRefused, std::string(300, 'x')));
    const UpdateCheckResult result = Check();
    EXPECT_TRUE(result.Failed());
    EXPECT_EQ(result.error.size(), 255u);
    EXPECT_EQ(result.attempts, 1);
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(result.answer.kind, UpdateAnswer::Kind::Empty);
}

TEST_F(ProductUpdateCheck, SendsNothingWithoutAMakerHost) {
    const UpdateCheckResult result = Check("  ");
    EXPECT_TRUE(result.Failed());
    EXPECT_NE(result.error.find("MakerHost"), std::string::npos);
    EXPECT_TRUE(transport.urls.empty());
}

} // namespace
} // namespace tessaly
