// The slots beside save.dat: names, listing, saving, loading, the autosave's rotation.
#include "battle/save_slots.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "battle/save_file.h"
#include "catalogue/content.h"
#include "state/history.h"

namespace vern {

namespace {

std::string Two(int n) {
    return n < 10 ? "0" + std::to_string(n) : std::to_string(n);
}

std::string PathOf(Game& g, SlotId id) {
    const std::string folder = g.svc.SaveFolder();
    if (folder.empty()) return "";
    return (std::filesystem::path(folder) / SlotFileName(id)).string();
}

std::string PictureOf(const std::string& path) {
    return PictureBeside(path);
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    if (from.empty()) return;
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string SceneTitle(int sceneNo, const SaveRecord& r) {
    const ContentFile* file = Content("scene_titles.txt");
    const ContentEntry* e = file ? file->Find(std::to_string(sceneNo)) : nullptr;
    std::string title = e ? e->Text() : "";
    // The renameable characters as the save names them.
    ReplaceAll(title, "シザ", r.CharName[0]);
    ReplaceAll(title, "ララスピア", r.CharName[1]);
    return title;
}

// "場面12「最初の試し」" for the player.
std::string Describe(const SlotInfo& info) {
    std::string text = "場面" + std::to_string(info.sceneNo);
    if (!info.sceneTitle.empty()) text += "　" + info.sceneTitle;
    return text;
}

bool BattleMode(Int16 m) {
    return (m >= 3 && m <= 17 && m != 4 && m != 12) || m == 65 || m == 66 || m == 105 ||
           (m >= 21 && m <= 25);
}

} // namespace

std::string SlotLabel(SlotId id) {
    switch (id.kind) {
    case SlotKind::Main: return "セーブ";
    case SlotKind::Quick: return "クイック";
    case SlotKind::Auto: return "オート" + std::to_string(id.number);
    case SlotKind::Player: return "スロット" + Two(id.number);
    }
    return "セーブ";
}

std::string SlotFileName(SlotId id) {
    switch (id.kind) {
    case SlotKind::Main: return "save.dat";
    case SlotKind::Quick: return "quick.dat";
    case SlotKind::Auto: return "auto" + std::to_string(id.number) + ".dat";
    case SlotKind::Player: return "slot" + Two(id.number) + ".dat";
    }
    return "save.dat";
}

std::vector<SlotId> AllSlots() {
    std::vector<SlotId> all{{SlotKind::Main, 0}, {SlotKind::Quick, 0}};
    for (int n = 1; n <= kAutoSlots; ++n) all.push_back({SlotKind::Auto, n});
    for (int n = 1; n <= kPlayerSlots; ++n) all.push_back({SlotKind::Player, n});
    return all;
}

SlotInfo ReadSlot(Game& g, SlotId id) {
    SlotInfo info;
    info.id = id;
    info.file = PathOf(g, id);
    if (info.file.empty()) return info;
    struct stat st {};
    if (::lstat(info.file.c_str(), &st) != 0) return info;
    info.exists = true;
    info.writtenAt = static_cast<long long>(st.st_mtime);
    const auto read = ReadRecordFile(info.file);
    const SaveRecord* r = std::get_if<SaveRecord>(&read);
    if (!r) {
        info.damaged = true;
        return info;
    }
    info.sceneNo = r->SceneNo;
    info.sceneTitle = SceneTitle(r->SceneNo, *r);
    info.hero = r->Party[0].UnitName;
    for (int i = 0; i <= 4; ++i) {
        info.partyNames[static_cast<std::size_t>(i)] = r->Party[i].UnitName;
        info.partyMaxHP[static_cast<std::size_t>(i)] =
            r->Party[i].UnitMaxHP > kLoadMaxHPCap ? kLoadMaxHPCap : r->Party[i].UnitMaxHP;
    }
    return info;
}

std::vector<SlotInfo> ListSlots(Game& g) {
    TidySaveFolder(g);
    std::vector<SlotInfo> all;
    for (SlotId id : AllSlots()) all.push_back(ReadSlot(g, id));
    return all;
}

std::string WhySavingClosed(const Game& g) {
    const auto& s = g.s;
    if (g.ended) return "ゲームは終わっています。";
    if (g.f.Picture2.Visible) return "物語の途中ではセーブできません。";
    if (s.SceneNo == 37 && s.SaveOpen == 0) return "セーブは封鎖されています。";
    if (!g.f.セーブ.Enabled)
        return BattleMode(s.GameMode) || s.StoryBattle != 0 ? "戦いの最中はセーブできません。"
                                                            : "ここではセーブできません。";
    return "";
}

int SaveToSlot(Game& g, SlotId id) {
    if (id.kind == SlotKind::Main || !WhySavingClosed(g).empty()) return -1;
    const std::string path = PathOf(g, id);
    if (path.empty()) return 75;
    return WriteRecordFile(g, path);
}

std::string SaveFailedText(int number) {
    return "セーブできませんでした。（エラー" + std::to_string(number) + "番）";
}

bool LoadFromSlot(Game& g, SlotId id) {
    const std::string path = PathOf(g, id);
    if (path.empty()) return false;
    const auto read = ReadRecordFile(path);
    const SaveRecord* r = std::get_if<SaveRecord>(&read);
    if (!r) return false;
    LoadRecord(g, *r);
    return true;
}

bool DeleteSlot(Game& g, SlotId id) {
    if (id.kind != SlotKind::Player) return false;
    const std::string path = PathOf(g, id);
    if (path.empty() || ::unlink(path.c_str()) != 0) return false;
    ::unlink(PictureOf(path).c_str());
    return true;
}

bool AskSaveToSlot(Game& g, SlotId id) {
    if (id.kind != SlotKind::Player) return false;
    if (const std::string why = WhySavingClosed(g); !why.empty()) {
        MsgBox(g, why, MsgButtons::OK, false, "セーブ");
        return false;
    }
    const SlotInfo info = ReadSlot(g, id);
    if (info.exists) {
        const std::string what = info.damaged ? "壊れた記録" : Describe(info);
        if (MsgBox(g,
                   SlotLabel(id) + "に上書きしますか？" + std::string(1, CR) + "（" + what + "）",
                   MsgButtons::YesNo, false, "セーブ") == MsgAnswer::No)
            return false;
    }
    if (const int number = SaveToSlot(g, id)) {
        MsgBox(g, SaveFailedText(number), MsgButtons::OK, false, "セーブ");
        return false;
    }
    g.ui.Cue(Sound::Saved);
    g.svc.Notice(SlotLabel(id) + "にセーブしました。");
    return true;
}

bool AskLoadFromSlot(Game& g, SlotId id) {
    const SlotInfo info = ReadSlot(g, id);
    if (!info.exists) return false;
    if (info.damaged) {
        MsgBox(g, SlotLabel(id) + "の記録は壊れています。ロードできません。", MsgButtons::OK, false,
               "ロード");
        return false;
    }
    if (MsgBox(g,
               SlotLabel(id) + "をロードしますか？" + std::string(1, CR) + "（" + Describe(info) +
                   "）",
               MsgButtons::YesNo, false, "ロード") == MsgAnswer::No)
        return false;
    if (!LoadFromSlot(g, id)) {
        // Changed or removed since it was listed.
        MsgBox(g, SlotLabel(id) + "の記録は壊れています。ロードできません。", MsgButtons::OK, false,
               "ロード");
        return false;
    }
    g.svc.Notice(SlotLabel(id) + "をロードしました。");
    return true;
}

bool AskDeleteSlot(Game& g, SlotId id) {
    if (id.kind != SlotKind::Player || !ReadSlot(g, id).exists) return false;
    if (MsgBox(g, SlotLabel(id) + "を削除しますか？", MsgButtons::YesNo, false, "削除") ==
        MsgAnswer::No)
        return false;
    if (DeleteSlot(g, id)) return true;
    MsgBox(g, SlotLabel(id) + "を削除できませんでした。", MsgButtons::OK, false, "削除");
    return false;
}

void Autosave(Game& g) {
    if (!WhySavingClosed(g).empty()) return;
    const std::string newest = PathOf(g, {SlotKind::Auto, 1});
    if (newest.empty()) return;
    // The older autosaves move down one place, the oldest drops out; each rename is whole. Only
    // files move: whatever else sits under an autosave's name (a folder, a pipe) stays put.
    for (int n = kAutoSlots - 1; n >= 1; --n) {
        const std::string from = PathOf(g, {SlotKind::Auto, n});
        const std::string to = PathOf(g, {SlotKind::Auto, n + 1});
        struct stat st {};
        if (::lstat(from.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (::lstat(to.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) continue;
        if (std::rename(from.c_str(), to.c_str()) == 0) {
            if (std::rename(PictureOf(from).c_str(), PictureOf(to).c_str()) != 0)
                ::unlink(PictureOf(to).c_str());
        }
    }
    if (const int number = WriteRecordFile(g, newest))
        g.svc.Notice("オートセーブできませんでした。（エラー" + std::to_string(number) + "番）");
}

void AutosaveOnArrival(Game& g) {
    const int before = g.ui.lastMode;
    g.ui.lastMode = g.s.GameMode;
    // Arrived at the free menu: after a scene, a battle, a fight fled or a new party; not when
    // coming back from its own questions (先に進みますか？ いいえ) or a save.
    if (!g.ui.autosave || g.s.GameMode != 18 || g.f.Picture2.Visible) return;
    if (before == 18 || before == 19 || before == 28) return;
    Autosave(g);
}

void QuickSave(Game& g) {
    const std::string why = WhySavingClosed(g);
    if (!why.empty()) {
        g.ui.Cue(Sound::Error);
        g.svc.Notice("クイックセーブできません：" + why);
        return;
    }
    const int number = SaveToSlot(g, {SlotKind::Quick, 0});
    if (number != 0) {
        g.ui.Cue(Sound::Error);
        g.svc.Notice("クイックセーブできませんでした。（エラー" + std::to_string(number) + "番）");
        return;
    }
    g.ui.Cue(Sound::Saved);
    g.svc.Notice("クイックセーブしました。");
}

void QuickLoad(Game& g) {
    const SlotInfo info = ReadSlot(g, {SlotKind::Quick, 0});
    if (!info.exists) {
        g.svc.Notice("クイックセーブがありません。");
        return;
    }
    if (info.damaged) {
        g.svc.Notice("クイックセーブが壊れています。ロードできません。");
        return;
    }
    if (MsgBox(g,
               "クイックセーブをロードしますか？" + std::string(1, CR) + "（" + Describe(info) +
                   "）",
               MsgButtons::YesNo, false, "クイックロード") == MsgAnswer::No)
        return;
    if (LoadFromSlot(g, info.id)) g.svc.Notice("クイックセーブをロードしました。");
}

void OfferLatestAutosave(Game& g) {
    for (int n = 1; n <= kAutoSlots; ++n) {
        const SlotInfo info = ReadSlot(g, {SlotKind::Auto, n});
        if (!info.exists || info.damaged) continue;
        if (MsgBox(g,
                   "最後のオートセーブから続けますか？" + std::string(1, CR) + "（" +
                       Describe(info) + "）",
                   MsgButtons::YesNo, false, "オートセーブ") == MsgAnswer::No)
            return;
        // A notice, not another box: back in the run in two key presses after a defeat.
        if (LoadFromSlot(g, info.id)) g.svc.Notice(SlotLabel(info.id) + "をロードしました。");
        return;
    }
}

} // namespace vern
