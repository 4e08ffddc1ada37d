// Saving and loading "save.dat" in the program folder.
//
// A save never destroys the previous one: the whole record goes to a temporary file of this
// process's own beside it, is flushed to the disk and only then renamed over "save.dat"; on any
// failure the old file stays as it was and the player is told, never congratulated. Two copies
// of the game saving into one folder each succeed; the last save wins, whole. A load reads and
// checks the whole file before it changes anything, and never writes.
#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

#include "battle/save_file.h"

#include "battle/game_mode.h"
#include "catalogue/wishes.h"
#include "io/atomic_file.h"
#include "io/file_start.h"
#include "io/save_record.h"
#include "screen/start.h"
#include "state/history.h"

namespace vern {

namespace {

constexpr const char* kSaveName = "save.dat";
// The start of a larger file is enough: the record ends with its checksum well before this.
constexpr std::size_t kReadLimit = 64 * 1024;

// Error numbers shown to the player.
constexpr int kErrInvalidArgument = 5;
constexpr int kErrOverflow = 6;
constexpr int kErrIO = 57;
constexpr int kErrDiskFull = 61;
constexpr int kErrPathAccess = 75;

std::string SavePath(const std::string& folder, const char* name) {
    return (std::filesystem::path(folder) / name).string();
}

int ErrorNumber(int err) {
    switch (err) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return kErrDiskFull;
    case EIO: return kErrIO;
    default: return kErrPathAccess;
    }
}

void UnexpectedError(Game& g, int number) {
    MsgBox(g,
           "予想外のエラーです。『エラー" + std::to_string(number) + "番』" + CR +
               "作成者に連絡して下さい。",
           MsgButtons::OK, true, kDefaultTitle);
}

void NotFound(Game& g) {
    MsgBox(g, "セーブファイルが見つかりませんでした。ロードを中断します。", MsgButtons::OK, true,
           kDefaultTitle);
}

// Writes the whole record beside the save and renames it over it; returns the error number of
// the first failure. The old save is untouched unless the rename happened.
std::optional<int> ReplaceSave(Game& g, const std::string& bytes) {
    const std::string folder = g.svc.SaveFolder();
    if (folder.empty()) return kErrPathAccess; // no folder to keep it in
    if (const int err = ReplaceFile(SavePath(folder, kSaveName), bytes)) return ErrorNumber(err);
    return std::nullopt;
}

enum class ReadOutcome { Read, Missing, Failed };

ReadOutcome ReadSaveIn(const std::string& folder, std::string& bytes, int& number) {
    if (folder.empty()) return ReadOutcome::Missing;
    long long size = 0;
    const int err = ReadFileStart(SavePath(folder, kSaveName), kReadLimit, bytes, size);
    // A folder that is not there, or cannot be (a file in the way), holds no save.
    if (err == ENOENT || err == ENOTDIR) return ReadOutcome::Missing;
    if (err == 0) return ReadOutcome::Read;
    number = ErrorNumber(err);
    return ReadOutcome::Failed;
}

// Reads the start of "save.dat" without creating it; anything but a regular file fails. When
// the save folder holds none, the one an earlier run kept elsewhere is read.
ReadOutcome ReadSave(Game& g, std::string& bytes, int& number) {
    const ReadOutcome here = ReadSaveIn(g.svc.SaveFolder(), bytes, number);
    if (here != ReadOutcome::Missing) return here;
    return ReadSaveIn(g.svc.OtherSaveFolder(), bytes, number);
}

} // namespace

SaveRecord RecordOfGame(const GameState& s) {
    SaveRecord r;
    r.SceneNo = s.SceneNo;
    r.StoryStep = s.StoryStep;
    r.NameNo = s.NameNo;
    for (int k = 0; k <= 9; ++k) r.CharName[k] = s.CharName[k];
    for (int i = 0; i <= 4; ++i) {
        r.Party[i] = {s.UnitName[i], s.UnitAttr[i], s.UnitKind[i], s.UnitMaxHP[i], s.UnitWish[i]};
    }
    for (int k = 1; k <= 12; ++k) r.WishKnown[k] = s.WishKnown[k];
    r.NextWish = s.NextWish;
    r.TopRaceBeaten = s.TopRaceBeaten;
    for (int k = 1; k <= 6; ++k) r.ControlledRace[k] = s.ControlledRace[k];
    for (int k = 1; k <= 15; ++k) r.PactWish[k] = s.PactWish[k];
    return r;
}

