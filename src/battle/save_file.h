// セーブ and ロード of the ファイル menu: "save.dat" written and read back. A load is a step of the
// game-mode machine (it ends in Mshow), which is why they live beside it.
#pragma once

#include <string>
#include <variant>

#include "io/save_record.h"
#include "state/game.h"

namespace vern {

void セーブ_Click(Game& g);
void ロード_Click(Game& g);

// What a save holds of the game.
SaveRecord RecordOfGame(const GameState& s);
// A checked record loaded into the game as ロード loads it: the game starts anew with the saved
// values, at the scene's first step (mode 12); the history marks the load.
void LoadRecord(Game& g, const SaveRecord& r);
// The game's record written whole to path (a temporary file, then the rename); 0, or the error
// number the player is shown. The window keeps a picture beside it (Services::Saved).
int WriteRecordFile(Game& g, const std::string& path);
// Before the first record of a run is read or written: the temporary files a copy of the game
// killed mid-save left in the save folder go (the records themselves are whole).
void TidySaveFolder(Game& g);
// The picture kept beside the record at path ("slot01.dat": "slot01.png").
std::string PictureBeside(const std::string& path);
// The record at path: the record, why it is not one (missing: NotSaveFile), or an error number
// for a file that could not be read.
std::variant<SaveRecord, RecordError, int> ReadRecordFile(const std::string& path);

} // namespace vern
