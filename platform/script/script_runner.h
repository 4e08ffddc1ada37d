// The script interpreter: commands a line, events and dumps as JSON lines. The headless
// driver and the window's --script mode both use it.
#pragma once

#include <deque>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "state/game.h"

namespace vern {

// Stops a run: exit status and the message for standard error.
struct ScriptStop {
    int status;
    std::string message;
};

// Services that answer from the script's queues and report what happens as JSON lines.
class ScriptServices : public Services {
  public:
    ScriptServices(std::ostream& out, std::string appPath)
        : out_(out), appPath_(std::move(appPath)) {}
    MsgAnswer MsgBox(const std::string& text, MsgButtons buttons, bool critical,
                     const std::string& title) override;
    void RunNameDialog(Game& g) override;
    void Beep() override;
    void Notice(const std::string& text) override;
    std::string AppPath() override { return appPath_; }
    std::string SaveFolder() override { return saveFolder ? *saveFolder : appPath_; }
    std::string OtherSaveFolder() override { return otherSaveFolder; }
    std::string ReadRecordFile() override { return readFile; }
    // The music and the effects, printed once "audio on" asks for them.
    void PlayMusic(const std::string& piece) override;
    void PlaySound(const std::string& effect) override;
    bool audio = false;
    bool CanDrawPicture(const std::string& path) override {
        return canDrawPicture ? canDrawPicture(path) : true;
    }

    std::deque<MsgAnswer> answers;
    // Where save.dat goes when it is not the program folder (the window of an installed game;
    // empty: nowhere), and where an earlier run may have kept one.
    std::optional<std::string> saveFolder;
    std::string otherSaveFolder;
    std::string readFile; // the steps read, kept between runs (--read); empty: this run only
    // The window's own picture check when a window plays the script.
    std::function<bool(const std::string&)> canDrawPicture;
    std::deque<std::string> dialogActions; // "type TEXT", "click ...", "close"
    void Emit(const std::string& jsonLine);

  private:
    std::ostream& out_;
    std::string appPath_;
};

class ScriptRunner {
  public:
    ScriptRunner(Game& g, ScriptServices& svc, std::ostream& out) : g_(g), svc_(svc), out_(out) {}
    // Runs every line; returns the exit status (0, or 2 / 3 with a message on err).
    int Run(std::istream& in, std::ostream& err);
    // Runs one line (lineNo for messages); throws ScriptStop.
    void Line(const std::string& line, int lineNo);

    // The window's hooks: after every command, and for "shot FILE".
    std::function<void()> afterCommand;
    std::function<void(const std::string&)> shot;
    // The window's close box, when a real window has one; false when it did not react.
    std::function<bool()> closeBox;

  private:
    Game& g_;
    ScriptServices& svc_;
    std::ostream& out_;
};

} // namespace vern
