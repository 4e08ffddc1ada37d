// random_play [COUNT] [SEED] [FOLDER]: a long random play; prints what it reached, or the
// first broken invariant (exit 1). A count or seed that is not a plain number is refused with
// the usage line (exit 2).
#include <climits>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string>

#include "options.h"
#include "random_play.h"

namespace {

constexpr const char* kUsage = "usage: random_play [COUNT] [SEED] [FOLDER]";

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << kUsage << "\n"
                  << "Plays COUNT random events (default 100000) from SEED (default 1) with its "
                     "files in FOLDER,\nchecking the game's invariants after every event.\n";
        return 0;
    }
    std::uint64_t count = 100000, seed = 1;
    if (argc > 4) {
        std::cerr << "random_play: at most three arguments\n" << kUsage << "\n";
        return 2;
    }
    if ((argc > 1 && (!vern::ParseDecimal(argv[1], count) || count < 1 || count > LLONG_MAX)) ||
        (argc > 2 && !vern::ParseDecimal(argv[2], seed))) {
        std::cerr << "random_play: COUNT is a number from 1 and SEED one from 0 to "
                     "18446744073709551615, in decimal digits\n"
                  << kUsage << "\n";
        return 2;
    }
    const std::string folder = argc > 3 ? argv[3]
                                        : (std::filesystem::temp_directory_path() /
                                           ("vernadora-random-play-" + std::to_string(seed)))
                                              .string();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        std::cerr << "random_play: cannot make the folder " << folder << ": " << ec.message()
                  << "\n";
        return 2;
    }
    vern::test::RandomPlay play(seed, folder);
    const std::string broken = play.Play(static_cast<long long>(count));
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
