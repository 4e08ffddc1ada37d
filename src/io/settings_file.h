// The player's settings file (vernadora.conf): "key=value" lines under a "[General]" heading, in
// UTF-8, the form desktop settings files take. Read and written as a file of the player's own:
// only a regular file (or a link to one, written through) is ever opened, read, written or
// replaced; anything else leaves the defaults in place and the file alone. A damaged file gives
// what can be read of it; nothing here ever stops the game.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace vern {

class SettingsFile {
  public:
    // The file's place; empty: settings are kept for this run only, never written.
    explicit SettingsFile(std::string path);

    const std::string& path() const { return path_; }
    // Whether the file may be written (it is a regular file, a link to one, or not there yet).
    bool usable() const { return usable_; }

    std::optional<std::string> Get(const std::string& key) const;
    // Sets a value; true when it changed (and a write is due).
    bool Set(const std::string& key, const std::string& value);
    void Clear();
    const std::map<std::string, std::string>& values() const { return values_; }

    // Writes the values out if anything changed since the last write. Returns 0, or the errno of
    // the failure (the file is then left as it was). Does nothing for an unusable file.
    int Write();
    bool dirty() const { return dirty_; }

    // The text of a settings file, and back. Keys are letters, digits, '_' and '/'; a value is
    // one line (line breaks and other control characters are dropped).
    static std::string Format(const std::map<std::string, std::string>& values);
    static std::map<std::string, std::string> Parse(const std::string& text);
    // A key the file holds: 1 to 64 letters, digits, '_' and '/'.
    static bool ValidKey(const std::string& key);

    // The largest file read; a larger one is not a settings file of ours.
    static constexpr std::size_t kMaxBytes = 64 * 1024;

  private:
    std::string path_;
    bool usable_ = false;
    bool dirty_ = false;
    std::map<std::string, std::string> values_;
};

// Where the settings file lives: $XDG_CONFIG_HOME/vernadora/vernadora.conf (an absolute
// XDG_CONFIG_HOME only), else $HOME/.config/vernadora/vernadora.conf; empty when neither is set.
std::string SettingsPath(const char* xdgConfigHome, const char* home);

} // namespace vern
