#include "convert/mbf.h"
#include "convert/metalib.h"
#include "metastock_support.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>

namespace tessaly {
namespace {

using test::Hex;
using test::U16At;
using test::U32At;

std::string Mbf(float value) {
    std::string bytes(4, '\0');
    metastock::WriteMbf(reinterpret_cast<std::uint8_t*>(bytes.data()), value);
    return bytes;
}

std::string Ieee(float value) {
    std::string bytes(4, '\0');
    const auto bits = std::bit_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    return bytes;
}

std::string Text(std::string_view text, std::size_t width) {
    std::string field(text.substr(0, width));
    field.resize(width, '\0');
    return field;
}

std::string Zeros(std::size_t count) {
    return std::string(count, '\0');
}

std::string U16(std::uint32_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}

class MetaLibTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(lib.CreateFolder(folder), 0);
        ASSERT_EQ(lib.OpenFolder(folder), 0);
    }
    std::string Read(std::string_view name) const { return test::ReadFile(folder / std::string(name)); }
    bool Exists(std::string_view name) const { return std::filesystem::exists(folder / std::string(name)); }
    void AddMany(int count, int from = 1) {
        for (int i = from; i < from + count; ++i)
            ASSERT_EQ(lib.AddSecurity("S" + std::to_string(i), "Name " + std::to_string(i), 'D'), 0) << i;
    }

    ScopedClock clock{test::TestClock()};
    test::TempFolder temp;
    std::filesystem::path folder = temp / "ms";
    test::ScriptedMessageBoxes messages;
    MetaLib lib{messages};
};

TEST_F(MetaLibTest, NewFolderHoldsEmptyMasterAndEmaster) {
    EXPECT_EQ(Read("MASTER"), Zeros(53));
    EXPECT_EQ(Read("EMASTER"), Zeros(192));
    EXPECT_FALSE(Exists("XMASTER"));
    EXPECT_TRUE(lib.ListSecurities().empty());
    // CreateFolder on a folder that has master files leaves them alone.
    test::WriteFile(folder / "MASTER", "keep");
    EXPECT_EQ(lib.CreateFolder(folder), 0);
    EXPECT_EQ(Read("MASTER"), "keep");
}

TEST_F(MetaLibTest, FirstSecurityWritesTheLayoutsByteForByte) {
    ASSERT_EQ(lib.AddSecurity("IBM", "IBM Corp", 'd'), 0);
    // Initial dates: two years before today (11 Dec 2026), short form.
    const float start = 1241211.0f;
    const std::string masterRecord = std::string("\x01\x65\x00\x1C\x07\x00\x00", 7) + Text("IBM Corp", 16) +
                                     Zeros(2) + Mbf(start) + Mbf(start) + "D" + Zeros(2) + Text("IBM", 14) +
                                     std::string("\x00\x20\x00", 3);
    ASSERT_EQ(masterRecord.size(), 53u);
    EXPECT_EQ(Hex(Read("MASTER")), Hex(U16(1) + U16(1) + Zeros(49) + masterRecord));

    const std::string emasterRecord = Zeros(2) + U16(1) + Zeros(2) + "\x07" + Zeros(2) + "\x20" + Zeros(1) +
                                      Text("IBM", 14) + Zeros(7) + Text("IBM Corp", 16) + Zeros(12) + "D" +
                                      Zeros(3) + Ieee(start) + Zeros(4) + Ieee(start) + Zeros(116);
    ASSERT_EQ(emasterRecord.size(), 192u);
    EXPECT_EQ(Hex(Read("EMASTER")), Hex(U16(1) + U16(1) + Zeros(188) + emasterRecord));
    EXPECT_EQ(Hex(Read("F1.DAT")), Hex(Zeros(2) + U16(1) + Zeros(24)));
}

