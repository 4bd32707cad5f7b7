#include "engine/endpointtest.h"

#include "engine/datenumber.h"
#include "engine/endpoints.h"
#include "engine/numbers.h"
#include "engine/quoterequests.h"

namespace tessaly {

namespace {

// A date number as the requests take it: the month counted from 0.
int QueryDateOf(DateNumber date) {
    return date - 100;
}

std::string_view ValueNameOf(EndpointKind kind) {
    switch (kind) {
    case EndpointKind::Historical:
        return kHistoricalHostName;
    case EndpointKind::Quote:
        return kQuoteHostName;
    case EndpointKind::Currency:
        return kCurrencyHostName;
    }
    return kHistoricalHostName;
}

} // namespace

std::string TestEndpoint(HttpTransport& transport, EndpointKind kind, std::string_view base,
                         std::string_view symbol) {
    if (base.empty())
        return "No server is configured for this request (" + std::string(kEndpointsSection) + "/" +
               std::string(ValueNameOf(kind)) + " in the settings).";
    const DateNumber today = TodayDateNumber();
    const int from = QueryDateOf(AddDays(today, -10));
    const int end = QueryDateOf(today);
    std::string request;
    switch (kind) {
    case EndpointKind::Historical:
        request = HistoricalRequest(symbol, from, end, 0);
        break;
    case EndpointKind::Quote:
        request = RecentQuoteRequest(symbol);
        break;
    case EndpointKind::Currency:
        request = CurrencyRequest(symbol, from, end, 0);
        break;
    }
    try {
        const std::unique_ptr<HttpSession> session = transport.OpenSession("MySession");
        const std::unique_ptr<HttpAnswer> answer = session->OpenUrl(JoinUrl(base, request));
        if (answer->Status() >= 400)
            return "The server answered with HTTP status " + FormatInteger(answer->Status()) + ".";
        std::string line;
        while (answer->ReadLine(line)) {
            if (!line.empty())
                return line;
        }
        return "The server sent an empty answer.";
    } catch (const HttpError& error) {
        return error.what();
    }
}

} // namespace tessaly
