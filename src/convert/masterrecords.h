#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessaly::metastock {

// The byte layouts of MASTER, EMASTER and XMASTER: fixed-size headers and records, text fields
// padded with zero bytes and cut to their width.
inline constexpr std::size_t kMasterHeaderSize = 53;
inline constexpr std::size_t kMasterRecordSize = 53;
inline constexpr std::size_t kEmasterHeaderSize = 192;
inline constexpr std::size_t kEmasterRecordSize = 192;
inline constexpr std::size_t kXmasterHeaderSize = 150;
inline constexpr std::size_t kXmasterRecordSize = 150;
inline constexpr std::size_t kMaxMasterRecords = 255;
inline constexpr std::uint32_t kFirstXmasterNumber = 256;
inline constexpr std::size_t kSymbolWidth = 14;
inline constexpr std::size_t kMasterNameWidth = 16;
inline constexpr std::size_t kXmasterNameWidth = 29;

// Offsets of the fields the library reads back.
inline constexpr std::size_t kMasterSymbolOffset = 36;
inline constexpr std::size_t kMasterNameOffset = 7;
inline constexpr std::size_t kEmasterNumberOffset = 2;
inline constexpr std::size_t kEmasterSymbolOffset = 11;
inline constexpr std::size_t kEmasterNameOffset = 32;
inline constexpr std::size_t kEmasterLetterOffset = 60;
inline constexpr std::size_t kEmasterFirstOffset = 64;
inline constexpr std::size_t kEmasterLastOffset = 72;
inline constexpr std::size_t kXmasterSymbolOffset = 1;
inline constexpr std::size_t kXmasterNameOffset = 16;
inline constexpr std::size_t kXmasterLetterOffset = 62;
inline constexpr std::size_t kXmasterNumberOffset = 65;
inline constexpr std::size_t kXmasterFirstOffset = 80;
inline constexpr std::size_t kXmasterLastOffset = 116;
inline constexpr std::size_t kXmasterCountOffset = 10;
inline constexpr std::size_t kXmasterCountAgainOffset = 14;
inline constexpr std::size_t kXmasterNextOffset = 18;

using MasterRecord = std::array<std::uint8_t, kMasterRecordSize>;
using EmasterRecord = std::array<std::uint8_t, kEmasterRecordSize>;
using XmasterRecord = std::array<std::uint8_t, kXmasterRecordSize>;

// What the master records say of one security; dates short for MASTER/EMASTER, long for XMASTER.
struct SecurityFields {
    std::uint32_t fileNumber = 0;
    std::string_view symbol;
    std::string_view name;
    char periodicity = 'D';
    std::int32_t firstDate = 0;
    std::int32_t lastDate = 0;
};

// `promoted` marks the records of an XMASTER security moved into a freed MASTER number.
MasterRecord MakeMasterRecord(const SecurityFields& fields, bool promoted = false);
EmasterRecord MakeEmasterRecord(const SecurityFields& fields, bool promoted = false);
XmasterRecord MakeXmasterRecord(const SecurityFields& fields);

std::array<std::uint8_t, kXmasterHeaderSize> MakeXmasterHeader();

void PutText(std::uint8_t* field, std::size_t width, std::string_view text);
// A text field up to its first zero byte, without trailing blanks.
std::string GetText(const std::uint8_t* field, std::size_t width);
char UpperLetter(char letter);

// Writes the dates and letter of a security into its records in place.
void SetMasterDates(std::uint8_t* record, std::int32_t firstShort, std::int32_t lastShort, char letter);
void SetEmasterDates(std::uint8_t* record, std::int32_t firstShort, std::int32_t lastShort, char letter);
void SetXmasterDates(std::uint8_t* record, std::int32_t firstLong, std::int32_t lastLong, char letter);

} // namespace tessaly::metastock
