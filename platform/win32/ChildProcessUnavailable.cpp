// This Windows build captures no video (see VideoFileUnavailable.cpp), so it
// starts no other programs: every start fails with a reason and there is
// never a program to wait for or stop.
#include "platform/ChildProcess.h"

struct ChildProcess::Handles {};

ChildProcess::ChildProcess() = default;
ChildProcess::~ChildProcess() = default;

bool ChildProcess::start(const std::string& program, const std::vector<std::string>&, const std::string&,
                         std::string& error)
{
    error = "cannot start " + program + ": this Windows build starts no other programs";
    return false;
}

ChildProcess::Outcome ChildProcess::write(const void*, std::size_t, const std::function<bool()>&,
                                          std::chrono::milliseconds)
{
    return Outcome::Failed;
}

ChildProcess::Outcome ChildProcess::finish(const std::function<bool()>&, std::string& how)
{
    how = "no program was started";
    return Outcome::Failed;
}

void ChildProcess::stop() {}

bool ChildProcess::running() const
{
    return false;
}

std::string findProgram(const std::string&)
{
    return "";
}
