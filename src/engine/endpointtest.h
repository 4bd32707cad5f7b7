#pragma once

#include "engine/httpsession.h"

#include <string>
#include <string_view>

namespace tessaly {

enum class EndpointKind { Historical, Quote, Currency };

// Asks the endpoint at `base` for one symbol with the request a download would send, and returns
// the first line of the answer, or the text of what went wrong. For the settings' Test buttons.
std::string TestEndpoint(HttpTransport& transport, EndpointKind kind, std::string_view base,
                         std::string_view symbol);

} // namespace tessaly
