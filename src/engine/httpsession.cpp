#include "engine/httpsession.h"

namespace tessaly {

namespace {

std::string Shortened(const std::string& text) {
    return text.size() <= 255 ? text : text.substr(0, 255);
}

} // namespace

HttpError::HttpError(HttpErrorKind kind, const std::string& text)
    : std::runtime_error(Shortened(text))
    , kind_(kind) {}

bool IsTransientHttpError(const HttpError& error) {
    if (error.Kind() != HttpErrorKind::Other)
        return true;
    const std::string_view text = error.what();
    for (std::string_view words : {"timed out", "reset", "invalid", "could not be established"}) {
        if (text.find(words) != std::string_view::npos)
            return true;
    }
    return false;
}

} // namespace tessaly
