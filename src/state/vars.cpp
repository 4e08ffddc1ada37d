// The table of variable names behind the script driver's get and set.
#include "state/vars.h"

#include <functional>
#include <limits>
#include <map>

namespace vern {

namespace {

using Idx = std::optional<long long>;
using Finder = std::function<std::optional<VarRef>(GameState&, Idx, std::string&)>;

struct Entry {
    bool array;
    Finder find;
};

template <typename T> Entry Scalar(T GameState::*member) {
    return {false, [member](GameState& s, Idx i, std::string& e) -> std::optional<VarRef> {
                if (i) {
                    e = "takes no index";
                    return std::nullopt;
                }
                return VarRef{&(s.*member)};
            }};
}

template <typename T, int Lo, int Hi> Entry Array(Arr<T, Lo, Hi> GameState::*member) {
    return {true, [member](GameState& s, Idx i, std::string& e) -> std::optional<VarRef> {
                if (!i) {
                    e = "needs an index";
                    return std::nullopt;
                }
                if (!Arr<T, Lo, Hi>::inRange(*i)) {
                    e = "index outside " + std::to_string(Lo) + ".." + std::to_string(Hi);
                    return std::nullopt;
                }
                return VarRef{&(s.*member)[*i]};
            }};
}

#define VAR(name)                                                                                  \
    { #name, Make(&GameState::name) }

template <typename T> Entry Make(T GameState::*m) {
    return Scalar(m);
}
template <typename T, int Lo, int Hi> Entry Make(Arr<T, Lo, Hi> GameState::*m) {
    return Array(m);
}

const std::map<std::string, Entry>& Table() {
    static const std::map<std::string, Entry> table = {
        VAR(UnitName),     VAR(UnitAttr),      VAR(UnitKind),       VAR(UnitMaxHP),
        VAR(UnitHP),       VAR(UnitWish),      VAR(UnitWishState),  VAR(UnitRace),
        VAR(SlotState),    VAR(SlotCross),     VAR(SlotCrossNext),  VAR(SlotSummoned),
        VAR(SlotTarget),   VAR(SlotHeals),     VAR(SlotHeld),       VAR(RecruitMood),
        VAR(PhaseHP),      VAR(PhaseHPChange), VAR(ActPower),       VAR(GrowthCap),
        VAR(CharName),     VAR(WishKnown),     VAR(ControlledRace), VAR(PactWish),
        VAR(NextWish),     VAR(TopRaceBeaten), VAR(SceneNo),        VAR(StoryStep),
        VAR(NameNo),       VAR(GameMode),      VAR(ChoiceStep),     VAR(NextPicSlot),
        VAR(FoundSlot),    VAR(LookupOut),     VAR(FastForward),    VAR(SaveOpen),
        VAR(AskLoad),      VAR(AskSave),       VAR(StoryBattle),    VAR(ClickState),
        VAR(PickState),    VAR(ButtonMode),    VAR(SelSlot),        VAR(TurnNo),
        VAR(PhasePower),   VAR(RecruitSlot),   VAR(TradeSlot),      VAR(GrowthSlot),
        VAR(SummonRace),   VAR(SummonWish),    VAR(EncounterText),  VAR(InfoSlot),
        VAR(TeachOn),      VAR(TeachSaved),    VAR(Misc),           VAR(NameKind),
        VAR(RandNameKind),
    };
    return table;
}

#undef VAR

template <typename T> bool Assign(T* p, const VarValue& v) {
    if (!std::holds_alternative<long long>(v)) return false;
    const long long n = std::get<long long>(v);
    if (n < std::numeric_limits<T>::min() || n > std::numeric_limits<T>::max()) return false;
    *p = static_cast<T>(n);
    return true;
}

} // namespace

VarValue VarRef::Get() const {
    return std::visit(
        [](auto* p) -> VarValue {
            if constexpr (std::is_same_v<std::remove_pointer_t<decltype(p)>, std::string>)
                return *p;
            else
                return static_cast<long long>(*p);
        },
        target);
}

bool VarRef::Set(const VarValue& v) const {
    return std::visit(
        [&](auto* p) -> bool {
            if constexpr (std::is_same_v<std::remove_pointer_t<decltype(p)>, std::string>) {
                if (!std::holds_alternative<std::string>(v)) return false;
                *p = std::get<std::string>(v);
                return true;
            } else {
                return Assign(p, v);
            }
        },
        target);
}

std::optional<VarRef> FindVar(GameState& s, const std::string& name, std::optional<long long> index,
                              std::string& error) {
    auto it = Table().find(name);
    if (it == Table().end()) {
        error = "no variable " + name;
        return std::nullopt;
    }
    auto ref = it->second.find(s, index, error);
    if (!ref) error = name + " " + error;
    return ref;
}

bool IsArrayVar(const std::string& name) {
    auto it = Table().find(name);
    return it != Table().end() && it->second.array;
}

} // namespace vern
