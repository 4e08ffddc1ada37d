// Reading and writing the file of the steps read.
#include "io/read_file.h"

#include <charconv>
#include <filesystem>
#include <string_view>

#include "io/atomic_file.h"
#include "io/file_start.h"

namespace vern {

namespace {

bool Number(std::string_view text, int& value) {
    if (text.empty() || text.size() > 5) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= 0 && value <= 65535;
}

} // namespace

std::string FormatReadSteps(const ReadSteps& steps) {
    std::string text = std::string(kReadFileHead) + "\n";
    int scene = -1, first = -1, last = -1;
    const auto endRun = [&] {
        if (first < 0) return;
        text += " " + std::to_string(first);
        if (last != first) text += "-" + std::to_string(last);
    };
    for (const std::uint32_t key : steps.keys()) {
        const int s = static_cast<int>(key >> 16), step = static_cast<int>(key & 0xFFFF);
        if (s != scene) {
            endRun();
            if (scene >= 0) text += "\n";
            text += std::to_string(s) + ":";
            scene = s;
            first = last = step;
        } else if (step == last + 1) {
            last = step;
        } else {
            endRun();
            first = last = step;
        }
    }
    endRun();
    if (scene >= 0) text += "\n";
    return text;
}

bool ParseReadSteps(const std::string& text, ReadSteps& steps) {
    steps.Clear();
    std::string_view rest(text);
    const std::string_view head(kReadFileHead);
    const auto bad = [&] {
        steps.Clear();
        return false;
    };
    if (rest.substr(0, head.size()) != head || rest.substr(head.size(), 1) != "\n") return bad();
    rest.remove_prefix(head.size() + 1);
    std::size_t named = 0;
    while (!rest.empty()) {
        // Every line ends with its newline: a file cut off in a line is not whole.
        const std::size_t end = rest.find('\n');
        if (end == std::string_view::npos) return bad();
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        const std::size_t colon = line.find(':');
        int scene = 0;
        if (colon == std::string_view::npos || !Number(line.substr(0, colon), scene)) return bad();
        line.remove_prefix(colon + 1);
        while (!line.empty()) {
            if (line[0] != ' ') return bad();
            line.remove_prefix(1);
            const std::size_t space = line.find(' ');
            const std::string_view run = line.substr(0, space);
            line.remove_prefix(space == std::string_view::npos ? line.size() : space);
            const std::size_t dash = run.find('-');
            int from = 0, to = 0;
            if (dash == std::string_view::npos) {
                if (!Number(run, from)) return bad();
                to = from;
            } else if (!Number(run.substr(0, dash), from) || !Number(run.substr(dash + 1), to) ||
                       from > to) {
                return bad();
            }
            named += static_cast<std::size_t>(to - from) + 1;
            if (named > kReadFileMaxSteps) return bad();
            for (int step = from; step <= to; ++step) steps.Add(scene, step);
        }
    }
    return true;
}

ReadSteps LoadReadFile(const std::string& path) {
    ReadSteps steps;
    if (path.empty()) return steps;
    std::string bytes;
    long long size = 0;
    if (ReadFileStart(path, kReadFileMaxBytes + 1, bytes, size) != 0 ||
        size > static_cast<long long>(kReadFileMaxBytes))
        return steps;
    ParseReadSteps(bytes, steps);
    return steps;
}

int WriteReadFile(const std::string& path, const ReadSteps& steps) {
    if (path.empty()) return 0;
    int err = 0;
    const std::string target = WritableTarget(path, err);
    if (target.empty()) return err;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(target).parent_path(), ec);
    return ReplaceFile(target, FormatReadSteps(steps), 0600);
}

} // namespace vern