TEST_F(MetaLibTest, ThreeRecordsGiveA112ByteFileWithCountFour) {
    ASSERT_EQ(lib.AddSecurity("IBM", "IBM", 'D'), 0);
    ASSERT_EQ(lib.FindSecurity("IBM"), 0);
    EXPECT_EQ(lib.AddRecord(1050228, 92.5f, 93.1f, 91.8f, 92.41f, 48213.0f, 0.0f), 0);
    EXPECT_EQ(lib.AddRecord(1050301, 1, 2, 3, 4, 5, 6), 0);
    EXPECT_EQ(lib.AddRecord(991231, 1, 1, 1, 1, 1, 0), 0);
    const std::string data = Read("F1.DAT");
    ASSERT_EQ(data.size(), 112u);
    EXPECT_EQ(U16At(data, 2), 4u);
    EXPECT_EQ(Hex(data.substr(28, 28)), Hex(Mbf(1050228.0f) + Mbf(92.5f) + Mbf(93.1f) + Mbf(91.8f) +
                                            Mbf(92.41f) + Mbf(48213.0f) + Mbf(0.0f)));
    EXPECT_EQ(Hex(data.substr(28, 4)), "A0 33 00 95");
    EXPECT_EQ(Hex(data.substr(84, 4)), "F0 FF 71 94");
    std::int32_t first = 0;
    std::int32_t last = 0;
    EXPECT_EQ(lib.GetFirstRecordDate(first), 0);
    EXPECT_EQ(lib.GetLastRecordDate(last), 0);
    EXPECT_EQ(first, 1050228);
    EXPECT_EQ(last, 991231);

    EXPECT_EQ(lib.UpdateLastRecord(1050302, 7, 7, 7, 7, 7, 0), 0);
    const std::string updated = Read("F1.DAT");
    EXPECT_EQ(updated.size(), 112u);
    EXPECT_EQ(U16At(updated, 2), 4u);
    EXPECT_EQ(updated.substr(84, 8), Mbf(1050302.0f) + Mbf(7.0f));

    EXPECT_EQ(lib.UpdateSecurityDates("ibm", 1050228, 1050302, 'w'), 0);
    const std::string master = Read("MASTER");
    EXPECT_EQ(master.substr(53 + 25, 9), Mbf(1050228.0f) + Mbf(1050302.0f) + "W");
    const std::string emaster = Read("EMASTER");
    EXPECT_EQ(emaster[192 + 60], 'W');
    EXPECT_EQ(emaster.substr(192 + 64, 4), Ieee(1050228.0f));
    EXPECT_EQ(emaster.substr(192 + 72, 4), Ieee(1050302.0f));
}

TEST_F(MetaLibTest, HeaderOnlyDataFileHasNoLastRecordToOverwrite) {
    ASSERT_EQ(lib.AddSecurity("IBM", "IBM", 'D'), 0);
    ASSERT_EQ(lib.FindSecurity("IBM"), 0);
    std::int32_t date = -1;
    EXPECT_EQ(lib.GetLastRecordDate(date), 0);
    EXPECT_EQ(date, 0);
    EXPECT_EQ(lib.UpdateLastRecord(1050228, 1, 1, 1, 1, 1, 0), 1);
    EXPECT_EQ(Read("F1.DAT"), Zeros(2) + U16(1) + Zeros(24));
    EXPECT_EQ(lib.CloseSecurity(), 0);
    EXPECT_EQ(lib.AddRecord(1050228, 1, 1, 1, 1, 1, 0), 1); // no data file open
}

