// The program folder and the save folder of the window.
#include "folders.h"

#include <QStandardPaths>
#include <filesystem>
#include <unistd.h>

namespace vern::qt {

namespace fs = std::filesystem;

namespace {

bool Writable(const fs::path& folder) {
    return ::access(folder.c_str(), W_OK) == 0;
}

// The desktop's data folder for the game ($XDG_DATA_HOME/vernadora, by default
// ~/.local/share/vernadora); made when missing.
fs::path UserDataFolder() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const fs::path folder = fs::path(base.toStdString()) / "vernadora";
    std::error_code ec;
    fs::create_directories(folder, ec);
    return folder;
}

} // namespace

Folders FindFolders(const std::string& exeFolder, const std::string& dir) {
    if (!dir.empty()) return {dir, dir};
    std::error_code ec;
    fs::path program = exeFolder;
    const fs::path installed = fs::path(exeFolder) / ".." / "share" / "vernadora";
    if (!fs::is_directory(program / "CG", ec) && fs::is_directory(installed / "CG", ec))
        program = fs::weakly_canonical(installed, ec);
    const fs::path save = Writable(program) ? program : UserDataFolder();
    return {program.string(), save.string()};
}

} // namespace vern::qt
