// Random play: a seeded new game driven by thousands of events chosen at random among what a
// player could do at that moment (command buttons, board labels, story buttons, menu items,
// timer ticks, keys and held keys, the panels over the window, the close box, message-box
// answers, name-dialog actions), with the game's invariants checked after every event. Used by
// a bounded test and by the random_play tool for long runs.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "battle/attack.h"
#include "battle/preview.h"
#include "battle/save_slots.h"
#include "io/cp932.h"
#include "screen/name_dialog.h"
#include "shell/events.h"
#include "shell/keys.h"
#include "shell/reading.h"
#include "state/quiet_services.h"

namespace vern::test {

class RandomPlay {
  public:
    RandomPlay(std::uint64_t seed, std::string folder)
        : pick_(seed), svc_(*this, std::move(folder)) {
        NewGame();
    }

    // Plays count events; returns "" or a description of the first broken invariant.
    std::string Play(long long count) {
        for (long long i = 0; i < count; ++i) {
            ++events_;
            std::string what;
            // The game as it stands, which a step back must bring back exactly.
            std::optional<StoryMoment> before;
            if (game_->f.Picture2.Visible) before = MomentOf(*game_);
            const std::size_t backBefore = game_->ui.back.size();
            try {
                Predict();
                what = Step();
            } catch (const std::exception& e) {
                return Where() + "exception after " + last_ + ": " + e.what();
            }
            last_ = what;
            std::string broken = Check();
            if (broken.empty()) broken = Verify();
            if (broken.empty()) broken = CheckBack(before, backBefore);
            if (!broken.empty()) return Where() + "after " + what + ": " + broken;
            if (game_->ended) {
                ++games_;
                NewGame();
            }
        }
        return "";
    }

    long long games() const { return games_; }
    // How many forecasts were held against what the game then did.
    long long phasesChecked() const { return phasesChecked_; }
    long long actionsChecked() const { return actionsChecked_; }
    long long ordersChecked() const { return ordersChecked_; }
    long long stepsBack() const { return stepsBack_; }
    int maxScene() const { return maxScene_; }
    int maxMode() const { return maxMode_; }

  private:
    struct Services : vern::Services {
        Services(RandomPlay& player, std::string dir) : owner(player), folder(std::move(dir)) {}
        RandomPlay& owner;
        std::string folder;
        MsgAnswer MsgBox(const std::string&, MsgButtons b, bool, const std::string&) override {
            if (b == MsgButtons::OK) return MsgAnswer::OK;
            return owner.Chance(2) ? MsgAnswer::Yes : MsgAnswer::No;
        }
        void RunNameDialog(Game& g) override {
            static const char* const kTexts[] = {
                "",     "   ", "名前", "シザ", "ララスピア", "한국", "　", "あいうえおかきくけこさ",
                "ab c", "😀x"};
            for (int n = 0; g.n.open && n < 12; ++n) {
                switch (owner.Pick(5)) {
                case 0: NameInp_Text1_Change(g, kTexts[owner.Pick(std::size(kTexts))]); break;
                case 1: NameInp_Command1_Click(g); break;
                case 2: NameInp_Command2_Click(g); break;
                case 3: NameInp_Command3_Click(g); break;
                default: NameInp_Form_Unload(g); break;
                }
            }
            if (g.n.open) {
                NameInp_Command2_Click(g); // a random name is always accepted
                NameInp_Command3_Click(g);
            }
        }
        void Beep() override {}
        std::string AppPath() override { return folder; }
    };

    void NewGame() {
        controlDown_ = false;
        phase_.reset();
        nextPhase_.reset();
        game_ = std::make_unique<Game>(svc_);
        game_->rng.Seed(pick_());
        game_->rng.fixedSeed = true;
        // The window's default: the game saves by itself on each arrival at the free menu.
        game_->ui.autosave = !Chance(4);
        // The ways of reading: the skip that stops at unread text, typing, auto's pace.
        game_->ui.skipUnread = Chance(2);
        game_->ui.textSpeed = Chance(2) ? 0 : static_cast<int>(10 + Pick(50));
        game_->ui.autoSpeed = static_cast<int>(Pick(4));
        moments_.clear();
        Open(*game_);
    }

