// The program folder and the save folder of the window.
#include "folders.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vern::qt {

namespace fs = std::filesystem;

namespace {

// A folder that can hold the game's data folder: there (or makeable) and writable.
bool UsableBase(const fs::path& base, bool make) {
    struct stat st {};
    if (::stat(base.c_str(), &st) != 0) {
        // Missing is fine if it can be made; a loop or a file in the way is not.
        if (errno != ENOENT) return false;
        if (!make) return true;
        std::error_code ec;
        fs::create_directories(base, ec);
        return !ec && ::access(base.c_str(), W_OK | X_OK) == 0;
    }
    return S_ISDIR(st.st_mode) && ::access(base.c_str(), W_OK | X_OK) == 0;
}

// base/vernadora as the player's own folder: made 0700 when missing; an existing one must be a
// folder owned by the player, and is closed to others if it was open to them.
std::string OwnFolder(const fs::path& base, bool make) {
    const fs::path folder = base / "vernadora";
    if (!make) return folder.string();
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return "";
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return "";
    if ((st.st_mode & 022) != 0 && ::chmod(folder.c_str(), st.st_mode & 0700 & ~022) != 0)
        return "";
    return folder.string();
}

std::string PasswdHome() {
    const passwd* pw = ::getpwuid(::getuid());
    return pw && pw->pw_dir ? std::string(pw->pw_dir) : std::string();
}

} // namespace

std::string UserDataFolder(const char* xdgDataHome, const char* home, const std::string& passwdHome,
                           bool make) {
    // An absolute XDG_DATA_HOME that can hold the folder; else ~/.local/share of the
    // environment's home, else of the password database's.
    if (xdgDataHome && xdgDataHome[0] == '/' && UsableBase(xdgDataHome, make)) {
        const std::string folder = OwnFolder(xdgDataHome, make);
        if (!folder.empty()) return folder;
    }
    for (const std::string& h : {std::string(home ? home : ""), passwdHome}) {
        if (h.empty() || h[0] != '/') continue;
        const fs::path base = fs::path(h) / ".local" / "share";
        if (UsableBase(base, make)) return OwnFolder(base, make);
    }
    return "";
}

Folders FindFolders(const std::string& exeFolder, const std::string& dir) {
    if (!dir.empty()) return {dir, dir, "", false};
    std::error_code ec;
    const fs::path installed = fs::path(exeFolder) / ".." / "share" / "vernadora";
    const bool portable = fs::is_directory(fs::path(exeFolder) / "CG", ec);
    if (!portable && fs::is_directory(installed / "CG", ec)) {
        const std::string program = fs::weakly_canonical(installed, ec).string();
        const std::string data =
            UserDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), PasswdHome());
        return {program, data, program, true};
    }
    // The portable folder; an earlier run may have saved into the user's data folder (looked
    // for, never made).
    const std::string data =
        UserDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), PasswdHome(), false);
    return {exeFolder, exeFolder, data, false};
}

} // namespace vern::qt

namespace vern::qt {

std::string ReadRecordPath(const std::string& dir) {
    if (!dir.empty()) return (fs::path(dir) / "read.dat").string();
    const std::string data =
        UserDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), PasswdHome());
    return data.empty() ? std::string() : (fs::path(data) / "read.dat").string();
}

} // namespace vern::qt
