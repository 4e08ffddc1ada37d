// Saving and loading through the file menu: what comes back, what never gets lost, and what a
// failed save or load leaves behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "battle/game_mode.h"
#include "battle/save_file.h"
#include "catalogue/wishes.h"
#include "fake_services.h"
#include "io/cp932.h"
#include "io/save_record.h"
#include "screen/start.h"
#include "shell/events.h"
#include "shell/file_menu.h"
#include "test_folder.h"

namespace vern::test {
namespace {

namespace fs = std::filesystem;

const std::string kTampered = "セーブデータ改ざんの痕跡を確認しました。ゲームを終了します。";
const std::string kNotFound = "セーブファイルが見つかりませんでした。ロードを中断します。";
std::string Unexpected(int number) {
    return "予想外のエラーです。『エラー" + std::to_string(number) +
           "番』\r作成者に連絡して下さい。";
}

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
void WriteAll(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

// One program folder for the test, emptied before and removed after.
struct SaveFixture : ::testing::Test {
    fs::path dir;
    fs::path save;
    void SetUp() override {
        dir = TestFolder("vern-save-");
        save = dir / "save.dat";
    }
    void TearDown() override { fs::remove_all(dir); }

    // A game of this program folder, opened like the program (Start and the first screen).
    std::unique_ptr<TestGame> Program(std::uint64_t seed = 1) {
        auto t = std::make_unique<TestGame>(seed);
        t->svc.appPath = dir.string();
        Form_Load(t->g);
        return t;
    }

    // A game well under way: a party, named characters, wishes, pacts and races.
    static void Play(Game& g) {
        auto& s = g.s;
        s.SceneNo = 12;
        s.StoryStep = 23;
        s.NameNo = 2;
        s.CharName[0] = "あいうえおかきくけこ";
        s.CharName[1] = "ﾗﾗ";
        s.CharName[4] = "四番目";
        const char* names[5] = {"あいうえおかきくけこ", "カトラ", "ベスラ", "ＡＢＣ", "レル"};
        const Int16 kinds[5] = {1, 0, 91, 60, 0};
        const Long maxHP[5] = {12000, 57, 12000, 1500000, 9999};
        const Byte wishes[5] = {11, 0, 6, 15, 3};
        for (int i = 0; i <= 4; ++i) {
            s.UnitName[i] = names[i];
            s.UnitAttr[i] = static_cast<Byte>(i % 3);
            s.UnitKind[i] = kinds[i];
            s.UnitMaxHP[i] = s.UnitHP[i] = maxHP[i];
            s.UnitWish[i] = wishes[i];
        }
        s.WishKnown[6] = 2;
        s.WishKnown[3] = 1;
        s.NextWish = 9;
        s.TopRaceBeaten = 5;
        s.ControlledRace[2] = 1;
        s.PactWish[4] = 1;
        s.PactWish[14] = 1;
    }

    // Everything a load may change, to show that a failed one changed nothing.
    static std::string Snapshot(const Game& g) {
        const auto& s = g.s;
        std::string out = std::to_string(s.GameMode) + "|" + std::to_string(s.SceneNo) + "|" +
                          std::to_string(s.StoryStep) + "|" + std::to_string(s.NameNo) + "|" +
                          std::to_string(s.NextWish) + "|" + std::to_string(s.TopRaceBeaten) + "|" +
                          std::to_string(s.Misc[0]) + std::to_string(s.Misc[1]) + "|" +
                          g.f.Label1.Caption + "|";
        for (int k = 0; k <= 9; ++k) out += s.CharName[k] + "|";
        for (int i = 0; i <= 9; ++i)
            out += s.UnitName[i] + "," + std::to_string(s.UnitAttr[i]) + "," +
                   std::to_string(s.UnitKind[i]) + "," + std::to_string(s.UnitMaxHP[i]) + "," +
                   std::to_string(s.UnitHP[i]) + "," + std::to_string(s.UnitWish[i]) + "," +
                   g.f.Label2[i].Caption + "|";
        for (int k = 1; k <= 12; ++k) out += std::to_string(s.WishKnown[k]) + g.f.願い[k].Caption;
        for (int k = 1; k <= 6; ++k) out += std::to_string(s.ControlledRace[k]);
        for (int k = 1; k <= 15; ++k) out += std::to_string(s.PactWish[k]);
        return out;
    }

    static std::vector<std::string> Texts(const FakeServices& svc) {
        std::vector<std::string> texts;
        for (const auto& b : svc.boxes) texts.push_back(b.text);
        return texts;
    }

    // Saves from a played game; returns the file's bytes.
    std::string SavePlayed() {
        auto t = Program();
        Play(t->g);
        セーブ_Click(t->g);
        EXPECT_EQ(Texts(t->svc),
                  (std::vector<std::string>{"セーブしますか？", "セーブが無事終了しました。"}));
        return ReadAll(save);
    }
};

TEST_F(SaveFixture, ASavedGameComesBackInANewProgramAtStepOneThroughTheClearUp) {
    SavePlayed();
    auto t = Program(5);
    ロード_Click(t->g);
    const auto& s = t->g.s;
    EXPECT_EQ(Texts(t->svc), (std::vector<std::string>{"ロードしますか？", "ロードしました。"}));
    EXPECT_EQ(t->svc.boxes.back().title, "ロード完了");
    EXPECT_EQ(s.SceneNo, 12);
    EXPECT_EQ(s.StoryStep, 1);
    EXPECT_EQ(s.NameNo, 2);
    EXPECT_EQ(s.CharName[0], "あいうえおかきくけこ");
    EXPECT_EQ(s.CharName[1], "ﾗﾗ");
    EXPECT_EQ(s.CharName[4], "四番目");
    EXPECT_EQ(s.CharName[5], "");
    const char* names[5] = {"あいうえおかきくけこ", "カトラ", "ベスラ", "ＡＢＣ", "レル"};
    const Long maxHP[5] = {9999, 57, 12000, 999999, 9999};
    for (int i = 0; i <= 4; ++i) {
        EXPECT_EQ(s.UnitName[i], names[i]);
        EXPECT_EQ(s.UnitAttr[i], i % 3);
        EXPECT_EQ(s.UnitMaxHP[i], maxHP[i]) << "slot " << i;
        EXPECT_EQ(s.UnitHP[i], maxHP[i]) << "the clear-up heals the party";
        EXPECT_EQ(t->g.f.Label2[i].Caption, names[i]);
    }
    EXPECT_EQ(s.UnitWish[0], 11);
    EXPECT_EQ(s.UnitWish[3], 15);
    EXPECT_EQ(s.WishKnown[6], 2);
    EXPECT_EQ(s.WishKnown[3], 1);
    EXPECT_EQ(t->g.f.願い[6].Caption, WishMenuCaption(6, true));
    EXPECT_EQ(t->g.f.願い[3].Caption, WishMenuCaption(3, false));
    EXPECT_EQ(s.NextWish, 9);
    EXPECT_EQ(s.TopRaceBeaten, 5);
    EXPECT_EQ(s.ControlledRace[2], 1);
    EXPECT_EQ(s.PactWish[4], 1);
    EXPECT_EQ(s.PactWish[14], 1);
    EXPECT_EQ(s.GameMode, 12);
    EXPECT_EQ(t->g.f.Command1[0].Caption, "＞");
    EXPECT_TRUE(t->g.f.セーブ.Enabled);
    Command1_Click(t->g, 0);
    EXPECT_EQ(s.GameMode, 18) << "the next click reaches the free menu";
}

TEST_F(SaveFixture, AKind91UnitMayTakeAnyPartyWishOnLoadOthersKeepTheirs) {
    SavePlayed();
    std::set<int> seen;
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        auto t = Program(seed);
        ロード_Click(t->g);
        seen.insert(t->g.s.UnitWish[2]);
        EXPECT_EQ(t->g.s.UnitWish[1], 0);
        EXPECT_EQ(t->g.s.UnitWish[4], 3);
    }
    EXPECT_TRUE(seen.count(6)) << "its own wish";
    EXPECT_GT(seen.size(), 2u);
    for (int w : seen) EXPECT_TRUE(w == 11 || w == 0 || w == 6 || w == 15 || w == 3) << w;
}

TEST_F(SaveFixture, Scene37IsSealedUnlessTheVictoryOpenedIt) {
    auto t = Program();
    Play(t->g);
    t->g.s.SceneNo = 37;
    セーブ_Click(t->g);
    EXPECT_TRUE(t->svc.boxes.empty());
    EXPECT_FALSE(fs::exists(save));
    t->g.s.SaveOpen = kTrue;
    セーブ_Click(t->g);
    EXPECT_EQ(t->svc.LastText(), "セーブが無事終了しました。");

    auto loaded = Program();
    ロード_Click(loaded->g);
    EXPECT_EQ(loaded->g.s.SceneNo, 37);
    EXPECT_EQ(loaded->g.f.セーブ.Caption, "-封鎖-") << "a load does not open the seal";
}

TEST_F(SaveFixture, AnsweringNoDoesNothing) {
    const std::string old = SavePlayed();
    auto t = Program();
    const std::string before = Snapshot(t->g);
    t->svc.answers = {MsgAnswer::No, MsgAnswer::No};
    t->g.s.UnitName[1] = "変更";
    セーブ_Click(t->g);
    t->g.s.UnitName[1] = "";
    ロード_Click(t->g);
    EXPECT_EQ(Texts(t->svc), (std::vector<std::string>{"セーブしますか？", "ロードしますか？"}));
    EXPECT_EQ(ReadAll(save), old);
    EXPECT_EQ(Snapshot(t->g), before);
}

TEST_F(SaveFixture, ASaveThatCannotBeWrittenKeepsTheOldOneAndClaimsNoSuccess) {
    const std::string old = SavePlayed();
    struct Case {
        const char* what;
        std::function<void(SaveFixture&, Game&)> block;
        int number;
    };
    const Case cases[] = {
        {"a folder where the save goes",
         [](SaveFixture& f, Game&) {
             fs::rename(f.save, f.dir / "kept");
             fs::create_directory(f.save);
         },
         75},
        {"a checksum beyond a Long",
         [](SaveFixture&, Game& g) {
             for (int i = 1; i <= 4; ++i) {
                 g.s.UnitKind[i] = 5;
                 g.s.UnitMaxHP[i] = 999999999;
             }
         },
         6},
        {"a name without a CP932 form", [](SaveFixture&, Game& g) { g.s.CharName[6] = "😀"; }, 5},
    };
    for (const Case& c : cases) {
        auto t = Program();
        c.block(*this, t->g);
        セーブ_Click(t->g);
        EXPECT_EQ(Texts(t->svc),
                  (std::vector<std::string>{"セーブしますか？", Unexpected(c.number)}))
            << c.what;
        EXPECT_TRUE(t->svc.boxes.back().critical);
        if (fs::is_directory(save)) {
            fs::remove(save);
            fs::rename(dir / "kept", save);
        }
        EXPECT_EQ(ReadAll(save), old) << c.what;
        for (const auto& entry : fs::directory_iterator(dir))
            EXPECT_NE(entry.path().extension(), ".tmp") << c.what << ": " << entry.path();
    }
}

TEST_F(SaveFixture, ASaveKeptInTheOtherPlaceIsFoundWhileTheSaveFolderHasNone) {
    const std::string old = SavePlayed(); // in the program folder: where an earlier run saved
    const fs::path data = dir / "data";
    fs::create_directory(data);
    auto t = Program();
    t->svc.saveFolder = data.string();
    t->svc.otherSaveFolder = dir.string();
    ロード_Click(t->g);
    EXPECT_EQ(Texts(t->svc).back(), "ロードしました。");
    EXPECT_EQ(t->g.s.SceneNo, 12);
    // Once the save folder has a save of its own, that one wins.
    t->g.s.SceneNo = 3;
    セーブ_Click(t->g);
    t->g.s.SceneNo = 30;
    ロード_Click(t->g);
    EXPECT_EQ(t->g.s.SceneNo, 3);
    EXPECT_EQ(ReadAll(save), old) << "the other place is only ever read";
}

TEST_F(SaveFixture, WithoutAnySaveFolderSavingFailsAndLoadingFindsNothing) {
    auto t = Program();
    t->svc.saveFolder = "";
    セーブ_Click(t->g);
    EXPECT_EQ(Texts(t->svc), (std::vector<std::string>{"セーブしますか？", Unexpected(75)}));
    t->svc.boxes.clear();
    ロード_Click(t->g);
    EXPECT_EQ(Texts(t->svc), (std::vector<std::string>{"ロードしますか？", kNotFound}));
    // A folder that cannot be there (a file in its way) holds no save either.
    WriteAll(dir / "file", "x");
    t->svc.saveFolder = (dir / "file" / "vernadora").string();
    t->svc.boxes.clear();
    ロード_Click(t->g);
    EXPECT_EQ(Texts(t->svc).back(), kNotFound);
    EXPECT_FALSE(fs::exists(fs::current_path() / "save.dat"));
}

TEST_F(SaveFixture, AStaleTemporaryFolderOfAnEarlierVersionNoLongerBlocksASave) {
    SavePlayed();
    fs::create_directory(dir / "save.dat.tmp");
    auto t = Program();
    t->g.s.UnitName[1] = "新顔";
    セーブ_Click(t->g);
    EXPECT_EQ(Texts(t->svc).back(), "セーブが無事終了しました。");
    EXPECT_NE(ReadAll(save).find(*EncodeCp932("新顔")), std::string::npos);
}

TEST_F(SaveFixture, AFailedRenameOrAMissingFolderLeavesNoTemporaryFileBehind) {
    fs::create_directory(save); // something that is not a file stands where the save goes
    auto t = Program();
    Play(t->g);
    セーブ_Click(t->g);
    EXPECT_EQ(t->svc.LastText(), Unexpected(75));
    EXPECT_TRUE(fs::is_directory(save));
    EXPECT_FALSE(fs::exists(dir / "save.dat.tmp"));

    t->svc.appPath = (dir / "gone").string();
    セーブ_Click(t->g);
    EXPECT_EQ(t->svc.LastText(), Unexpected(75));
    EXPECT_FALSE(fs::exists(dir / "gone"));
}

TEST_F(SaveFixture, ASaveReplacesALongerOlderFileWhole) {
    WriteAll(save, std::string(4000, 'x'));
    const std::string bytes = SavePlayed();
    EXPECT_LT(bytes.size(), 4000u);
    EXPECT_TRUE(std::holds_alternative<SaveRecord>(ReadSaveRecord(bytes)));
}

TEST_F(SaveFixture, AMissingOrForeignFileIsNotFoundAndNothingIsCreated) {
    for (const char* content : {static_cast<const char*>(nullptr), "", "hello world, not a save"}) {
        if (content) WriteAll(save, content);
        auto t = Program();
        Play(t->g);
        const std::string before = Snapshot(t->g);
        ロード_Click(t->g);
        EXPECT_EQ(Texts(t->svc), (std::vector<std::string>{"ロードしますか？", kNotFound}));
        EXPECT_TRUE(t->svc.boxes.back().critical);
        EXPECT_EQ(Snapshot(t->g), before);
        EXPECT_EQ(fs::exists(save), content != nullptr) << "a load never creates the file";
    }
}

TEST_F(SaveFixture, AFileThatCannotBeReadStopsTheLoadWithTheGameUntouched) {
    fs::create_directory(save);
    auto t = Program();
    Play(t->g);
    const std::string before = Snapshot(t->g);
    ロード_Click(t->g);
    EXPECT_EQ(Texts(t->svc), (std::vector<std::string>{"ロードしますか？", Unexpected(75)}));
    EXPECT_EQ(Snapshot(t->g), before);
}

TEST_F(SaveFixture, EveryCutOfAValidFileIsReportedWithTheGameUntouched) {
    const std::string valid = SavePlayed();
    auto t = Program(3);
    Mshow(t->g, 18);
    const std::string before = Snapshot(t->g);
    for (std::size_t n = 0; n < valid.size(); ++n) {
        WriteAll(save, valid.substr(0, n));
        t->svc.boxes.clear();
        if (n < 10) {
            ロード_Click(t->g);
            EXPECT_EQ(t->svc.LastText(), kNotFound) << n;
        } else {
            EXPECT_THROW(ロード_Click(t->g), ProgramEnded) << n;
            EXPECT_EQ(t->svc.LastText(), kTampered) << n;
            EXPECT_TRUE(t->svc.boxes.back().critical);
        }
        ASSERT_EQ(Snapshot(t->g), before) << "cut to " << n << " bytes";
        EXPECT_EQ(ReadAll(save).size(), n) << "a load never writes";
    }
}

TEST_F(SaveFixture, AChangedValueEndsTheProgramBeforeAnythingChanges) {
    std::string bytes = SavePlayed();
    bytes[13] = 5; // SceneNo 12 becomes 12 + 5 × 256
    WriteAll(save, bytes);
    auto t = Program();
    const std::string before = Snapshot(t->g);
    EXPECT_THROW(ロード_Click(t->g), ProgramEnded);
    EXPECT_EQ(Texts(t->svc), (std::vector<std::string>{"ロードしますか？", kTampered}));
    EXPECT_EQ(Snapshot(t->g), before);
}

TEST_F(SaveFixture, ALostBattleRestartsTheGameAndOffersTheLoad) {
    SavePlayed();
    auto t = Program();
    t->g.s.GameMode = 8;
    Mshow(t->g, 8);
    RunDeferredRequests(t->g);
    EXPECT_EQ(Texts(t->svc), (std::vector<std::string>{"ロードしますか？", "ロードしました。"}));
    EXPECT_EQ(t->g.s.SceneNo, 12);
    EXPECT_EQ(t->g.s.AskLoad, 0);
}

} // namespace
} // namespace vern::test
