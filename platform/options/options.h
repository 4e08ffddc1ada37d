// The command line of the game's programs, read one way for all of them: the window
// (vernadora), the headless driver (vernadora-script) and the window benchmark. Each program
// names the options it takes; a value that is not exactly right is refused, never guessed at.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vern {

// The options a program may take.
enum class Option { Dir, Seed, Zoom, Script, Read, Runs, Brief, Phases, File };

struct Options {
    std::string dir;        // --dir: the program folder; empty: found by the program
    bool seeded = false;    // --seed given
    std::uint64_t seed = 0; // 0 .. 2^64 − 1, decimal digits only
    double zoom = 0;        // --zoom: kMinZoom .. kMaxZoom; 0: not given
    std::string script;     // --script FILE (the window)
    std::string read;       // --read FILE: the steps read (the driver; empty: this run only)
    int runs = 0;           // --runs N: 1 .. 10000; 0: not given (the benchmark)
    bool brief = false;     // --brief (the benchmark)
    bool phases = false;    // --phases (the benchmark)
    std::string file;       // the one operand FILE (the driver)

    static constexpr double kMinZoom = 0.5;
    static constexpr double kMaxZoom = 8;
};

struct ProgramInfo {
    const char* name;          // "vernadora"
    std::vector<Option> takes; // the options it accepts
    const char* purpose;       // one line for --help
};

// A whole number in decimal digits only, no sign or space, within 0 .. 2^64 − 1.
bool ParseDecimal(const std::string& text, std::uint64_t& out);

// What the command line asks for.
enum class Parsed { Run, Help, Version, Bad };

// Reads argv into o. Options come as "--name VALUE" or "--name=VALUE"; "--" ends the options.
// On Bad, error says what was wrong.
Parsed ParseOptions(const ProgramInfo& program, int argc, const char* const* argv, Options& o,
                    std::string& error);

// "usage: vernadora [--dir DIR] [--seed N] …"
std::string UsageLine(const ProgramInfo& program);
// The usage line, the purpose and one line a option.
std::string HelpText(const ProgramInfo& program);
// "vernadora 0.9.0"
std::string VersionText(const ProgramInfo& program);
// "0.9.0"
const char* ProgramVersion();

// The whole reading for a program's main: on Run returns -1; otherwise prints help or the
// version to standard output (status 0) or the error and the usage line to standard error
// (status 2) and returns the status to exit with.
int ReadCommandLine(const ProgramInfo& program, int argc, const char* const* argv, Options& o);

} // namespace vern
