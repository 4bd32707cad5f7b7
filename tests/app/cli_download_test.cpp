#include "fakequoteserver.h"
#include "support/runcommand.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

namespace tessaly::test {
namespace {

constexpr std::string_view kHeader = "Date,Open,High,Low,Close,Volume,Adj. Close*";

using CliRun = CommandRun;

// tessaly-cli download and report against the fake server, with settings and program folder in
// temporary folders.
class CliDownloadTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server_.Start()); }

    CliRun Run(const std::string& arguments, bool withStandardError = false) const {
        return RunCli(TESSALY_CLI, arguments, withStandardError,
                      "XDG_DATA_HOME='" + home_.Path().string() + "/data' XDG_CONFIG_HOME='" +
                          home_.Path().string() + "/config'");
    }

    std::string Download(const std::string& rest) const {
        const std::string base = server_.BaseUrl();
        return "download --folder '" + folder_.Path().string() + "' --historical-host " + base +
               " --quote-host " + base + " --currency-host " + base + " " + rest;
    }

    FakeQuoteServer server_;
    TempFolder folder_;
    TempFolder home_;
};

TEST_F(CliDownloadTest, DownloadUpdatesTheFolderAndPrintsTheReport) {
    server_.SetHistory("MSFT", {"2007-01-02,29.91,30.25,29.53,29.86,76935100,29.86",
                                "2007-01-03,29.86,29.97,29.44,29.81,45774500,29.81"});
    server_.SetHistory("IBM", {"2007-01-03,97.18,98.79,96.88,97.27,9196800,48.635"});
    folder_.Write("IBM.csv", std::string(kHeader) + "\r\n2-Jan-07,1,1,1,1,1,1\r\n3-Jan-07,1,1,1,1,1,1");
    const CliRun run = Run(Download("--from 2007-01-03 --to 2007-01-03 MSFT XYZQ IBM"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "0\tIBM\tNo new data available\n0\tXYZQ\tInvalid symbol\n1\tMSFT\tSuccess\n");
    EXPECT_EQ(folder_.Read("MSFT.csv"),
              std::string(kHeader) + "\r\n3-Jan-07,29.86,29.97,29.44,29.81,45774500,29.81");
    EXPECT_EQ(ReadFile(home_.Path() / "data/Norvane/Tessaly/report.txt"), "MSFT,1\r\nXYZQ,-1\r\nIBM,0\r\n");

    const std::string settings = ReadFile(home_.Path() / "config/Norvane/Tessaly.conf");
    EXPECT_NE(settings.find("[Endpoints]"), std::string::npos);
    EXPECT_NE(settings.find("HistoricalHost=yahoo-chart+https://query1.finance.yahoo.com/"),
              std::string::npos);
    EXPECT_NE(settings.find("CurrencyHost="), std::string::npos);

    const CliRun report = Run("report");
    EXPECT_EQ(report.status, 0);
    EXPECT_EQ(report.out, run.out);

    // The weekly file is rewritten in full with --overwrite, and rescaled.
    const CliRun again = Run(Download("--from 2007-01-03 --to 2007-01-03 --period weekly --overwrite IBM"));
    EXPECT_EQ(again.out, "1\tIBM\tSuccess\n");
    EXPECT_EQ(folder_.Read("IBM.csv"),
              std::string(kHeader) + "\r\n3-Jan-07,48.590,49.395,48.440,48.635,9196800,48.635");
}

TEST_F(CliDownloadTest, FatalTransportErrorExitsWithTwo) {
    server_.SetTrouble(FakeQuoteServer::Request::Historical, "MSFT",
                       {FakeQuoteServer::Trouble::Kind::Status, 403, ""});
    const CliRun run = Run(Download("--from 2007-01-03 --to 2007-01-05 MSFT IBM"), true);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.out.find("The server answered with HTTP status 403."), std::string::npos);
    EXPECT_NE(run.out.find("0\tMSFT\tNo new data available\n"), std::string::npos);
    EXPECT_EQ(run.out.find("IBM"), std::string::npos);
}

TEST_F(CliDownloadTest, BadUsageExitsWith64) {
    for (const char* rest :
         {"", "--period hourly MSFT", "--from 2007-02-30 MSFT", "--to 07-01-05 MSFT", "--colour MSFT"}) {
        const CliRun run = Run(Download(rest), true);
        EXPECT_EQ(run.status, 64) << rest;
        EXPECT_NE(run.out.find("Usage: tessaly-cli"), std::string::npos) << rest;
    }
    EXPECT_EQ(Run("report extra").status, 64);
    EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(CliDownloadTest, ConfigGetsAndSetsTheEndpoints) {
    EXPECT_EQ(Run("config get Endpoints/HistoricalHost").out,
              "yahoo-chart+https://query1.finance.yahoo.com/\n");
    EXPECT_EQ(Run("config get Endpoints/MakerHost").out, "\n");
    EXPECT_EQ(Run("config get Endpoints/MinRequestIntervalMs").out, "500\n");
    const std::string settings = ReadFile(home_.Path() / "config/Norvane/Tessaly.conf");
    EXPECT_NE(settings.find("CurrencyHost=yahoo-chart+https://query1.finance.yahoo.com/"), std::string::npos);

    // The chart source on the fake server, set as a user would, and a download through it.
    const std::string base = "yahoo-chart+" + server_.BaseUrl();
    for (const char* name : {"HistoricalHost", "QuoteHost", "CurrencyHost"})
        EXPECT_EQ(Run("config set Endpoints/" + std::string(name) + " " + base).status, 0);
    EXPECT_EQ(Run("config set Endpoints/MinRequestIntervalMs 0").status, 0);
    EXPECT_EQ(Run("config get Endpoints/QuoteHost").out, base + "\n");
    EXPECT_EQ(Run("config get Endpoints/MinRequestIntervalMs").out, "0\n");
    server_.SetChart("GOOG", ReadFile(std::filesystem::path(TESSALY_CHART_FIXTURES) / "GOOG.json"));
    const CliRun run =
        Run("download --folder '" + folder_.Path().string() + "' --from 2024-01-04 --to 2024-01-05 GOOG");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "2\tGOOG\tSuccess\n");
    EXPECT_EQ(folder_.Read("GOOG.csv"), std::string(kHeader) +
                                            "\r\n4-Jan-24,139.40,139.72,136.80,137.39,25024800,137.39"
                                            "\r\n5-Jan-24,137.38,138.13,135.72,136.99,23034400,136.99");
    EXPECT_EQ(server_.LastUserAgent().substr(0, 11), "Mozilla/5.0");

    for (const char* bad :
         {"config", "config get", "config frob Endpoints/QuoteHost", "config get Settings/QuoteHost",
          "config get Endpoints/Nothing", "config set Endpoints/QuoteHost",
          "config set Endpoints/MinRequestIntervalMs abc", "config set Endpoints/MinRequestIntervalMs -1",
          "config get Endpoints/QuoteHost extra"})
        EXPECT_EQ(Run(bad).status, 64) << bad;
    EXPECT_EQ(Run("config get Endpoints/QuoteHost").out, base + "\n");
}

} // namespace
} // namespace tessaly::test
