// vernadora-script: the game without a window, driven by a script. See README.md.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "script_runner.h"
#include "shell/events.h"

namespace {

std::string ExecutableFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

int Usage() {
    std::cerr << "usage: vernadora-script [--dir DIR] [--seed N] [FILE]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string dir = ExecutableFolder();
    std::string file;
    bool seeded = false;
    unsigned long long seed = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--dir" && i + 1 < argc) {
            dir = argv[++i];
        } else if (arg == "--seed" && i + 1 < argc) {
            try {
                seed = std::stoull(argv[++i]);
            } catch (const std::exception&) {
                return Usage();
            }
            seeded = true;
        } else if (!arg.empty() && arg[0] != '-' && file.empty()) {
            file = arg;
        } else {
            return Usage();
        }
    }
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();

    vern::ScriptServices services(std::cout, dir);
    vern::Game game(services);
    if (seeded) {
        game.rng.Seed(seed);
        game.rng.fixedSeed = true;
    }
    vern::ScriptRunner runner(game, services, std::cout);
    try {
        vern::Open(game);
    } catch (const vern::ScriptStop& stop) {
        std::cerr << stop.message << '\n';
        return stop.status;
    }
    if (file.empty()) return runner.Run(std::cin, std::cerr);
    std::ifstream in(file);
    if (!in) {
        std::cerr << "cannot read " << file << '\n';
        return 2;
    }
    return runner.Run(in, std::cerr);
}