    std::size_t Pick(std::size_t n) { return static_cast<std::size_t>(pick_() % n); }
    bool Chance(int n) { return Pick(static_cast<std::size_t>(n)) == 0; }

    std::string Where() const {
        std::ostringstream o;
        o << "event " << events_ << " (game " << games_ << ", mode " << game_->s.GameMode
          << ", scene " << game_->s.SceneNo << ", step " << game_->s.StoryStep << "): ";
        return o.str();
    }

    // One event a player could cause now.
    std::string Step() {
        Game& g = *game_;
        struct Option {
            Control c;
            int index;
        };
        std::vector<Option> options;
        for (int i = 0; i <= 3; ++i)
            if (Clickable(g, Control::Command1, i) && !g.f.Command1[i].Caption.empty())
                for (int w = 0; w < 6; ++w) options.push_back({Control::Command1, i});
        for (Control c : {Control::Command2, Control::Command3, Control::Label9, Control::Picture1})
            if (Clickable(g, c, 0))
                for (int w = 0; w < (c == Control::Command2 ? 8 : 2); ++w)
                    options.push_back({c, 0});
        for (int i = 0; i <= 1; ++i)
            if (Clickable(g, Control::Command4, i)) options.push_back({Control::Command4, i});
        for (Control c : {Control::Label2, Control::Label3, Control::Label4, Control::Label8})
            for (int i = 0; i <= 9; ++i)
                if (Clickable(g, c, i)) options.push_back({c, i});

        // Now and then, at the free menu, jump to another scene or make the party stronger, so
        // that later scenes and their battles are played too.
        if (g.s.GameMode == 18 && !g.f.Picture2.Visible && Chance(50)) {
            if (Chance(2)) {
                g.s.SceneNo = static_cast<Int16>(1 + Pick(40));
                g.s.StoryStep = 1;
                return "a jump to scene " + std::to_string(g.s.SceneNo);
            }
            for (int i = 0; i <= 4; ++i)
                g.s.UnitMaxHP[i] = g.s.UnitHP[i] = static_cast<Long>(1 + Pick(99999));
            return "a stronger party";
        }
        const std::size_t roll = Pick(100);
        if (roll < 4 || options.empty()) {
            // A panel over the window holds the game still: a tick behind it changes nothing.
            const bool panel = g.ui.overlay != Overlay::None;
            const GameState before = g.s;
            // Time passes for the typing too, now and then.
            if (Chance(2)) Elapse(g, static_cast<int>(Pick(400)));
            Tick(g);
            if (panel && (g.s.StoryStep != before.StoryStep || g.s.GameMode != before.GameMode ||
                          g.s.TurnNo != before.TurnNo))
                tickBehindPanel_ = true;
            return "a tick";
        }
        if (roll < 20) {
            // The keys a player presses: the story's, the board's, the panels', Control held.
            static const char* const kKeys[] = {
                "Return", "space", "Right",  "Left",      "Up",        "Down", "y",
                "n",      "a",     "1",      "2",         "3",         "4",    "Prior",
                "Next",   "F1",    "Escape", "KP_Enter",  "r",         "h",    "Shift_L",
                "F5",     "F9",    "Tab",    "BackSpace", "BackSpace", "Left"};
            if (Chance(6)) {
                const bool down = !controlDown_ || Chance(3);
                if (down)
                    KeyDown(g, "Control_L");
                else
                    KeyUp(g, "Control_L");
                controlDown_ = down;
                return down ? "Control pressed" : "Control let go";
            }
            if (Chance(25)) {
                FocusLost(g);
                controlDown_ = false;
                return "the window lost the keyboard";
            }
            const char* key = kKeys[Pick(std::size(kKeys))];
            if (Chance(8)) {
                KeyRepeat(g, key); // a key held down, repeating
                return std::string("the key ") + key + " repeating";
            }
            Key(g, key);
            return std::string("the key ") + key;
        }
        if (roll < 21 && Chance(10)) {
            CloseBox(g);
            return "the close box";
        }
        if (roll < 21 && Chance(4)) {
            // The record window: a save into a player slot, a load of any record, a delete.
            const std::vector<SlotId> all = AllSlots();
            const SlotId id = all[Pick(all.size())];
            const SlotId own{SlotKind::Player, static_cast<int>(1 + Pick(3))};
            switch (Pick(3)) {
            case 0: RunEvent(g, [&] { AskSaveToSlot(g, own); }); return "a record saved";
            case 1: RunEvent(g, [&] { AskLoadFromSlot(g, id); }); return "a record loaded";
            default: RunEvent(g, [&] { AskDeleteSlot(g, own); }); return "a record deleted";
            }
        }
        if (roll < 7) {
            const int w = static_cast<int>(Pick(13));
            Menu(g, MenuCommand::願い, w);
            return "the wish menu " + std::to_string(w);
        }
        if (roll < 8) {
            static const MenuCommand kFile[] = {MenuCommand::セーブ, MenuCommand::ロード,
                                                MenuCommand::始めから, MenuCommand::ゲームの終了};
            const std::size_t k = Pick(std::size(kFile));
            if (kFile[k] == MenuCommand::ゲームの終了 && !Chance(20)) return "nothing";
            Menu(g, kFile[k]);
            return "file menu " + std::to_string(k);
        }
        const Option o = options[Pick(options.size())];
        Click(g, o.c, o.index);
        return "click " + std::to_string(static_cast<int>(o.c)) + " " + std::to_string(o.index);
    }

