// The music of each screen and the effect of each event.
#include "shell/audio.h"

#include "catalogue/music.h"

namespace vern {

namespace {

// The screens of a battle: the question before it, its turns and phases, fleeing, the looks at
// a unit's information in it, a story battle's readiness.
bool BattleScreen(int mode) {
    return (mode >= 3 && mode <= 8) || (mode >= 14 && mode <= 17) || mode == 21 || mode == 25 ||
           mode == 65 || mode == 66;
}

// After a battle won: the victory, recruiting, growing, the looks at a unit.
bool AfterVictory(int mode) {
    return (mode >= 9 && mode <= 13) || (mode >= 22 && mode <= 24) || mode == 105;
}

} // namespace

std::string MusicFor(const Game& g) {
    if (g.ended) return "";
    const MusicTable& table = Music();
    const GameState& s = g.s;
    if (g.f.Picture2.Visible) {
        const std::string piece = table.AtStep(s.SceneNo, s.StoryStep);
        return piece.empty() ? table.Mode("free") : piece;
    }
    // The party lost: the start screen with its message.
    if (s.GameMode == 8 || (s.GameMode == 0 && g.f.Label1.Caption == "全滅した･･････"))
        return table.Mode("defeat");
    if (AfterVictory(s.GameMode)) return table.Mode("victory");
    // A story battle, from its readiness on, until its end clears it.
    if (s.StoryBattle != 0 || BattleScreen(s.GameMode)) {
        const std::string story = s.StoryBattle != 0 ? table.Battle(s.SceneNo) : "";
        return story.empty() ? table.Mode("encounter") : story;
    }
    if (s.GameMode == 18 || s.GameMode == 19 || s.GameMode == 28) return table.Mode("free");
    return table.Mode("title");
}

void SettleAudio(Game& g) {
    UiState& ui = g.ui;
    if (const std::string piece = MusicFor(g); piece != ui.music) {
        ui.music = piece;
        g.svc.PlayMusic(piece);
    }
    const Sound cue = ui.cue;
    ui.cue = Sound::None;
    if (cue == Sound::None || g.ended) return;
    // Reading on at speed is silent: no storm of effects.
    const bool fast = g.s.FastForward == kTrue || ui.paceHeld;
    if (fast && (cue == Sound::Advance || cue == Sound::Button)) return;
    g.svc.PlaySound(SoundName(cue));
}

} // namespace vern
