// vernadora-script: the game without a window, driven by a script. See README.md.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "options.h"
#include "script_runner.h"
#include "shell/events.h"
#include "shell/reading.h"

namespace {

std::string ExecutableFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

const vern::ProgramInfo kProgram{
    "vernadora-script",
    {vern::Option::Dir, vern::Option::Seed, vern::Option::Read, vern::Option::File},
    "Plays ヴェルナドーラ演義 without a window: commands from FILE, what happens as JSON lines."};

} // namespace

int main(int argc, char** argv) {
    vern::Options o;
    if (const int status = vern::ReadCommandLine(kProgram, argc, argv, o); status >= 0)
        return status;
    const std::string dir = o.dir.empty() ? ExecutableFolder() : o.dir;

    vern::ScriptServices services(std::cout, dir);
    services.readFile = o.read;
    vern::Game game(services);
    if (o.seeded) {
        game.rng.Seed(o.seed);
        game.rng.fixedSeed = true;
    }
    vern::ScriptRunner runner(game, services, std::cout);
    try {
        vern::Open(game);
    } catch (const vern::ScriptStop& stop) {
        std::cerr << stop.message << '\n';
        return stop.status;
    }
    int status = 0;
    if (o.file.empty() || o.file == "-") {
        status = runner.Run(std::cin, std::cerr);
    } else {
        std::ifstream in(o.file);
        if (!in) {
            std::cerr << "cannot read " << o.file << '\n';
            return 2;
        }
        status = runner.Run(in, std::cerr);
    }
    // The steps read are the player's: what the run read is kept at its end.
    vern::FlushReadRecord(game);
    return status;
}
