#pragma once

#include <cstddef>
#include <list>
#include <unordered_map>
#include <utility>

// Values made for keys on first use and kept up to a limit: making one
// more past it drops the value used longest ago, handed to the caller to
// free what it holds.  References to kept values stay valid until their
// value is dropped.
template <typename Key, typename Value, typename Hash>
class BoundedCache {
public:
    explicit BoundedCache(std::size_t limit) : limit_(limit < 1 ? 1 : limit) {}

    std::size_t size() const { return index_.size(); }
    std::size_t limit() const { return limit_; }

    // The value for key, now the one used last; made by make() when new,
    // after drop(value) for the value dropped to make room, if any.
    template <typename Make, typename Drop>
    Value& get(const Key& key, Make make, Drop drop)
    {
        const auto found = index_.find(key);
        if (found != index_.end()) {
            entries_.splice(entries_.begin(), entries_, found->second);
            return found->second->second;
        }
        if (index_.size() >= limit_) {
            drop(entries_.back().second);
            index_.erase(entries_.back().first);
            entries_.pop_back();
        }
        entries_.emplace_front(key, make());
        index_.emplace(key, entries_.begin());
        return entries_.front().second;
    }

private:
    using Entries = std::list<std::pair<Key, Value>>;   // the one used last first
    std::size_t limit_;
    Entries entries_;
    std::unordered_map<Key, typename Entries::iterator, Hash> index_;
};
