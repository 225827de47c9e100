#include "app/CaptureClaim.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

bool claimForCapture(FileClaim& claim, const std::string& file, const std::string& target, std::string& error)
{
    switch (claim.claim(file)) {
    case FileClaim::Result::Claimed:
        return true;
    case FileClaim::Result::TakenOver:
        std::fprintf(stderr, "quittenhain: %s was left by a capture that no longer runs; taking it over\n",
                     file.c_str());
        return true;
    case FileClaim::Result::Busy:
        error = "another capture is writing " + target + "; wait for it or capture elsewhere";
        return false;
    case FileClaim::Result::Failed:
        break;
    }
    const int why = errno;
    if (!claim.failure().empty()) {
        error = "cannot claim " + file + " for the capture: " + claim.failure();
    } else if (why == ENOENT) {
        const std::filesystem::path folder = std::filesystem::u8path(file).parent_path();
        error = "cannot write " + file + ": the folder " + (folder.empty() ? "." : folder.u8string()) +
                " does not exist";
    } else {
        error = "cannot claim " + file + " for the capture: " + std::strerror(why);
    }
    return false;
}
