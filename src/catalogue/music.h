// Which piece of music plays where: content/music.txt. "@modes" names the pieces of the screens
// outside the story (title: the start screen; free: the free menu; encounter: a random fight;
// victory and defeat: after a battle won or lost); "@N" a scene's pieces, "|STEP PIECE" from that
// step on (by number) and "|battle PIECE" for its story battles.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "catalogue/content.h"

namespace vern {

// The pieces of the score and the effects, by their file names under audio/.
inline constexpr const char* kMusicPieces[] = {"title",   "everyday",     "tension", "sorrow",
                                               "dark",    "story_battle", "boss",    "encounter",
                                               "victory", "defeat",       "finale",  "epilogue"};
inline constexpr const char* kSoundEffects[] = {"advance", "button",  "hit",       "heal",
                                                "summon",  "release", "knockdown", "death",
                                                "recruit", "wish",    "saved",     "error"};
// The pieces that play once and stop (short phrases); the others loop.
bool PlaysOnce(const std::string& piece);

struct MusicTable {
    std::map<std::string, std::string> modes;
    struct Scene {
        std::vector<std::pair<int, std::string>> from; // by step, rising
        std::string battle;
    };
    std::map<int, Scene> scenes;
    std::vector<std::string> errors; // what a check of the file found wrong

    // The piece of a screen outside the story ("" none).
    std::string Mode(const std::string& screen) const;
    // The piece at a scene's step; of its story battles.
    std::string AtStep(int scene, int step) const;
    std::string Battle(int scene) const;
};

MusicTable ParseMusicTable(const ContentFile& file);
// content/music.txt, read once.
const MusicTable& Music();

} // namespace vern
