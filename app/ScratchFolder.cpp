#include "app/ScratchFolder.h"

#include <chrono>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace {

const std::string kPrefix = "quittenhain-capture-";
const char* const kOwnerFile = "owner";

// Absolute, as the names handed to FFmpeg must be, whatever TMPDIR says.
fs::path temporaryFolder()
{
    std::error_code none;
    const fs::path tmp = fs::temp_directory_path(none);
    const fs::path absolute = fs::absolute(none ? fs::path("/tmp") : tmp, none);
    return none ? fs::path("/tmp") : absolute;
}

// Whether a scratch folder belongs to no running capture: its owner file is
// unheld, or, from before owner files, it has not changed for a day.  A
// folder that cannot be looked into (another user's) is never one: it is
// not this user's to remove.
bool abandoned(const fs::path& folder, FileClaim& probe)
{
    const FileClaim::Result result = probe.claim((folder / kOwnerFile).string(), true);
    if (result == FileClaim::Result::TakenOver)
        return true;
    // Only a folder known to hold no owner file goes by its age.
    std::error_code unknown;
    if (result == FileClaim::Result::Busy ||
        fs::symlink_status(folder / kOwnerFile, unknown).type() != fs::file_type::not_found)
        return false;
    const auto changed = fs::last_write_time(folder, unknown);
    return !unknown && fs::file_time_type::clock::now() - changed > std::chrono::hours(24);
}

void sweepAbandonedFolders()
{
    std::error_code unreadable;
    fs::directory_iterator entry(temporaryFolder(), unreadable);
    for (; !unreadable && entry != fs::directory_iterator(); entry.increment(unreadable)) {
        std::error_code ignored;
        // A link with the prefix leads elsewhere: never looked into.
        if (entry->path().filename().string().rfind(kPrefix, 0) != 0 || !entry->is_directory(ignored) ||
            entry->is_symlink(ignored))
            continue;
        FileClaim probe;
        if (abandoned(entry->path(), probe))
            fs::remove_all(entry->path(), ignored);
    }
}

}  // namespace

bool makeScratchFolder(FileClaim& claim, std::string& folder, std::string& error)
{
    sweepAbandonedFolders();
    std::random_device seed;
    std::mt19937_64 random(seed() ^ static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (int attempt = 0; attempt < 16; ++attempt) {
        const fs::path candidate = temporaryFolder() / (kPrefix + std::to_string(random() % 1000000000000ull));
        std::error_code why;
        if (!fs::create_directory(candidate, why)) {
            if (why) {
                error = "cannot make a temporary folder: " + why.message();
                return false;
            }
            continue;   // the name is taken
        }
        fs::permissions(candidate, fs::perms::owner_all, why);
        if (claim.claim((candidate / kOwnerFile).string()) != FileClaim::Result::Claimed) {
            error = "cannot claim the temporary folder " + candidate.string();
            fs::remove_all(candidate, why);
            return false;
        }
        folder = candidate.string();
        return true;
    }
    error = "cannot find a free name for a temporary folder in " + temporaryFolder().string();
    return false;
}

void removeScratchFolder(const std::string& folder)
{
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}
