#include "app/ScratchFolder.h"

#include <chrono>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace {

const std::string kPrefix = "quittenhain-capture-";
const char* const kOwnerFile = "owner";

fs::path temporaryFolder()
{
    std::error_code none;
    const fs::path tmp = fs::temp_directory_path(none);
    return none ? fs::path("/tmp") : tmp;
}

// Whether a scratch folder belongs to no running capture: its owner file is
// unheld, or, from before owner files, it has not changed for a day.
bool abandoned(const fs::path& folder, FileClaim& probe)
{
    const FileClaim::Result result = probe.claim((folder / kOwnerFile).string(), true);
    if (result == FileClaim::Result::TakenOver)
        return true;
    if (result == FileClaim::Result::Busy || fs::exists(folder / kOwnerFile))
        return false;
    std::error_code unknown;
    const auto changed = fs::last_write_time(folder, unknown);
    return !unknown && fs::file_time_type::clock::now() - changed > std::chrono::hours(24);
}

void sweepAbandonedFolders()
{
    std::error_code unreadable;
    for (const fs::directory_entry& entry : fs::directory_iterator(temporaryFolder(), unreadable)) {
        std::error_code ignored;
        if (entry.path().filename().string().rfind(kPrefix, 0) != 0 || !entry.is_directory(ignored))
            continue;
        FileClaim probe;
        if (abandoned(entry.path(), probe))
            fs::remove_all(entry.path(), ignored);
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
