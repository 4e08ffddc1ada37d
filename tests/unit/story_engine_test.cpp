// The story engine: the dispatcher, the ≫ / 早送り / はい・いいえ buttons, the story commands and
// the scenes' jumps, branches and endings.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>

#include "bitmap_file.h"
#include "catalogue/content.h"
#include "fake_services.h"
#include "screen/load_cg.h"
#include "screen/name_dialog.h"
#include "screen/start.h"
#include "shell/events.h"
#include "story/commands.h"
#include "story/dispatcher.h"
#include "story/scene_table.h"
#include "story/scenes.h"
#include "test_folder.h"

namespace vern::test {
namespace {

namespace fs = std::filesystem;

std::string StepText(int scene, const std::string& key) {
    const ContentEntry* e = SceneContent(scene)->Find(key);
    return e ? e->Text() : "<no entry " + key + ">";
}

// A started game in story mode with a party of five of kind 0, in a program folder of its own.
struct Story : ::testing::Test {
    TestGame t;
    Game& g = t.g;
    GameState& s = t.g.s;
    fs::path dir;

    void SetUp() override {
        dir = TestFolder("vern_story_");
        t.svc.appPath = dir.string();
        Start(g);
        for (int i = 0; i <= 4; ++i) {
            s.UnitName[i] = "p" + std::to_string(i);
            s.UnitKind[i] = 0;
            s.UnitMaxHP[i] = s.UnitHP[i] = 100;
        }
    }
    void TearDown() override { fs::remove_all(dir); }

