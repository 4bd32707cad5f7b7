#include "engine/endpoints.h"

#include "engine/chartapisource.h"

#include <algorithm>

namespace tessaly {

namespace {

std::string LoadOne(Profile& profile, std::string_view name, const std::string& defaultValue) {
    if (!profile.HasValue(kEndpointsSection, name))
        profile.WriteString(kEndpointsSection, name, defaultValue);
    return profile.GetString(kEndpointsSection, name, defaultValue);
}

} // namespace

Endpoints DefaultEndpoints() {
    // The chart API answers stocks, indices and currency pairs alike; there is no public maker server.
    const std::string chart = std::string(kChartApiPrefix) + "https://query1.finance.yahoo.com/";
    return {chart, chart, chart, "", kDefaultMinRequestIntervalMs};
}

Endpoints LoadEndpoints(Profile& profile) {
    const Endpoints defaults = DefaultEndpoints();
    Endpoints endpoints;
    endpoints.historicalHost = LoadOne(profile, kHistoricalHostName, defaults.historicalHost);
    endpoints.quoteHost = LoadOne(profile, kQuoteHostName, defaults.quoteHost);
    endpoints.currencyHost = LoadOne(profile, kCurrencyHostName, defaults.currencyHost);
    endpoints.makerHost = LoadOne(profile, kMakerHostName, defaults.makerHost);
    if (!profile.HasValue(kEndpointsSection, kMinRequestIntervalName))
        profile.WriteInt(kEndpointsSection, kMinRequestIntervalName, defaults.minRequestIntervalMs);
    endpoints.minRequestIntervalMs = std::max(
        0, profile.GetInt(kEndpointsSection, kMinRequestIntervalName, defaults.minRequestIntervalMs));
    return endpoints;
}

std::string WebPagesBase(const Endpoints& endpoints) {
    const std::string& host = endpoints.quoteHost;
    const bool plainWeb = host.rfind("http://", 0) == 0 || host.rfind("https://", 0) == 0;
    if (!plainWeb || host.find_first_of(" \t\r\n\"<>") != std::string::npos)
        return std::string(kQuoteSiteBase);
    return host.back() == '/' ? host : host + '/';
}

std::string MissingMakerHostText(const Endpoints& endpoints) {
    if (!endpoints.makerHost.empty())
        return {};
    return "No update server is configured (" + std::string(kEndpointsSection) + "/" +
           std::string(kMakerHostName) + " in the settings).";
}

} // namespace tessaly
