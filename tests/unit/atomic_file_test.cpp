// What a killed copy of the game left half-written is cleared at the next start, and nothing
// else: not a running copy's temporary file, not a file that only looks like one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

#include "io/atomic_file.h"

namespace vern::test {
namespace {

namespace fs = std::filesystem;

TEST(AtomicFile, StaleTemporariesOfGoneCopiesAreRemovedAndNothingElse) {
    const fs::path dir =
        fs::temp_directory_path() / ("vernadora-atomic-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string self = std::to_string(::getpid());
    const std::string parent = std::to_string(::getppid());
    // A process number above any the system hands out: that copy is gone.
    const std::string gone = "2147483646";
    const std::set<std::string> stay = {
        "save.dat",
        "save.dat." + self + "-3.tmp",   // this copy is writing it
        "save.dat." + parent + "-1.tmp", // a live process
        "save.dat.tmp",                  // an older program's name, not ours to judge
        "notes.txt." + gone + "-1.tmp",  // not a record
        "slot01.dat." + gone + "x-1.tmp",
        "slot01.dat." + gone + "-1-2.tmp",
        "slot01.dat.-1.tmp",
    };
    const std::set<std::string> go = {"save.dat." + gone + "-0.tmp",
                                      "quick.dat." + gone + "-17.tmp"};
    for (const auto& name : stay) std::ofstream(dir / name) << "x";
    for (const auto& name : go) std::ofstream(dir / name) << "x";
    fs::create_directory(dir / ("auto1.dat." + gone + "-2.tmp")); // a folder stays

    EXPECT_EQ(RemoveStaleTemporaries(dir.string()), 2);
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir)) left.insert(entry.path().filename());
    std::set<std::string> want = stay;
    want.insert("auto1.dat." + gone + "-2.tmp");
    EXPECT_EQ(left, want);
    EXPECT_EQ(RemoveStaleTemporaries((dir / "no such folder").string()), 0);
    fs::remove_all(dir);
}

} // namespace
} // namespace vern::test
