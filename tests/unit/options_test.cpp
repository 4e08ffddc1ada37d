// The command line of the window, the driver and the benchmark: one reading for all three.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "options.h"

namespace vern::test {
namespace {

const ProgramInfo kWindow{
    "vernadora", {Option::Dir, Option::Seed, Option::Zoom, Option::Script}, "the window"};
const ProgramInfo kDriver{
    "vernadora-script", {Option::Dir, Option::Seed, Option::File}, "the driver"};
const ProgramInfo kBench{
    "window_bench", {Option::Dir, Option::Runs, Option::Brief, Option::Phases}, "the bench"};

struct Case {
    const ProgramInfo* program;
    std::vector<const char*> args;
    Parsed expected;
};

Parsed Parse(const Case& c, Options& o, std::string& error) {
    std::vector<const char*> argv{c.program->name};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    return ParseOptions(*c.program, static_cast<int>(argv.size()), argv.data(), o, error);
}

TEST(CommandLine, EveryValueIsCheckedWholeTheSameWayEverywhere) {
    const Case cases[] = {
        {&kDriver, {"--seed", "12"}, Parsed::Run},
        {&kDriver, {"--seed=18446744073709551615"}, Parsed::Run},
        {&kDriver, {"--seed", "12abc"}, Parsed::Bad},
        {&kDriver, {"--seed", "-1"}, Parsed::Bad},
        {&kDriver, {"--seed", "+1"}, Parsed::Bad},
        {&kDriver, {"--seed", "18446744073709551616"}, Parsed::Bad},
        {&kDriver, {"--seed", ""}, Parsed::Bad},
        {&kDriver, {"--seed"}, Parsed::Bad},
        {&kDriver, {"--zoom", "2"}, Parsed::Bad}, // not an option of the driver
        {&kDriver, {"a.txt", "b.txt"}, Parsed::Bad},
        {&kDriver, {"--", "-odd-name.txt"}, Parsed::Run},
        {&kWindow, {"--zoom", "0.5"}, Parsed::Run},
        {&kWindow, {"--zoom", "8"}, Parsed::Run},
        {&kWindow, {"--zoom", "0.25"}, Parsed::Bad},
        {&kWindow, {"--zoom", "8.01"}, Parsed::Bad},
        {&kWindow, {"--zoom", "1e0"}, Parsed::Bad},
        {&kWindow, {"--zoom", "nan"}, Parsed::Bad},
        {&kWindow, {"--zoom", "1.5x"}, Parsed::Bad},
        {&kWindow, {"--seed", "12abc"}, Parsed::Bad},
        {&kWindow, {"script.txt"}, Parsed::Bad}, // the window takes --script FILE
        {&kWindow, {"--dir", ""}, Parsed::Bad},
        {&kWindow, {"--help"}, Parsed::Help},
        {&kWindow, {"--seed", "x", "--version"}, Parsed::Version},
        {&kBench, {"--runs", "0"}, Parsed::Bad},
        {&kBench, {"--runs", "10001"}, Parsed::Bad},
        {&kBench, {"--brief", "--runs", "3"}, Parsed::Run},
        {&kBench, {"--brief=yes"}, Parsed::Bad},
        {&kBench, {"--phases", "--brief"}, Parsed::Run},
        {&kDriver, {"--phases"}, Parsed::Bad}, // the benchmark's alone
    };
    for (const Case& c : cases) {
        Options o;
        std::string error;
        std::string line;
        for (const char* a : c.args) line += std::string(a) + " ";
        EXPECT_EQ(Parse(c, o, error), c.expected) << c.program->name << " " << line << error;
        if (c.expected == Parsed::Bad) {
            EXPECT_FALSE(error.empty()) << line;
        }
    }
}

TEST(CommandLine, ValuesArriveAsGiven) {
    Options o;
    std::string error;
    const Case c{&kWindow, {"--dir", "/games/v//", "--seed=42", "--zoom", "1.75"}, Parsed::Run};
    ASSERT_EQ(Parse(c, o, error), Parsed::Run);
    EXPECT_EQ(o.dir, "/games/v");
    EXPECT_TRUE(o.seeded);
    EXPECT_EQ(o.seed, 42u);
    EXPECT_EQ(o.zoom, 1.75);
    EXPECT_EQ(UsageLine(kDriver), "usage: vernadora-script [--dir DIR] [--seed N] [FILE]");
}

TEST(CommandLine, ExitStatusAndWhereTheWordsGo) {
    Options o;
    const char* bad[] = {"vernadora-script", "--seed", "12abc"};
    testing::internal::CaptureStderr();
    EXPECT_EQ(ReadCommandLine(kDriver, 3, bad, o), 2);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("usage: vernadora-script"), std::string::npos) << err;
    const char* help[] = {"vernadora-script", "--help"};
    testing::internal::CaptureStdout();
    EXPECT_EQ(ReadCommandLine(kDriver, 2, help, o), 0);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("--seed N"), std::string::npos);
    const char* fine[] = {"vernadora-script", "--seed", "7"};
    EXPECT_EQ(ReadCommandLine(kDriver, 3, fine, o), -1);
}

} // namespace
} // namespace vern::test
