// The record inside "save.dat": the saved part of the game as bytes and back. No game, no
// files: the save and load commands (battle/save_file.cpp) wrap it, and the fuzz target feeds
// it arbitrary bytes.
//
// Layout: the marker "Vern_saveD", then tagged numbers (a 2-byte type code, little-endian:
// 2 = Int16, 3 = Long, 17 = Byte, followed by the value, little-endian) and name fields
// (20 bytes of CP932, padded with half-width spaces), then the checksum: the sum of every
// tagged number as a Long, untagged. Bytes after the checksum are ignored.
#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "state/arr.h"
#include "state/state.h"

namespace vern {

inline constexpr std::string_view kSaveMarker = "Vern_saveD";
inline constexpr std::size_t kNameFieldBytes = 20;
inline constexpr std::size_t kNameChars = 10;
// Loaded maximum HP above this comes back as this.
inline constexpr Long kLoadMaxHPCap = 999999;

struct SavedUnit {
    std::string UnitName;
    Byte UnitAttr = 0;
    Int16 UnitKind = 0;
    Long UnitMaxHP = 0; // as the game holds it; the writer applies the 9999 rule
    Byte UnitWish = 0;
};

// The saved values, indexed as the game indexes them.
struct SaveRecord {
    Int16 SceneNo = 0;
    Int16 StoryStep = 0;
    Byte NameNo = 0;
    Arr<std::string, 0, 9> CharName;
    Arr<SavedUnit, 0, 4> Party;
    Arr<Byte, 1, 12> WishKnown;
    Byte NextWish = 0;
    Byte TopRaceBeaten = 0;
    Arr<Byte, 1, 6> ControlledRace;
    Arr<Byte, 1, 15> PactWish;
    // The checksum the file ended with (the reader has checked it against the sum).
    Long Checksum = 0;
};

// What can go wrong between the bytes and the record.
enum class RecordError {
    // Reading: the file is not a save of this game (the marker is missing or incomplete).
    NotSaveFile,
    // Reading: signs of a damaged or altered file.
    Truncated,        // the file ends before the checksum
    UnknownType,      // a type code other than 2, 3 and 17
    Overflow,         // a value too large for its field, or the sum leaves the Long range
    ChecksumMismatch, // the stored checksum differs from the sum
    OutOfRange,       // a value the game never holds and could not play with
    BadName,          // a name field that is not CP932 text of at most ten characters
    // Writing.
    NameNotEncodable, // a name has no CP932 form
    SumOverflow,      // the checksum leaves the Long range
};

// True for the reading errors that mean the file was tampered with.
bool IsTampered(RecordError e);
const char* RecordErrorName(RecordError e);

// The maximum HP written for party slot `slot`: from 10000 up, only a member other than the
// hero whose kind is above 1 keeps its value; the others are written as 9999.
Long SavedMaxHP(int slot, Int16 kind, Long maxHP);

// The record as the file's bytes, or why it cannot be written.
std::variant<std::string, RecordError> WriteSaveRecord(const SaveRecord& r);
// The checksum that a record written by WriteSaveRecord ends with.
Long WrittenChecksum(std::string_view record);
// The bytes of a file as a record. Names come back without trailing half-width spaces;
// UnitMaxHP comes back as stored (the load caps it at kLoadMaxHPCap).
std::variant<SaveRecord, RecordError> ReadSaveRecord(std::string_view bytes);

} // namespace vern
