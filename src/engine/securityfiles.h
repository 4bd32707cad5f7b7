#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

// The securities list's test for a security data file name: the text from the name's last dot on
// starts with ".csv" (case-sensitive), so IBM.csv is one and IBM.CSV or ibm.csv.bak are not.
bool IsSecurityFileName(std::string_view fileName);
// The file name up to its last dot, in upper case: the symbol a row shows.
std::string SymbolFromFileName(std::string_view fileName);
// A symbol that can name a file in a folder: not "." or "..", and no "/", "\", NUL or other
// control character. The empty symbol is not safe either.
bool IsSafeSymbol(std::string_view symbol);
// The data file of `symbol` in `folder`: "SYMBOL.csv" when it exists, else the first entry whose name
// equals it without regard to case (folders made on other systems use either case), else nullopt.
std::optional<std::filesystem::path> FindSecurityFile(const std::filesystem::path& folder,
                                                      std::string_view symbol);
// The first entry of `folder` whose name equals `name` without regard to ASCII case.
std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& folder,
                                                          std::string_view name);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
std::string ToUpperAscii(std::string_view text);

} // namespace tessaly