TEST_F(MetaLibTest, FileNumbersRunIntoXmaster) {
    AddMany(257);
    EXPECT_TRUE(Exists("F255.DAT"));
    EXPECT_TRUE(Exists("F256.MWD"));
    EXPECT_TRUE(Exists("F257.MWD"));
    EXPECT_FALSE(Exists("F256.DAT"));
    const std::string master = Read("MASTER");
    EXPECT_EQ(master.size(), 53u * 256);
    EXPECT_EQ(U16At(master, 0), 255u);
    EXPECT_EQ(U16At(master, 2), 255u);
    EXPECT_EQ(Read("EMASTER").size(), 192u * 256);

    const std::string x = Read("XMASTER");
    ASSERT_EQ(x.size(), 150u * 3);
    EXPECT_EQ(Hex(x.substr(0, 22)), "5D FE 58 4D 8B 02 00 00 00 00 02 00 00 00 02 00 00 00 02 01 00 00");
    EXPECT_EQ(x.substr(22, 128), Zeros(128));
    const std::string record = x.substr(150, 150);
    const std::string expected =
        "\x01" + Text("S256", 14) + Zeros(1) + Text("Name 256", 29) + Zeros(17) + "D" + Zeros(2) + U16(256) +
        Zeros(2) + std::string("\x00\x7F", 2) + Zeros(9) + std::string("\x3B\xDB\x34\x01", 4) +
        std::string("\x3B\xDB\x34", 3) + Zeros(17) + std::string("\x3B\xDB\x34\x01\x3B\xDB\x34\x01", 8) +
        Zeros(4) + std::string("\x3B\xDB\x34\x01", 4) + Zeros(30);
    ASSERT_EQ(expected.size(), 150u);
    EXPECT_EQ(Hex(record), Hex(expected)); // 20241211 = 0x0134DB3B
    EXPECT_EQ(U16At(x, 300 + 65), 257u);
    EXPECT_EQ(x.back(), '\0');

    ASSERT_EQ(lib.FindSecurity("s257"), 0);
    EXPECT_EQ(lib.AddRecord(1050228, 1, 1, 1, 1, 1, 0), 0);
    EXPECT_EQ(Read("F257.MWD").size(), 56u);
    EXPECT_EQ(lib.UpdateSecurityDates("S257", 1050228, 1050301, 'D'), 0);
    const std::string updated = Read("XMASTER");
    EXPECT_EQ(U32At(updated, 300 + 80), 20050228u);
    EXPECT_EQ(U32At(updated, 300 + 104), 20050228u);
    EXPECT_EQ(U32At(updated, 300 + 108), 20050228u);
    EXPECT_EQ(U32At(updated, 300 + 116), 20050301u);
    EXPECT_EQ(updated.substr(300 + 84, 3), updated.substr(300 + 80, 3));

    // Opened again, the folder lists all of them.
    ASSERT_EQ(lib.OpenFolder(folder), 0);
    const auto securities = lib.ListSecurities();
    ASSERT_EQ(securities.size(), 257u);
    EXPECT_EQ(securities.back().fileName, "F257.MWD");
    EXPECT_EQ(securities.back().lastDate, 20050301);
}

TEST_F(MetaLibTest, FreedNumberIsReusedOnceAllWereHandedOut) {
    AddMany(255);
    ASSERT_EQ(lib.DeleteSecurity("S7"), 0);
    EXPECT_FALSE(Exists("F7.DAT"));
    ASSERT_EQ(lib.AddSecurity("NEW", "New", 'D'), 0);
    EXPECT_TRUE(Exists("F7.DAT"));
    EXPECT_FALSE(Exists("XMASTER"));
    const std::string master = Read("MASTER");
    EXPECT_EQ(U16At(master, 0), 255u);
    EXPECT_EQ(U16At(master, 2), 255u);
    EXPECT_EQ(static_cast<unsigned char>(master[53 + 254 * 53]), 7);
}

TEST_F(MetaLibTest, SymbolsAreCutTo14AndMatchedWithoutCase) {
    ASSERT_EQ(lib.AddSecurity("ABCDEFGHIJKLMNOP", "Long", 'D'), 0);
    EXPECT_EQ(Read("EMASTER").substr(192 + 11, 14), "ABCDEFGHIJKLMN");
    EXPECT_EQ(Read("MASTER").substr(53 + 36, 14), "ABCDEFGHIJKLMN");
    EXPECT_EQ(lib.FindSecurity("ABCDEFGHIJKLMNOP"), 0);
    EXPECT_EQ(lib.FindSecurity("abcdefghijklmn"), 0);
    EXPECT_EQ(lib.FindSecurity("ABCDEFGHIJKLM"), 1);
    EXPECT_FALSE(lib.LookupSecurity("ABCDEFGHIJKLM"));
}

