// Parsing and running the driver's commands.
#include "script_runner.h"

#include <cctype>
#include <charconv>
#include <sstream>

#include <nlohmann/json.hpp>

#include "battle/preview.h"
#include "battle/save_slots.h"
#include "dump.h"
#include "screen/name_dialog.h"
#include "shell/events.h"
#include "shell/keys.h"
#include "shell/reading.h"
#include "state/vars.h"

namespace vern {

namespace {

using J = nlohmann::ordered_json;

std::string Json(const J& j) {
    return j.dump(-1, ' ', false, J::error_handler_t::replace);
}

const char* AnswerName(MsgAnswer a) {
    switch (a) {
    case MsgAnswer::Yes: return "Yes";
    case MsgAnswer::No: return "No";
    default: return "OK";
    }
}

// The most ticks one command runs: a day of fast-forward, and never a run that cannot end.
constexpr long long kMaxTicks = 1000000;

// A word of the script as a message quotes it: at most kMax characters.
std::string Echo(const std::string& word, std::size_t kMax = 40) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if ((static_cast<unsigned char>(word[i]) & 0xC0) == 0x80) continue;
        if (chars++ == kMax) return word.substr(0, i) + "…";
    }
    return word;
}

J ActionJson(const ActionForecast& f) {
    return J{{"actor", f.actor},
             {"target", f.target},
             {"heals", f.heals},
             {"getsUp", f.getsUp},
             {"spent", f.spent},
             {"targetBefore", f.targetBefore},
             {"targetAfter", f.targetAfter},
             {"actorBefore", f.actorBefore},
             {"actorAfter", f.actorAfter},
             {"knocksDown", f.knocksDown},
             {"targetDies", f.targetDies},
             {"targetRevives", f.targetRevives},
             {"actorDies", f.actorDies}};
}

[[noreturn]] void Malformed(int lineNo, const std::string& why) {
    throw ScriptStop{2, "line " + std::to_string(lineNo) + ": " + Echo(why, 120)};
}

// Splits off the first word; rest is what follows the single space after it.
std::string Word(const std::string& text, std::string& rest) {
    auto space = text.find(' ');
    if (space == std::string::npos) {
        rest.clear();
        return text;
    }
    rest = text.substr(space + 1);
    return text.substr(0, space);
}

bool ParseInt(const std::string& text, long long& out) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && p == end;
}

struct ControlName {
    const char* name;
    Control control;
    bool indexed;
    int count;
};

constexpr ControlName kControls[] = {
    {"Command1", Control::Command1, true, 4},  {"Command2", Control::Command2, false, 1},
    {"Command3", Control::Command3, false, 1}, {"Command4", Control::Command4, true, 2},
    {"Label2", Control::Label2, true, 10},     {"Label3", Control::Label3, true, 10},
    {"Label4", Control::Label4, true, 10},     {"Label8", Control::Label8, true, 10},
    {"Label9", Control::Label9, false, 1},     {"Picture1", Control::Picture1, false, 1},
    {"Label7", Control::Label7, false, 1},     {"Picture2", Control::Picture2, false, 1},
    {"Label1", Control::Label1, false, 1},
};

// An X keysym name: letters, digits and underscores ("Return", "Control_L", "1", "a").
bool KeyName(const std::string& name) {
    if (name.empty()) return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    return true;
}

struct MenuName {
    const char* name;
    MenuCommand command;
    bool indexed;
};

constexpr MenuName kMenus[] = {
    {"願い", MenuCommand::願い, true},
    {"セーブ", MenuCommand::セーブ, false},
    {"ロード", MenuCommand::ロード, false},
    {"始めから", MenuCommand::始めから, false},
    {"ゲームの終了", MenuCommand::ゲームの終了, false},
};

// "NAME [INDEX]" → control or menu index; false when malformed.
bool ParseTarget(const std::string& args, bool indexed, int count, int& index, int lineNo) {
    std::string rest;
    std::string name = Word(args, rest);
    (void)name;
    if (!indexed) {
        if (!rest.empty()) Malformed(lineNo, "takes no index");
        index = 0;
        return true;
    }
    long long i = 0;
    if (!ParseInt(rest, i)) Malformed(lineNo, "needs an index");
    if (i < 0 || i >= count) Malformed(lineNo, "index out of range");
    index = static_cast<int>(i);
    return true;
}

} // namespace

