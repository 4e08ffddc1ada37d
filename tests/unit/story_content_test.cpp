// The content check of the story: every scene's file against the scene's structure. Each step
// the scene can show has its entry, steps without text store none, no entry stands for a step
// the scene cannot show, every text fits the story label, every picture the frame shows was
// loaded, and the fixed labels read exactly as the game has them.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalogue/content.h"
#include "state/form.h"
#include "story/dispatcher.h"
#include "story/scene_table.h"
#include "story/scenes.h"

namespace vern::test {
namespace {

const std::string kClosingLine = "                        ････――See you next stage．";

// ---- Width of a text in the story label -------------------------------------------------
// Label7 is 6495 × 1335 twips (433 × 89 pixels) in IPAPGothic bold at 19 pixels; four lines
// fit. Widths are an upper bound: each character's advance rounded up to whole pixels, the
// printable ASCII advances of the font (in 1/2048 em), half-width kana half an em, and every
// other character a full em (no character of the font is wider).
constexpr int kLabelWidthPx = 6495 / 15;
constexpr int kLabelLines = 4;
constexpr int kFontPx = 19;
constexpr int kAsciiAdvance[95] = {
    553,  610,  692,  1290, 1290, 1741, 1423, 395,  682,  682,  758,  1290, 541,  733,  541,  1024,
    1290, 1290, 1290, 1290, 1290, 1290, 1290, 1290, 1290, 1290, 655,  655,  1290, 1290, 1290, 1128,
    1831, 1305, 1350, 1485, 1550, 1219, 1171, 1542, 1536, 592,  778,  1323, 1077, 1847, 1556, 1632,
    1272, 1632, 1327, 1198, 1227, 1530, 1305, 1901, 1405, 1268, 1315, 614,  1290, 614,  1024, 1024,
    1024, 1126, 1278, 1114, 1278, 1165, 627,  1137, 1243, 553,  553,  1061, 553,  1784, 1237, 1237,
    1272, 1274, 758,  946,  709,  1237, 995,  1540, 1001, 1008, 969,  674,  410,  674,  1024};

std::vector<char32_t> Decode(const std::string& s) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; k < n && i + k < s.size(); ++k)
            cp = cp << 6 | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(cp);
        i += n;
    }
    return out;
}

int WidthPx(const std::string& line) {
    int px = 0;
    for (char32_t c : Decode(line)) {
        double em = 1;
        if (c >= 0x20 && c < 0x7F)
            em = kAsciiAdvance[c - 0x20] / 2048.0;
        else if (c >= 0xFF61 && c <= 0xFF9F)
            em = 0.5;
        px += static_cast<int>(std::ceil(em * kFontPx));
    }
    return px;
}

// Lines as the label shows them: a line too wide for the label wraps and counts as several
// (a wrapped line holds at least the label's width less one character).
int DisplayedLines(const std::string& text) {
    int lines = 0;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t cr = text.find('\r', pos);
        const std::string line = text.substr(pos, cr == std::string::npos ? cr : cr - pos);
        const int w = WidthPx(line);
        lines += w <= kLabelWidthPx
                     ? 1
                     : static_cast<int>(std::ceil(double(w) / (kLabelWidthPx - kFontPx)));
        if (cr == std::string::npos) break;
        pos = cr + 1;
    }
    return lines;
}

// The text as Label7 shows it with the default names.
std::string Shown(const ContentEntry& e) {
    std::string text = e.Text();
    ExpandIndentMarks(text);
    return text;
}

TEST(StoryLabelWidth, TheModelBoundsTheLabel) {
    const std::string twentyTwo = "あいうえおかきくけこさしすせそたちつてとなに";
    EXPECT_EQ(DisplayedLines(twentyTwo), 1);
    EXPECT_EQ(DisplayedLines(twentyTwo + "ぬ"), 2) << "23 full-width characters wrap";
    EXPECT_EQ(DisplayedLines("\r\r\r" + kClosingLine), 4) << "the closing line fits on one line";
}

// ---- The files against the structure -----------------------------------------------------

