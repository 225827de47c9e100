#pragma once
// Running the demo program as a user would, from a shell, and collecting
// what it says.
#include <cstdio>
#include <string>
#include <sys/wait.h>

struct RunResult {
    int status = -1;   // the exit status, or -1 when ended by a signal
    std::string output;
};

// Runs a shell command line; stdout is captured (add 2>&1 for stderr).
inline RunResult runShell(const std::string& command)
{
    RunResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.output.append(buffer, got);
    const int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

// Runs the demo program with the given arguments; stderr is captured.
inline RunResult runDemo(const std::string& arguments)
{
    return runShell(std::string(QUITTENHAIN_BINARY) + " " + arguments + " 2>&1");
}