    // The moments the story can step back to, kept here as the test saw the game before each
    // event that read the story on: a step back must restore exactly that one.
    std::string CheckBack(const std::optional<StoryMoment>& before, std::size_t backBefore) {
        const auto& back = game_->ui.back;
        if (back.empty()) {
            moments_.clear();
            return "";
        }
        const bool full = backBefore == UiState::kBackLimit && back.size() == backBefore;
        if (back.size() == backBefore + 1 ||
            (full && before && back.back().s == before->s && back.back().rng == before->rng &&
             !moments_.empty() && !(moments_.back().s == before->s))) {
            if (!before) return "a moment to step back to was kept off the story";
            if (full) moments_.erase(moments_.begin());
            moments_.push_back(*before);
            return "";
        }
        if (back.size() + 1 == backBefore && !moments_.empty()) {
            // Stepped back: the game is the moment, with whatever ran stopped.
            StoryMoment want = moments_.back();
            moments_.pop_back();
            if (want.s.FastForward == kTrue) {
                want.s.FastForward = 0;
                want.f.Timer1.Interval = 200;
                want.f.Command3.Caption = "早送り";
            }
            if (!(game_->s == want.s)) return "a step back did not bring the game's state back";
            if (!(game_->f == want.f)) return "a step back did not bring the screen back";
            if (!(game_->rng == want.rng)) return "a step back did not bring the generator back";
            if (game_->ui.historyAdded != want.historyAdded)
                return "a step back did not bring the history back";
            ++stepsBack_;
            return "";
        }
        if (back.size() != backBefore) return "the moments to step back to changed unexpectedly";
        if (moments_.size() != back.size()) return "the moments to step back to went astray";
        return "";
    }

