#include "app/cli/commands.h"
#include "app/cli/messageboxes.h"
#include "convert/metalib.h"
#include "convert/metastockdates.h"

#include <charconv>
#include <iostream>

namespace tessaly::cli {

namespace {

// The shortest text that reads back as the same float.
std::string Number(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// The securities of a folder: file name, symbol, name, periodicity, first and last date, records.
int ListFolder(MetaLib& library) {
    int status = kExitOk;
    for (const MetaStockSecurity& security : library.ListSecurities()) {
        std::string count = "-";
        std::vector<DataRecord> records;
        if (library.FindSecurity(security.symbol) == 0 && library.ReadRecords(records) == 0) {
            count = std::to_string(records.size());
        } else {
            std::cerr << "tessaly-cli: data file missing or damaged: " << security.fileName << "\n";
            status = kExitFailure;
        }
        library.CloseSecurity();
        std::cout << security.fileName << '\t' << security.symbol << '\t' << security.name << '\t'
                  << security.periodicity << '\t' << security.firstDate << '\t' << security.lastDate << '\t'
                  << count << '\n';
    }
    return status;
}

// One security's records: date, open, high, low, close, volume, open interest.
int DumpSecurity(MetaLib& library, const std::string& symbol) {
    std::vector<DataRecord> records;
    if (!library.LookupSecurity(symbol)) {
        std::cerr << "tessaly-cli: no security " << symbol << " in " << library.GetFolder().string() << "\n";
        return kExitFailure;
    }
    if (library.FindSecurity(symbol) != 0 || library.ReadRecords(records) != 0) {
        std::cerr << "tessaly-cli: data file of " << symbol << " missing or damaged\n";
        return kExitFailure;
    }
    std::string out;
    for (const DataRecord& record : records) {
        out = std::to_string(metastock::LongDate(record.date));
        for (float value :
             {record.open, record.high, record.low, record.close, record.volume, record.openInterest})
            out += '\t' + Number(value);
        out += '\n';
        std::cout << out;
    }
    return kExitOk;
}

} // namespace

int RunMetaStock(Arguments& arguments) {
    const auto operands = arguments.TakeOperands();
    if (!arguments.Ok())
        return UsageError(arguments.Error());
    const bool list = operands.size() == 2 && operands[0] == "list";
    const bool dump = operands.size() == 3 && operands[0] == "dump";
    if (!list && !dump)
        return UsageError("metastock takes list DIR or dump DIR SYMBOL");
    StandardErrorMessages messages;
    MetaLib library(messages);
    if (library.OpenFolder(operands[1]) != 0) {
        std::cerr << "tessaly-cli: no MetaStock folder (MASTER and EMASTER) in " << operands[1] << "\n";
        return kExitFailure;
    }
    return list ? ListFolder(library) : DumpSecurity(library, operands[2]);
}

} // namespace tessaly::cli
