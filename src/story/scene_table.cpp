// The 39 scenes' structure, one entry a scene. Pictures are listed in load order: the k-th
// picture of step 1 lands in Img(k), which the scene's file then shows by number.
#include "story/scene_table.h"

#include <algorithm>
#include <cstdio>

#include "battle/game_mode.h"
#include "story/commands.h"
#include "story/formations.h"

namespace vern {

namespace {

// Scene 10, step 28: the GAME OVER screen asks for a saved game at once.
void AskForLoad(Game& g) {
    g.s.AskLoad = kTrue;
}

// Scene 10, closing step: マリア (kind 3) leaves the party.
void MariaLeaves(Game& g) {
    if (FindPartyKind(g, 3) == 1) ChangeUnit(g, g.s.FoundSlot, 1);
}

// Scene 20, step 30: the second part's lead is named and takes over; the party's power is
// cut to a hundredth.
void SecondLead(Game& g) {
    g.s.NameNo = 2;
    AskHeroName(g);
    ChangeUnit(g, 0, 2);
    ScalePartyMaxHP(g, 0.01);
}

void LeadBecomesKind76(Game& g) {
    ChangeUnit(g, 0, 3);
}

void LeadBecomesKind83(Game& g) {
    ChangeUnit(g, 0, 4);
}

// Scene 34, "いいえ": with ステップトゥヘル (kind 1021) in the party the story goes on into
// scene 35 at once; otherwise scene 34 comes round again from the free menu.
void EpilogueStays(Game& g) {
    if (FindPartyKind(g, 1021) == 1) {
        g.s.SceneNo = 35;
        g.s.StoryStep = 0;
    } else {
        g.s.SceneNo = static_cast<Int16>(g.s.SceneNo - 1);
        EndScene(g);
    }
}

// Scene 34, "はい": back to the first stage with a newly named lead of kind 1.
void BackToTheStart(Game& g) {
    g.s.NameNo = 1;
    AskHeroName(g);
    ChangeUnit(g, 0, 5);
    ScalePartyMaxHP(g, 0.01);
}

void RestartStory(Game& g) {
    g.s.SceneNo = 0;
    EndScene(g);
}

void DoNothing(Game&) {}

// Scene 35, step 1: ステップトゥヘル leaves the party.
void StepToHellLeaves(Game& g) {
    if (FindPartyKind(g, 1021) == 1) ChangeUnit(g, g.s.FoundSlot, 1);
}

// Scene 35 ends: without モルティーレ (kind 1022) in the party the story returns to scene 34.
void AfterTheDark(Game& g) {
    if (FindPartyKind(g, 1022) == 0) g.s.SceneNo = 33;
    EndScene(g);
}

// Scene 36, "いいえ": back to scene 34.
void TurnBack(Game& g) {
    g.s.SceneNo = 33;
    EndScene(g);
}

// Scene 37 plays again whenever the player goes on.
void DarkRepeats(Game& g) {
    g.s.SceneNo = static_cast<Int16>(g.s.SceneNo - 1);
    EndScene(g);
}

std::vector<SceneDef> BuildScenes() {
    std::vector<SceneDef> v(kSceneCount + 1);
    auto at = [&](int n) -> SceneDef& {
        v[n].no = n;
        return v[n];
    };
    SceneDef* d = nullptr;

    d = &at(1);
    d->steps = {{1, 99}, {861, 861}};
    d->pictures = {{"キャラ", "悪"},
                   {"場面", "道"},
                   {"場面", "夜道"},
                   {"キャラ", "ガーナ"},
                   {"場面", "血しぶき"}};
    d->jumps = {{86, 861}, {861, 87}};
    d->battles = {{34, 1}};
    d->closing = 99;

    d = &at(2);
    d->steps = {{1, 93}, {821, 827}};
    d->pictures = {{"場面", "気象庁"},       {"祖", "3"},       {"祖", "8"}, {"キャラ", "マリア"},
                   {"キャラ", "ヘーウッド"}, {"キャラ", "庁長"}};
    d->jumps = {{82, 821}, {827, 83}};
    d->encounters = {{82, 1}};
    d->branches = {{821, 3, false, 823, "with", "without"}};
    d->closing = 93;

    d = &at(3);
    d->steps = {{1, 59}, {301, 309}};
    d->pictures = {{"場面", "気象庁"}, {"祖", "3"},      {"キャラ", "ガーナ"},
                   {"キャラ", "悪"},   {"場面", "夜道"}, {"祖", "3"}};
    d->jumps = {{3, 301}, {309, 4}};
    d->battles = {{5, 2}};
    d->closing = 59;

    d = &at(4);
    d->steps = {{1, 91}};
    d->pictures = {{"場面", "気象庁"},   {"キャラ", "マリア"}, {"場面", "夜道"},
                   {"キャラ", "ガーナ"}, {"場面", "血しぶき"}, {"キャラ", "ボヘミア"}};
    d->battles = {{19, 4}};
    d->closing = 91;

    d = &at(5);
    d->steps = {{1, 87}};
    d->pictures = {{"場面", "道"}, {"キャラ", "ガーナ"}, {"キャラ", "マリア"}};
    d->battles = {{73, 3}};
    d->encounters = {{85, 2}};
    d->closing = 87;

    d = &at(6);
    d->steps = {{1, 106}, {701, 701}, {981, 981}};
    d->pictures = {{"場面", "剣の城"},
                   {"場面", "気象庁"},
                   {"場面", "ホスピタル"},
                   {"場面", "炭素工業"},
                   {"祖", "1"},
                   {"祖", "2"},
                   {"祖", "9"},
                   {"キャラ", "ライク２"},
                   {"キャラ", "ヘーウッド"},
                   {"場面", "道"},
                   {"キャラ", "ライク"},
                   {"キャラ", "マリア"}};
    d->jumps = {{7, 701}, {701, 8}, {98, 981}, {981, 99}};
    d->battles = {{102, 5}};
    d->closing = 106;

    d = &at(7);
    d->steps = {{1, 53}, {401, 402}};
    d->pictures = {{"場面", "道"}, {"キャラ", "マリア"}, {"キャラ", "クレンエルジェ"}};
    d->jumps = {{4, 401}, {402, 5}};
    d->closing = 53;

    d = &at(8);
    d->steps = {{1, 137}, {1291, 1291}};
    d->pictures = {{"場面", "教会"},
                   {"キャラ", "イェロゥワックス"},
                   {"キャラ", "マリア"},
                   {"祖", "1"},
                   {"キャラ", "ライク２"},
                   {"キャラ", "ライク"},
                   {"キャラ", "クラミー"},
                   {"物", "ショット"},
                   {"キャラ", "クレンエルジェ"}};
    d->jumps = {{129, 1291}, {1291, 130}};
    d->battles = {{11, 6}};
    d->closing = 137;

    d = &at(9);
    d->steps = {{1, 83}, {1501, 1505}, {561, 561}};
    d->pictures = {{"場面", "教会"},       {"キャラ", "マリア"}, {"キャラ", "クレンエルジェ"},
                   {"キャラ", "クラミー"}, {"祖", "1"},          {"キャラ", "ガーナ"}};
    d->jumps = {{15, 1501}, {1505, 16}, {56, 561}, {561, 57}};
    d->battles = {{8, 7}};
    d->branches = {{57, 15, true, 64}}; // 58..63 only with ガーナ (kind 15) in the party
    d->closing = 83;

    d = &at(10);
    d->steps = {{1, 104}, {551, 552}};
    d->pictures = {{"キャラ", "ガーナ２"}, {"キャラ", "マリア"}, {"キャラ", "悪"},
                   {"キャラ", "クラミー"}, {"祖", "1"},          {"場面", "教会"}};
    d->jumps = {{55, 551}, {552, 56}, {29, 29}}; // 29: GAME OVER for every further advance
    d->battles = {{76, 8}};
    d->branches = {{1, 15, true, 30}}; // 2..29 only with ガーナ in the party
    d->hooks = {{28, AskForLoad}, {104, MariaLeaves}};
    d->closing = 104;

    d = &at(11);
    d->steps = {{1, 45}};
    d->pictures = {{"場面", "教会"}, {"キャラ", "クラミー"}, {"祖", "1"}};
    d->encounters = {{34, 3}};
    d->closing = 45;

    d = &at(12);
    d->steps = {{1, 17}};
    d->pictures = {{"キャラ", "クラミー"}};
    d->battles = {{7, 10}};
    d->closing = 17;

    d = &at(13);
    d->steps = {{1, 16}};
    d->pictures = {{"キャラ", "クラミー"}};
    d->battles = {{5, 11}, {8, 12}, {11, 13}};
    d->closing = 16;

    d = &at(14);
    d->steps = {{1, 12}};
    d->pictures = {{"場面", "教会"}, {"祖", "1"}, {"キャラ", "クラミー"}};
    d->battles = {{9, 14}};
    d->closing = 12;

    d = &at(15);
    d->steps = {{1, 11}};
    d->pictures = {{"キャラ", "悪"}, {"キャラ", "クラミー"}};
    d->battles = {{7, 15}};
    d->closing = 11;

    d = &at(16);
    d->steps = {{1, 16}, {18, 39}, {49, 62}};
    d->pictures = {{"場面", "闇"},         {"キャラ", "マリア２"}, {"キャラ", "クラミー"},
                   {"場面", "教会"},       {"キャラ", "マリア"},   {"祖", "1"},
                   {"キャラ", "ガーナ２"}, {"キャラ", "ボヘミア"}, {"物", "ひこうき"},
                   {"キャラ", "ガーナ"}};
    d->jumps = {{16, 18}, {39, 49}};
    d->battles = {{12, 16}};
    d->closing = 62;

    d = &at(17);
    d->steps = {{1, 30}};
    d->pictures = {{"キャラ", "マリア"}, {"物", "ひこうき"}};
    d->battles = {{24, 17}};
    d->closing = 30;

    d = &at(18);
    d->steps = {{1, 23}, {25, 62}};
    d->pictures = {{"キャラ", "ボヘミア"}, {"キャラ", "マリア"},       {"物", "ひこうき"},
                   {"キャラ", "ボヘキア"}, {"キャラ", "キアリザード"}, {"場面", "がらくた"},
                   {"キャラ", "ガーナ"}};
    d->jumps = {{23, 25}};
    d->battles = {{25, 18}};
    d->closing = 62;

    d = &at(19);
    d->steps = {{1, 56}, {201, 203}, {181, 181}, {391, 391}};
    d->pictures = {{"キャラ", "ガーナ"}, {"場面", "気象庁"},   {"場面", "がらくた"},
                   {"キャラ", "庁長"},   {"場面", "Closed２"}, {"キャラ", "悪"}};
    d->jumps = {{2, 201}, {203, 3}, {18, 181}, {181, 19}, {39, 391}, {391, 40}};
    d->battles = {{5, 19}};
    d->closing = 56;

    d = &at(20);
    d->steps = {{1, 37}, {1101, 1102}};
    d->pictures = {{"キャラ", "シザ２"}, {"キャラ", "ララスピア０"}};
    d->jumps = {{11, 1101}, {1102, 12}};
    d->hooks = {{30, SecondLead}};
    d->closing = 37;

    d = &at(21);
    d->steps = {{1, 42}};
    d->pictures = {{"キャラ", "セデロ"}};
    d->battles = {{28, 20}, {37, 20}};
    d->closing = 42;

    d = &at(22);
    d->steps = {{1, 49}};
    d->pictures = {{"キャラ", "ララスピア０"},
                   {"キャラ", "オータム"},
                   {"キャラ", "クレンエルジェ"},
                   {"キャラ", "ガーナ２"}};
    d->battles = {{41, 21}};
    d->closing = 49;

    d = &at(23);
    d->steps = {{1, 13}};
    d->pictures = {{"キャラ", "ララスピア０"}, {"キャラ", "タフク"}};
    d->battles = {{10, 22}};
    d->closing = 13;

    d = &at(24);
    d->steps = {{1, 28}};
    d->pictures = {{"キャラ", "ララスピア０"}, {"祖", "9"}, {"キャラ", "シザ"}};
    d->battles = {{19, 23}};
    d->closing = 28;

    d = &at(25);
    d->steps = {{1, 53}};
    d->pictures = {{"キャラ", "セデロ"}, {"キャラ", "ララスピア０"}, {"場面", "がらくた"}};
    d->battles = {{38, 24}};
    d->closing = 53;

    d = &at(26);
    d->steps = {{1, 74}};
    d->pictures = {{"キャラ", "ミッセル"}};
    d->battles = {{64, 25}};
    d->closing = 74;

    d = &at(27);
    d->steps = {{1, 40}};
    d->pictures = {{"キャラ", "ララフェイク"}, {"キャラ", "悪"}};
    d->battles = {{6, 26}, {36, 27}};
    d->closing = 40;

    d = &at(28);
    d->steps = {{1, 49}};
    d->pictures = {{"キャラ", "シザ"}, {"場面", "道"}, {"キャラ", "フレイク"}};
    d->battles = {{38, 28}};
    d->hooks = {{39, LeadBecomesKind76}};
    d->closing = 49;

    d = &at(29);
    d->steps = {{1, 27}};
    d->pictures = {{"物", "ミサイル"},   {"場面", "気象庁"}, {"祖", "3"},
                   {"キャラ", "マリア"}, {"場面", "道"},     {"キャラ", "ビュラシャ"}};
    d->battles = {{5, 29}, {17, 30}, {23, 31}};
    d->closing = 27;

    d = &at(30);
    d->steps = {{1, 40}};
    d->pictures = {{"場面", "気象庁"}, {"祖", "3"}, {"キャラ", "マリア"}, {"場面", "いなかった"}};
    d->battles = {{16, 32}};
    d->hooks = {{39, LeadBecomesKind83}};
    d->closing = 40;

    d = &at(31);
    d->steps = {{1, 52}};
    d->pictures = {{"キャラ", "シザ２"}, {"キャラ", "オータム"}, {"キャラ", "フレイク"}};
    d->battles = {{45, 33}};
    d->closing = 52;

    d = &at(32);
    d->steps = {{1, 58}};
    d->pictures = {{"キャラ", "フレイク"}};
    d->battles = {{12, 34}};
    d->closing = 58;

    d = &at(33);
    d->steps = {{1, 82}, {6401, 6401}};
    d->pictures = {
        {"キャラ", "フレイク"}, {"キャラ", "ミッセル"}, {"場面", "夜道"}, {"キャラ", "悪"}};
    d->jumps = {{64, 6401}, {6401, 65}};
    d->battles = {{34, 35}};
    d->closing = 82;

    d = &at(34); // the epilogue
    d->steps = {{1, 23}};
    d->pictures = {{"キャラ", "シザ２"}};
    d->choices = {{19, 21, 20}};
    d->hooks = {{20, EpilogueStays}, {21, BackToTheStart}, {23, RestartStory}};
    d->ends = {20, 23};
    d->other = DoNothing;
    d->closing = 22;

    d = &at(35);
    d->steps = {{1, 64}, {1101, 1103}};
    d->pictures = {{"物", "ステップトゥヘル"}, {"キャラ", "ララフェイク"}, {"場面", "闇"},
                   {"場面", "夜道"},           {"キャラ", "理攻歳"},       {"キャラ", "ケヤキ"}};
    d->jumps = {{11, 1101}, {1103, 12}};
    d->battles = {{41, 36}, {60, 37}};
    d->hooks = {{1, StepToHellLeaves}};
    d->other = AfterTheDark;
    d->closing = 64;

    d = &at(36);
    d->steps = {{1, 10}, {501, 503}};
    d->pictures = {{"物", "ステップトゥヘル"}};
    d->choices = {{4, 5, 8}};
    d->jumps = {{5, 501}, {503, 6}};
    d->ends = {7}; // into the dark: scene 37
    d->other = TurnBack;
    d->closing = 10;

    d = &at(37);
    d->steps = {{1, 4}};
    d->pictures = {{"場面", "闇"}};
    d->other = DarkRepeats;

    for (int n : {38, 39}) { // not told: no scene leads here
        d = &at(n);
        d->steps = {{1, 9}, {25, 25}};
        d->silent = {2, 3, 4, 5, 6, 7, 8, 9};
        d->closing = 25;
    }
    return v;
}

template <typename T> const T* FindStep(const std::vector<T>& list, int step) {
    auto it = std::find_if(list.begin(), list.end(), [&](const T& x) { return x.step == step; });
    return it == list.end() ? nullptr : &*it;
}

} // namespace

bool SceneDef::Handles(int step) const {
    return std::any_of(steps.begin(), steps.end(),
                       [&](const StepRange& r) { return step >= r.first && step <= r.last; });
}

bool SceneDef::Silent(int step) const {
    return Handles(step) && (BattleAt(step) || EncounterAt(step) || EndsAt(step) ||
                             std::find(silent.begin(), silent.end(), step) != silent.end());
}

const StepJump* SceneDef::JumpFrom(int step) const {
    auto it =
        std::find_if(jumps.begin(), jumps.end(), [&](const StepJump& j) { return j.from == step; });
    return it == jumps.end() ? nullptr : &*it;
}
const StepEvent* SceneDef::BattleAt(int step) const {
    return FindStep(battles, step);
}
const StepEvent* SceneDef::EncounterAt(int step) const {
    return FindStep(encounters, step);
}
const StepBranch* SceneDef::BranchAt(int step) const {
    return FindStep(branches, step);
}
const StepChoice* SceneDef::ChoiceAt(int step) const {
    return FindStep(choices, step);
}
const StepHook* SceneDef::HookAt(int step) const {
    return FindStep(hooks, step);
}
bool SceneDef::EndsAt(int step) const {
    return std::find(ends.begin(), ends.end(), step) != ends.end();
}

const SceneDef* FindScene(int no) {
    static const std::vector<SceneDef> scenes = BuildScenes();
    if (no < 1 || no > kSceneCount) return nullptr;
    return &scenes[no];
}

std::string SceneFile(int no) {
    char name[32];
    std::snprintf(name, sizeof name, "scenes/scene%02d.txt", no);
    return name;
}

} // namespace vern