// Every key a scene's file may hold for step, with whether the step must have it.
std::vector<std::string> KeysOf(const SceneDef& d, int step) {
    if (const StepBranch* b = d.BranchAt(step); b && *b->variant)
        return {std::to_string(step) + "/" + b->variant,
                std::to_string(step) + "/" + b->otherVariant};
    return {std::to_string(step)};
}

std::vector<int> HandledSteps(const SceneDef& d) {
    std::vector<int> steps;
    for (const StepRange& r : d.steps)
        for (int s = r.first; s <= r.last; ++s) steps.push_back(s);
    return steps;
}

TEST(StoryContent, EveryShownStepHasItsEntryAndNoOtherEntryExists) {
    for (int n = 1; n <= kSceneCount; ++n) {
        SCOPED_TRACE("scene " + std::to_string(n));
        const SceneDef* d = FindScene(n);
        ASSERT_NE(d, nullptr);
        const ContentFile* file = SceneContent(n);
        ASSERT_NE(file, nullptr) << SceneFile(n) << " is missing";
        EXPECT_TRUE(file->errors.empty()) << file->errors.front();
        std::set<std::string> allowed;
        for (int step : HandledSteps(*d)) {
            for (const std::string& key : KeysOf(*d, step)) {
                allowed.insert(key);
                const ContentEntry* e = file->Find(key);
                if (d->Silent(step)) {
                    if (!e) continue;
                    EXPECT_TRUE(e->lines.empty()) << "step " << key << " stores no text";
                    EXPECT_TRUE(e->rest.empty()) << "step " << key << " does nothing with pictures";
                } else {
                    EXPECT_NE(e, nullptr) << "step " << key << " has no entry";
                }
            }
        }
        for (const ContentEntry& e : file->entries)
            EXPECT_TRUE(allowed.count(e.key))
                << SceneFile(n) << ":" << e.sourceLine << ": the scene never shows step " << e.key;
    }
}

TEST(StoryContent, EveryTextFitsTheLabelAndEveryPictureShownWasLoaded) {
    for (int n = 1; n <= kSceneCount; ++n) {
        const SceneDef* d = FindScene(n);
        const ContentFile* file = SceneContent(n);
        ASSERT_NE(file, nullptr);
        for (const ContentEntry& e : file->entries) {
            SCOPED_TRACE(SceneFile(n) + ":" + std::to_string(e.sourceLine));
            EXPECT_LE(DisplayedLines(Shown(e)), kLabelLines) << e.Text();
            const PictureDirective pd = ParsePictureDirective(e.rest);
            EXPECT_NE(pd.kind, PictureDirective::Malformed) << "\"" << e.rest << "\"";
            if (pd.kind == PictureDirective::Show) {
                EXPECT_LE(pd.slot, static_cast<int>(d->pictures.size()))
                    << "the scene loads no picture " << pd.slot;
            }
            for (const std::string& line : e.lines) {
                // "SP" is only the indentation mark at the start of a line.
                std::string rest = line;
                while (rest.rfind("SP", 0) == 0) rest.erase(0, 2);
                EXPECT_EQ(rest.find("SP"), std::string::npos) << line;
                // The renameable names stand alone: no katakana joined to them.
                for (const std::string name : {"シザ", "ララスピア"}) {
                    const std::vector<char32_t> l = Decode(line);
                    const std::vector<char32_t> w = Decode(name);
                    for (std::size_t i = 0; i + w.size() <= l.size(); ++i) {
                        if (!std::equal(w.begin(), w.end(), l.begin() + i)) continue;
                        auto katakana = [](char32_t c) { return c >= 0x30A1 && c <= 0x30FC; };
                        EXPECT_FALSE(i > 0 && katakana(l[i - 1])) << line;
                        EXPECT_FALSE(i + w.size() < l.size() && katakana(l[i + w.size()])) << line;
                    }
                }
            }
        }
    }
}

