#include "engine/productupdates.h"

#include "engine/endpoints.h"
#include "engine/trim.h"

#include <algorithm>
#include <thread>

namespace tessaly {

namespace {

// Puts a point after the first `first` and after the first `second` characters; a position past
// the end appends the point at the end.
std::string WithPoints(std::string_view digits, std::size_t first, std::size_t second) {
    std::string shown(digits.substr(0, std::min(first, digits.size())));
    shown += '.';
    if (digits.size() > first)
        shown.append(digits.substr(first, std::min(second, digits.size()) - first));
    shown += '.';
    if (digits.size() > second)
        shown.append(digits.substr(second));
    return shown;
}

// A time-out as the transport tells it, or as a source that only gives a text words it.
bool IsTimeOut(const HttpError& error) {
    return error.Kind() == HttpErrorKind::TimedOut ||
           (error.Kind() == HttpErrorKind::Other &&
            std::string_view(error.what()).find("timed out") != std::string_view::npos);
}

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

OfferedVersion ReadVersionDigits(std::string_view digits) {
    if (digits.size() == 6)
        return {std::string(digits.substr(0, 3)), WithPoints(digits, 1, 3)};
    return {std::string(digits.substr(0, std::min<std::size_t>(4, digits.size()))), WithPoints(digits, 2, 4)};
}

std::string ShownVersionOf(int version) {
    return ReadVersionDigits(std::to_string(version)).shownVersion;
}

UpdateAnswer ReadUpdateAnswer(const std::optional<std::string>& firstLine) {
    if (!firstLine)
        return {};
    const std::string_view line = TrimBlanks(*firstLine);
    if (line.empty() || line.front() != '1' || !AllDigits(line.substr(1)))
        return {UpdateAnswer::Kind::NoUpdates, {}};
    return {UpdateAnswer::Kind::Update, ReadVersionDigits(line.substr(1))};
}

std::string MakerAddress(std::string_view makerHost) {
    std::string address(makerHost);
    if (!address.empty() && address.back() != '/')
        address += '/';
    return address;
}

std::string UpdateRequestUrl(std::string_view makerHost, int productVersion) {
    return MakerAddress(makerHost) + "updates.asp?version=" + std::to_string(productVersion) +
           "&productid=" + std::to_string(kProductId);
}

std::string ProductPageUrl(std::string_view makerHost) {
    return MakerAddress(makerHost) + "tessaly.htm";
}

std::string SetupProgramUrl(std::string_view makerHost, std::string_view shortVersion) {
    return MakerAddress(makerHost) + "tessaly" + std::string(shortVersion) + "_setup.exe";
}

UpdateCheckResult CheckForProductUpdates(HttpTransport& transport, std::string_view makerHost,
                                         int productVersion,
                                         const std::function<void(std::chrono::milliseconds)>& wait) {
    UpdateCheckResult result;
    Endpoints endpoints;
    endpoints.makerHost = std::string(TrimBlanks(makerHost));
    if (const std::string missing = MissingMakerHostText(endpoints); !missing.empty()) {
        result.error = missing;
        return result;
    }
    const std::string url = UpdateRequestUrl(endpoints.makerHost, productVersion);
    try {
        std::unique_ptr<HttpSession> session = transport.OpenSession(kUpdateAgentName);
        std::unique_ptr<HttpAnswer> answer;
        while (!answer) {
            ++result.attempts;
            try {
                answer = session->OpenUrl(url);
            } catch (const HttpError& error) {
                if (!IsTimeOut(error) || result.attempts >= kUpdateCheckAttempts)
                    throw;
                if (wait)
                    wait(kUpdateCheckRetryDelay);
                else
                    std::this_thread::sleep_for(kUpdateCheckRetryDelay);
            }
        }
        std::string line;
        result.answer =
            ReadUpdateAnswer(answer->ReadLine(line) ? std::optional<std::string>(line) : std::nullopt);
        session->Close();
    } catch (const HttpError& error) {
        result.error = std::string(error.what()).substr(0, 255);
        if (result.error.empty())
            result.error = "The request to the update server failed.";
        result.answer = {};
    }
    return result;
}

} // namespace tessaly