TEST_F(MetaLibTest, ExistingFilesAreFoundInAnyCase) {
    ASSERT_EQ(lib.AddSecurity("IBM", "IBM", 'D'), 0);
    lib.CloseFolder();
    std::filesystem::rename(folder / "MASTER", folder / "master");
    std::filesystem::rename(folder / "EMASTER", folder / "Emaster");
    std::filesystem::rename(folder / "F1.DAT", folder / "f1.dat");
    ASSERT_EQ(lib.OpenFolder(folder), 0);
    ASSERT_EQ(lib.FindSecurity("Ibm"), 0);
    EXPECT_EQ(lib.AddRecord(1050228, 1, 1, 1, 1, 1, 0), 0);
    EXPECT_EQ(Read("f1.dat").size(), 56u);
    EXPECT_FALSE(Exists("F1.DAT"));
    EXPECT_EQ(lib.UpdateSecurityDates("IBM", 1050228, 1050228, 'D'), 0);
    EXPECT_EQ(Read("master").substr(53 + 25, 4), Mbf(1050228.0f));
}

TEST_F(MetaLibTest, MissingSecurityIsReportedByMessage) {
    EXPECT_EQ(lib.UpdateSecurityDates("NONE", 1, 2, 'D'), 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Can not find security: NONE");
    EXPECT_EQ(messages.shown[0].caption, "MetaLib");
    EXPECT_EQ(lib.DeleteSecurity("NONE"), 1);
    EXPECT_EQ(lib.ChangeSecurity("NONE", "a", "b"), 1);
    EXPECT_EQ(messages.shown.size(), 3u);
}

TEST_F(MetaLibTest, LeftOverDataFileIsEmptied) {
    test::WriteFile(folder / "F1.DAT", std::string(28 * 5, 'x'));
    ASSERT_EQ(lib.AddSecurity("IBM", "IBM", 'D'), 0);
    EXPECT_EQ(Read("F1.DAT"), Zeros(2) + U16(1) + Zeros(24));
}

TEST_F(MetaLibTest, DeletingTheOnlySecurityRemovesMasterFiles) {
    ASSERT_EQ(lib.AddSecurity("IBM", "IBM", 'D'), 0);
    ASSERT_EQ(lib.DeleteSecurity("IBM"), 0);
    EXPECT_FALSE(Exists("F1.DAT"));
    EXPECT_FALSE(Exists("MASTER"));
    EXPECT_FALSE(Exists("EMASTER"));
    EXPECT_EQ(lib.OpenFolder(folder), 1);
}

TEST_F(MetaLibTest, DeletingAMasterSecurityPromotesTheFirstXmasterOne) {
    AddMany(256);
    ASSERT_EQ(lib.FindSecurity("S256"), 0);
    ASSERT_EQ(lib.AddRecord(1050228, 1, 2, 3, 4, 5, 0), 0);
    ASSERT_EQ(lib.UpdateSecurityDates("S256", 1050228, 1050228, 'D'), 0);
    const std::string moved = Read("F256.MWD");
    ASSERT_EQ(lib.DeleteSecurity("S3"), 0);

    EXPECT_FALSE(Exists("XMASTER"));
    EXPECT_FALSE(Exists("F256.MWD"));
    EXPECT_EQ(Read("F3.DAT"), moved);
    const std::string master = Read("MASTER");
    ASSERT_EQ(master.size(), 53u * 256);
    EXPECT_EQ(U16At(master, 0), 255u);
    const std::string last = master.substr(53 * 255, 53);
    const std::string expectedMaster = std::string("\x03\x65\x00\x1C\x07\x00\x00", 7) + Text("Name 256", 16) +
                                       Zeros(2) + Mbf(1050228.0f) + Mbf(1050228.0f) + "D" + Zeros(2) +
                                       Text("S256", 14) + std::string("\x20\x20\x00", 3);
    EXPECT_EQ(Hex(last), Hex(expectedMaster));
    const std::string emaster = Read("EMASTER");
    ASSERT_EQ(emaster.size(), 192u * 256);
    const std::string promoted = emaster.substr(192 * 255, 192);
    EXPECT_EQ(promoted.substr(0, 2), "66");
    EXPECT_EQ(U16At(promoted, 2), 3u);
    EXPECT_EQ(promoted[7], '\x7F');
    EXPECT_EQ(promoted.substr(11, 14), Text("S256", 14));
    EXPECT_EQ(promoted.substr(64, 4), Ieee(1050228.0f));
    EXPECT_EQ(lib.FindSecurity("S256"), 0);
    std::int32_t date = 0;
    lib.GetFirstRecordDate(date);
    EXPECT_EQ(date, 1050228);
}

TEST_F(MetaLibTest, DeletingAnXmasterSecurityKeepsTheFileShape) {
    AddMany(258);
    ASSERT_EQ(lib.DeleteSecurity("S257"), 0);
    EXPECT_FALSE(Exists("F257.MWD"));
    const std::string x = Read("XMASTER");
    ASSERT_EQ(x.size(), 150u * 3);
    EXPECT_EQ(U32At(x, 10), 2u);
    EXPECT_EQ(U32At(x, 14), 2u);
    EXPECT_EQ(U32At(x, 18), 259u);
    EXPECT_EQ(U16At(x, 300 + 65), 258u);
    EXPECT_EQ(x.back(), '\0');
}

TEST_F(MetaLibTest, DeleteSecuritiesTakesRunsOfLetters) {
    for (const char* symbol : {"IBM", "MSFT", "DELL", "KEEP"})
        ASSERT_EQ(lib.AddSecurity(symbol, symbol, 'D'), 0);
    EXPECT_EQ(lib.DeleteSecurities("IBM, MSFT;DELL"), 0);
    const auto left = lib.ListSecurities();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].symbol, "KEEP");
    EXPECT_TRUE(messages.shown.empty());
    // A run longer than 11 letters is refused and deletes nothing.
    ASSERT_EQ(lib.AddSecurity("ABCDEFGHIJKL", "x", 'D'), 0);
    EXPECT_EQ(lib.DeleteSecurities("ABCDEFGHIJKL"), 1);
    EXPECT_EQ(lib.ListSecurities().size(), 2u);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Symbol too long: ABCDEFGHIJKL");
}

