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
    long long phases = 0, actions = 0, orders = 0;
    for (std::uint64_t seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
        RandomPlay play(seed, folder.string());
        EXPECT_EQ(play.Play(4000), "") << "seed " << seed;
        phases += play.phasesChecked();
        actions += play.actionsChecked();
        orders += play.ordersChecked();
    }
    // The battle's forecasts were held against the game many times over.
    EXPECT_GT(phases, 20);
    EXPECT_GT(actions, 100);
    EXPECT_GT(orders, 20);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace vern::test
