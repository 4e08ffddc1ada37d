// Fuzz target for the file of the steps read: any bytes are either a whole file, whose steps stay
// within the bound and are written back and read again unchanged, or nothing read at all.
#include <cstddef>
#include <cstdint>
#include <string>

#include "check.h"
#include "io/read_file.h"

namespace {

constexpr vern::fuzz::Checker Check{"read file"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    vern::ReadSteps steps;
    steps.Add(1, 1);
    if (!vern::ParseReadSteps(text, steps)) {
        Check(steps.size() == 0, "a refused file leaves steps read");
        return 0;
    }
    Check(steps.size() <= vern::kReadFileMaxSteps, "more steps than the bound");
    vern::ReadSteps again;
    Check(vern::ParseReadSteps(vern::FormatReadSteps(steps), again), "a written file is refused");
    Check(again == steps, "a written file reads back otherwise");
    return 0;
}
