#include "engine/securityfiles.h"

#include <algorithm>

namespace tessaly {

namespace {

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

bool IsSecurityFileName(std::string_view fileName) {
    const auto dot = fileName.rfind('.');
    return dot != std::string_view::npos && fileName.substr(dot).starts_with(".csv");
}

std::string SymbolFromFileName(std::string_view fileName) {
    return ToUpperAscii(fileName.substr(0, fileName.rfind('.')));
}

bool IsSafeSymbol(std::string_view symbol) {
    if (symbol.empty() || symbol == "." || symbol == "..")
        return false;
    return std::none_of(symbol.begin(), symbol.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == '/' || c == '\\' || byte < 0x20 || byte == 0x7f;
    });
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return UpperAscii(x) == UpperAscii(y); });
}

std::string ToUpperAscii(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), UpperAscii);
    return upper;
}

std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& folder,
                                                          std::string_view name) {
    std::error_code error;
    const std::filesystem::path exact = folder / std::string(name);
    if (std::filesystem::is_regular_file(exact, error))
        return exact;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string entry = it->path().filename().string();
        if (EqualsIgnoringCase(entry, name) && it->is_regular_file(error))
            return it->path();
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> FindSecurityFile(const std::filesystem::path& folder,
                                                      std::string_view symbol) {
    if (!IsSafeSymbol(symbol))
        return std::nullopt;
    return FindFileIgnoringCase(folder, std::string(symbol) + ".csv");
}

} // namespace tessaly
