#pragma once

#include <string>
#include <string_view>

namespace tessaly {

// The requests sent to the quote service and the currency server, as paths with their queries,
// to be appended to the endpoint's base URL. Dates are query date numbers (YYYY, month minus one as
// two digits, DD: 3 January 2007 is 20070003); periodicity is 0 daily, 1 weekly, anything else monthly.

// A symbol with a "$" anywhere is a currency pair.
bool IsCurrencyPair(std::string_view symbol);
// The pair of a currency symbol: its last six characters in upper case.
std::string CurrencyPairOf(std::string_view symbol);
// The "&em=" key of a pair the currency server knows; empty for any other pair.
std::string_view CurrencyPairKey(std::string_view pair);

// The symbol as it goes into a query: RFC 3986 unreserved characters stay, every other byte is %XX.
std::string PercentEncode(std::string_view text);

// The eight characters of a query date number's text, cut into YYYY, MM0 and DD.
struct QueryDatePieces {
    std::string year;
    std::string monthOffset;
    std::string day;
};
QueryDatePieces PiecesOfQueryDate(int queryDate);

std::string HistoricalRequest(std::string_view symbol, int from, int end, int periodicity);
std::string CurrencyRequest(std::string_view symbol, int from, int end, int periodicity);
std::string RecentQuoteRequest(std::string_view symbol);
std::string QuotePageRequest(std::string_view symbol);

// The base URL followed by the request, with one "/" between them.
std::string JoinUrl(std::string_view base, std::string_view request);

} // namespace tessaly
