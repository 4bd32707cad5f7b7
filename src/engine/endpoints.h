#pragma once

#include "engine/profile.h"

#include <string>
#include <string_view>

namespace tessaly {

// The base URLs of the outside services, kept in the settings so a user can point the program at
// another server.
struct Endpoints {
    std::string historicalHost;
    std::string quoteHost;
    std::string currencyHost;
    std::string makerHost;
    // The least time between two requests to a chart API source, so that a long run stays within
    // the service's rate limit.
    int minRequestIntervalMs = 500;
};

inline constexpr std::string_view kEndpointsSection = "Endpoints";
inline constexpr std::string_view kHistoricalHostName = "HistoricalHost";
inline constexpr std::string_view kQuoteHostName = "QuoteHost";
inline constexpr std::string_view kCurrencyHostName = "CurrencyHost";
inline constexpr std::string_view kMakerHostName = "MakerHost";
inline constexpr std::string_view kMinRequestIntervalName = "MinRequestIntervalMs";
inline constexpr int kDefaultMinRequestIntervalMs = 500;

Endpoints DefaultEndpoints();
// The endpoints of the settings; a value that is missing is written with its default first, so the
// user finds every one of them in the settings file.
Endpoints LoadEndpoints(Profile& profile);

// The quote service's web site, under which its chart and key statistics pages live.
inline constexpr std::string_view kQuoteSiteBase = "https://finance.yahoo.com/";
// The base address of the web pages of a security: the quote host when it is a plain web address,
// else (the default quote host speaks the chart API) the quote service's web site. Ends with "/".
std::string WebPagesBase(const Endpoints& endpoints);

// What the symbol database update and the update check say instead of sending a request when no
// maker host is configured; empty when one is.
std::string MissingMakerHostText(const Endpoints& endpoints);

} // namespace tessaly