    // Enters the story at scene/step, as the free menu's "先に進む" does.
    void Enter(int scene, int step) {
        s.SceneNo = static_cast<Int16>(scene);
        s.StoryStep = static_cast<Int16>(step);
        STORYshow(g);
    }
    std::string Label() const { return g.f.Label7.Caption; }
};

// ---- The dispatcher -------------------------------------------------------------------------

TEST_F(Story, TheIndentMarkAndThePlayersNamesAreAppliedToEveryText) {
    std::string text = "SPSP題";
    ExpandIndentMarks(text);
    EXPECT_EQ(text, std::string(20, ' ') + "題");

    text = "シザ「ララスピア？」シザ";
    ApplyCharNames(g, text);
    EXPECT_EQ(text, "シザ「ララスピア？」シザ") << "default names stay";
    s.CharName[0] = "勇者";
    s.CharName[1] = "";
    text = "シザ「ララスピア？」シザ";
    ApplyCharNames(g, text);
    EXPECT_EQ(text, "勇者「？」勇者");

    // On screen: scene 1's title card, and a line naming the lead.
    Enter(1, 41);
    EXPECT_EQ(Label(), "ＥＶＥＲＹＯＮＥ　ＨＡＳ　ＯＮＥ　ＷＩＳＨ\r\r" + std::string(10, ' ') +
                           "≪ヴェルナドーラ演義≫");
    Enter(1, 8);
    EXPECT_NE(Label().find("勇者は"), std::string::npos) << Label();
    EXPECT_EQ(Label().find("シザ"), std::string::npos);
}

TEST_F(Story, AStepTheSceneDoesNotHaveEndsTheScene) {
    Enter(5, 300);
    EXPECT_EQ(s.SceneNo, 6);
    EXPECT_EQ(s.StoryStep, 1);
    EXPECT_EQ(Label(), "");
    EXPECT_FALSE(g.f.Picture2.Visible);
    EXPECT_EQ(s.ClickState, 1);
    EXPECT_EQ(s.ButtonMode[0], 18) << "the next click leads to the free menu";
    // Entering the story at such a step leaves the command bar and the menus usable.
    EXPECT_TRUE(g.f.願い一覧.Enabled);
    EXPECT_TRUE(g.f.セーブ.Enabled);
    for (int i = 0; i <= 3; ++i) EXPECT_TRUE(g.f.Command1[i].Enabled);
}

TEST_F(Story, EnteringTheStoryLocksTheCommandBarAndTheMenus) {
    Enter(1, 2);
    EXPECT_TRUE(g.f.Picture2.Visible);
    EXPECT_EQ(Label(), StepText(1, "2"));
    EXPECT_FALSE(g.f.願い一覧.Enabled);
    EXPECT_FALSE(g.f.セーブ.Enabled);
    for (int i = 0; i <= 3; ++i) EXPECT_FALSE(g.f.Command1[i].Enabled);
    EXPECT_FALSE(Click(g, Control::Command1, 0));
}

TEST_F(Story, SceneNumbersOutsideTheStoryShowNothingAndNeverEnd) {
    for (int scene : {10000, 40, 0, -3}) {
        Enter(scene, 1);
        for (int i = 0; i < 3; ++i) Command2_Click(g);
        EXPECT_EQ(s.SceneNo, scene == 10000 ? 9999 : scene);
        EXPECT_EQ(s.StoryStep, 4);
        EXPECT_EQ(Label(), "");
        EXPECT_TRUE(g.f.Picture2.Visible);
    }
}

TEST_F(Story, TheStepCounterStopsAtItsLimits) {
    Enter(40, std::numeric_limits<Int16>::max());
    Command2_Click(g);
    EXPECT_EQ(s.StoryStep, std::numeric_limits<Int16>::max());
    JumpToStep(g, std::numeric_limits<Int16>::min());
    EXPECT_EQ(s.StoryStep, std::numeric_limits<Int16>::min());
    JumpToStep(g, 5);
    EXPECT_EQ(s.StoryStep, 4);
}

TEST_F(Story, AJumpShowsItsOwnTextAndTheNextAdvanceShowsTheTarget) {
    Enter(1, 86);
    EXPECT_EQ(Label(), StepText(1, "86"));
    EXPECT_EQ(s.StoryStep, 860);
    Command2_Click(g);
    EXPECT_EQ(Label(), StepText(1, "861"));
    EXPECT_EQ(s.StoryStep, 86) << "861 leads back to 87";
    Command2_Click(g);
    EXPECT_EQ(s.StoryStep, 87);
    EXPECT_EQ(Label(), StepText(1, "87"));
}

TEST_F(Story, TheClosingStepEndsTheSceneAtTheNextAdvance) {
    Enter(12, 17);
    EXPECT_EQ(Label(), "\r\r\r                        ････――See you next stage．");
    Command2_Click(g);
    EXPECT_EQ(s.SceneNo, 13);
    EXPECT_EQ(s.StoryStep, 1);
    EXPECT_FALSE(g.f.Picture2.Visible);
    EXPECT_EQ(Label(), "");
}

// ---- Pictures -----------------------------------------------------------------------------------

TEST_F(Story, TheLeadsPortraitIsReadBeforeEveryStep) {
    WriteBmp(dir / "CG/キャラ/シザ.bmp", 40, 30);
    s.UnitKind[0] = 1; // シザ
    Enter(1, 2);
    EXPECT_EQ(g.f.Img[0].picture.name, "キャラ/シザ");
    EXPECT_EQ(s.NextPicSlot, 1);
    // The lead changes between two steps: the next step reads the new lead's portrait, and a
    // kind the catalogue has no picture for finds no file.
    for (Int16 kind : {Int16{3}, Int16{0}}) {
        s.UnitKind[0] = kind;
        Command2_Click(g);
        EXPECT_EQ(g.f.Img[0].picture.name, "fallback") << kind;
    }
    // The file is read again each time: a portrait that appears is used at once.
    s.UnitKind[0] = 1;
    ShowPicture(g, 0);
    EXPECT_EQ(g.f.Picture3.picture.name, "fallback") << "slot 0 holds the last step's portrait";
    Command2_Click(g);
    ShowPicture(g, 0);
    EXPECT_EQ(g.f.Picture3.picture.name, "キャラ/シザ");
    EXPECT_TRUE(t.svc.boxes.empty()) << "missing pictures are silent";
}

TEST_F(Story, AScenesPicturesAreLoadedAtStep1InOrder) {
    WriteBmp(dir / "CG/祖/3.bmp", 130, 100);
    Enter(3, 1);
    const std::vector<std::string> want = {"fallback", "祖/3",     "fallback",
                                           "fallback", "fallback", "祖/3"};
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(g.f.Img[k].picture.name, want[k - 1]) << k;
    EXPECT_EQ(s.NextPicSlot, 7);
    // The frame takes the picture's size and is centred on the picture area.
    ShowPicture(g, 2);
    const Rect& r = g.f.Picture3.r;
    EXPECT_EQ(r.Width, 1950);
    EXPECT_EQ(r.Height, 1500);
    EXPECT_EQ(r.Left, 3400 - 975);
    EXPECT_EQ(r.Top, 1980 - 750);
    EXPECT_TRUE(g.f.Picture3.Visible);
    HidePicture(g);
    EXPECT_FALSE(g.f.Picture3.Visible);
    // Later steps keep the pictures; a store that is full takes no more.
    Command2_Click(g);
    EXPECT_EQ(g.f.Img[2].picture.name, "祖/3");
    s.NextPicSlot = 20;
    LoadScenePicture(g, "祖", "3");
    EXPECT_EQ(g.f.Img[20].picture.name, "祖/3");
    LoadScenePicture(g, "祖", "3");
    EXPECT_EQ(s.NextPicSlot, 21);
}

// A bitmap header (and nothing much after it) that claims what it likes.
void WriteHeader(const fs::path& file, int w, int h, int bpp, int compression, int colours = 0) {
    fs::create_directories(file.parent_path());
    unsigned char head[54] = {'B', 'M'};
    auto put32 = [&](int at, int v) {
        for (int k = 0; k < 4; ++k) head[at + k] = static_cast<unsigned char>(v >> (8 * k));
    };
    const int data = 2048;
    put32(2, 54 + data);
    put32(10, 54 + (bpp <= 8 ? 4 << bpp : 0));
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    head[26] = 1;
    head[28] = static_cast<unsigned char>(bpp);
    put32(30, compression);
    put32(46, colours);
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(head), sizeof head);
    out << std::string(data, '\0');
}

// Anything in the picture folder that is no picture of the game (a pipe that would block a
// plain read, a header that lies about its size, a coding that does not exist, a file the
// window cannot draw) gives the fallback, at the fallback's own size, without a word.
TEST_F(Story, AFileThatIsNoPictureOfTheGameGivesTheFallbackAtItsOwnSize) {
    const fs::path file = dir / "CG/場面/x.bmp";
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"a named pipe",
         [&] {
             fs::create_directories(file.parent_path());
             ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
         }},
        {"a compressed header claiming 16384 × 16384",
         [&] { WriteHeader(file, 16384, 16384, 8, 1); }},
        {"one pixel wider than the story panel", [&] { WriteBmp(file, 458, 10); }},
        {"one pixel higher than the story panel", [&] { WriteBmp(file, 10, 368); }},
        {"run-length coding on a 24-bit picture", [&] { WriteHeader(file, 10, 10, 24, 1); }},
        {"a picture the window cannot draw",
         [&] {
             WriteBmp(file, 40, 30);
             t.svc.canDraw = false;
         }},
    };
    for (const auto& [what, make] : cases) {
        SCOPED_TRACE(what);
        fs::remove_all(dir / "CG");
        t.svc.canDraw = true;
        make();
        g.f.Image1.picture = {};
        LoadCG(g, "場面", "x");
        EXPECT_EQ(g.f.Image1.picture, g.f.Image0.picture);
        g.f.Img[1].picture = g.f.Image1.picture;
        ShowPicture(g, 1);
        EXPECT_EQ(g.f.Picture3.r.Width, 130 * 15);
        EXPECT_EQ(g.f.Picture3.r.Height, 162 * 15);
    }
    EXPECT_TRUE(t.svc.boxes.empty());
    // A picture as large as the story panel is still one.
    fs::remove_all(dir / "CG");
    t.svc.canDraw = true;
    WriteBmp(file, 457, 367);
    LoadCG(g, "場面", "x");
    EXPECT_EQ(g.f.Image1.picture.name, "場面/x");
    EXPECT_EQ(g.f.Image1.picture.widthPx, 457);
}

