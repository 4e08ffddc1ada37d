// What every fuzz target does when the game's reader breaks one of its promises: names the
// reader and the promise on standard error and stops, so that libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace vern::fuzz {

// Check(ok, what) for one reader: constexpr Checker Check{"save record"};
struct Checker {
    const char* reader;
    void operator()(bool ok, const char* what) const {
        if (ok) return;
        std::fprintf(stderr, "%s: %s\n", reader, what);
        std::abort();
    }
};

} // namespace vern::fuzz
