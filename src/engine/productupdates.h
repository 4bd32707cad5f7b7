#pragma once

#include "engine/httpsession.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

// The product id the maker's server knows this program by.
inline constexpr int kProductId = 2;
// Consecutive time-outs of the version check before the time-out is reported.
inline constexpr int kUpdateCheckAttempts = 4;
inline constexpr std::chrono::milliseconds kUpdateCheckRetryDelay{200};
// The agent name of the update check's internet session.
inline constexpr std::string_view kUpdateAgentName = "MySession";

// A version offered by the server, from its digits V: the short form names the setup program, the
// shown form has points ("107700" gives "107" and "1.07.700", "1107700" gives "1107" and "11.07.700").
struct OfferedVersion {
    std::string shortVersion;
    std::string shownVersion;
};
OfferedVersion ReadVersionDigits(std::string_view digits);

// "version" in plain digits, with the points put back ("1.07.600" for 107600).
std::string ShownVersionOf(int version);

// What the server's answer says.
struct UpdateAnswer {
    enum class Kind {
        Update,    // a newer version is offered
        NoUpdates, // the server knows of nothing newer (or said something else)
        Empty,     // the answer had no line at all
    };
    Kind kind = Kind::Empty;
    OfferedVersion version; // for Update
};
// Reads the first line of the answer, none when the answer had no line.
UpdateAnswer ReadUpdateAnswer(const std::optional<std::string>& firstLine);

// The base address with a "/" after it, so fixed paths can be appended.
std::string MakerAddress(std::string_view makerHost);
// "updates.asp?version=107600&productid=2" on the maker host.
std::string UpdateRequestUrl(std::string_view makerHost, int productVersion);
// The product page and the setup program of an offered version on the maker host.
std::string ProductPageUrl(std::string_view makerHost);
std::string SetupProgramUrl(std::string_view makerHost, std::string_view shortVersion);

// The outcome of one version check.
struct UpdateCheckResult {
    UpdateAnswer answer;
    // The failure's text (at most 255 characters) when the request could not be made; empty else.
    std::string error;
    int attempts = 0;
    bool Failed() const { return !error.empty(); }
};

// Asks the maker host for a newer version than `productVersion`. Time-outs are retried after
// kUpdateCheckRetryDelay up to kUpdateCheckAttempts attempts; any other failure ends the check.
// `wait` pauses between attempts (a test passes one that records instead of sleeping).
UpdateCheckResult CheckForProductUpdates(HttpTransport& transport, std::string_view makerHost,
                                         int productVersion,
                                         const std::function<void(std::chrono::milliseconds)>& wait = {});

} // namespace tessaly
