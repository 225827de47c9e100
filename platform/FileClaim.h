#pragma once
#include <memory>
#include <string>

// A claim on a file that only one process holds at a time, so that two
// captures never write into the same place.  The system drops the claim
// when the process ends, however it ends: a claim file left behind by a run
// that was killed is found unheld and can be taken over.
class FileClaim {
public:
    enum class Result {
        Claimed,     // the file was made and is ours
        TakenOver,   // it was there, left by a process no longer running; now ours
        Busy,        // a running process holds it
        Failed,      // it cannot be made or opened (see errno and failure())
    };

    FileClaim();
    ~FileClaim();   // lets the claim go; the file stays
    FileClaim(const FileClaim&) = delete;
    FileClaim& operator=(const FileClaim&) = delete;

    // Claims `path`, making the file when it is missing.  With
    // mustExist, a missing file is not made and gives Failed.  A name is
    // never followed through a symbolic link.  A stale claim file this user
    // may not write, or a link at its name, is replaced by a new file where
    // the folder allows it.
    Result claim(const std::string& path, bool mustExist = false);

    // After Failed: why, in words, when errno alone does not say it ("" otherwise).
    const std::string& failure() const { return failure_; }

    // Lets the claim go; with removeFile the file is deleted first.
    void release(bool removeFile);

    bool held() const;

private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
    std::string path_;
    std::string failure_;
};
