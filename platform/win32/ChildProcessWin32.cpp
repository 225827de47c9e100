// The child process on Windows: CreateProcessW with its standard input on a
// pipe whose writing end is ours and opened for overlapped I/O, so that every
// write is a wait this side controls (stop requests are seen while it waits;
// a deadline would be one more condition of the same wait).  The child runs
// in a job that ends it when this program ends, however that happens, and in
// a process group of its own, so that Ctrl-C in the console reaches only
// this program, which decides how to stop the child.
#include "platform/ChildProcess.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdlib>

#include "platform/win32/WideText.h"

struct ChildProcess::Handles {
    HANDLE process = nullptr;
    HANDLE input = nullptr;     // our end of the pipe to its standard input
    HANDLE written = nullptr;   // signalled when an overlapped write completes
    HANDLE job = nullptr;       // ends the child with this program
};

namespace {

// How often a pending write or wait looks at stopRequested().
constexpr DWORD kStopCheckMs = 50;
// One write hands the pipe at most this much; the pipe buffers as much.
constexpr DWORD kWriteChunk = 1 << 20;

void closeHandle(HANDLE& handle)
{
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
    handle = nullptr;
}

std::string lastError(const std::string& what)
{
    return what + ": " + systemMessage(GetLastError());
}

// One argument as the C runtime's parser reads it back (CommandLineToArgvW
// rules): quoted when it has blanks or quotes or is empty, with backslashes
// doubled where they precede a quote.
std::wstring quoteArgument(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

std::wstring commandLineOf(const std::vector<std::string>& arguments)
{
    std::wstring line;
    for (const std::string& argument : arguments) {
        if (!line.empty())
            line.push_back(L' ');
        line += quoteArgument(wideFromUtf8(argument));
    }
    return line;
}

// A pipe of our own: the reading end inheritable for the child, the writing
// end ours alone (an inherited copy would keep the child from ever seeing
// the end of its input) and overlapped.
bool makePipe(HANDLE& ours, HANDLE& childs, std::string& error)
{
    static std::atomic<unsigned> serial{0};
    const std::wstring name = L"\\\\.\\pipe\\quittenhain-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(serial++);
    ours = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_OUTBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                            PIPE_TYPE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, kWriteChunk, kWriteChunk, 0,
                            nullptr);
    if (ours == INVALID_HANDLE_VALUE) {
        ours = nullptr;
        error = lastError("cannot make a pipe");
        return false;
    }
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    childs = CreateFileW(name.c_str(), GENERIC_READ, 0, &inherited, OPEN_EXISTING, 0, nullptr);
    if (childs == INVALID_HANDLE_VALUE) {
        childs = nullptr;
        error = lastError("cannot open the pipe");
        closeHandle(ours);
        return false;
    }
    return true;
}

// A job that kills what it holds once its last handle (ours) closes.
HANDLE makeJob()
{
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (job == nullptr)
        return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits))
        closeHandle(job);
    return job;
}

enum class Wait { Signalled, Stopped, TimedOut };

// Waits for `event` in short steps, asking stopRequested() between them,
// for at most `limit` (no limit when it is zero or less).
Wait waitUnlessStopped(HANDLE event, const std::function<bool()>& stopRequested,
                       std::chrono::milliseconds limit = std::chrono::milliseconds::zero())
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (WaitForSingleObject(event, kStopCheckMs) != WAIT_TIMEOUT)
            return Wait::Signalled;
        if (stopRequested && stopRequested())
            return Wait::Stopped;
        if (limit.count() > 0 && std::chrono::steady_clock::now() >= deadline)
            return Wait::TimedOut;
    }
}

std::string describeEnd(DWORD status)
{
    // Values with the top bits set are exceptions (0xC0000005: access
    // violation) or TerminateProcess codes rather than exit statuses.
    if (status >= 0xC0000000u) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(status));
        return std::string("it was ended abnormally (") + hex + ")";
    }
    return "it ended with status " + std::to_string(status);
}

}  // namespace

ChildProcess::ChildProcess() : handles_(std::make_unique<Handles>()) {}

ChildProcess::~ChildProcess()
{
    stop();
    closeHandle(handles_->job);
    closeHandle(handles_->written);
}