void ScriptServices::Emit(const std::string& jsonLine) {
    out_ << jsonLine << '\n' << std::flush;
}

MsgAnswer ScriptServices::MsgBox(const std::string& text, MsgButtons buttons, bool critical,
                                 const std::string& title) {
    MsgAnswer answer = MsgAnswer::OK;
    if (buttons == MsgButtons::YesNo) {
        if (answers.empty() || answers.front() == MsgAnswer::OK) {
            Emit(Json(J{{"event", "msgbox"},
                        {"title", title},
                        {"text", text},
                        {"buttons", "YesNo"},
                        {"critical", critical},
                        {"answer", nullptr}}));
            throw ScriptStop{3, "a Yes/No message box \"" + text + "\" has no queued answer"};
        }
        answer = answers.front();
        answers.pop_front();
    }
    Emit(Json(J{{"event", "msgbox"},
                {"title", title},
                {"text", text},
                {"buttons", buttons == MsgButtons::OK ? "OK" : "YesNo"},
                {"critical", critical},
                {"answer", AnswerName(answer)}}));
    return answer;
}

void ScriptServices::RunNameDialog(Game& g) {
    Emit(Json(J{{"event", "dialog"}, {"open", true}}));
    while (g.n.open) {
        if (dialogActions.empty())
            throw ScriptStop{3, "the name dialog is open and no dialog action is queued"};
        std::string action = dialogActions.front();
        dialogActions.pop_front();
        std::string rest;
        const std::string verb = Word(action, rest);
        if (verb == "type") {
            NameInp_Text1_Change(g, rest);
        } else if (verb == "close") {
            NameInp_Form_Unload(g);
        } else if (verb == "key") {
            NameInp_Key(g, rest);
        } else if (rest == "デフォルト") {
            NameInp_Command1_Click(g);
        } else if (rest == "ランダム") {
            NameInp_Command2_Click(g);
        } else {
            NameInp_Command3_Click(g);
        }
    }
    Emit(Json(J{{"event", "dialog"}, {"open", false}, {"text", g.n.Text1.Text}}));
}

void ScriptServices::Beep() {
    Emit(Json(J{{"event", "beep"}}));
}

void ScriptServices::PlayMusic(const std::string& piece) {
    if (audio) Emit(Json(J{{"event", "music"}, {"piece", piece}}));
}

void ScriptServices::PlaySound(const std::string& effect) {
    if (audio) Emit(Json(J{{"event", "sound"}, {"effect", effect}}));
}

void ScriptServices::Notice(const std::string& text) {
    Emit(Json(J{{"event", "notice"}, {"text", text}}));
}

