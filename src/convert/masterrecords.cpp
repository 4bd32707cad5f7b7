#include "convert/masterrecords.h"

#include "convert/littleendian.h"
#include "convert/mbf.h"

#include <algorithm>
#include <cstring>

namespace tessaly::metastock {

char UpperLetter(char letter) {
    return letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
}

void PutText(std::uint8_t* field, std::size_t width, std::string_view text) {
    std::memset(field, 0, width);
    std::memcpy(field, text.data(), std::min(width, text.size()));
}

std::string GetText(const std::uint8_t* field, std::size_t width) {
    std::size_t length = 0;
    while (length < width && field[length] != 0)
        ++length;
    while (length > 0 && field[length - 1] == ' ')
        --length;
    return std::string(reinterpret_cast<const char*>(field), length);
}

void SetMasterDates(std::uint8_t* record, std::int32_t firstShort, std::int32_t lastShort, char letter) {
    WriteMbf(record + 25, static_cast<float>(firstShort));
    WriteMbf(record + 29, static_cast<float>(lastShort));
    record[33] = static_cast<std::uint8_t>(UpperLetter(letter));
}

void SetEmasterDates(std::uint8_t* record, std::int32_t firstShort, std::int32_t lastShort, char letter) {
    record[kEmasterLetterOffset] = static_cast<std::uint8_t>(UpperLetter(letter));
    WriteIeee(record + kEmasterFirstOffset, static_cast<float>(firstShort));
    WriteIeee(record + kEmasterLastOffset, static_cast<float>(lastShort));
}

void SetXmasterDates(std::uint8_t* record, std::int32_t firstLong, std::int32_t lastLong, char letter) {
    record[kXmasterLetterOffset] = static_cast<std::uint8_t>(UpperLetter(letter));
    WriteU32(record + kXmasterFirstOffset, static_cast<std::uint32_t>(firstLong));
    std::memcpy(record + 84, record + kXmasterFirstOffset, 3);
    WriteU32(record + 104, static_cast<std::uint32_t>(firstLong));
    WriteU32(record + 108, static_cast<std::uint32_t>(firstLong));
    WriteU32(record + kXmasterLastOffset, static_cast<std::uint32_t>(lastLong));
}

MasterRecord MakeMasterRecord(const SecurityFields& fields, bool promoted) {
    MasterRecord record{};
    record[0] = static_cast<std::uint8_t>(fields.fileNumber);
    record[1] = 0x65;
    record[3] = 28;
    record[4] = 7;
    PutText(record.data() + kMasterNameOffset, kMasterNameWidth, fields.name);
    SetMasterDates(record.data(), fields.firstDate, fields.lastDate, fields.periodicity);
    PutText(record.data() + kMasterSymbolOffset, kSymbolWidth, fields.symbol);
    if (promoted)
        record[50] = 0x20;
    record[51] = 0x20;
    return record;
}

EmasterRecord MakeEmasterRecord(const SecurityFields& fields, bool promoted) {
    EmasterRecord record{};
    if (promoted) {
        record[0] = '6';
        record[1] = '6';
        record[7] = 0x7F;
    }
    WriteU16(record.data() + kEmasterNumberOffset, static_cast<std::uint16_t>(fields.fileNumber));
    record[6] = 7;
    record[9] = 0x20;
    PutText(record.data() + kEmasterSymbolOffset, kSymbolWidth, fields.symbol);
    PutText(record.data() + kEmasterNameOffset, kMasterNameWidth, fields.name);
    SetEmasterDates(record.data(), fields.firstDate, fields.lastDate, fields.periodicity);
    return record;
}

XmasterRecord MakeXmasterRecord(const SecurityFields& fields) {
    XmasterRecord record{};
    record[0] = 0x01;
    PutText(record.data() + kXmasterSymbolOffset, kSymbolWidth, fields.symbol);
    PutText(record.data() + kXmasterNameOffset, kXmasterNameWidth, fields.name);
    WriteU16(record.data() + kXmasterNumberOffset, static_cast<std::uint16_t>(fields.fileNumber));
    record[70] = 0x7F;
    SetXmasterDates(record.data(), fields.firstDate, fields.lastDate, fields.periodicity);
    return record;
}

std::array<std::uint8_t, kXmasterHeaderSize> MakeXmasterHeader() {
    std::array<std::uint8_t, kXmasterHeaderSize> header{};
    const std::uint8_t magic[] = {0x5D, 0xFE, 0x58, 0x4D, 0x8B, 0x02};
    std::memcpy(header.data(), magic, sizeof magic);
    WriteU32(header.data() + kXmasterNextOffset, kFirstXmasterNumber);
    return header;
}

} // namespace tessaly::metastock
