// The scene routines. Every scene runs the same way from its structure entry (scene_table)
// and its file of texts; only the structure differs from scene to scene.
#include "story/scenes.h"

#include <array>
#include <charconv>

#include "story/commands.h"
#include "story/formations.h"
#include "story/scene_table.h"

namespace vern {

namespace {

void ApplyPictureDirective(Game& g, const std::string& rest) {
    const PictureDirective d = ParsePictureDirective(rest);
    if (d.kind == PictureDirective::Show)
        ShowPicture(g, d.slot);
    else if (d.kind == PictureDirective::Hide)
        HidePicture(g);
}

// One step of scene no, in the order a step does its work: the pictures of step 1, the party
// test of a branch, the picture frame, the step's own work, where the story goes next, and
// last the text.
void RunScene(Game& g, int no, std::string& text) {
    const SceneDef& d = *FindScene(no);
    const int step = g.s.StoryStep;
    if (step == 1)
        for (const PictureRef& p : d.pictures) LoadScenePicture(g, p.folder, p.name);
    if (!d.Handles(step)) {
        if (d.other)
            d.other(g);
        else
            EndScene(g);
        return;
    }
    std::string key = std::to_string(step);
    int branchTo = 0;
    if (const StepBranch* b = d.BranchAt(step)) {
        const bool taken = (FindPartyKind(g, b->kind) == 1) != b->whenAbsent;
        const std::string variant = taken ? b->variant : b->otherVariant;
        if (!variant.empty()) key += "/" + variant;
        if (taken) branchTo = b->to;
    }
    const ContentFile* file = SceneContent(no);
    const ContentEntry* entry = d.Silent(step) || !file ? nullptr : file->Find(key);
    if (entry) ApplyPictureDirective(g, entry->rest);
    const StepHook* hook = d.HookAt(step);
    if (hook) hook->run(g);
    if (const StepJump* j = d.JumpFrom(step)) JumpToStep(g, static_cast<Int16>(j->to));
    if (branchTo != 0) JumpToStep(g, static_cast<Int16>(branchTo));
    if (const StepChoice* c = d.ChoiceAt(step)) OfferChoice(g, c->yes, c->no);
    if (const StepEvent* b = d.BattleAt(step))
        SetFormation(g, b->n);
    else if (const StepEvent* e = d.EncounterAt(step))
        StartEncounter(g, e->n);
    else if (d.EndsAt(step) && !hook)
        EndScene(g);
    if (entry) text = entry->Text();
}

} // namespace

PictureDirective ParsePictureDirective(const std::string& rest) {
    PictureDirective d;
    if (rest.empty()) return d;
    if (rest == "hide") {
        d.kind = PictureDirective::Hide;
        return d;
    }
    d.kind = PictureDirective::Malformed;
    if (rest.rfind("show ", 0) != 0) return d;
    const char* first = rest.data() + 5;
    const char* last = rest.data() + rest.size();
    int slot = 0;
    auto [p, ec] = std::from_chars(first, last, slot);
    if (ec != std::errc() || p != last || first == last || slot < 0 || slot > 20) return d;
    d.kind = PictureDirective::Show;
    d.slot = slot;
    return d;
}

const ContentFile* SceneContent(int sceneNo) {
    static const std::array<const ContentFile*, kSceneCount + 1> files = [] {
        std::array<const ContentFile*, kSceneCount + 1> a{};
        for (int n = 1; n <= kSceneCount; ++n) a[n] = Content(SceneFile(n));
        return a;
    }();
    return sceneNo >= 1 && sceneNo <= kSceneCount ? files[sceneNo] : nullptr;
}

void Scene1(Game& g, std::string& text) {
    RunScene(g, 1, text);
}
void Scene2(Game& g, std::string& text) {
    RunScene(g, 2, text);
}
void Scene3(Game& g, std::string& text) {
    RunScene(g, 3, text);
}
void Scene4(Game& g, std::string& text) {
    RunScene(g, 4, text);
}
void Scene5(Game& g, std::string& text) {
    RunScene(g, 5, text);
}
void Scene6(Game& g, std::string& text) {
    RunScene(g, 6, text);
}
void Scene7(Game& g, std::string& text) {
    RunScene(g, 7, text);
}
void Scene8(Game& g, std::string& text) {
    RunScene(g, 8, text);
}
void Scene9(Game& g, std::string& text) {
    RunScene(g, 9, text);
}
void Scene10(Game& g, std::string& text) {
    RunScene(g, 10, text);
}
void Scene11(Game& g, std::string& text) {
    RunScene(g, 11, text);
}
void Scene12(Game& g, std::string& text) {
    RunScene(g, 12, text);
}
void Scene13(Game& g, std::string& text) {
    RunScene(g, 13, text);
}
void Scene14(Game& g, std::string& text) {
    RunScene(g, 14, text);
}
void Scene15(Game& g, std::string& text) {
    RunScene(g, 15, text);
}
void Scene16(Game& g, std::string& text) {
    RunScene(g, 16, text);
}
void Scene17(Game& g, std::string& text) {
    RunScene(g, 17, text);
}
void Scene18(Game& g, std::string& text) {
    RunScene(g, 18, text);
}
void Scene19(Game& g, std::string& text) {
    RunScene(g, 19, text);
}
void Scene20(Game& g, std::string& text) {
    RunScene(g, 20, text);
}
void Scene21(Game& g, std::string& text) {
    RunScene(g, 21, text);
}
void Scene22(Game& g, std::string& text) {
    RunScene(g, 22, text);
}
void Scene23(Game& g, std::string& text) {
    RunScene(g, 23, text);
}
void Scene24(Game& g, std::string& text) {
    RunScene(g, 24, text);
}
void Scene25(Game& g, std::string& text) {
    RunScene(g, 25, text);
}
void Scene26(Game& g, std::string& text) {
    RunScene(g, 26, text);
}
void Scene27(Game& g, std::string& text) {
    RunScene(g, 27, text);
}
void Scene28(Game& g, std::string& text) {
    RunScene(g, 28, text);
}
void Scene29(Game& g, std::string& text) {
    RunScene(g, 29, text);
}
void Scene30(Game& g, std::string& text) {
    RunScene(g, 30, text);
}
void Scene31(Game& g, std::string& text) {
    RunScene(g, 31, text);
}
void Scene32(Game& g, std::string& text) {
    RunScene(g, 32, text);
}
void Scene33(Game& g, std::string& text) {
    RunScene(g, 33, text);
}
void Scene34(Game& g, std::string& text) {
    RunScene(g, 34, text);
}
void Scene35(Game& g, std::string& text) {
    RunScene(g, 35, text);
}
void Scene36(Game& g, std::string& text) {
    RunScene(g, 36, text);
}
void Scene37(Game& g, std::string& text) {
    RunScene(g, 37, text);
}
void Scene38(Game& g, std::string& text) {
    RunScene(g, 38, text);
}
void Scene39(Game& g, std::string& text) {
    RunScene(g, 39, text);
}

void SceneBeyond(Game&, std::string&) {}

SceneRoutine SceneRoutineFor(int sceneNo) {
    static constexpr SceneRoutine kRoutines[kSceneCount] = {
        Scene1,  Scene2,  Scene3,  Scene4,  Scene5,  Scene6,  Scene7,  Scene8,  Scene9,  Scene10,
        Scene11, Scene12, Scene13, Scene14, Scene15, Scene16, Scene17, Scene18, Scene19, Scene20,
        Scene21, Scene22, Scene23, Scene24, Scene25, Scene26, Scene27, Scene28, Scene29, Scene30,
        Scene31, Scene32, Scene33, Scene34, Scene35, Scene36, Scene37, Scene38, Scene39};
    if (sceneNo < 1 || sceneNo > kSceneCount) return SceneBeyond;
    return kRoutines[sceneNo - 1];
}

} // namespace vern
