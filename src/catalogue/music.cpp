// Reading and checking the music table.
#include "catalogue/music.h"

#include <algorithm>
#include <charconv>

namespace vern {

namespace {

bool KnownPiece(const std::string& piece) {
    return std::any_of(std::begin(kMusicPieces), std::end(kMusicPieces),
                       [&](const char* p) { return piece == p; });
}

bool Number(const std::string& text, int& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

} // namespace

bool PlaysOnce(const std::string& piece) {
    return piece == "victory" || piece == "defeat";
}

std::string MusicTable::Mode(const std::string& screen) const {
    const auto it = modes.find(screen);
    return it == modes.end() ? std::string() : it->second;
}

std::string MusicTable::AtStep(int scene, int step) const {
    const auto it = scenes.find(scene);
    if (it == scenes.end()) return "";
    std::string piece;
    for (const auto& [from, name] : it->second.from)
        if (step >= from) piece = name;
    return piece;
}

std::string MusicTable::Battle(int scene) const {
    const auto it = scenes.find(scene);
    return it == scenes.end() ? std::string() : it->second.battle;
}

MusicTable ParseMusicTable(const ContentFile& file) {
    MusicTable t;
    t.errors = file.errors;
    for (const ContentEntry& e : file.entries) {
        const std::string where = file.name + ":" + std::to_string(e.sourceLine) + ": ";
        int scene = 0;
        const bool modes = e.key == "modes";
        if (!modes && (!Number(e.key, scene) || scene < 1 || scene > 9999)) {
            t.errors.push_back(where + "@" + e.key + " is neither @modes nor a scene");
            continue;
        }
        for (const std::string& line : e.lines) {
            const std::size_t space = line.find(' ');
            const std::string what = line.substr(0, space);
            const std::string piece = space == std::string::npos ? "" : line.substr(space + 1);
            if (!KnownPiece(piece)) {
                t.errors.push_back(where + "no piece \"" + piece + "\"");
                continue;
            }
            if (modes) {
                t.modes[what] = piece;
                continue;
            }
            int step = 0;
            if (what == "battle") {
                t.scenes[scene].battle = piece;
            } else if (Number(what, step)) {
                auto& from = t.scenes[scene].from;
                if (!from.empty() && from.back().first >= step)
                    t.errors.push_back(where + "steps must rise");
                from.emplace_back(step, piece);
            } else {
                t.errors.push_back(where + "\"" + line +
                                   "\" is neither STEP PIECE nor battle PIECE");
            }
        }
    }
    for (const char* screen : {"title", "free", "encounter", "victory", "defeat"})
        if (t.Mode(screen).empty())
            t.errors.push_back(file.name + ": @modes has no piece for " + screen);
    return t;
}

const MusicTable& Music() {
    static const MusicTable table = [] {
        const ContentFile* file = Content("music.txt");
        return file ? ParseMusicTable(*file) : MusicTable{};
    }();
    return table;
}

} // namespace vern