    // The invariants that must hold after every event.
    std::string Check() {
        const Game& g = *game_;
        const auto& s = g.s;
        maxScene_ = std::max<int>(maxScene_, s.SceneNo);
        maxMode_ = std::max<int>(maxMode_, s.GameMode);
        if (g.busy) return "an event is still marked as running";
        // The comforts around the game's screens.
        const UiState& ui = g.ui;
        if (tickBehindPanel_) return "a tick moved the game behind a panel";
        if (ui.focus < -1 || ui.focus > 9) return "the board focus is off the board";
        if (ui.history.size() > UiState::kHistoryLimit) return "the history outgrew its limit";
        if (s.FastForward == kTrue && (!g.f.Picture2.Visible || g.f.Timer1.Interval != 25 ||
                                       g.f.Command3.Caption != "止める"))
            return "fast-forward runs off the story panel or without its tick and caption";
        if (s.FastForward != kTrue && g.f.Picture2.Visible && g.f.Command3.Caption != "早送り")
            return "the story shows 止める while fast-forward is off";
        if (ui.fastForwardHeld && ui.fastForwardReleased) return "a hold both held and let go";
        if (ui.skipToggled && s.FastForward != kTrue) return "a Tab skip outlived fast-forward";
        if (ui.choiceFocus >= 0 && !(g.f.Picture2.Visible && g.f.Command4[0].Visible))
            return "the keys' choice stays where no choice is";
        if (TypedChars(g) > CharCount(g.f.Label7.Caption)) return "more typed than the text holds";
        if (!g.f.Picture2.Visible && !ui.back.empty()) return "a step back kept off the story";
        if (ui.fastForwardHeld && !controlDown_)
            return "Control counts as held after it was let go";
        for (int i = 0; i <= 9; ++i) {
            if (s.SlotState[i] > 7)
                return "SlotState " + std::to_string(i) + " holds an unknown code";
            if (s.SlotTarget[i] > 9) return "SlotTarget out of range";
        }
        if (s.SelSlot > 4 && s.SelSlot != 10) return "SelSlot " + std::to_string(s.SelSlot);
        if (s.NameNo < 1 || s.NameNo > 10) return "NameNo out of range";
        if (s.NextWish > 10) return "NextWish out of range";
        for (int i = 0; i <= 19; ++i)
            if (s.UnitWish[i] > 15 || s.UnitRace[i] > 6) return "a wish or race out of range";
        // The board never shows a unit the state does not hold (while it is in view).
        if (!g.f.Picture2.Visible) {
            for (int i = 0; i <= 9; ++i) {
                const std::string& shown = g.f.Label2[i].Caption;
                if (shown.empty()) continue;
                bool held = false;
                for (int j = 0; j <= 19; ++j) held = held || s.UnitName[j] == shown;
                if (!held) return "the board shows " + shown + " in row " + std::to_string(i);
            }
        }
        return "";
    }

    // The forecasts (battle/preview.h) made before an event, held against the game after it:
    // they must be exact, always.
    static bool Prepared(const Game& g) {
        return g.s.GameMode == 7 && g.s.ClickState == 2 && g.s.SelSlot == 10 &&
               !g.f.Picture2.Visible;
    }
    static bool Acting(Byte st) { return st == 2 || st == 5 || st == 7; }
    static std::string Slots(const std::array<bool, 10>& a) {
        std::string out;
        for (bool b : a) out += b ? '1' : '0';
        return out;
    }
    std::array<bool, 10> ActingNow() const {
        std::array<bool, 10> acting{};
        for (int i = 0; i <= 9; ++i) acting[i] = Acting(game_->s.SlotState[i]);
        return acting;
    }

    void Predict() {
        const Game& g = *game_;
        actor_ = -1;
        if (Prepared(g)) {
            actor_ = NextActor(g);
            // A forecast while actions are left, held until the phase hands over.
            if (!phase_ && actor_ >= 0) phase_ = ForecastPhase(g);
            if (actor_ >= 0) action_ = ForecastAction(g, actor_);
            actorState_ = actor_ >= 0 ? g.s.SlotState[actor_] : 0;
        } else {
            phase_.reset();
        }
        // At the turn screen: the first phase the order foresees.
        firstPhase_.reset();
        if (g.s.GameMode == 6 && InTurn(g)) {
            std::array<bool, 10> first{};
            const TurnOrder order = ForecastOrder(g);
            for (int i = 0; i <= 9; ++i)
                first[i] = !order.phases[i].empty() && order.phases[i].front() == 1;
            firstPhase_ = first;
        }
        modeBefore_ = g.s.GameMode;
    }

