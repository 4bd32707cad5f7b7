#include "engine/endpoints.h"

namespace tessaly {

namespace {

std::string LoadOne(Profile& profile, std::string_view name, const std::string& defaultValue) {
    if (!profile.HasValue(kEndpointsSection, name))
        profile.WriteString(kEndpointsSection, name, defaultValue);
    return profile.GetString(kEndpointsSection, name, defaultValue);
}

} // namespace

Endpoints DefaultEndpoints() {
    return {"http://ichart.finance.yahoo.com/", "http://finance.yahoo.com/", "", ""};
}

Endpoints LoadEndpoints(Profile& profile) {
    const Endpoints defaults = DefaultEndpoints();
    Endpoints endpoints;
    endpoints.historicalHost = LoadOne(profile, kHistoricalHostName, defaults.historicalHost);
    endpoints.quoteHost = LoadOne(profile, kQuoteHostName, defaults.quoteHost);
    endpoints.currencyHost = LoadOne(profile, kCurrencyHostName, defaults.currencyHost);
    endpoints.makerHost = LoadOne(profile, kMakerHostName, defaults.makerHost);
    return endpoints;
}

} // namespace tessaly
