#include "support/runcommand.h"

#include <array>
#include <cstdio>
#include <sys/wait.h>

namespace tessaly::test {

CommandRun RunCommand(const std::string& commandLine) {
    CommandRun run;
    FILE* pipe = popen(commandLine.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buffer{};
    std::size_t got = 0;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), got);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

CommandRun RunCli(const std::string& cli, const std::string& arguments, bool withStandardError,
                  const std::string& environment) {
    std::string commandLine = environment.empty() ? std::string{} : environment + " ";
    commandLine += "'" + cli + "' " + arguments + (withStandardError ? " 2>&1" : " 2>/dev/null");
    return RunCommand(commandLine);
}

} // namespace tessaly::test
