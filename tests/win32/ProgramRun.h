#pragma once
// Runs the Windows executable through the command interpreter, as a user
// at a command prompt would, and collects what it prints.
#include <cstdio>
#include <string>

struct ProgramRun {
    int status = -1;
    std::string output;
};

inline ProgramRun runProgram(const std::string& arguments)
{
    ProgramRun result;
    const std::string command = std::string(QUITTENHAIN_BINARY) + " " + arguments + " 2>&1";
    FILE* pipe = _popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, got);
    result.status = _pclose(pipe);
    return result;
}