// ---- Party search -----------------------------------------------------------------------------

TEST_F(Story, FindPartyKindPicksOneOfTheMatchingSlotsAtRandom) {
    s.FoundSlot = 7;
    EXPECT_EQ(FindPartyKind(g, 15), 0);
    EXPECT_EQ(s.FoundSlot, 7) << "unchanged when nobody has the kind";
    EXPECT_TRUE(g.rng.ScriptDone());
    s.UnitKind[1] = 15;
    s.UnitKind[3] = 15;
    // Draws until a draw lands on a matching slot: 0 (no), 2 (no), 3 (yes).
    g.rng.Script({0.1, 0.5, 0.7});
    EXPECT_EQ(FindPartyKind(g, 15), 1);
    EXPECT_EQ(s.FoundSlot, 3);
    EXPECT_TRUE(g.rng.ScriptDone());
    int picks[5] = {};
    for (int i = 0; i < 400; ++i) {
        FindPartyKind(g, 15);
        ++picks[s.FoundSlot];
    }
    EXPECT_EQ(picks[1] + picks[3], 400);
    EXPECT_GT(picks[1], 150);
    EXPECT_GT(picks[3], 150);
}

// ---- Fast-forward and choices --------------------------------------------------------------

TEST_F(Story, FastForwardAdvancesOnEveryTickAndStopsWhenABattleStarts) {
    Enter(12, 4);
    Click(g, Control::Command3);
    EXPECT_EQ(s.FastForward, kTrue);
    EXPECT_EQ(g.f.Timer1.Interval, 25);
    EXPECT_EQ(g.f.Command3.Caption, "止める");
    Tick(g);
    EXPECT_EQ(s.StoryStep, 5);
    EXPECT_TRUE(g.f.Picture2.Visible);
    Tick(g);
    Tick(g); // step 7: the battle
    EXPECT_FALSE(g.f.Picture2.Visible);
    EXPECT_EQ(s.StoryStep, 7);
    EXPECT_EQ(s.FastForward, 0);
    EXPECT_EQ(g.f.Timer1.Interval, 200);
    EXPECT_EQ(g.f.Command3.Caption, "早送り");
    EXPECT_EQ(g.f.Label1.Caption, "臨戦態勢です。");
    EXPECT_FALSE(FastForwardTick(g));
    EXPECT_EQ(s.StoryStep, 7) << "a tick without fast-forward does not advance";
}

