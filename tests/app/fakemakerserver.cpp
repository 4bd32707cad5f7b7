#include "fakemakerserver.h"

#include <httplib.h>

#include <chrono>
#include <mutex>
#include <thread>

namespace tessaly::test {

struct FakeMakerServer::Impl {
    httplib::Server server;
    std::thread thread;
    int port = 0;
    mutable std::mutex mutex;
    std::string body;
    int status = 200;
    std::vector<std::string> requests;
    std::string userAgent;
};

FakeMakerServer::FakeMakerServer()
    : impl_(std::make_unique<Impl>()) {
    impl_->server.Get("/.*", [this](const httplib::Request& request, httplib::Response& response) {
        std::lock_guard lock(impl_->mutex);
        impl_->requests.push_back(request.path);
        impl_->userAgent = request.get_header_value("User-Agent");
        if (request.path != "/forum/symboldatabase.txt") {
            response.status = 404;
            response.set_content("<html><body>Not Found</body></html>", "text/html");
            return;
        }
        response.status = impl_->status;
        response.set_content(impl_->body, "text/plain");
    });
}

FakeMakerServer::~FakeMakerServer() {
    Stop();
}

bool FakeMakerServer::Start() {
    impl_->port = impl_->server.bind_to_any_port("127.0.0.1");
    if (impl_->port <= 0)
        return false;
    impl_->thread = std::thread([this] { impl_->server.listen_after_bind(); });
    while (!impl_->server.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

void FakeMakerServer::Stop() {
    if (impl_->thread.joinable()) {
        impl_->server.stop();
        impl_->thread.join();
    }
}

std::string FakeMakerServer::BaseUrl() const {
    return "http://127.0.0.1:" + std::to_string(impl_->port) + "/";
}

void FakeMakerServer::SetSymbolDatabase(std::string body, int status) {
    std::lock_guard lock(impl_->mutex);
    impl_->body = std::move(body);
    impl_->status = status;
}

std::vector<std::string> FakeMakerServer::Requests() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->requests;
}

std::string FakeMakerServer::LastUserAgent() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->userAgent;
}

std::string SymbolDatabaseText(int lines) {
    std::string text = "[SymbolDatabase]\nLines=" + std::to_string(lines) + "\n";
    for (int i = 1; i <= lines; ++i)
        text += "Entry " + std::to_string(i) + ",SYM" + std::to_string(i) + ",NYSE\n";
    return text;
}

} // namespace tessaly::test
