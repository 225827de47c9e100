#pragma once
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Another program run by this one, fed through a pipe to its standard input,
// its error output going to a file.  Used to hand frames to an encoder.  The
// operating system's process calls stay behind this interface.
class ChildProcess {
public:
    enum class Outcome {
        Done,          // written; or, from finish(), the program ended with status 0
        Interrupted,   // stopRequested() turned true; the program has been stopped
        Failed,        // it no longer reads its input, or it ended otherwise than with 0
        Stalled,       // it took nothing, or did not end, in the time allowed; the program has been stopped
    };

    ChildProcess();
    ~ChildProcess();   // a program still running is stopped and waited for
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts `program` (a path) with `arguments` (arguments[0] is its own
    // name); its error output replaces the file `errorLog`.
    bool start(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& errorLog, std::string& error);

    // Writes all `count` bytes to its input.  stopRequested() is asked at
    // least every tenth of a second while the program does not read, so a
    // request to stop is seen even when the signal went to another thread.
    // A program that takes no byte for `stallLimit` is stopped: a wedged
    // reader never holds this one forever.
    Outcome write(const void* bytes, std::size_t count, const std::function<bool()>& stopRequested,
                  std::chrono::milliseconds stallLimit);

    // Closes its input and waits until the program has really ended, however
    // often signals break the wait; when stopRequested() turns true (asked
    // at least every tenth of a second) it is stopped instead (Interrupted),
    // and so it is once `timeLimit` has passed (Stalled; zero: no limit).
    // `how` tells how it ended when it failed or stalled.
    Outcome finish(const std::function<bool()>& stopRequested, std::string& how,
                   std::chrono::milliseconds timeLimit = std::chrono::milliseconds::zero());

    // Stops the program at once and waits for its end; nothing when none runs.
    void stop();

    bool running() const;

private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
};

// The full path of an executable file named `name` in a folder of the search
// path (PATH), or "" when there is none.  Folders of that name do not count.
std::string findProgram(const std::string& name);
