#include "support/runcommand.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tessaly {
namespace {

using test::CommandRun;

CommandRun RunCli(const std::string& arguments, bool withStandardError = false) {
    return test::RunCli(TESSALY_CLI, arguments, withStandardError);
}

TEST(CliTest, VersionAndHelp) {
    EXPECT_EQ(RunCli("--version").out, "Tessaly 1.07.600\n");
    const CommandRun help = RunCli("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("list [--folder DIR]"), std::string::npos);
}

// The version line warns when the shipped files are neither in ../share/tessaly nor beside the
// program, and is quiet when they are in either place; the current directory plays no part.
TEST(CliTest, VersionFindsTheShippedFilesFromWhereTheProgramIs) {
    struct Layout {
        const char* program;
        const char* database;
        bool found;
    };
    for (const Layout& layout :
         {Layout{"bin/tessaly-cli", "share/tessaly/SymbolDatabaseEx2.dta", true},
          Layout{"tessaly-cli", "SymbolDatabaseEx2.dta", true},
          Layout{"bin/tessaly-cli", "bin/SymbolDatabase.dta", false},
          Layout{"bin/tessaly-cli", "share/tessaly/help/SymbolDatabaseEx2.dta", false}}) {
        test::TempFolder tree;
        const std::filesystem::path program = tree.Path() / layout.program;
        const std::filesystem::path database = tree.Path() / layout.database;
        std::filesystem::create_directories(program.parent_path());
        std::filesystem::create_directories(database.parent_path());
        std::filesystem::copy_file(TESSALY_CLI, program);
        test::WriteFile(database, "x");
        const CommandRun run = test::RunCommand("cd / && '" + program.string() + "' --version 2>&1");
        EXPECT_EQ(run.status, 0) << layout.program << " " << layout.database;
        if (layout.found)
            EXPECT_EQ(run.out, "Tessaly 1.07.600\n") << layout.database;
        else
            EXPECT_NE(run.out.find("the shipped files are missing: no SymbolDatabaseEx2.dta in"),
                      std::string::npos)
                << run.out;
    }
}

TEST(CliTest, BadUsageExitsWith64AndShowsUsage) {
    for (const char* arguments :
         {"", "frobnicate", "list --colour red", "show", "show A B", "list --folder"}) {
        const CommandRun run = RunCli(arguments, true);
        EXPECT_EQ(run.status, 64) << arguments;
        EXPECT_NE(run.out.find("Usage: tessaly-cli"), std::string::npos) << arguments;
    }
}

TEST(CliTest, ListPrintsOneLinePerDataFile) {
    test::TempFolder folder;
    folder.Write(
        "ibm.csv",
        "Date,Open,High,Low,Close,Volume,Adj. Close*\r\n3-Jan-05,1,1,1,2,5,2\r\n4-Jan-05,2,2,2,1,5,1");
    folder.Write("notes.txt", "x");
    folder.Write("OLD.CSV", "x");
    const CommandRun run = RunCli("list --folder '" + folder.Path().string() + "'");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "IBM\tDaily\t3-Jan-05\t4-Jan-05\t+-===\t2\n");
}

TEST(CliTest, ShowPrintsTheRecordsAndFailsForAMissingFile) {
    test::TempFolder folder;
    folder.Write("ibm.csv",
                 "Date,Open,High,Low,Close,Volume,Adj. Close*\r\n3-Jan-05,1,1.5,0.5,2,5,2\r\n\r\n4-Jan-05,2");
    const std::string where = " --folder '" + folder.Path().string() + "'";
    const CommandRun run = RunCli("show IBM" + where);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "3-Jan-05\t1\t1.5\t0.5\t2\t5\n4-Jan-05\t2\t\t\t\t\n");
    const CommandRun missing = RunCli("show DELL" + where, true);
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("DELL"), std::string::npos);
}

TEST(CliTest, ConvertMetaStockThenListAndDump) {
    test::TempFolder folder;
    folder.Write("IBM.csv",
                 "Date,Open,High,Low,Close,Volume,Adj. Close*\r\n28-Feb-05,20,22,18,20,4821300,10");
    const std::string data = "'" + folder.Path().string() + "'";
    const std::string out = "'" + (folder / "ms").string() + "'";
    EXPECT_EQ(RunCli("convert-metastock --folder " + data + " --out " + out + " IBM NONE").status, 1);
    EXPECT_EQ(RunCli("convert-metastock --folder " + data + " --out " + out + " IBM").status, 0);
    EXPECT_EQ(RunCli("convert-metastock --folder " + data + " IBM").status, 64);
    const CommandRun list = RunCli("metastock list " + out);
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "F1.DAT\tIBM\tIBM\tD\t20050228\t20050228\t1\n");
    const CommandRun dump = RunCli("metastock dump " + out + " ibm");
    EXPECT_EQ(dump.status, 0);
    EXPECT_EQ(dump.out, "20050228\t10\t11\t9\t10\t48213\t0\n");
    EXPECT_EQ(RunCli("metastock dump " + out + " NONE").status, 1);
    EXPECT_EQ(RunCli("metastock list " + data).status, 1);
    EXPECT_EQ(RunCli("metastock list").status, 64);
}

} // namespace
} // namespace tessaly
