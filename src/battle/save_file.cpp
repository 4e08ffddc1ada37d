// Saving and loading "save.dat" in the program folder.
//
// A save never destroys the previous one: the whole record goes to "save.dat.tmp" beside it,
// is flushed to the disk and only then renamed over "save.dat"; on any failure the old file
// stays as it was and the player is told, never congratulated. A load reads and checks the
// whole file before it changes anything, and never writes.
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

#include "battle/save_file.h"

#include "battle/game_mode.h"
#include "catalogue/wishes.h"
#include "io/file_start.h"
#include "io/save_record.h"
#include "screen/start.h"
#include "state/history.h"

namespace vern {

namespace {

constexpr const char* kSaveName = "save.dat";
constexpr const char* kTempName = "save.dat.tmp";
// The start of a larger file is enough: the record ends with its checksum well before this.
constexpr std::size_t kReadLimit = 64 * 1024;

// Error numbers shown to the player.
constexpr int kErrInvalidArgument = 5;
constexpr int kErrOverflow = 6;
constexpr int kErrIO = 57;
constexpr int kErrDiskFull = 61;
constexpr int kErrPathAccess = 75;

std::string SavePath(Game& g, const char* name) {
    return (std::filesystem::path(g.svc.SaveFolder()) / name).string();
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

// Writes bytes to the temporary file, flushes it and renames it over the save; returns the
// error number of the first failure. The old save is untouched unless the rename happened.
std::optional<int> ReplaceSave(Game& g, const std::string& bytes) {
    const std::string temp = SavePath(g, kTempName);
    const std::string target = SavePath(g, kSaveName);
    // A file over the process's size limit is a write error like a full disk, not a signal
    // that ends the program.
    static const bool fileSizeSignalIgnored = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
    (void)fileSizeSignalIgnored;
    // A fresh regular file: whatever a stale temporary name holds (a pipe that would block the
    // open, a link) is removed first, and O_EXCL refuses anything that took its place.
    if (::unlink(temp.c_str()) != 0 && errno != ENOENT) return ErrorNumber(errno);
    const int fd = ::open(temp.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd < 0) return ErrorNumber(errno);
    auto fail = [&](bool open) {
        const int err = errno;
        if (open) ::close(fd);
        ::unlink(temp.c_str());
        return ErrorNumber(err);
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return fail(true);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) return fail(true);
    if (::close(fd) != 0) return fail(false);
    if (::rename(temp.c_str(), target.c_str()) != 0) return fail(false);
    // Make the rename itself durable; the new save is in place whatever this says.
    const std::string folder = std::filesystem::path(target).parent_path().string();
    const int dir =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

enum class ReadOutcome { Read, Missing, Failed };

// Reads the start of "save.dat" without creating it; anything but a regular file fails.
ReadOutcome ReadSave(Game& g, std::string& bytes, int& number) {
    long long size = 0;
    const int err = ReadFileStart(SavePath(g, kSaveName), kReadLimit, bytes, size);
    if (err == ENOENT) return ReadOutcome::Missing;
    if (err == 0) return ReadOutcome::Read;
    number = ErrorNumber(err);
    return ReadOutcome::Failed;
}

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

void セーブ_Click(Game& g) {
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
    // The sum and the stored checksum, which the check above found equal.
    g.s.Misc[0] = g.s.Misc[1] = std::get<SaveRecord>(read).Checksum;
    Start(g);
    ApplyRecord(g, std::get<SaveRecord>(read));
    g.s.GameMode = 12;
    Mshow(g, g.s.GameMode);
    for (int w = 1; w <= 12; ++w) g.f.願い[w].Caption = WishMenuCaption(w, g.s.WishKnown[w] == 2);
    MsgBox(g, "ロードしました。", MsgButtons::OK, false, "ロード完了");
}

} // namespace vern