// The player's own ≫ can reach a battle, an encounter or the end of the scene between two
// ticks: fast-forward stops there too, and the next tick does not advance the story behind
// the command bar.
TEST_F(Story, FastForwardStopsWhenTheStoryLeavesThePanelByAClickOnAdvance) {
    struct Case {
        int scene, step; // ≫ from here leaves the panel
        int wantScene, wantStep;
    };
    const Case cases[] = {{12, 6, 12, 7},   // formation 10
                          {2, 81, 2, 820},  // マリア's offer, the story to resume at 821
                          {12, 17, 13, 1}}; // the closing line
    for (const Case& c : cases) {
        SCOPED_TRACE("scene " + std::to_string(c.scene) + " step " + std::to_string(c.step));
        Start(g);
        Enter(c.scene, c.step);
        ASSERT_TRUE(Click(g, Control::Command3));
        ASSERT_TRUE(Click(g, Control::Command2));
        EXPECT_FALSE(g.f.Picture2.Visible);
        EXPECT_EQ(s.FastForward, 0);
        EXPECT_EQ(g.f.Timer1.Interval, 200);
        EXPECT_EQ(g.f.Command3.Caption, "早送り");
        Tick(g);
        EXPECT_EQ(s.SceneNo, c.wantScene);
        EXPECT_EQ(s.StoryStep, c.wantStep);
    }
}

