// What the game needs from the window toolkit and the runtime. The core calls these; the Qt
// window, the script driver and the tests each provide their own.
#pragma once

#include <string>

namespace vern {

struct Game;

// The title of message boxes that name none.
inline constexpr const char* kDefaultTitle = "ヴェルナドーラ演義";

enum class MsgButtons { OK, YesNo };
enum class MsgAnswer { OK, Yes, No };

class Services {
  public:
    virtual ~Services() = default;
    // A modal message box; returns the button pressed.
    virtual MsgAnswer MsgBox(const std::string& text, MsgButtons buttons, bool critical,
                             const std::string& title) = 0;
    // Shows the name dialog modally. NameInp's Form_Load has run; the implementation feeds the
    // player's actions to the dialog's handlers (see screen/name_dialog.h) and returns once the
    // dialog has closed (NameInpForm::open is false again).
    virtual void RunNameDialog(Game& g) = 0;
    virtual void Beep() = 0;
    // The program folder, without a trailing separator: the pictures (CG/) are under it.
    virtual std::string AppPath() = 0;
    // The folder of save.dat: the program folder, unless the front end keeps the save elsewhere
    // (an installed game keeps it in the player's data folder). Empty: there is no folder to
    // keep it in (no home folder at all); saving then fails with the game's message.
    virtual std::string SaveFolder() { return AppPath(); }
    // Where an earlier run of this install may have kept save.dat; ロード reads it there when
    // the save folder holds none. Empty: no such place.
    virtual std::string OtherSaveFolder() { return ""; }
    // A record was written at path: the window keeps a small picture of itself at picture
    // (the game has removed the one of the record before).
    virtual void Saved(const std::string& /*path*/, const std::string& /*picture*/) {}
    // A short notice that does not stop the game (a quick save done, or why it could not be).
    virtual void Notice(const std::string& /*text*/) {}
    // Music and effects: the piece to play from now on, looping (a short phrase plays once;
    // "" is silence), and an effect to play once. By their names under audio/.
    virtual void PlayMusic(const std::string& /*piece*/) {}
    virtual void PlaySound(const std::string& /*effect*/) {}
    // The file of the story steps the player has read; empty: kept for this run only.
    virtual std::string ReadRecordFile() { return ""; }
    // Whether the front end can draw a picture file whose header the game has checked; a file
    // it cannot draw is treated as broken. A front end that draws nothing can draw anything.
    virtual bool CanDrawPicture(const std::string& /*path*/) { return true; }
};

} // namespace vern
