// A bounded random play from a few seeds; the random_play tool runs longer ones.
#include <gtest/gtest.h>

#include <filesystem>

#include "random_play.h"

namespace vern::test {
namespace {

TEST(RandomPlay, ThousandsOfClicksKeepEveryInvariant) {
    const auto folder = std::filesystem::temp_directory_path() / "vernadora-random-play-test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    for (std::uint64_t seed : {1u, 2u, 3u}) {
        RandomPlay play(seed, folder.string());
        EXPECT_EQ(play.Play(4000), "") << "seed " << seed;
    }
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace vern::test