namespace {

// The game after Start takes the saved values; the scene starts again from its first step.
void ApplyRecord(Game& g, const SaveRecord& r) {
    auto& s = g.s;
    s.SceneNo = r.SceneNo;
    s.StoryStep = 1;
    s.NameNo = r.NameNo;
    for (int k = 0; k <= 9; ++k) s.CharName[k] = r.CharName[k];
    for (int i = 0; i <= 4; ++i) {
        const SavedUnit& u = r.Party[i];
        s.UnitName[i] = u.UnitName;
        s.UnitAttr[i] = u.UnitAttr;
        s.UnitKind[i] = u.UnitKind;
        s.UnitMaxHP[i] = u.UnitMaxHP > kLoadMaxHPCap ? kLoadMaxHPCap : u.UnitMaxHP;
        // Kind 91 may come back with the wish of any party member, itself included.
        const double first = g.Rnd();
        if (u.UnitKind == 91 && Int(2 * first) == 0)
            s.UnitWish[i] = r.Party[Int(5 * g.Rnd())].UnitWish;
        else
            s.UnitWish[i] = u.UnitWish;
    }
    for (int k = 1; k <= 12; ++k) s.WishKnown[k] = r.WishKnown[k];
    s.NextWish = r.NextWish;
    s.TopRaceBeaten = r.TopRaceBeaten;
    for (int k = 1; k <= 6; ++k) s.ControlledRace[k] = r.ControlledRace[k];
    for (int k = 1; k <= 15; ++k) s.PactWish[k] = r.PactWish[k];
}

} // namespace

void LoadRecord(Game& g, const SaveRecord& r) {
    ++g.ui.loads;
    // The sum and the stored checksum, which the reader found equal.
    g.s.Misc[0] = g.s.Misc[1] = r.Checksum;
    NoteSeparator(g, kHistoryLoaded);
    Start(g);
    ApplyRecord(g, r);
    g.s.GameMode = 12;
    Mshow(g, g.s.GameMode);
    for (int w = 1; w <= 12; ++w) g.f.願い[w].Caption = WishMenuCaption(w, g.s.WishKnown[w] == 2);
}

void TidySaveFolder(Game& g) {
    if (g.ui.saveFolderTidied) return;
    g.ui.saveFolderTidied = true;
    if (const std::string folder = g.svc.SaveFolder(); !folder.empty())
        RemoveStaleTemporaries(folder);
}

int WriteRecordFile(Game& g, const std::string& path) {
    TidySaveFolder(g);
    auto written = WriteSaveRecord(RecordOfGame(g.s));
    if (auto* e = std::get_if<RecordError>(&written))
        return *e == RecordError::SumOverflow ? kErrOverflow : kErrInvalidArgument;
    if (const int err = ReplaceFile(path, std::get<std::string>(written))) return ErrorNumber(err);
    // The old record's picture never stands beside the new record.
    const std::string picture = PictureBeside(path);
    ::unlink(picture.c_str());
    g.svc.Saved(path, picture);
    return 0;
}

std::string PictureBeside(const std::string& path) {
    return std::filesystem::path(path).replace_extension(".png").string();
}

std::variant<SaveRecord, RecordError, int> ReadRecordFile(const std::string& path) {
    std::string bytes;
    long long size = 0;
    const int err = ReadFileStart(path, kReadLimit, bytes, size);
    if (err == ENOENT || err == ENOTDIR) return RecordError::NotSaveFile;
    if (err != 0) return ErrorNumber(err);
    auto read = ReadSaveRecord(bytes);
    if (auto* e = std::get_if<RecordError>(&read)) return *e;
    return std::get<SaveRecord>(read);
}

void セーブ_Click(Game& g) {
    TidySaveFolder(g);
    if (g.s.SceneNo == 37 && g.s.SaveOpen == 0) return;
    if (MsgBox(g, "セーブしますか？", MsgButtons::YesNo, false, "セーブ") == MsgAnswer::No) return;
    auto written = WriteSaveRecord(RecordOfGame(g.s));
    g.s.Misc[0] = 0;
    if (auto* bytes = std::get_if<std::string>(&written)) g.s.Misc[0] = WrittenChecksum(*bytes);
    if (auto* e = std::get_if<RecordError>(&written)) {
        UnexpectedError(g, *e == RecordError::SumOverflow ? kErrOverflow : kErrInvalidArgument);
        return;
    }
    if (auto number = ReplaceSave(g, std::get<std::string>(written))) {
        UnexpectedError(g, *number);
        return;
    }
    {
        const std::string path = SavePath(g.svc.SaveFolder(), kSaveName);
        ::unlink(PictureBeside(path).c_str());
        g.svc.Saved(path, PictureBeside(path));
    }
    g.svc.PlaySound(SoundName(Sound::Saved));
    MsgBox(g, "セーブが無事終了しました。", MsgButtons::OK, false, "セーブ完了");
}

void ロード_Click(Game& g) {
    if (MsgBox(g, "ロードしますか？", MsgButtons::YesNo, false, "ロード") == MsgAnswer::No) return;
    g.s.Misc[0] = 0;
    std::string bytes;
    int number = 0;
    switch (ReadSave(g, bytes, number)) {
    case ReadOutcome::Missing: NotFound(g); return;
    case ReadOutcome::Failed: UnexpectedError(g, number); return;
    case ReadOutcome::Read: break;
    }
    auto read = ReadSaveRecord(bytes);
    if (auto* e = std::get_if<RecordError>(&read)) {
        if (!IsTampered(*e)) {
            NotFound(g);
            return;
        }
        MsgBox(g, "セーブデータ改ざんの痕跡を確認しました。ゲームを終了します。", MsgButtons::OK,
               true, kDefaultTitle);
        EndProgram();
    }
    LoadRecord(g, std::get<SaveRecord>(read));
    MsgBox(g, "ロードしました。", MsgButtons::OK, false, "ロード完了");
}

} // namespace vern
