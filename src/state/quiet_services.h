// Services for a copy of the game that looks ahead (a battle preview, a step back): they show
// nothing, ask nothing, save and read nothing. A message box is answered OK or いいえ, the name
// dialog closes at once, no file is found and no picture drawn; so a copy can never touch the
// player's game, the save file or any dialog.
#pragma once

#include "state/game.h"

namespace vern {

class QuietServices : public Services {
  public:
    MsgAnswer MsgBox(const std::string&, MsgButtons buttons, bool, const std::string&) override {
        return buttons == MsgButtons::OK ? MsgAnswer::OK : MsgAnswer::No;
    }
    void RunNameDialog(Game& g) override { g.n.open = false; }
    void Beep() override {}
    std::string AppPath() override { return ""; }
    std::string SaveFolder() override { return ""; }
    std::string OtherSaveFolder() override { return ""; }
    bool CanDrawPicture(const std::string&) override { return false; }
};

// A copy of a game's state, window model and generator, with quiet services. The player's
// comforts (history, panels) stay behind: a copy has none.
class GameCopy {
  public:
    explicit GameCopy(const Game& g) : game_(svc_) {
        game_.s = g.s;
        game_.f = g.f;
        game_.rng = g.rng;
    }
    GameCopy(const GameCopy&) = delete;
    GameCopy& operator=(const GameCopy&) = delete;
    Game& game() { return game_; }

  private:
    QuietServices svc_;
    Game game_;
};

} // namespace vern