    std::string Verify() {
        const Game& g = *game_;
        const auto& s = g.s;
        // The action that was next has been resolved: exactly as foreseen.
        if (actor_ >= 0 && s.GameMode == 7 && s.SlotState[actor_] != actorState_) {
            ++actionsChecked_;
            const ActionForecast& f = *action_;
            if (s.UnitHP[f.target] != f.targetAfter || s.UnitHP[f.actor] != f.actorAfter)
                return "slot " + std::to_string(f.actor) + "'s action did not do what was foreseen";
            if (f.knocksDown && s.SlotCrossNext[f.target] != 1)
                return "a foreseen knock-down did not come";
        }
        // The phase about to hand over: its end as foreseen at its start.
        if (phase_ && Prepared(g) && NextActor(g) < 0) {
            GameCopy copy(g);
            if (SettlePhaseEnd(copy.game())) {
                ++phasesChecked_;
                const Game& c = copy.game();
                for (int i = 0; i <= 9; ++i) {
                    if (c.s.UnitHP[i] != phase_->hp[i])
                        return "slot " + std::to_string(i) + " ends the phase with " +
                               std::to_string(c.s.UnitHP[i]) + ", foreseen " +
                               std::to_string(phase_->hp[i]);
                    if ((c.s.SlotState[i] == 4) != phase_->dead[i] ||
                        (c.s.SlotCross[i] == 1) != phase_->knockedDown[i])
                        return "slot " + std::to_string(i) +
                               " ends the phase otherwise than foreseen";
                }
                if (ModeAfterPhase(c) != phase_->nextMode) return "the phase hands over elsewhere";
                nextPhase_.reset();
                if (phase_->nextMode == 7 && !phase_->newTurn) nextPhase_ = phase_->actsNext;
                phase_.reset();
            }
        }
        // A new phase chosen: the units the forecasts said.
        const bool chosen = s.GameMode == 7 && s.ClickState == 2 && modeBefore_ != 7;
        const bool stepped = s.GameMode == 7 && modeBefore_ == 7 && nextPhase_ && !Prepared(g);
        if ((chosen || stepped) && nextPhase_) {
            ++ordersChecked_;
            if (ActingNow() != *nextPhase_)
                return "the next phase is " + Slots(ActingNow()) + ", foreseen " +
                       Slots(*nextPhase_);
            nextPhase_.reset();
        }
        if (firstPhase_ && s.GameMode == 7 && modeBefore_ == 6) {
            ++ordersChecked_;
            if (ActingNow() != *firstPhase_)
                return "the turn's first phase is " + Slots(ActingNow()) + ", foreseen " +
                       Slots(*firstPhase_);
        }
        if (s.GameMode != 7) nextPhase_.reset();
        return "";
    }

    std::optional<PhaseForecast> phase_;
    std::optional<std::array<bool, 10>> nextPhase_, firstPhase_;
    std::optional<ActionForecast> action_;
    int actor_ = -1;
    Byte actorState_ = 0;
    Int16 modeBefore_ = 0;
    long long phasesChecked_ = 0, actionsChecked_ = 0, ordersChecked_ = 0;
    std::vector<StoryMoment> moments_;
    long long stepsBack_ = 0;

    std::mt19937_64 pick_;
    Services svc_;
    std::unique_ptr<Game> game_;
    long long events_ = 0;
    long long games_ = 0;
    int maxScene_ = 0;
    int maxMode_ = 0;
    std::string last_ = "the start";
    bool controlDown_ = false;     // the player's finger on Control
    bool tickBehindPanel_ = false; // a tick changed the game while a panel lay over it
};

} // namespace vern::test
