// The effects' names.
#include "state/sound.h"

namespace vern {

const char* SoundName(Sound s) {
    switch (s) {
    case Sound::None: return "";
    case Sound::Advance: return "advance";
    case Sound::Button: return "button";
    case Sound::Saved: return "saved";
    case Sound::Wish: return "wish";
    case Sound::Recruit: return "recruit";
    case Sound::Release: return "release";
    case Sound::Summon: return "summon";
    case Sound::Heal: return "heal";
    case Sound::Hit: return "hit";
    case Sound::Knockdown: return "knockdown";
    case Sound::Death: return "death";
    case Sound::Error: return "error";
    }
    return "";
}

} // namespace vern
