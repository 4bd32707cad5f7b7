// fake-quote-server: the test tree's stand-in for the quote service and the currency server, for
// trying tessaly-cli by hand. Serves built-in securities (MSFT, IBM, ^GSPC, $EURUSD) up to today, or
// the fixtures of a folder, on 127.0.0.1 until interrupted.
#include "fakequoteserver.h"

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    int port = 8080;
    std::string fixtures;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--port" && i + 1 < argc) {
            port = std::atoi(argv[++i]);
        } else if (argument == "--fixtures" && i + 1 < argc) {
            fixtures = argv[++i];
        } else {
            std::cerr << "Usage: fake-quote-server [--port N] [--fixtures DIR]\n"
                         "  --port N        the port on 127.0.0.1 (default 8080; 0 for a free one)\n"
                         "  --fixtures DIR  SYMBOL.csv, PAIR.txt, SYMBOL.quote, SYMBOL.html and SYMBOL.json "
                         "(chart) files\n"
                         "                  instead of the built-in securities\n";
            return 64;
        }
    }
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    tessaly::test::FakeQuoteServer server;
    if (fixtures.empty()) {
        server.LoadBuiltInFixtures(tessaly::TodayDateNumber());
    } else if (server.LoadFixtures(fixtures) + server.LoadChartFixtures(fixtures) == 0) {
        std::cerr << "fake-quote-server: no fixtures in " << fixtures << "\n";
        return 1;
    }
    if (!server.Start(port)) {
        std::cerr << "fake-quote-server: cannot listen on 127.0.0.1:" << port << "\n";
        return 1;
    }
    std::cout << "Serving quotes on " << server.BaseUrl() << " (Ctrl+C stops)" << std::endl;
    int received = 0;
    sigwait(&signals, &received);
    server.Stop();
    return 0;
}
