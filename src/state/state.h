// The shared game state: every variable the game's routines read and write, with the widths
// and index ranges the rules use. One instance lives in Game for the whole run.
#pragma once

#include <cstdint>
#include <string>

#include "state/arr.h"

namespace vern {

using Byte = std::uint8_t;
using Int16 = std::int16_t;
using Long = std::int32_t;

// Unit slots: 0..4 the party, 5..9 the opposing side, 10..19 units displaced by a summon.
template <typename T> using UnitArr = Arr<T, 0, 19>;
// Board slots 0..9.
template <typename T> using BoardArr = Arr<T, 0, 9>;
// Party slots 0..4.
template <typename T> using PartyArr = Arr<T, 0, 4>;

struct GameState {
    // Unit record, one parallel array a field.
    UnitArr<std::string> UnitName;
    UnitArr<Byte> UnitAttr;
    UnitArr<Int16> UnitKind;
    UnitArr<Long> UnitMaxHP;
    UnitArr<Long> UnitHP;
    UnitArr<Byte> UnitWish;
    UnitArr<Byte> UnitWishState;
    UnitArr<Byte> UnitRace;

    // Board slots.
    BoardArr<Byte> SlotState;
    BoardArr<Byte> SlotCross;
    BoardArr<Byte> SlotCrossNext;
    BoardArr<Byte> SlotSummoned;
    BoardArr<Byte> SlotTarget;
    BoardArr<Byte> SlotHeals;
    BoardArr<Byte> SlotHeld;
    BoardArr<Byte> RecruitMood;
    BoardArr<Long> PhaseHP;
    BoardArr<Long> PhaseHPChange;
    BoardArr<Long> ActPower;

    // Party slots.
    PartyArr<Long> GrowthCap;

    // Progress.
    Arr<std::string, 0, 9> CharName;
    Arr<Byte, 1, 12> WishKnown;
    Arr<Byte, 1, 6> ControlledRace;
    Arr<Byte, 1, 15> PactWish;
    Byte NextWish = 0;
    Byte TopRaceBeaten = 0;

    // Story and mode.
    Int16 SceneNo = 0;
    Int16 StoryStep = 0;
    Byte NameNo = 0;
    Int16 GameMode = 0;
    Arr<Int16, 0, 1> ChoiceStep;
    Byte NextPicSlot = 0;
    Byte FoundSlot = 0;
    Arr<std::string, 0, 1> LookupOut;
    Int16 FastForward = 0;
    Int16 SaveOpen = 0;
    Int16 AskLoad = 0;
    Int16 AskSave = 0;
    Byte StoryBattle = 0;

    // Battle and input.
    Int16 ClickState = 0;
    Int16 PickState = 0;
    Arr<Int16, 0, 3> ButtonMode;
    Byte SelSlot = 0;
    Int16 TurnNo = 0;
    Long PhasePower = 0;
    Byte RecruitSlot = 0;
    Byte TradeSlot = 0;
    Byte GrowthSlot = 0;
    Byte SummonRace = 0;
    Byte SummonWish = 0;
    std::string EncounterText;
    Byte InfoSlot = 0;

    // Window.
    Byte TeachOn = 0;
    std::string TeachSaved;
    Arr<Long, 0, 3> Misc;
    Byte NameKind = 0;
    Byte RandNameKind = 0;

    bool operator==(const GameState&) const = default;
};

// Int16 flags hold -1 for true.
constexpr Int16 kTrue = -1;

} // namespace vern
