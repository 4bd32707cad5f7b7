#include "app/settings/qsettingsprofile.h"
#include "convert/conversionoption.h"
#include "support/runcommand.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

namespace fs = std::filesystem;

using CliRun = test::CommandRun;

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

// tessaly-cli with its own settings under `config`, as a script would run it.
class CliConvertTest : public testing::Test {
protected:
    CliConvertTest() {
        fs::create_directory(data);
        fs::create_directory(out);
    }

    CliRun Run(const std::string& arguments, bool withStandardError = false) const {
        return test::RunCli(TESSALY_CLI, arguments, withStandardError, "XDG_CONFIG_HOME=" + Quoted(config));
    }

    std::string Where() const { return " --folder " + Quoted(data) + " --out " + Quoted(out) + " "; }
    fs::path SettingsFile() const { return config / "Norvane" / "Tessaly.conf"; }

    test::TempFolder folder;
    fs::path config = folder / "config";
    fs::path data = folder / "data";
    fs::path out = folder / "out";
};

constexpr const char* kAaa = "Date,Open,High,Low,Close,Volume,Adj. Close*\r\n"
                             "3-Mar-05,92.50,93.10,91.80,92.41,4821300,92.41\r\n"
                             "4-Mar-05,92.41,94.00,92.00,93.80,5100200,93.80\r\n";

TEST_F(CliConvertTest, OptionShowAndSetWorkOnTheCurrentOption) {
    const CliRun first = Run("option show");
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.out, "Symbol=0\nPeriodicity=0\nDate=0\nOpen=0\nHigh=0\nLow=0\nClose=0\nVolume=0\n"
                         "Interest=0\nHeaders=0\nSeparator=0\nDateFormat=0\nHeadersLine=\nExtension=\n"
                         "Single=0\nFileName=\n");
    EXPECT_FALSE(fs::exists(SettingsFile())); // showing writes nothing

    {
        QSettingsProfile profile(QString::fromStdString(SettingsFile().string()));
        profile.WriteString("CurrentOption", "LastDirectory", "/home/trader/data/");
    }
    EXPECT_EQ(Run("option set Date=1 Close=1 DateFormat=8 Separator=3 'HeadersLine=<DD-MMM-YY>,<CLOSE>' "
                  "Extension=csv 'FileName=all days' Single=1")
                  .status,
              0);
    const CliRun shown = Run("option show");
    EXPECT_EQ(shown.out, "Symbol=1\nPeriodicity=0\nDate=1\nOpen=0\nHigh=0\nLow=0\nClose=1\nVolume=0\n"
                         "Interest=0\nHeaders=0\nSeparator=3\nDateFormat=8\nHeadersLine=<DD-MMM-YY>,<CLOSE>\n"
                         "Extension=csv\nSingle=1\nFileName=all days\n");

    QSettingsProfile profile(QString::fromStdString(SettingsFile().string()));
    EXPECT_EQ(LoadCurrentOption(profile).DateFormat, 8);
    EXPECT_EQ(profile.GetString("CurrentOption", "HeadersLine", ""), "<DD-MMM-YY>,<CLOSE>");
    EXPECT_EQ(profile.GetString("CurrentOption", "LastDirectory", ""), "/home/trader/data/");
}

TEST_F(CliConvertTest, BadUsageExitsWith64AndChangesNothing) {
    for (const std::string& arguments : std::vector<std::string>{
             "option", "option list", "option show Date", "option set", "option set Close",
             "option set Foo=1", "option set close=1", "option set Date=2",
             "option set Date=", "option set Separator=4", "option set DateFormat=9",
             "option set DateFormat=-1", "option set Open=1x", "option set Single=1 Symbol=0",
             "option set Close=1 --force", "convert-ascii AAA", "convert-ascii" + Where(),
             "convert-ascii --colour red" + Where() + "AAA", "convert-ascii --preset" + Where()}) {
        const CliRun run = Run(arguments, true);
        EXPECT_EQ(run.status, 64) << arguments;
        EXPECT_NE(run.out.find("Usage: tessaly-cli"), std::string::npos) << arguments;
    }
    EXPECT_FALSE(fs::exists(SettingsFile()));
}

TEST_F(CliConvertTest, ConvertsWithTheCurrentOptionAndNamesTheSkippedSymbols) {
    test::WriteFile(data / "AAA.csv", kAaa);
    test::WriteFile(data / "BBB.csv", "Date,Open,High,Low,Close,Volume,Adj. Close*\r\n7-Mar-05,1,2,3,4,5,6");
    ASSERT_EQ(
        Run("option set Symbol=1 Date=1 DateFormat=1 Close=1 Volume=1 Separator=3 Extension=prn").status, 0);

    const CliRun all = Run("convert-ascii" + Where() + "AAA BBB", true);
    EXPECT_EQ(all.status, 0);
    EXPECT_EQ(all.out, "");
    EXPECT_EQ(test::ReadFile(out / "AAA.prn"), "AAA\t03/03/2005\t92.41\t4821300\r\n"
                                               "AAA\t04/03/2005\t93.80\t5100200\r\n");
    EXPECT_EQ(test::ReadFile(out / "BBB.prn"), "BBB\t07/03/2005\t4\t5\r\n");

    const CliRun some = Run("convert-ascii" + Where() + "NOPE AAA '' ../x", true);
    EXPECT_EQ(some.status, 1);
    EXPECT_EQ(some.out, "tessaly-cli: NOPE: no data file\n"
                        "tessaly-cli: empty symbol\n"
                        "tessaly-cli: ../x: not a valid symbol\n");

    // Missing folders are failures, not bad usage.
    EXPECT_EQ(
        Run("convert-ascii --folder " + Quoted(folder / "none") + " --out " + Quoted(out) + " AAA").status,
        1);
    EXPECT_EQ(
        Run("convert-ascii --folder " + Quoted(data) + " --out " + Quoted(folder / "none") + " AAA").status,
        1);
}

TEST_F(CliConvertTest, ConvertsWithANamedPreset) {
    test::WriteFile(data / "AAA.csv", kAaa);
    {
        QSettingsProfile profile(QString::fromStdString(SettingsFile().string()));
        ConversionOption closes;
        closes.Open = closes.High = closes.Low = closes.Volume = 0;
        closes.HeadersLine = BuildHeaderLine(closes, closes.DateFormat);
        ASSERT_TRUE(SavePresetOption(profile, "Closes", closes));
        ASSERT_TRUE(profile.Sync());
    }
    const CliRun run = Run("convert-ascii" + Where() + "--preset Closes AAA", true);
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(test::ReadFile(out / "AAA.txt"), "<YYYYMMDD>,<CLOSE>\r\n20050303,92.41\r\n20050304,93.80\r\n");

    const CliRun unknown = Run("convert-ascii" + Where() + "--preset closes AAA", true);
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.out.find("closes"), std::string::npos);
}

TEST_F(CliConvertTest, RefusesToWriteOverTheDataFiles) {
    test::WriteFile(data / "AAA.csv", kAaa);
    ASSERT_EQ(Run("option set Date=1 Close=1 Extension=csv").status, 0);
    const CliRun run =
        Run("convert-ascii --folder " + Quoted(data) + " --out " + Quoted(data) + " AAA", true);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "tessaly-cli: AAA: output would overwrite its data file\n");
    EXPECT_EQ(test::ReadFile(data / "AAA.csv"), kAaa);
}

} // namespace
} // namespace tessaly
