// Fuzz target for the save file reader: any bytes must either be refused with a reason or give
// a record the game can hold, and such a record must survive another save and load unchanged
// (apart from the maximum-HP rule of the save).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "check.h"
#include "io/save_record.h"

namespace {

constexpr vern::fuzz::Checker Check{"save record"};

void CheckSame(const vern::SaveRecord& a, const vern::SaveRecord& b) {
    Check(a.SceneNo == b.SceneNo && a.StoryStep == b.StoryStep && a.NameNo == b.NameNo, "scalars");
    for (int k = 0; k <= 9; ++k) Check(a.CharName[k] == b.CharName[k], "CharName");
    for (int i = 0; i <= 4; ++i) {
        const auto& x = a.Party[i];
        const auto& y = b.Party[i];
        Check(x.UnitName == y.UnitName && x.UnitAttr == y.UnitAttr && x.UnitKind == y.UnitKind &&
                  vern::SavedMaxHP(i, x.UnitKind, x.UnitMaxHP) == y.UnitMaxHP &&
                  x.UnitWish == y.UnitWish,
              "party");
    }
    for (int k = 1; k <= 12; ++k) Check(a.WishKnown[k] == b.WishKnown[k], "WishKnown");
    Check(a.NextWish == b.NextWish && a.TopRaceBeaten == b.TopRaceBeaten, "progress");
    for (int k = 1; k <= 6; ++k) Check(a.ControlledRace[k] == b.ControlledRace[k], "races");
    for (int k = 1; k <= 15; ++k) Check(a.PactWish[k] == b.PactWish[k], "pacts");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto read = vern::ReadSaveRecord(bytes);
    if (auto* e = std::get_if<vern::RecordError>(&read)) {
        Check(*e == vern::RecordError::NotSaveFile || vern::IsTampered(*e), "reading error");
        return 0;
    }
    const vern::SaveRecord& r = std::get<vern::SaveRecord>(read);
    Check(r.NameNo >= 1 && r.NameNo <= 10, "NameNo");
    Check(r.NextWish <= 10, "NextWish");
    for (int i = 0; i <= 4; ++i)
        Check(r.Party[i].UnitWish <= 15 && r.Party[i].UnitMaxHP >= 0, "unit range");

    auto written = vern::WriteSaveRecord(r);
    Check(std::holds_alternative<std::string>(written), "an accepted record can be saved");
    auto again = vern::ReadSaveRecord(std::get<std::string>(written));
    Check(std::holds_alternative<vern::SaveRecord>(again), "a saved record can be loaded");
    CheckSame(r, std::get<vern::SaveRecord>(again));
    return 0;
}
