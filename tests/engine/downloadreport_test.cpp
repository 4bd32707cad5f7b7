#include "engine/downloadreport.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

namespace tessaly::test {
namespace {

TEST(DownloadReportTest, RowsComeLastSecurityFirstWithStatusAndIcon) {
    TempFolder folder;
    const auto path = folder.Write("report.txt", "MSFT,250\r\nXYZQ,-1\r\nIBM,0\r\nODD\r\nA,B,1\r\n-,00\r\n");
    EXPECT_EQ(ReadReportRows(path), (std::vector<ReportRow>{{"00", "-", "Success", 1},
                                                            {"B,1", "A", "Success", 1},
                                                            {"ODD", "", "Success", 1},
                                                            {"0", "IBM", "No new data available", 0},
                                                            {"0", "XYZQ", "Invalid symbol", 0},
                                                            {"250", "MSFT", "Success", 1}}));
    EXPECT_TRUE(ReadReportRows(folder / "missing.txt").empty());
}

TEST(DownloadReportTest, WriterReplacesTheOldReportAndFlushesEveryLine) {
    TempFolder folder;
    const auto path = folder.Write("report.txt", "OLD,5\r\n");
    ReportWriter writer;
    ASSERT_TRUE(writer.Create(path));
    EXPECT_EQ(folder.Read("report.txt"), "");
    EXPECT_TRUE(writer.WriteLine("MSFT", 250));
    EXPECT_EQ(folder.Read("report.txt"), "MSFT,250\r\n"); // on disk before the run ends
    EXPECT_TRUE(writer.WriteLine("XYZQ", -1));
    writer.Close();
    EXPECT_EQ(folder.Read("report.txt"), "MSFT,250\r\nXYZQ,-1\r\n");
    EXPECT_FALSE(writer.WriteLine("LATE", 1));

    ReportWriter blocked;
    EXPECT_FALSE(blocked.Create(folder / "report.txt" / "x"));
    EXPECT_FALSE(blocked.Error().empty());
}

} // namespace
} // namespace tessaly::test
