#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tessaly {

// What failed when a request could not be carried out. The first four are passing troubles that a
// new attempt may cure; the download engine retries them.
enum class HttpErrorKind {
    TimedOut,          // no connection or no data within the time allowed
    ConnectionReset,   // the connection broke while the answer was on its way
    ConnectionRefused, // the connection could not be established
    InvalidAnswer,     // the server's answer was not understood
    Other,             // anything else (unknown host, bad address, no server configured)
};

// A failure of the transport, with a text of at most 255 characters for the user.
class HttpError : public std::runtime_error {
public:
    HttpError(HttpErrorKind kind, const std::string& text);
    HttpErrorKind Kind() const { return kind_; }

private:
    HttpErrorKind kind_;
};

// Passing troubles by kind, and for sources that only give a text, by the words such texts carry.
bool IsTransientHttpError(const HttpError& error);

// The answer to one GET, read line by line.
class HttpAnswer {
public:
    virtual ~HttpAnswer() = default;
    // The HTTP status, 0 when the source has none.
    virtual int Status() const = 0;
    // The next line of the body without its line break; false at the end. May throw HttpError.
    virtual bool ReadLine(std::string& line) = 0;
};

// One internet session: opened per operation, closed when the operation ends.
class HttpSession {
public:
    virtual ~HttpSession() = default;
    // Sends a GET of `url`; throws HttpError when there is no answer.
    virtual std::unique_ptr<HttpAnswer> OpenUrl(const std::string& url) = 0;
    virtual void Close() = 0;
};

// Opens sessions; what stands behind them (a real HTTP client, an adapter to another source, a fake)
// is no concern of the engine.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    virtual std::unique_ptr<HttpSession> OpenSession(std::string_view userAgent) = 0;
};

} // namespace tessaly
