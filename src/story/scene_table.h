// What each of the 39 scenes does apart from its text: which steps it has, the pictures of its
// step 1, its jumps, battles, encounters, branches, choices and special steps. The text and the
// show/hide of every step come from the scene's file, content/scenes/sceneNN.txt.
#pragma once

#include <string>
#include <vector>

#include "state/game.h"

namespace vern {

struct StepRange {
    int first, last;
};

struct PictureRef {
    const char* folder;
    const char* name;
};

// A step that leads somewhere else: after showing its text, the next advance shows `to`.
struct StepJump {
    int from, to;
};

// A step that starts story battle n (SetFormation) or recruitment encounter n (StartEncounter).
struct StepEvent {
    int step, n;
};

// A step that looks for a unit kind in the party. When the party has it (or, with
// whenAbsent, when it does not), the step jumps to `to` (0: no jump) and shows the text of its
// variant `variant` (empty: the step's own text). The other outcome shows `otherVariant`.
struct StepBranch {
    int step;
    int kind;
    bool whenAbsent;
    int to;
    const char* variant = "";
    const char* otherVariant = "";
};

struct StepChoice {
    int step;
    Int16 yes, no;
};

// Further work of a step: name dialogs, unit changes, the load request, scene changes.
struct StepHook {
    int step;
    void (*run)(Game&);
};

struct SceneDef {
    int no = 0;
    std::vector<StepRange> steps;     // the steps the scene handles
    std::vector<PictureRef> pictures; // loaded at step 1, into Img(1) upward
    std::vector<StepJump> jumps;
    std::vector<StepEvent> battles;
    std::vector<StepEvent> encounters;
    std::vector<StepBranch> branches;
    std::vector<StepChoice> choices;
    std::vector<StepHook> hooks;
    std::vector<int> silent; // further steps that show no text of their own
    std::vector<int> ends;   // steps that leave the scene (a hook's work, or EndScene)
    // Any other step: EndScene, unless the scene says otherwise.
    void (*other)(Game&) = nullptr;
    int closing = 0; // the step with the closing line; 0: none

    bool Handles(int step) const;
    bool Silent(int step) const; // handled, and stores no text
    const StepJump* JumpFrom(int step) const;
    const StepEvent* BattleAt(int step) const;
    const StepEvent* EncounterAt(int step) const;
    const StepBranch* BranchAt(int step) const;
    const StepChoice* ChoiceAt(int step) const;
    const StepHook* HookAt(int step) const;
    bool EndsAt(int step) const;
};

// The scene with number no (1..39); nullptr for any other number.
const SceneDef* FindScene(int no);
constexpr int kSceneCount = 39;

// The file that holds a scene's texts: "scenes/scene07.txt".
std::string SceneFile(int no);

} // namespace vern