// Steps reachable from step 1, following advances, jumps, branches and choices; a step the
// scene does not handle is where it leaves (its default branch).
std::set<int> Reachable(const SceneDef& d, std::set<int>& exits) {
    std::set<int> seen;
    std::deque<int> todo{1};
    while (!todo.empty()) {
        const int s = todo.front();
        todo.pop_front();
        if (!seen.insert(s).second) continue;
        if (!d.Handles(s)) {
            exits.insert(s);
            continue;
        }
        if (d.EndsAt(s)) continue;
        if (const StepChoice* c = d.ChoiceAt(s)) {
            todo.push_back(c->yes);
            todo.push_back(c->no);
            continue;
        }
        const StepJump* j = d.JumpFrom(s);
        todo.push_back(j ? j->to : s + 1);
        if (const StepBranch* b = d.BranchAt(s); b && b->to) todo.push_back(b->to);
    }
    for (int e : exits) seen.erase(e);
    return seen;
}

TEST(StoryContent, EveryStepIsReachableAndEveryJumpLandsOnAStep) {
    for (int n = 1; n <= kSceneCount; ++n) {
        SCOPED_TRACE("scene " + std::to_string(n));
        const SceneDef* d = FindScene(n);
        for (const StepJump& j : d->jumps) EXPECT_TRUE(d->Handles(j.to)) << j.from << "→" << j.to;
        for (const StepBranch& b : d->branches) EXPECT_TRUE(b.to == 0 || d->Handles(b.to));
        for (const StepChoice& c : d->choices) EXPECT_TRUE(d->Handles(c.yes) && d->Handles(c.no));
        std::set<int> exits;
        const std::set<int> reach = Reachable(*d, exits);
        for (int step : HandledSteps(*d)) {
            // Step 25 of the untold scenes would close them; their steps end at 9.
            if ((n == 38 || n == 39) && step == 25) continue;
            EXPECT_TRUE(reach.count(step)) << "step " << step << " can never be shown";
        }
        // Every scene but the epilogue leaves by its default branch or by an ending step.
        if (n != 34) {
            EXPECT_FALSE(exits.empty() && d->ends.empty());
        }
    }
}

// ---- Fixed labels ---------------------------------------------------------------------------

struct FixedText {
    int scene;
    std::string key;
    std::vector<std::string> lines;
    std::string directive = ""; // "*": any
};

TEST(StoryContent, FixedLabelsReadExactly) {
    const std::string title = "SP≪" + MakeForm3().Caption + "≫";
    const std::string gameOver = "SPSPＧＡＭＥ  ＯＶＥＲ";
    const std::vector<FixedText> fixed = {
        {10, "28", {"", gameOver}},
        {10, "29", {"", gameOver}},
        {34, "19", {"（最初のステージに、退行しますか？）"}},
        {36, "4", {"より深い闇へと、進みますか？", "（進んだら、帰還不能になります。）"}},
        {36, "6", {"", "", "････――See you，", "SPin the deeeeeep darkness．"}, "hide"},
        // Steps that only set the picture frame.
        {1, "40", {}, "*"},
        {1, "42", {}, "*"},
        {1, "48", {}, "*"},
        {1, "70", {}, "*"},
        {1, "73", {}, "*"},
        {10, "1", {}, "hide"},
        {20, "30", {}},
        {36, "5", {}},
        {37, "1", {}, "hide"},
        {37, "4", {}},
        {38, "1", {}, "hide"},
        {39, "1", {}, "hide"},
    };
    for (const FixedText& f : fixed) {
        SCOPED_TRACE("scene " + std::to_string(f.scene) + " step " + f.key);
        const ContentEntry* e = SceneContent(f.scene)->Find(f.key);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->lines, f.lines);
        if (f.directive != "*") {
            EXPECT_EQ(e->rest, f.directive);
        }
    }
    // The game's title card, after its motto and an empty line.
    const ContentEntry* card = SceneContent(1)->Find("41");
    ASSERT_NE(card, nullptr);
    ASSERT_EQ(card->lines.size(), 3u);
    EXPECT_EQ(card->lines[1], "");
    EXPECT_EQ(card->lines[2], title);
    // The epilogue's heading.
    const ContentEntry* epilogue = SceneContent(34)->Find("2");
    ASSERT_NE(epilogue, nullptr);
    ASSERT_FALSE(epilogue->lines.empty());
    std::string heading = epilogue->lines.back();
    while (heading.rfind("SP", 0) == 0) heading.erase(0, 2);
    EXPECT_EQ(heading, "エピローグ");
}

