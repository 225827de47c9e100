#include "platform/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

struct ChildProcess::Handles {
    pid_t pid = -1;
    int input = -1;   // our end of the pipe to its standard input
};

namespace {

// How long a write waits for room in the pipe before it looks for a request
// to stop again.
constexpr int kLookAroundMs = 100;

void closeInput(int& input)
{
    if (input >= 0)
        close(input);
    input = -1;
}

enum class Ending { Own, Stopped, TimedOut };

// Waits for the child's end, looking for a request to stop at least every
// tenth of a second: the signal behind it may have gone to another thread
// and broken no wait here.  On such a request, or once `limit` has passed
// (zero: none), the child is killed first; `ending` says which.
int waitForEnd(pid_t pid, const std::function<bool()>& stopRequested, std::chrono::milliseconds limit,
               Ending& ending)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + limit;
    int pause = 1;
    int status = 0;
    for (;;) {
        const pid_t ended = waitpid(pid, &status, ending == Ending::Own ? WNOHANG : 0);
        if (ended == pid)
            return status;
        if (ended < 0 && errno != EINTR)
            return -1;
        if (ended < 0)
            continue;
        if (stopRequested && stopRequested())
            ending = Ending::Stopped;
        else if (limit.count() > 0 && Clock::now() >= deadline)
            ending = Ending::TimedOut;
        if (ending != Ending::Own) {
            kill(pid, SIGKILL);
            continue;   // now waited for without a pause
        }
        poll(nullptr, 0, pause);
        pause = std::min(pause * 2, kLookAroundMs);
    }
}

std::string describeEnd(int status)
{
    if (status == -1)
        return "its end could not be observed";
    if (WIFEXITED(status))
        return "it ended with status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return std::string("it was ended by signal ") + strsignal(WTERMSIG(status));
    return "it ended abnormally";
}

}  // namespace

ChildProcess::ChildProcess() : handles_(std::make_unique<Handles>()) {}

ChildProcess::~ChildProcess()
{
    stop();
}

bool ChildProcess::running() const
{
    return handles_->pid > 0;
}

bool ChildProcess::start(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& errorLog, std::string& error)
{
    int fds[2];
    if (pipe(fds) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    // Everything the child needs is prepared before the fork: the process
    // has other threads, so the child may only make system calls.
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    fcntl(fds[1], F_SETFD, FD_CLOEXEC);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        // A group of its own: Ctrl-C in the terminal reaches only this
        // program, which decides how to stop the child.
        setpgid(0, 0);
#ifdef __linux__
        // And it does not outlive this program, even one that was killed.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
#else
        (void)parent;
#endif
        signal(SIGPIPE, SIG_DFL);
        dup2(fds[0], STDIN_FILENO);
        close(fds[0]);
        const int log = ::open(errorLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (log >= 0)
            dup2(log, STDERR_FILENO);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(fds[0]);
    if (pid < 0) {
        close(fds[1]);
        error = std::string("cannot start ") + program + ": " + std::strerror(errno);
        return false;
    }
    fcntl(fds[1], F_SETFL, fcntl(fds[1], F_GETFL) | O_NONBLOCK);
    handles_->pid = pid;
    handles_->input = fds[1];
    return true;
}

ChildProcess::Outcome ChildProcess::write(const void* bytes, std::size_t count,
                                          const std::function<bool()>& stopRequested,
                                          std::chrono::milliseconds stallLimit)
{
    using Clock = std::chrono::steady_clock;
    const auto* next = static_cast<const unsigned char*>(bytes);
    Clock::time_point lastProgress = Clock::now();
    while (count > 0) {
        if (stopRequested && stopRequested()) {
            stop();
            return Outcome::Interrupted;
        }
        // The pipe is non-blocking: a write takes what fits, and the wait
        // for room is a poll that comes back often enough to look around.
        const ssize_t done = ::write(handles_->input, next, count);
        if (done > 0) {
            next += done;
            count -= static_cast<std::size_t>(done);
            lastProgress = Clock::now();
            continue;
        }
        if (done < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)
            return Outcome::Failed;
        if (Clock::now() - lastProgress >= stallLimit) {
            stop();
            return Outcome::Stalled;
        }
        pollfd room{handles_->input, POLLOUT, 0};
        poll(&room, 1, kLookAroundMs);
    }
    return Outcome::Done;
}

ChildProcess::Outcome ChildProcess::finish(const std::function<bool()>& stopRequested, std::string& how,
                                           std::chrono::milliseconds timeLimit)
{
    closeInput(handles_->input);
    if (handles_->pid <= 0) {
        how = "it was not running";
        return Outcome::Failed;
    }
    Ending ending = Ending::Own;
    const int status = waitForEnd(handles_->pid, stopRequested, timeLimit, ending);
    handles_->pid = -1;
    if (ending == Ending::Stopped || (stopRequested && stopRequested()))
        return Outcome::Interrupted;
    if (ending == Ending::TimedOut) {
        how = "it had not ended after " + std::to_string(timeLimit.count() / 1000) + " s and was stopped";
        return Outcome::Stalled;
    }
    if (status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return Outcome::Done;
    how = describeEnd(status);
    return Outcome::Failed;
}

void ChildProcess::stop()
{
    closeInput(handles_->input);
    if (handles_->pid <= 0)
        return;
    Ending ending = Ending::Stopped;
    kill(handles_->pid, SIGKILL);
    waitForEnd(handles_->pid, nullptr, std::chrono::milliseconds::zero(), ending);
    handles_->pid = -1;
}

std::string findProgram(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return "";
}