void ScriptRunner::Line(const std::string& line, int lineNo) {
    std::string args;
    const std::string cmd = Word(line, args);
    if (cmd == "click") {
        std::string rest;
        const std::string name = Word(args, rest);
        for (const auto& c : kControls) {
            if (name != c.name) continue;
            int index = 0;
            ParseTarget(args, c.indexed, c.count, index, lineNo);
            if (!Click(g_, c.control, index))
                svc_.Emit(Json(J{{"event", "ignored"}, {"line", lineNo}}));
            return;
        }
        Malformed(lineNo, "no control " + Echo(name));
    } else if (cmd == "menu") {
        std::string rest;
        const std::string name = Word(args, rest);
        for (const auto& m : kMenus) {
            if (name != m.name) continue;
            int index = 0;
            ParseTarget(args, m.indexed, 13, index, lineNo);
            if (!Menu(g_, m.command, index))
                svc_.Emit(Json(J{{"event", "ignored"}, {"line", lineNo}}));
            return;
        }
        Malformed(lineNo, "no menu item " + Echo(name));
    } else if (cmd == "key" || cmd == "keydown" || cmd == "keyup" || cmd == "keyrepeat") {
        if (!KeyName(args)) Malformed(lineNo, cmd + " needs a key name");
        const bool reacted = cmd == "key"         ? Key(g_, args)
                             : cmd == "keydown"   ? KeyDown(g_, args)
                             : cmd == "keyrepeat" ? KeyRepeat(g_, args)
                                                  : KeyUp(g_, args);
        if (!reacted) svc_.Emit(Json(J{{"event", "ignored"}, {"line", lineNo}}));
    } else if (cmd == "history") {
        // What the game has shown; "history panel": what the history panel lists (the answers
        // given at choices in, the pages that only show a title out).
        if (!args.empty() && args != "panel") Malformed(lineNo, "history takes nothing or panel");
        const bool panel = args == "panel";
        J texts = J::array();
        for (const HistoryLine& entry : g_.ui.history)
            if (panel ? entry.kind != HistoryKind::Title : entry.kind != HistoryKind::Answer)
                texts.push_back(entry.text);
        svc_.Emit(Json(J{{panel ? "panel" : "history", texts}}));
    } else if (cmd == "audio") {
        // audio on: the music and the effects the game plays from now on, as events (the piece
        // playing now first); audio off: no more of them.
        if (args != "on" && args != "off") Malformed(lineNo, "audio takes on or off");
        svc_.audio = args == "on";
        if (svc_.audio) svc_.PlayMusic(g_.ui.music);
    } else if (cmd == "back") {
        // Backspace: the story one text back.
        if (!args.empty()) Malformed(lineNo, "back takes nothing");
        if (!StepBack(g_)) svc_.Emit(Json(J{{"event", "ignored"}, {"line", lineNo}}));
    } else if (cmd == "elapse") {
        // Time passing for the typing of the story text, in milliseconds.
        long long ms = 0;
        if (!ParseInt(args, ms) || ms < 0 || ms > 3600000)
            Malformed(lineNo, "elapse needs milliseconds (up to 3600000)");
        Elapse(g_, static_cast<int>(ms));
    } else if (cmd == "reading") {
        // How the story is being read: the step read before, the typing, what runs, the steps
        // to go back to, the choice the keys have chosen, the steps read in all.
        if (!args.empty()) Malformed(lineNo, "reading takes nothing");
        const UiState& ui = g_.ui;
        svc_.Emit(Json(J{{"reading", J{{"stepRead", StepRead(g_)},
                                       {"typed", TypedChars(g_)},
                                       {"typingDone", TypingDone(g_)},
                                       {"mark", StoryMark(g_)},
                                       {"skipping", SkippingByKeys(g_)},
                                       {"back", ui.back.size()},
                                       {"choiceFocus", ui.choiceFocus},
                                       {"read", ui.read.size()}}}}));
    } else if (cmd == "preview") {
        // What the battle will do, from the game's own rules on a copy: the enemies' plans, the
        // turn's order, the phase's result; or, with a slot, what picking it would do.
        if (!args.empty()) {
            long long slot = 0;
            if (!ParseInt(args, slot) || slot < 0 || slot > 9)
                Malformed(lineNo, "preview takes a board slot 0..9");
            const auto pick = ForecastPick(g_, static_cast<int>(slot));
            svc_.Emit(Json(J{{"pick", pick ? ActionJson(*pick) : J(nullptr)}}));
            return;
        }
        J intents = J::array();
        for (const Intent& in : ForecastIntents(g_)) {
            intents.push_back(J{{"enemy", in.enemy},
                                {"target", in.target},
                                {"kind", in.getsUp  ? "getsUp"
                                         : in.heals ? "heal"
                                         : in.holds ? "hold"
                                                    : "attack"},
                                {"doubled", in.doubled},
                                {"drains", in.drains},
                                {"halved", in.halved},
                                {"thirded", in.thirded},
                                {"effect", ActionJson(in.effect)}});
        }
        J order = J::array();
        for (const auto& phases : ForecastOrder(g_).phases) order.push_back(phases);
        J phase = nullptr;
        if (const auto f = ForecastPhase(g_)) {
            phase =
                J{{"hp", f->hp},         {"dead", f->dead},       {"knockedDown", f->knockedDown},
                  {"next", f->nextMode}, {"newTurn", f->newTurn}, {"actsNext", f->actsNext}};
        }
        svc_.Emit(
            Json(J{{"preview", J{{"intents", intents}, {"order", order}, {"phase", phase}}}}));
    } else if (cmd == "slots") {
        // What every slot holds, as the record window lists it (without the time of writing).
        if (!args.empty()) Malformed(lineNo, "slots takes nothing");
        J slots = J::array();
        for (const SlotInfo& info : ListSlots(g_)) {
            J slot{{"file", SlotFileName(info.id)}, {"exists", info.exists}};
            if (info.exists) slot["damaged"] = info.damaged;
            if (info.exists && !info.damaged) {
                J party = J::array();
                for (std::size_t i = 0; i < 5; ++i)
                    party.push_back(J{{"name", info.partyNames[i]}, {"maxHP", info.partyMaxHP[i]}});
                slot["scene"] = info.sceneNo;
                slot["title"] = info.sceneTitle;
                slot["hero"] = info.hero;
                slot["party"] = party;
            }
            slots.push_back(slot);
        }
        svc_.Emit(Json(J{{"slots", slots}}));
    } else if (cmd == "slot") {
        // slot save N | slot load FILE | slot delete N: what the record window does.
        std::string rest;
        const std::string verb = Word(args, rest);
        std::optional<SlotId> id;
        for (SlotId s : AllSlots()) {
            const std::string file = SlotFileName(s);
            if (rest == file || (s.kind == SlotKind::Player && rest == std::to_string(s.number)))
                id = s;
        }
        if (!id || (verb != "save" && verb != "load" && verb != "delete"))
            Malformed(lineNo, "slot takes save N, load FILE or delete N");
        bool done = false;
        RunEvent(g_, [&] {
            if (verb == "save")
                done = AskSaveToSlot(g_, *id);
            else if (verb == "load")
                done = AskLoadFromSlot(g_, *id);
            else
                done = AskDeleteSlot(g_, *id);
        });
        if (!done) svc_.Emit(Json(J{{"event", "ignored"}, {"line", lineNo}}));
    } else if (cmd == "setting") {
        // The settings that change the game's rules, as the settings window sets them.
        std::string value;
        const std::string name = Word(args, value);
        if (name == "autosave" && (value == "on" || value == "off"))
            g_.ui.autosave = value == "on";
        else if (name == "battle_additions" && (value == "on" || value == "off"))
            g_.ui.battleAdditions = value == "on";
        else if (name == "skip_unread" && (value == "on" || value == "off"))
            g_.ui.skipUnread = value == "on";
        else if (long long n = 0; name == "text_speed" && ParseInt(value, n) && n >= 0 && n <= 1000)
            g_.ui.textSpeed = static_cast<int>(n);
        else if (name == "auto_speed" && ParseInt(value, n) && n >= 0 && n <= 3)
            g_.ui.autoSpeed = static_cast<int>(n);
        else
            Malformed(lineNo, "setting takes autosave|battle_additions|skip_unread on|off, "
                              "text_speed 0..1000 or auto_speed 0..3");
    } else if (cmd == "ui") {
        // The player's comforts around the game's screens, which dump does not show.
        if (!args.empty()) Malformed(lineNo, "ui takes nothing");
        const UiState& ui = g_.ui;
        const char* overlay = ui.overlay == Overlay::History ? "history"
                              : ui.overlay == Overlay::Help  ? "help"
                                                             : "none";
        svc_.Emit(Json(J{{"ui", J{{"overlay", overlay},
                                  {"textHidden", ui.textHidden},
                                  {"autoAdvance", ui.autoAdvance},
                                  {"fastForwardHeld", ui.fastForwardHeld},
                                  {"paceHeld", ui.paceHeld},
                                  {"boardKeys", ui.boardKeys},
                                  {"battleAdditions", ui.battleAdditions},
                                  {"focus", ui.focus}}}}));
    } else if (cmd == "focusout") {
        // The window lost the keyboard (to another window): held keys let go.
        if (!args.empty()) Malformed(lineNo, "focusout takes nothing");
        if (!FocusLost(g_)) svc_.Emit(Json(J{{"event", "ignored"}, {"line", lineNo}}));
    } else if (cmd == "close") {
        if (!args.empty()) Malformed(lineNo, "close takes nothing");
        const bool reacted = closeBox ? closeBox() : CloseBox(g_);
        if (!reacted) svc_.Emit(Json(J{{"event", "ignored"}, {"line", lineNo}}));
    } else if (cmd == "tick") {
        long long n = 1;
        if (!args.empty() && (!ParseInt(args, n) || n < 0)) Malformed(lineNo, "tick needs a count");
        if (n > kMaxTicks) Malformed(lineNo, "tick counts go up to " + std::to_string(kMaxTicks));
        for (long long i = 0; i < n && !g_.ended; ++i) Tick(g_);
    } else if (cmd == "answer") {
        std::istringstream words(args);
        std::string a;
        int count = 0;
        while (words >> a) {
            if (a == "Yes")
                svc_.answers.push_back(MsgAnswer::Yes);
            else if (a == "No")
                svc_.answers.push_back(MsgAnswer::No);
            else if (a == "OK")
                svc_.answers.push_back(MsgAnswer::OK);
            else
                Malformed(lineNo, "answers are Yes, No or OK");
            ++count;
        }
        if (count == 0) Malformed(lineNo, "answer needs at least one answer");
    } else if (cmd == "dialog") {
        std::string rest;
        const std::string verb = Word(args, rest);
        if (verb == "type") {
            svc_.dialogActions.push_back("type " + rest);
        } else if (verb == "click" &&
                   (rest == "デフォルト" || rest == "ランダム" || rest == "決定")) {
            svc_.dialogActions.push_back("click " + rest);
        } else if (verb == "close" && rest.empty()) {
            svc_.dialogActions.push_back("close");
        } else if (verb == "key" && KeyName(rest)) {
            svc_.dialogActions.push_back("key " + rest);
        } else {
            Malformed(lineNo,
                      "dialog takes type TEXT, click デフォルト|ランダム|決定, key NAME or close");
        }
    } else if (cmd == "set" || cmd == "get") {
        std::string rest;
        const std::string name = Word(args, rest);
        std::optional<long long> index;
        if (IsArrayVar(name)) {
            std::string after;
            const std::string indexText = Word(rest, after);
            long long i = 0;
            if (!ParseInt(indexText, i)) Malformed(lineNo, name + " needs an index");
            index = i;
            rest = after;
        }
        std::string error;
        auto ref = FindVar(g_.s, name, index, error);
        if (!ref) Malformed(lineNo, error);
        if (cmd == "get") {
            if (!rest.empty()) Malformed(lineNo, "get takes a name and an index only");
            J value = std::visit([](const auto& v) { return J(v); }, ref->Get());
            svc_.Emit(Json(
                J{{"get", name}, {"index", index ? J(*index) : J(nullptr)}, {"value", value}}));
        } else if (ref->text()) {
            ref->Set(rest);
        } else {
            long long v = 0;
            if (!ParseInt(rest, v) || !ref->Set(v)) Malformed(lineNo, "value does not fit " + name);
        }
    } else if (cmd == "seed") {
        long long n = 0;
        if (!ParseInt(args, n)) Malformed(lineNo, "seed needs a number");
        g_.rng.Seed(static_cast<std::uint64_t>(n));
        g_.rng.fixedSeed = true;
    } else if (cmd == "dump") {
        if (!args.empty()) Malformed(lineNo, "dump takes nothing");
        svc_.Emit(Json(DumpScreen(g_)));
    } else if (cmd == "shot") {
        if (args.empty()) Malformed(lineNo, "shot needs a file");
        if (shot) shot(args);
    } else {
        Malformed(lineNo, "unknown command " + Echo(cmd));
    }
}

int ScriptRunner::Run(std::istream& in, std::ostream& err) {
    std::string line;
    int lineNo = 0;
    try {
        while (!g_.ended && std::getline(in, line)) {
            ++lineNo;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
            Line(line, lineNo);
            if (afterCommand) afterCommand();
        }
    } catch (const ScriptStop& stop) {
        err << stop.message << '\n';
        return stop.status;
    }
    if (g_.ended) svc_.Emit(Json(J{{"event", "end"}}));
    return 0;
}

} // namespace vern
