// Reading and writing the player's settings file.
#include "io/settings_file.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

#include "io/atomic_file.h"
#include "io/file_start.h"

namespace vern {

namespace {

bool KeyChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '/';
}

std::string OneLine(const std::string& value) {
    std::string out;
    for (char c : value)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) out += c;
    return out;
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) {
    if (path_.empty()) return;
    int err = 0;
    usable_ = !WritableTarget(path_, err).empty();
    if (!usable_) return;
    std::string bytes;
    long long size = 0;
    if (ReadFileStart(path_, kMaxBytes, bytes, size) == 0 &&
        size <= static_cast<long long>(kMaxBytes))
        values_ = Parse(bytes);
}

std::optional<std::string> SettingsFile::Get(const std::string& key) const {
    const auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

bool SettingsFile::Set(const std::string& key, const std::string& value) {
    if (!ValidKey(key)) return false;
    const std::string line = OneLine(value);
    auto it = values_.find(key);
    if (it != values_.end() && it->second == line) return false;
    values_[key] = line;
    dirty_ = true;
    return true;
}

void SettingsFile::Clear() {
    if (!values_.empty()) dirty_ = true;
    values_.clear();
}

int SettingsFile::Write() {
    if (!usable_ || !dirty_) return 0;
    int err = 0;
    const std::string target = WritableTarget(path_, err);
    if (target.empty()) {
        // It became something else since it was read: leave it alone from now on.
        usable_ = false;
        return err;
    }
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(target).parent_path(), ec);
    err = ReplaceFile(target, Format(values_), 0600);
    if (err == 0) dirty_ = false;
    return err;
}

bool SettingsFile::ValidKey(const std::string& key) {
    if (key.empty() || key.size() > 64) return false;
    for (char c : key)
        if (!KeyChar(c)) return false;
    return true;
}

std::string SettingsFile::Format(const std::map<std::string, std::string>& values) {
    std::string text = "[General]\n";
    for (const auto& [key, value] : values)
        if (ValidKey(key)) text += key + "=" + OneLine(value) + "\n";
    return text;
}

std::map<std::string, std::string> SettingsFile::Parse(const std::string& text) {
    std::map<std::string, std::string> values;
    bool general = true; // lines before any heading count as [General]
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(text.substr(at, end - at));
        at = end + 1;
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            general = line == "[General]";
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!general || eq == std::string::npos) continue;
        const std::string key = Trim(line.substr(0, eq));
        // Control characters out first: trimmed after, the value is written back as it is read.
        if (ValidKey(key)) values[key] = Trim(OneLine(line.substr(eq + 1)));
    }
    return values;
}

std::string SettingsPath(const char* xdgConfigHome, const char* home) {
    std::filesystem::path base;
    if (xdgConfigHome && xdgConfigHome[0] == '/')
        base = xdgConfigHome;
    else if (home && home[0] == '/')
        base = std::filesystem::path(home) / ".config";
    else
        return "";
    return (base / "vernadora" / "vernadora.conf").string();
}

} // namespace vern