TEST_F(MetaLibTest, DeleteSecurityByFileNumber) {
    AddMany(4);
    EXPECT_EQ(lib.DeleteSecurityByFile("F3.DAT"), 0);
    EXPECT_FALSE(Exists("F3.DAT"));
    EXPECT_FALSE(lib.LookupSecurity("S3"));
    EXPECT_EQ(lib.ListSecurities().size(), 3u);
    EXPECT_TRUE(messages.shown.empty());
    for (const char* name : {"F9.DAT", "F3.DAT", "G1.DAT", "F.DAT", "Fx.DAT"}) {
        messages.shown.clear();
        EXPECT_EQ(lib.DeleteSecurityByFile(name), 1) << name;
        ASSERT_EQ(messages.shown.size(), 1u) << name;
        EXPECT_EQ(messages.shown[0].text, "Can not find security file");
        EXPECT_EQ(messages.shown[0].caption, "MetaLib");
    }
    EXPECT_EQ(lib.ListSecurities().size(), 3u);
}

TEST_F(MetaLibTest, RecordMaintenance) {
    ASSERT_EQ(lib.AddSecurity("IBM", "IBM", 'D'), 0);
    ASSERT_EQ(lib.FindSecurity("IBM"), 0);
    const float dates[] = {1050228, 1050301, 1050301, 1050302};
    const float open[] = {1, 2, 3, 4};
    const float zero[] = {0, 0, 0, 0};
    ASSERT_EQ(lib.AddRecords(4, dates, open, open, open, open, open, zero), 0);
    EXPECT_EQ(U16At(Read("F1.DAT"), 2), 5u);

    int found = -1;
    EXPECT_EQ(lib.FindRecord(1050301, found), 0);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(lib.FindRecord(1050303, found), 0);
    EXPECT_EQ(found, 0);

    // A date stored twice: only the first of the two goes.
    ASSERT_EQ(lib.DeleteRecord(1050301), 0);
    std::vector<DataRecord> records;
    ASSERT_EQ(lib.ReadRecords(records), 0);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1].date, 1050301);
    EXPECT_EQ(records[1].open, 3.0f);
    const std::string data = Read("F1.DAT");
    EXPECT_EQ(data.size(), 28u * 4);
    EXPECT_EQ(U16At(data, 2), 4u);
    EXPECT_EQ(lib.DeleteRecord(1990101), 0);
    EXPECT_EQ(Read("F1.DAT"), data);

    EXPECT_EQ(lib.UpdateRecord(1050302, 1050303, 9, 9, 9, 9, 9, 0), 0);
    ASSERT_EQ(lib.ReadRecords(records), 0);
    EXPECT_EQ(records[2].date, 1050303);
    EXPECT_EQ(records[2].close, 9.0f);

    EXPECT_EQ(lib.DeleteRecords(1050228, 1050301), 0);
    ASSERT_EQ(lib.ReadRecords(records), 0);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].date, 1050303);
    EXPECT_EQ(U16At(Read("F1.DAT"), 2), 2u);
    // A range of every integer finishes at once.
    EXPECT_EQ(lib.DeleteRecords(0, 2147483647), 0);
    EXPECT_EQ(Read("F1.DAT").size(), 28u);
}

