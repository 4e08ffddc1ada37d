// The game's texts kept in content/ (descriptions, race texts, scenes), compiled into the
// program at build time and read here.
//
// A content file is UTF-8: "#" starts a comment line, blank lines are ignored, "@KEY REST"
// starts an entry (REST is optional: a picture "folder/name", or a scene step's directive),
// and each "|TEXT" line adds one line of text to the entry.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vern {

struct ContentEntry {
    std::string key;
    std::string rest;
    std::vector<std::string> lines;
    int sourceLine = 0;
    // The lines joined by carriage returns, as the game shows them.
    std::string Text() const;
};

struct ContentFile {
    std::string name;
    std::vector<ContentEntry> entries; // in file order
    std::map<std::string, std::size_t> index;
    std::vector<std::string> errors; // malformed lines, duplicate keys

    const ContentEntry* Find(const std::string& key) const;
};

ContentFile ParseContent(std::string name, std::string_view text);

// A compiled-in content file by its path under content/ ("units.txt", "scenes/scene01.txt");
// nullptr when there is none. Parsed once, on first use.
const ContentFile* Content(const std::string& path);

// Paths of every compiled-in content file.
std::vector<std::string> ContentPaths();

} // namespace vern
