// Parsing of the compiled-in content files.
#include "catalogue/content.h"

#include <memory>
#include <mutex>

#include "catalogue/content_data.h"

namespace vern {

std::string ContentEntry::Text() const {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) text += '\r';
        text += lines[i];
    }
    return text;
}

const ContentEntry* ContentFile::Find(const std::string& key) const {
    auto it = index.find(key);
    return it == index.end() ? nullptr : &entries[it->second];
}

ContentFile ParseContent(std::string name, std::string_view text) {
    ContentFile file;
    file.name = std::move(name);
    int lineNo = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line[0] == '#') {
            if (end == text.size()) break;
            continue;
        }
        if (line[0] == '@') {
            ContentEntry entry;
            std::string_view head = line.substr(1);
            std::size_t space = head.find(' ');
            entry.key = std::string(head.substr(0, space));
            if (space != std::string_view::npos) entry.rest = std::string(head.substr(space + 1));
            entry.sourceLine = lineNo;
            if (entry.key.empty())
                file.errors.push_back(file.name + ":" + std::to_string(lineNo) + ": empty key");
            else if (file.index.count(entry.key))
                file.errors.push_back(file.name + ":" + std::to_string(lineNo) +
                                      ": duplicate key " + entry.key);
            else
                file.index[entry.key] = file.entries.size();
            file.entries.push_back(std::move(entry));
        } else if (line[0] == '|') {
            if (file.entries.empty())
                file.errors.push_back(file.name + ":" + std::to_string(lineNo) +
                                      ": text before the first entry");
            else
                file.entries.back().lines.emplace_back(line.substr(1));
        } else {
            file.errors.push_back(file.name + ":" + std::to_string(lineNo) +
                                  ": a line must start with @, | or #");
        }
        if (end == text.size()) break;
    }
    return file;
}

const ContentFile* Content(const std::string& path) {
    static std::mutex mutex;
    static std::map<std::string, std::unique_ptr<ContentFile>> cache;
    std::lock_guard lock(mutex);
    auto it = cache.find(path);
    if (it != cache.end()) return it->second.get();
    std::string_view raw;
    if (!EmbeddedContent(path, raw)) return nullptr;
    auto parsed = std::make_unique<ContentFile>(ParseContent(path, raw));
    return cache.emplace(path, std::move(parsed)).first->second.get();
}

std::vector<std::string> ContentPaths() {
    return EmbeddedContentPaths();
}

} // namespace vern