TEST_F(Story, FastForwardStopsBeforeAChoiceAndTheAnswerShowsItsStep) {
    Enter(36, 2);
    Command3_Click(g);
    Tick(g);
    Tick(g); // step 4: the choice
    EXPECT_EQ(s.StoryStep, 4);
    EXPECT_EQ(Label(), "より深い闇へと、進みますか？\r（進んだら、帰還不能になります。）");
    EXPECT_EQ(s.FastForward, 0);
    EXPECT_EQ(g.f.Command3.Caption, "早送り");
    EXPECT_FALSE(g.f.Command2.Visible);
    EXPECT_FALSE(g.f.Command3.Visible);
    EXPECT_TRUE(g.f.Command4[0].Visible && g.f.Command4[1].Visible);
    EXPECT_FALSE(Click(g, Control::Command2));
    Tick(g);
    EXPECT_EQ(s.StoryStep, 4) << "the choice waits for a click";
    ASSERT_TRUE(Click(g, Control::Command4, 1)); // いいえ
    EXPECT_EQ(s.StoryStep, 8);
    EXPECT_EQ(Label(), StepText(36, "8"));
    EXPECT_TRUE(g.f.Command2.Visible && g.f.Command3.Visible);
    EXPECT_FALSE(g.f.Command4[0].Visible || g.f.Command4[1].Visible);
    Click(g, Control::Command2);
    EXPECT_EQ(s.StoryStep, 9);
}

// ---- Where the story goes -------------------------------------------------------------------

struct Route {
    const char* what;
    int scene, step;
    std::vector<int> partyKinds; // kinds put into party slots 1.. (the lead stays kind 0)
    int advances;                // clicks on ≫ after entering
    int wantScene, wantStep;
    bool wantStory; // the story panel still shows
};

void PrintTo(const Route& r, std::ostream* os) {
    *os << r.what;
}

class StoryRoute : public Story, public ::testing::WithParamInterface<Route> {};

TEST_P(StoryRoute, GoesWhereTheSceneSends) {
    const Route& r = GetParam();
    int slot = 1;
    for (int kind : r.partyKinds) s.UnitKind[slot++] = static_cast<Int16>(kind);
    Enter(r.scene, r.step);
    for (int i = 0; i < r.advances; ++i) Command2_Click(g);
    EXPECT_EQ(s.SceneNo, r.wantScene);
    EXPECT_EQ(s.StoryStep, r.wantStep);
    EXPECT_EQ(g.f.Picture2.Visible, r.wantStory);
}

