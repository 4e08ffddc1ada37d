// Fuzz target for the settings file's text: any bytes give keys of the allowed letters and
// one-line values, and what is read is written out and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>

#include "check.h"
#include "io/settings_file.h"

namespace {

constexpr vern::fuzz::Checker Check{"settings file"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto values = vern::SettingsFile::Parse(text);
    for (const auto& [key, value] : values) {
        Check(vern::SettingsFile::ValidKey(key), "a key the file cannot hold");
        for (char c : value)
            Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F, "control character");
        Check(value.empty() || (value.front() != ' ' && value.back() != ' '), "untrimmed value");
    }
    Check(vern::SettingsFile::Parse(vern::SettingsFile::Format(values)) == values,
          "written values read back otherwise");
    return 0;
}
