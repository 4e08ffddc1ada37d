// What every fuzz target does when the game's reader breaks one of its promises: names the
// reader and the promise on standard error and stops, so that libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace vern::fuzz {

inline void Check(bool ok, const char* reader, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "%s: %s\n", reader, what);
    std::abort();
}

} // namespace vern::fuzz
