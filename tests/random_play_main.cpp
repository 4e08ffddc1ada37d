// random_play [COUNT] [SEED] [FOLDER]: a long random play; prints what it reached, or the
// first broken invariant (exit 1).
#include <filesystem>
#include <iostream>
#include <string>

#include "random_play.h"

int main(int argc, char** argv) {
    const long long count = argc > 1 ? std::stoll(argv[1]) : 100000;
    const unsigned long long seed = argc > 2 ? std::stoull(argv[2]) : 1;
    const std::string folder = argc > 3 ? argv[3]
                                        : (std::filesystem::temp_directory_path() /
                                           ("vernadora-random-play-" + std::to_string(seed)))
                                              .string();
    std::filesystem::create_directories(folder);
    vern::test::RandomPlay play(seed, folder);
    const std::string broken = play.Play(count);
    std::cout << count << " events, " << play.games() << " games ended, highest scene "
              << play.maxScene() << ", highest mode " << play.maxMode() << ", "
              << play.phasesChecked() << " phases, " << play.actionsChecked() << " actions and "
              << play.ordersChecked() << " phase orders as foreseen, " << play.stepsBack()
              << " steps back restored exactly\n";
    if (!broken.empty()) {
        std::cout << broken << "\n";
        return 1;
    }
    return 0;
}
