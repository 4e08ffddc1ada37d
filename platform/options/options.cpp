// Reading the command line: every value checked whole, the same rules for every program.
#include "options.h"

#include <charconv>
#include <cmath>
#include <iostream>

#ifndef VERN_VERSION
#define VERN_VERSION "0"
#endif

namespace vern {

namespace {

struct OptionDef {
    Option option;
    const char* name;  // "--dir"; nullptr for the operand
    const char* value; // "DIR"; nullptr for a flag
    const char* help;
};

constexpr OptionDef kOptions[] = {
    {Option::Dir, "--dir", "DIR", "the program folder: the pictures, and save.dat beside them"},
    {Option::Seed, "--seed", "N",
     "seed the generator with N (0 to 18446744073709551615): a "
     "repeatable run"},
    {Option::Zoom, "--zoom", "Z", "scale the whole window by Z (0.5 to 8)"},
    {Option::Script, "--script", "FILE", "play the script FILE in the window, then exit"},
    {Option::Read, "--read", "FILE", "keep the story steps read in FILE (default: this run only)"},
    {Option::Runs, "--runs", "N", "repeat each measure N times (1 to 10000)"},
    {Option::Brief, "--brief", nullptr, "a quick run of every measure, to see that it works"},
    {Option::Phases, "--phases", nullptr, "also show where each start's time goes"},
    {Option::File, nullptr, "FILE", "the script to run (default: standard input)"},
};

const OptionDef& Def(Option o) {
    for (const OptionDef& d : kOptions)
        if (d.option == o) return d;
    return kOptions[0];
}

bool Takes(const ProgramInfo& p, Option o) {
    for (Option t : p.takes)
        if (t == o) return true;
    return false;
}

bool ParseZoom(const std::string& text, double& out) {
    // Digits with at most one point: no sign, exponent, hex, inf or nan.
    int points = 0, digits = 0;
    for (char c : text) {
        if (c == '.')
            ++points;
        else if (c >= '0' && c <= '9')
            ++digits;
        else
            return false;
    }
    if (digits == 0 || points > 1) return false;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && p == end && out >= Options::kMinZoom && out <= Options::kMaxZoom;
}

bool ParseRuns(const std::string& text, int& out) {
    std::uint64_t n = 0;
    if (!ParseDecimal(text, n) || n < 1 || n > 10000) return false;
    out = static_cast<int>(n);
    return true;
}

} // namespace

bool ParseDecimal(const std::string& text, std::uint64_t& out) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && p == end;
}

Parsed ParseOptions(const ProgramInfo& program, int argc, const char* const* argv, Options& o,
                    std::string& error) {
    bool operands = false; // after "--"
    bool haveFile = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i] ? argv[i] : "";
        if (!operands && (arg == "--help" || arg == "-h")) return Parsed::Help;
        if (!operands && arg == "--version") return Parsed::Version;
    }
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i] ? argv[i] : "";
        if (!operands && arg == "--") {
            operands = true;
            continue;
        }
        if (operands || arg.empty() || arg[0] != '-' || arg == "-") {
            if (!Takes(program, Option::File) || haveFile) {
                error = "unexpected argument: " + arg;
                return Parsed::Bad;
            }
            o.file = arg;
            haveFile = true;
            continue;
        }
        std::string value;
        bool inlineValue = false;
        if (const auto eq = arg.find('='); eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
            inlineValue = true;
        }
        const OptionDef* def = nullptr;
        for (const OptionDef& d : kOptions)
            if (d.name && arg == d.name && Takes(program, d.option)) def = &d;
        if (!def) {
            error = "unknown option: " + arg;
            return Parsed::Bad;
        }
        if (!def->value) {
            if (inlineValue) {
                error = arg + " takes no value";
                return Parsed::Bad;
            }
        } else if (!inlineValue) {
            if (i + 1 >= argc) {
                error = arg + " needs a value (" + def->value + ")";
                return Parsed::Bad;
            }
            value = argv[++i] ? argv[i] : "";
        }
        bool ok = true;
        switch (def->option) {
        case Option::Dir:
            ok = !value.empty();
            while (value.size() > 1 && value.back() == '/') value.pop_back();
            o.dir = value;
            break;
        case Option::Seed:
            ok = ParseDecimal(value, o.seed);
            o.seeded = ok;
            break;
        case Option::Zoom: ok = ParseZoom(value, o.zoom); break;
        case Option::Script:
            ok = !value.empty();
            o.script = value;
            break;
        case Option::Read:
            ok = !value.empty();
            o.read = value;
            break;
        case Option::Runs: ok = ParseRuns(value, o.runs); break;
        case Option::Brief: o.brief = true; break;
        case Option::Phases: o.phases = true; break;
        case Option::File: break;
        }
        if (!ok) {
            error = "bad value for " + arg + ": '" + value + "'";
            return Parsed::Bad;
        }
    }
    return Parsed::Run;
}

std::string UsageLine(const ProgramInfo& program) {
    std::string line = std::string("usage: ") + program.name;
    for (Option t : program.takes) {
        const OptionDef& d = Def(t);
        line += " [";
        if (d.name) line += d.name;
        if (d.name && d.value) line += ' ';
        if (d.value) line += d.value;
        line += ']';
    }
    return line;
}

std::string HelpText(const ProgramInfo& program) {
    std::string text = UsageLine(program) + "\n" + program.purpose + "\n\n";
    for (Option t : program.takes) {
        const OptionDef& d = Def(t);
        std::string left = "  ";
        if (d.name) left += d.name;
        if (d.name && d.value) left += ' ';
        if (d.value) left += d.value;
        if (left.size() < 18) left.resize(18, ' ');
        text += left + d.help + "\n";
    }
    text += "  --help          this text\n  --version       the program's version\n";
    return text;
}

std::string VersionText(const ProgramInfo& program) {
    return std::string(program.name) + " " + ProgramVersion();
}

const char* ProgramVersion() {
    return VERN_VERSION;
}

int ReadCommandLine(const ProgramInfo& program, int argc, const char* const* argv, Options& o) {
    std::string error;
    switch (ParseOptions(program, argc, argv, o, error)) {
    case Parsed::Run: return -1;
    case Parsed::Help: std::cout << HelpText(program); return 0;
    case Parsed::Version: std::cout << VersionText(program) << '\n'; return 0;
    case Parsed::Bad: break;
    }
    std::cerr << program.name << ": " << error << '\n' << UsageLine(program) << '\n';
    return 2;
}

} // namespace vern
