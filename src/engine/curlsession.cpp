#include "engine/curlsession.h"

#include <curl/curl.h>

#include <mutex>
#include <string>

namespace tessaly {

namespace {

void InitialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Body {
    std::string text;
    std::size_t limit = 0;
    bool tooLarge = false;
};

std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* target) {
    auto* body = static_cast<Body*>(target);
    if (body->limit != 0 && size * count > body->limit - body->text.size()) {
        body->tooLarge = true;
        return 0; // curl gives the transfer up
    }
    body->text.append(data, size * count);
    return size * count;
}

// The transport's failure, told by what failed rather than by curl's wording.
HttpError ErrorOf(CURLcode code, const char* detail) {
    HttpErrorKind kind = HttpErrorKind::Other;
    std::string text;
    switch (code) {
    case CURLE_OPERATION_TIMEDOUT:
        kind = HttpErrorKind::TimedOut;
        text = "The operation timed out";
        break;
    case CURLE_COULDNT_CONNECT:
        kind = HttpErrorKind::ConnectionRefused;
        text = "The connection with the server could not be established";
        break;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
        kind = HttpErrorKind::ConnectionReset;
        text = "The connection with the server was reset";
        break;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_BAD_CONTENT_ENCODING:
    case CURLE_HTTP2:
        kind = HttpErrorKind::InvalidAnswer;
        text = "The server returned an invalid or unrecognized response";
        break;
    default:
        text = curl_easy_strerror(code);
        break;
    }
    if (detail != nullptr && *detail != '\0')
        text += std::string(" (") + detail + ")";
    return HttpError(kind, text);
}

class BufferedAnswer final : public HttpAnswer {
public:
    BufferedAnswer(int status, std::string body)
        : status_(status)
        , body_(std::move(body)) {}

    int Status() const override { return status_; }

    bool ReadLine(std::string& line) override {
        if (position_ >= body_.size())
            return false;
        const auto end = body_.find('\n', position_);
        const std::size_t stop = end == std::string::npos ? body_.size() : end;
        line.assign(body_, position_, stop - position_);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        position_ = end == std::string::npos ? body_.size() : end + 1;
        return true;
    }

private:
    int status_;
    std::string body_;
    std::size_t position_ = 0;
};

class CurlSession final : public HttpSession {
public:
    CurlSession(const CurlLimits& limits, std::string_view userAgent)
        : limits_(limits)
        , userAgent_(userAgent)
        , handle_(curl_easy_init()) {}
    ~CurlSession() override { Close(); }
    CurlSession(const CurlSession&) = delete;
    CurlSession& operator=(const CurlSession&) = delete;

    std::unique_ptr<HttpAnswer> OpenUrl(const std::string& url) override {
        if (handle_ == nullptr)
            throw HttpError(HttpErrorKind::Other, "The internet session could not be opened");
        curl_easy_reset(handle_);
        Body body;
        body.limit = limits_.maxBodyBytes;
        char detail[CURL_ERROR_SIZE] = {};
        curl_easy_setopt(handle_, CURLOPT_URL, url.c_str());
        curl_easy_setopt(handle_, CURLOPT_USERAGENT, userAgent_.c_str());
        curl_easy_setopt(handle_, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(handle_, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(handle_, CURLOPT_MAXREDIRS, 10L);
        curl_easy_setopt(handle_, CURLOPT_CONNECTTIMEOUT_MS,
                         static_cast<long>(limits_.connectTimeout.count()));
        curl_easy_setopt(handle_, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(handle_, CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits_.stallTimeout.count()));
        curl_easy_setopt(handle_, CURLOPT_TIMEOUT_MS, static_cast<long>(limits_.totalTimeout.count()));
        curl_easy_setopt(handle_, CURLOPT_WRITEFUNCTION, AppendBody);
        curl_easy_setopt(handle_, CURLOPT_WRITEDATA, &body);
        curl_easy_setopt(handle_, CURLOPT_ERRORBUFFER, detail);
        const CURLcode code = curl_easy_perform(handle_);
        curl_easy_setopt(handle_, CURLOPT_ERRORBUFFER, nullptr);
        if (body.tooLarge)
            throw HttpError(HttpErrorKind::InvalidAnswer,
                            "The server's answer is larger than " + std::to_string(body.limit) + " bytes");
        if (code != CURLE_OK)
            throw ErrorOf(code, detail);
        long status = 0;
        curl_easy_getinfo(handle_, CURLINFO_RESPONSE_CODE, &status);
        return std::make_unique<BufferedAnswer>(static_cast<int>(status), std::move(body.text));
    }

    void Close() override {
        if (handle_ != nullptr)
            curl_easy_cleanup(handle_);
        handle_ = nullptr;
    }

private:
    CurlLimits limits_;
    std::string userAgent_;
    CURL* handle_;
};

} // namespace

CurlTransport::CurlTransport(CurlLimits limits)
    : limits_(limits) {
    InitialiseCurlOnce();
}

std::unique_ptr<HttpSession> CurlTransport::OpenSession(std::string_view userAgent) {
    return std::make_unique<CurlSession>(limits_, userAgent);
}

} // namespace tessaly
