#include "engine/securityrow.h"

#include "engine/filefunctions.h"
#include "engine/securityfiles.h"

namespace tessaly {

std::optional<SecurityRow> ReadSecurityRow(const std::filesystem::path& path, bool withRecordCount) {
    TextFile file(path);
    if (!file.IsOpen())
        return std::nullopt;
    SecurityRow row;
    row.fileName = path.filename().string();
    row.symbol = SymbolFromFileName(row.fileName);
    row.periodicity = GetPeriodicity(file);
    row.firstDate = GetFirstDate(file);
    row.lastDate = GetLastDate(file);
    row.trend = GetTrend(file);
    if (withRecordCount)
        row.records = GetRecordCount(file);
    return row;
}

std::vector<std::string> ListSecurityFileNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code typeError;
        if (it->is_directory(typeError))
            continue;
        std::string name = it->path().filename().string();
        if (IsSecurityFileName(name))
            names.push_back(std::move(name));
    }
    return names;
}

} // namespace tessaly
