#include "engine/quoterequests.h"

#include "engine/securityfiles.h"

#include <array>
#include <utility>

namespace tessaly {

namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kPairKeys = {{
    {"EURCHF", "&em=106"},
    {"EURGBP", "&em=88"},
    {"EURJPY", "&em=84"},
    {"EURUSD", "&em=83"},
    {"GBPUSD", "&em=86"},
    {"USDCHF", "&em=85"},
    {"USDJPY", "&em=87"},
}};

bool IsUnreserved(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

} // namespace

bool IsCurrencyPair(std::string_view symbol) {
    return symbol.find('$') != std::string_view::npos;
}

std::string CurrencyPairOf(std::string_view symbol) {
    return ToUpperAscii(symbol.size() > 6 ? symbol.substr(symbol.size() - 6) : symbol);
}

std::string_view CurrencyPairKey(std::string_view pair) {
    for (const auto& [name, key] : kPairKeys) {
        if (name == pair)
            return key;
    }
    return {};
}

std::string PercentEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (const char c : text) {
        if (IsUnreserved(c)) {
            encoded += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0f];
        }
    }
    return encoded;
}

QueryDatePieces PiecesOfQueryDate(int queryDate) {
    std::string text = std::to_string(queryDate < 0 ? 0 : queryDate);
    if (text.size() < 8)
        text.insert(0, 8 - text.size(), '0');
    return {text.substr(0, 4), text.substr(4, 2), text.substr(6, 2)};
}

std::string HistoricalRequest(std::string_view symbol, int from, int end, int periodicity) {
    const QueryDatePieces a = PiecesOfQueryDate(from);
    const QueryDatePieces b = PiecesOfQueryDate(end);
    std::string request = "table.csv?s=" + PercentEncode(symbol);
    request += "&a=" + a.monthOffset + "&b=" + a.day + "&c=" + a.year;
    request += "&d=" + b.monthOffset + "&e=" + b.day + "&f=" + b.year;
    request += periodicity == 0 ? "&g=d" : (periodicity == 1 ? "&g=w" : "&g=m");
    request += "&ignore=.csv";
    return request;
}

std::string CurrencyRequest(std::string_view symbol, int from, int end, int periodicity) {
    const QueryDatePieces a = PiecesOfQueryDate(from);
    const QueryDatePieces b = PiecesOfQueryDate(end);
    const std::string pair = CurrencyPairOf(symbol);
    const std::string encodedPair = PercentEncode(pair);
    std::string request = "FOREXQUOTE.txt?d=d&m=5";
    request += CurrencyPairKey(pair);
    request += periodicity == 0 ? "&p=8" : (periodicity == 1 ? "&p=9" : "&p=10");
    request += "&df=" + a.day + "&mf=" + a.monthOffset + "&yf=" + a.year;
    request += "&dt=" + b.day + "&mt=" + b.monthOffset + "&yt=" + b.year;
    request += "&f=" + encodedPair;
    request += "&e=.txt&dtf=1&tmf=1&MSOR=0&cn=" + encodedPair;
    request += "&sep=1&sep2=1&datf=1&at=0&fsp=1";
    return request;
}

std::string RecentQuoteRequest(std::string_view symbol) {
    return "d/quotes.csv?s=" + PercentEncode(symbol) + "&f=sl1d1c1ohgv";
}

std::string QuotePageRequest(std::string_view symbol) {
    return "q?s=" + PercentEncode(symbol);
}

std::string JoinUrl(std::string_view base, std::string_view request) {
    std::string url(base);
    if (!url.empty() && url.back() != '/')
        url += '/';
    url += request;
    return url;
}

} // namespace tessaly