TEST(StoryContent, PictureDirectivesTheScenesRelyOn) {
    const std::vector<FixedText> directives = {
        {2, "821/with", {}, "show 4"}, {2, "821/without", {}, "show 4"}, {28, "39", {}, "hide"},
        {30, "39", {}, "hide"},        {34, "18", {}, "hide"},           {37, "2", {}, "show 1"},
    };
    for (const FixedText& f : directives) {
        const ContentEntry* e = SceneContent(f.scene)->Find(f.key);
        ASSERT_NE(e, nullptr) << f.scene << "/" << f.key;
        EXPECT_EQ(e->rest, f.directive) << f.scene << "/" << f.key;
    }
}

TEST(StoryContent, TitleCardsRepeatAndEverySceneClosesWithItsLine) {
    // Scene 20's steps 31..35 show the second part's title card, scene 34's 13..17 its closing.
    for (auto [scene, from, to] : {std::tuple{20, 31, 35}, std::tuple{34, 13, 17}}) {
        const ContentEntry* first = SceneContent(scene)->Find(std::to_string(from));
        ASSERT_NE(first, nullptr);
        ASSERT_EQ(first->lines.size(), 2u);
        EXPECT_EQ(first->lines[0], "");
        EXPECT_EQ(first->lines[1].rfind("SP", 0), 0u) << "a title card is indented";
        for (int s = from + 1; s <= to; ++s)
            EXPECT_EQ(SceneContent(scene)->Find(std::to_string(s))->lines, first->lines)
                << scene << "/" << s;
    }
    const std::vector<std::string> closing = {"", "", "", kClosingLine};
    for (int n = 1; n <= kSceneCount; ++n) {
        const SceneDef* d = FindScene(n);
        if (!d->closing) continue;
        const ContentEntry* e = SceneContent(n)->Find(std::to_string(d->closing));
        ASSERT_NE(e, nullptr) << n;
        EXPECT_EQ(e->lines, closing) << "scene " << n << " step " << d->closing;
    }
}

// ---- Pictures, battles, encounters ------------------------------------------------------------

TEST(StoryContent, PicturesAreNamedAsTheGameNamesThem) {
    const std::set<std::string> folders = {"キャラ", "場面", "祖", "物"};
    for (int n = 1; n <= kSceneCount; ++n) {
        const SceneDef* d = FindScene(n);
        EXPECT_LE(d->pictures.size(), 20u);
        for (const PictureRef& p : d->pictures) {
            const std::string name = p.name;
            EXPECT_TRUE(folders.count(p.folder)) << n << ": " << p.folder;
            EXPECT_FALSE(name.empty());
            EXPECT_EQ(name.find_first_of("/\\. "), std::string::npos) << n << ": " << name;
        }
    }
    // Spot checks of the load order, which fixes the slot numbers the files show.
    auto named = [](int n, std::size_t k) {
        const PictureRef& p = FindScene(n)->pictures.at(k - 1);
        return std::string(p.folder) + "/" + p.name;
    };
    EXPECT_EQ(named(1, 5), "場面/血しぶき");
    EXPECT_EQ(named(3, 6), "祖/3");
    EXPECT_EQ(named(6, 12), "キャラ/マリア");
    EXPECT_EQ(named(18, 4), "キャラ/ボヘキア");
    EXPECT_EQ(named(19, 5), "場面/Closed２");
    EXPECT_EQ(named(35, 1), "物/ステップトゥヘル");
    EXPECT_TRUE(FindScene(38)->pictures.empty());
}

TEST(StoryContent, TheStoryFightsEveryFormationButNineAndMeetsEachEncounterOnce) {
    std::multiset<int> formations, encounters;
    for (int n = 1; n <= kSceneCount; ++n) {
        for (const StepEvent& b : FindScene(n)->battles) formations.insert(b.n);
        for (const StepEvent& e : FindScene(n)->encounters) encounters.insert(e.n);
    }
    for (int f = 1; f <= 37; ++f)
        EXPECT_EQ(formations.count(f), f == 9 ? 0u : f == 20 ? 2u : 1u) << "formation " << f;
    EXPECT_EQ(formations.size(), 37u);
    EXPECT_EQ(encounters, (std::multiset<int>{1, 2, 3}));
}

} // namespace
} // namespace vern::test
