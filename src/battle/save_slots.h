// Saves beside save.dat that protect a run: twenty player slots, a quick slot and the last
// three autosaves, each a file in save.dat's own record (the same writer and reader, the same
// whole-or-nothing write), in the same folder. save.dat and the ファイル menu's セーブ / ロード
// keep their own meaning; these are the player's additions around them.
//
// A save is possible exactly where セーブ is: not in a battle, not in the story, not where the
// story closes saving. The game saves by itself (autosave, when the setting is on) each time it
// arrives at the free menu; F5 saves to the quick slot and F9 loads it. A slot that cannot be
// read, or whose record fails its checks, is damaged: it is listed as such and never loaded,
// and nothing else changes.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "state/game.h"

namespace vern {

enum class SlotKind { Main, Quick, Auto, Player };

struct SlotId {
    SlotKind kind = SlotKind::Main;
    int number = 0; // Auto 1..3 (1 the newest), Player 1..20
    bool operator==(const SlotId&) const = default;
};

inline constexpr int kPlayerSlots = 20;
inline constexpr int kAutoSlots = 3;

// What the player calls a slot: "セーブ" (save.dat), "クイック", "オート1", "スロット01".
std::string SlotLabel(SlotId id);
// The file of a slot in the save folder: "save.dat", "quick.dat", "auto1.dat", "slot01.dat".
std::string SlotFileName(SlotId id);
// Every slot, in the order the record window lists them: save.dat, quick, the autosaves
// (newest first), the player slots.
std::vector<SlotId> AllSlots();

// What a slot holds, read from its record.
struct SlotInfo {
    SlotId id;
    std::string file;    // the full path
    bool exists = false; // a file is there
    bool damaged = false;
    int sceneNo = 0;
    std::string sceneTitle; // with the player's names
    std::string hero;
    std::array<std::string, 5> partyNames;
    std::array<Long, 5> partyMaxHP{};
    long long writtenAt = 0; // seconds since 1970, from the file
};
SlotInfo ReadSlot(Game& g, SlotId id);
std::vector<SlotInfo> ListSlots(Game& g);

// Why a save is not possible now, in the player's words; empty when it is.
std::string WhySavingClosed(const Game& g);

// Saves the game into a slot (never the autosaves' rotation: see Autosave); 0, or the error
// number a failure shows. Refused (kept as it was) where saving is closed, and for Main.
int SaveToSlot(Game& g, SlotId id);
// What the player is told when a save into a slot fails with an error number.
std::string SaveFailedText(int number);
// Loads a slot's record as ロード does; false (nothing changed) when it is missing or damaged.
bool LoadFromSlot(Game& g, SlotId id);
// Deletes a player slot and its picture; false for any other slot.
bool DeleteSlot(Game& g, SlotId id);

// The record window's actions, with the questions and messages the player sees; each runs as
// one event of the game. False when nothing was done (refused, declined, failed).
// Saves into a player slot: why not where saving is closed; a question before writing over a
// record; a notice when done, the error when not.
bool AskSaveToSlot(Game& g, SlotId id);
// Loads any slot after a question naming what it holds; a damaged one is refused with a message.
bool AskLoadFromSlot(Game& g, SlotId id);
// Deletes a player slot after a question.
bool AskDeleteSlot(Game& g, SlotId id);

// The autosave: the newest save into auto1, the older ones moved down, the oldest dropped.
void Autosave(Game& g);
// After each event: autosaves when the game has just arrived at the free menu where saving is
// allowed and the setting is on.
void AutosaveOnArrival(Game& g);
// F5 and F9: the quick slot, with a short notice (F9 asks first).
void QuickSave(Game& g);
void QuickLoad(Game& g);
// After a defeat's own flow ended without a load: the latest autosave, offered.
void OfferLatestAutosave(Game& g);

} // namespace vern
