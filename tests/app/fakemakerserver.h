#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tessaly::test {

// A stand-in for the maker's web server on 127.0.0.1: it serves "forum/symboldatabase.txt" with
// the text and status it is given and remembers what was asked.
class FakeMakerServer {
public:
    FakeMakerServer();
    ~FakeMakerServer();
    FakeMakerServer(const FakeMakerServer&) = delete;
    FakeMakerServer& operator=(const FakeMakerServer&) = delete;

    // Starts listening on a free port of 127.0.0.1. Reports success.
    bool Start();
    void Stop();
    // "http://127.0.0.1:PORT/".
    std::string BaseUrl() const;

    void SetSymbolDatabase(std::string body, int status = 200);
    // The request paths received, oldest first.
    std::vector<std::string> Requests() const;
    std::string LastUserAgent() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The text of a downloadable symbol database: a first line, the count line "Lines=N" and N lines.
std::string SymbolDatabaseText(int lines);

} // namespace tessaly::test