INSTANTIATE_TEST_SUITE_P(
    Scenes, StoryRoute,
    ::testing::Values(
        Route{"scene 10 without ガーナ skips to 30", 10, 1, {}, 1, 10, 30, true},
        Route{"scene 10 with ガーナ plays step 2", 10, 1, {15}, 1, 10, 2, true},
        Route{"scene 10's GAME OVER leads to itself", 10, 29, {15}, 3, 10, 28, true},
        Route{"scene 9 without ガーナ skips 58..63", 9, 57, {}, 1, 9, 64, true},
        Route{"scene 9 with ガーナ plays 58", 9, 57, {15}, 1, 9, 58, true},
        Route{"scene 2 with マリア skips 822", 2, 821, {3}, 1, 2, 823, true},
        Route{"scene 2 without マリア plays 822", 2, 821, {}, 1, 2, 822, true},
        Route{"scene 2's block returns to 83", 2, 827, {}, 1, 2, 83, true},
        Route{"scene 16 has no step 17", 16, 16, {}, 1, 16, 18, true},
        Route{"scene 16 skips 40..48", 16, 39, {}, 1, 16, 49, true},
        Route{"scene 16's step 17 ends it", 16, 17, {}, 0, 17, 1, false},
        Route{"scene 18 has no step 24", 18, 23, {}, 1, 18, 25, false},
        Route{"scene 33's block returns to 65", 33, 6401, {}, 1, 33, 65, true},
        Route{"scene 34 いいえ with ステップトゥヘル goes into 35", 34, 20, {1021}, 0, 35, 0, true},
        Route{"... whose step 1 comes next", 34, 20, {1021}, 1, 35, 1, true},
        Route{"scene 34 いいえ without it comes round again", 34, 20, {}, 0, 34, 1, false},
        Route{"scene 34's last step starts the story again", 34, 22, {}, 1, 1, 1, false},
        Route{"scene 34 ignores further steps", 34, 24, {}, 2, 34, 26, true},
        Route{"scene 35 with モルティーレ leads on", 35, 64, {1022}, 1, 36, 1, false},
        Route{"scene 35 without モルティーレ returns to 34", 35, 64, {}, 1, 34, 1, false},
        Route{"scene 36 into the dark", 36, 6, {}, 1, 37, 1, false},
        Route{"scene 36 turns back", 36, 10, {}, 1, 34, 1, false},
        Route{"scene 36's block returns to 6", 36, 503, {}, 1, 36, 6, true},
        Route{"scene 37 plays again", 37, 4, {}, 1, 37, 1, false},
        Route{"scene 38 shows nothing at 2..9", 38, 2, {}, 7, 38, 9, true},
        Route{"scene 38 ends after 9", 38, 9, {}, 1, 39, 1, false}));

TEST_F(Story, TheLeadsKindChangesWhereTheStorySaysSo) {
    for (auto [scene, kind] : {std::pair{28, 76}, std::pair{30, 83}}) {
        s.UnitKind[0] = 0;
        s.UnitMaxHP[0] = 80;
        s.UnitHP[0] = 3;
        Enter(scene, 39);
        EXPECT_EQ(s.UnitKind[0], kind);
        EXPECT_EQ(s.UnitHP[0], 80);
        EXPECT_FALSE(g.f.Picture3.Visible);
    }
}

TEST_F(Story, Scene10LetsMariaGoAtItsLastStepAndItsGameOverAsksForASavedGame) {
    s.UnitKind[2] = 3;
    Enter(10, 104);
    EXPECT_EQ(s.UnitName[2], "空気");
    EXPECT_EQ(s.UnitKind[2], 2);
    EXPECT_EQ(s.UnitMaxHP[2], 0);

    s.UnitKind[1] = 15;
    Enter(10, 27);
    t.svc.answers.push_back(MsgAnswer::No);
    const std::size_t before = t.svc.boxes.size();
    Command2_Click(g);
    EXPECT_EQ(Label(), "\r" + std::string(20, ' ') + "ＧＡＭＥ  ＯＶＥＲ");
    EXPECT_GT(t.svc.boxes.size(), before) << "the load command ran";
    EXPECT_EQ(s.AskLoad, 0);
}

TEST_F(Story, Scene20HandsTheStoryToTheSecondLead) {
    s.UnitMaxHP[0] = 150;
    s.UnitMaxHP[1] = 100;
    s.UnitMaxHP[2] = 0;
    t.svc.dialog.push_back([](Game& game) { NameInp_Text1_Change(game, "ララ"); });
    t.svc.dialog.push_back([](Game& game) { NameInp_Command3_Click(game); });
    Enter(20, 30);
    EXPECT_EQ(s.NameNo, 2);
    EXPECT_EQ(s.UnitName[0], "ララ");
    EXPECT_EQ(s.CharName[1], "ララ");
    EXPECT_EQ(s.UnitKind[0], 60);
    EXPECT_EQ(s.UnitMaxHP[0], 2);
    EXPECT_EQ(s.UnitMaxHP[1], 1);
    EXPECT_EQ(s.UnitMaxHP[2], 0);
    EXPECT_EQ(Label(), "");
}

} // namespace
} // namespace vern::test