TEST_F(MetaLibTest, AddWithDatesRenameAndFindByName) {
    std::filesystem::path path;
    ASSERT_EQ(lib.AddSecurityWithDates("IBM", "Intl Business", 'd', 20050228, 20050301, path), 0);
    EXPECT_EQ(path, folder / "F1.DAT");
    EXPECT_EQ(Read("MASTER").substr(53 + 25, 8), Mbf(1050228.0f) + Mbf(1050301.0f));
    ASSERT_EQ(lib.ChangeSecurity("IBM", "New Name", "NEWS"), 0);
    EXPECT_FALSE(lib.LookupSecurity("IBM"));
    ASSERT_TRUE(lib.LookupSecurity("NEWS"));
    EXPECT_EQ(lib.LookupSecurity("NEWS")->name, "New Name");
    EXPECT_EQ(Read("MASTER").substr(53 + 7, 16), Text("New Name", 16));
    EXPECT_EQ(lib.FindSecurityByName("new name"), 0);
    EXPECT_EQ(lib.FindSecurityByName("Other"), 1);
    EXPECT_EQ(lib.GetFolder(), folder);
}

// Folders written by other programs may be damaged: the library fails or skips, and never reads past
// an end.
TEST(MetaLibDamageTest, DamagedFilesGiveFailuresNotCrashes) {
    ScopedClock clock(test::TestClock());
    test::TempFolder temp;
    test::ScriptedMessageBoxes messages;
    MetaLib lib(messages);
    const auto folder = temp.Path();
    const auto reset = [&] {
        lib.CloseFolder();
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            std::filesystem::remove(entry.path());
        ASSERT_EQ(lib.CreateFolder(folder), 0);
        ASSERT_EQ(lib.OpenFolder(folder), 0);
        ASSERT_EQ(lib.AddSecurity("IBM", "IBM", 'D'), 0);
        ASSERT_EQ(lib.AddSecurity("MSFT", "MSFT", 'D'), 0);
        ASSERT_EQ(lib.FindSecurity("IBM"), 0);
        ASSERT_EQ(lib.AddRecord(1050228, 1, 1, 1, 1, 1, 0), 0);
        lib.CloseFolder();
    };
    const auto patch = [&](std::string_view name, std::size_t offset, std::string bytes) {
        std::string content = test::ReadFile(folder / std::string(name));
        content.replace(offset, bytes.size(), bytes);
        test::WriteFile(folder / std::string(name), content);
    };

    // Headers shorter than their size.
    reset();
    test::WriteFile(folder / "MASTER", Zeros(20));
    EXPECT_EQ(lib.OpenFolder(folder), 1);
    reset();
    test::WriteFile(folder / "XMASTER", Zeros(20));
    EXPECT_EQ(lib.OpenFolder(folder), 1);
    std::filesystem::remove(folder / "XMASTER");

    // A count beyond the records held: only the records there are listed.
    reset();
    patch("EMASTER", 0, U16(500));
    patch("MASTER", 0, U16(500));
    ASSERT_EQ(lib.OpenFolder(folder), 0);
    EXPECT_EQ(lib.ListSecurities().size(), 2u);
    EXPECT_EQ(lib.FindSecurity("NONE"), 1);
    ASSERT_EQ(lib.AddSecurity("DELL", "DELL", 'D'), 0);
    EXPECT_EQ(lib.ListSecurities().size(), 3u);
    lib.CloseFolder();

    // File numbers out of range: the security cannot be opened.
    for (std::uint32_t number : {0u, 256u, 65535u}) {
        reset();
        patch("EMASTER", 192 + 2, U16(number));
        ASSERT_EQ(lib.OpenFolder(folder), 0);
        EXPECT_EQ(lib.FindSecurity("IBM"), 1) << number;
        lib.CloseFolder();
    }

    // A data file shorter than its header, a count beyond its records, a truncated record.
    reset();
    test::WriteFile(folder / "F1.DAT", Zeros(10));
    ASSERT_EQ(lib.OpenFolder(folder), 0);
    EXPECT_EQ(lib.FindSecurity("IBM"), 1);
    lib.CloseFolder();
    reset();
    patch("F1.DAT", 2, U16(900));
    test::WriteFile(folder / "F1.DAT", test::ReadFile(folder / "F1.DAT") + "\x01\x02\x03");
    ASSERT_EQ(lib.OpenFolder(folder), 0);
    ASSERT_EQ(lib.FindSecurity("IBM"), 0);
    std::int32_t date = 0;
    EXPECT_EQ(lib.GetLastRecordDate(date), 0);
    EXPECT_EQ(date, 1050228);
    std::vector<DataRecord> records;
    EXPECT_EQ(lib.ReadRecords(records), 0);
    EXPECT_EQ(records.size(), 1u);
    EXPECT_EQ(lib.AddRecord(1050301, 2, 2, 2, 2, 2, 0), 0);
    EXPECT_EQ(test::ReadFile(folder / "F1.DAT").size(), 84u);
    EXPECT_EQ(U16At(test::ReadFile(folder / "F1.DAT"), 2), 3u);
    lib.CloseFolder();

    // MBF exponents of 0 and 255 in a record.
    reset();
    patch("F1.DAT", 28, std::string("\xFF\xFF\xFF\xFF\x00\x00\x00\x00", 8));
    ASSERT_EQ(lib.OpenFolder(folder), 0);
    ASSERT_EQ(lib.FindSecurity("IBM"), 0);
    EXPECT_EQ(lib.GetFirstRecordDate(date), 0);
    EXPECT_EQ(date, 0);
    lib.CloseFolder();

    // A missing data file.
    reset();
    std::filesystem::remove(folder / "F1.DAT");
    ASSERT_EQ(lib.OpenFolder(folder), 0);
    EXPECT_EQ(lib.FindSecurity("IBM"), 1);
    EXPECT_TRUE(lib.LookupSecurity("IBM"));
    EXPECT_EQ(lib.AddRecord(1050228, 1, 1, 1, 1, 1, 0), 1);
}

} // namespace
} // namespace tessaly