bool ChildProcess::running() const
{
    return handles_->process != nullptr;
}

bool ChildProcess::start(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& errorLog, std::string& error)
{
    HANDLE childInput = nullptr;
    if (!makePipe(handles_->input, childInput, error))
        return false;
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE log = CreateFileW(wideFromUtf8(errorLog).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        log = nullptr;   // as on POSIX: the child then writes its messages nowhere

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput;
    startup.hStdOutput = log;
    startup.hStdError = log;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = commandLineOf(arguments);
    const BOOL started = CreateProcessW(wideFromUtf8(program).c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_SUSPENDED | CREATE_NEW_PROCESS_GROUP | CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &info);
    if (!started)
        error = lastError("cannot start " + program);
    closeHandle(childInput);
    closeHandle(log);
    if (!started) {
        closeHandle(handles_->input);
        return false;
    }
    if (handles_->job == nullptr)
        handles_->job = makeJob();
    // Without a job (a system that refuses nested jobs) the child still
    // runs; it then ends when its input does.
    if (handles_->job != nullptr)
        AssignProcessToJobObject(handles_->job, info.hProcess);
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    handles_->process = info.hProcess;
    if (handles_->written == nullptr)
        handles_->written = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return true;
}

ChildProcess::Outcome ChildProcess::write(const void* bytes, std::size_t count,
                                          const std::function<bool()>& stopRequested,
                                          std::chrono::milliseconds stallLimit)
{
    if (handles_->input == nullptr)
        return Outcome::Failed;
    const auto* next = static_cast<const unsigned char*>(bytes);
    while (count > 0) {
        const DWORD chunk = count < kWriteChunk ? static_cast<DWORD>(count) : kWriteChunk;
        OVERLAPPED overlapped{};
        overlapped.hEvent = handles_->written;
        ResetEvent(handles_->written);
        if (!WriteFile(handles_->input, next, chunk, nullptr, &overlapped) && GetLastError() != ERROR_IO_PENDING)
            return Outcome::Failed;   // the child closed its input or ended
        // Each chunk taken is progress; a reader that takes none for
        // stallLimit is wedged and is stopped like an interrupted one.
        const Wait wait = waitUnlessStopped(handles_->written, stopRequested, stallLimit);
        if (wait != Wait::Signalled) {
            CancelIo(handles_->input);
            DWORD ignored = 0;
            GetOverlappedResult(handles_->input, &overlapped, &ignored, TRUE);
            stop();
            return wait == Wait::Stopped ? Outcome::Interrupted : Outcome::Stalled;
        }
        DWORD done = 0;
        if (!GetOverlappedResult(handles_->input, &overlapped, &done, FALSE) || done == 0)
            return Outcome::Failed;
        next += done;
        count -= done;
    }
    return Outcome::Done;
}

ChildProcess::Outcome ChildProcess::finish(const std::function<bool()>& stopRequested, std::string& how,
                                           std::chrono::milliseconds timeLimit)
{
    closeHandle(handles_->input);
    if (handles_->process == nullptr) {
        how = "it was not running";
        return Outcome::Failed;
    }
    const Wait wait = waitUnlessStopped(handles_->process, stopRequested, timeLimit);
    if (wait != Wait::Signalled) {
        stop();
        if (wait == Wait::Stopped)
            return Outcome::Interrupted;
        how = "it had not ended after " + std::to_string(timeLimit.count() / 1000) + " s and was stopped";
        return Outcome::Stalled;
    }
    DWORD status = 0;
    const bool known = GetExitCodeProcess(handles_->process, &status) != 0;
    closeHandle(handles_->process);
    if (stopRequested && stopRequested())
        return Outcome::Interrupted;
    if (known && status == 0)
        return Outcome::Done;
    how = known ? describeEnd(status) : "its end could not be observed";
    return Outcome::Failed;
}

void ChildProcess::stop()
{
    closeHandle(handles_->input);
    if (handles_->process == nullptr)
        return;
    TerminateProcess(handles_->process, 1);
    WaitForSingleObject(handles_->process, INFINITE);
    closeHandle(handles_->process);
}
