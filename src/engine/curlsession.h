#pragma once

#include "engine/httpsession.h"

#include <chrono>
#include <cstddef>

namespace tessaly {

// Limits that keep a dead or stalled server from holding a run forever.
struct CurlLimits {
    std::chrono::milliseconds connectTimeout{15000};
    // The answer is given up when no byte arrives for this long.
    std::chrono::seconds stallTimeout{30};
    // The whole transfer is given up after this long; zero for no limit.
    std::chrono::milliseconds totalTimeout{0};
    // An answer whose body grows beyond this many bytes is given up; zero for no limit.
    std::size_t maxBodyBytes = 0;
};

// HTTP on libcurl: blocking GETs, the proxy of the usual proxy environment variables, redirects
// followed. The body is read whole before the first line is handed out.
class CurlTransport final : public HttpTransport {
public:
    explicit CurlTransport(CurlLimits limits = {});
    std::unique_ptr<HttpSession> OpenSession(std::string_view userAgent) override;

private:
    CurlLimits limits_;
};

} // namespace tessaly
