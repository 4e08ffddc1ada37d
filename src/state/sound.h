// The effects the game's rules call for as they happen: a blow, a death, a heal… The rules name
// the effect; at the end of the event the loudest one of it is played (see shell/audio.h), so
// that a single click never fires a storm of effects.
#pragma once

#include <cstdint>

namespace vern {

// In rising importance: of the cues of one event, the last one listed here plays.
enum class Sound : std::uint8_t {
    None,
    Advance,   // the story read on
    Button,    // a command button
    Saved,     // a save done
    Wish,      // a wish discovered
    Recruit,   // a unit joins
    Release,   // a summoned unit released
    Summon,    // a unit summoned
    Heal,      // hit points given back
    Hit,       // a blow
    Knockdown, // a blow that knocks down
    Death,     // a unit dies
    Error,     // something could not be done
};

// The effect's file name under audio/sfx (without ".ogg"): "hit", "death" …
const char* SoundName(Sound s);

} // namespace vern
