#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gles/BoundedCache.h"

namespace {

TEST(GlesBoundedCache, MakesEachValueOnceAndDropsTheOneUsedLongestAgoPastItsLimit)
{
    BoundedCache<int, std::string, std::hash<int>> cache(3);
    std::vector<std::string> made;
    std::vector<std::string> dropped;
    const auto get = [&](int key) -> std::string& {
        return cache.get(
            key,
            [&] {
                made.push_back("v" + std::to_string(key));
                return made.back();
            },
            [&](const std::string& value) { dropped.push_back(value); });
    };

    std::string& first = get(1);
    get(2);
    get(3);
    EXPECT_EQ(&get(1), &first);   // kept, not made again: now the one used last
    EXPECT_EQ(made.size(), 3u);
    EXPECT_TRUE(dropped.empty());

    get(4);   // past the limit: 2 was used longest ago
    EXPECT_EQ(dropped, std::vector<std::string>{"v2"});
    EXPECT_EQ(cache.size(), 3u);
    EXPECT_EQ(first, "v1");   // references to kept values stay valid

    get(2);   // made again, dropping 3
    EXPECT_EQ(dropped, (std::vector<std::string>{"v2", "v3"}));
    EXPECT_EQ(made.size(), 5u);
    EXPECT_EQ(cache.size(), cache.limit());
}

}  // namespace
