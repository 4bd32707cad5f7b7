#pragma once

#include <string>

namespace tessaly::test {

struct CommandRun {
    int status = -1; // the exit status; -1 when the command did not exit normally
    std::string out; // what it wrote on standard output (and standard error when the command joins them)
};

// Runs a shell command line and collects its standard output.
CommandRun RunCommand(const std::string& commandLine);

// Runs tessaly-cli (the program named by TESSALY_CLI at build time of the test) with `arguments`, a
// shell-quoted string, after `environment` assignments such as "XDG_CONFIG_HOME='/tmp/x'".
CommandRun RunCli(const std::string& cli, const std::string& arguments, bool withStandardError = false,
                  const std::string& environment = {});

} // namespace tessaly::test
