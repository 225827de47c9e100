#include "sync.hpp"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace music {

namespace {

std::vector<std::string> splitFields(const std::string& text) {
    std::vector<std::string> fields;
    std::string cur;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') {
            fields.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) fields.push_back(cur);
    return fields;
}

double toNumber(const std::string& field) {
    char* end = nullptr;
    double v = std::strtod(field.c_str(), &end);
    if (field.empty() || *end != '\0') throw std::runtime_error("sync: not a number: '" + field + "'");
    return v;
}

}  // namespace

std::vector<SyncTrack> parseSync(const std::string& text) {
    std::vector<std::string> f = splitFields(text);
    size_t pos = 0;
    auto next = [&]() -> const std::string& {
        if (pos >= f.size()) throw std::runtime_error("sync: file ends early");
        return f[pos++];
    };
    int trackCount = int(toNumber(next()));
    std::vector<SyncTrack> tracks(trackCount);
    for (SyncTrack& t : tracks) {
        t.name = next();
        int n = int(toNumber(next()));
        for (int i = 0; i < n; ++i) t.times.push_back(toNumber(next()));
    }
    return tracks;
}

std::vector<SyncTrack> readSyncFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("sync: cannot open " + path);
    std::ostringstream ss;
    ss << in.rdbuf();
    return parseSync(ss.str());
}

}  // namespace music
