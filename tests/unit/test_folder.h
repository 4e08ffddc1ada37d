// A folder of its own for the running test, under the system's temporary folder.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace vern::test {

// prefix, the process and the test's name, emptied and made: one path level, so that removing
// it leaves nothing behind (a case of a table of cases is named "Name/3").
inline std::filesystem::path TestFolder(const std::string& prefix) {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '_');
    const auto dir =
        std::filesystem::temp_directory_path() / (prefix + std::to_string(::getpid()) + "_" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

} // namespace vern::test
