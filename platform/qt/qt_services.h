// The window and runtime services of the game, provided with Qt: real message boxes, the
// name dialog, the system beep and the program folder.
#pragma once

#include <QPointer>
#include <string>

#include "folders.h"
#include "main_window.h"
#include "state/services.h"

namespace vern::qt {

class QtServices : public Services {
  public:
    // The pictures and the save both in appPath.
    explicit QtServices(std::string appPath) : appPath_(appPath), saveFolder_(std::move(appPath)) {}
    // The folders the window found (see folders.h).
    explicit QtServices(const Folders& folders)
        : appPath_(folders.program), saveFolder_(folders.save), otherSave_(folders.otherSave) {}
    // The window the dialogs belong to; it is brought up to date before each dialog opens so
    // that the player sees what the game has drawn so far.
    void SetWindow(MainWindow* window) { window_ = window; }

    MsgAnswer MsgBox(const std::string& text, MsgButtons buttons, bool critical,
                     const std::string& title) override;
    void RunNameDialog(Game& g) override;
    void Beep() override;
    std::string AppPath() override { return appPath_; }
    std::string SaveFolder() override { return saveFolder_; }
    std::string OtherSaveFolder() override { return otherSave_; }
    bool CanDrawPicture(const std::string& path) override { return CanDraw(path); }
    void Saved(const std::string& path, const std::string& picture) override;
    std::string ReadRecordFile() override { return readFile_; }
    void SetReadFile(std::string path) { readFile_ = std::move(path); }
    void Notice(const std::string& text) override;
    void PlayMusic(const std::string& piece) override;
    void PlaySound(const std::string& effect) override;

  private:
    std::string appPath_;
    std::string saveFolder_;
    std::string otherSave_;
    std::string readFile_;
    QPointer<MainWindow> window_;
};

} // namespace vern::qt
