#pragma once
#include <cstddef>
#include <string>

// File operations whose meaning differs between systems, with UTF-8 paths.
// Each system has one implementation file.

enum class NewFile { Created, Exists, Failed };

// Creates the empty file `path` only when nothing has that name yet, in one
// step (no other program can create it in between).
NewFile createNewFile(const std::string& path, std::string& error);

// Writes `count` bytes into a file made anew at `path`.  Whatever had the
// name (a file left by an earlier run, a symbolic link) is removed first and
// never written through.  False, with the reason, when it cannot be written
// whole; what was made is then removed.
bool writeNewFile(const std::string& path, const void* bytes, std::size_t count, std::string& error);

// Renames `from` to `to`, replacing a file `to` that is already there (what
// POSIX rename does; Windows' plain rename refuses).
bool replaceFile(const std::string& from, const std::string& to, std::string& error);

// Makes a new folder only this run uses, named `prefix` and a unique ending,
// in the system's folder for temporary files.
bool makeTemporaryFolder(const std::string& prefix, std::string& path, std::string& error);

// Removes a file or an empty folder; true when it is gone.
bool removeFile(const std::string& path);
bool removeFolder(const std::string& path);
