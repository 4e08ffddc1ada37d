// The game's variables by name, for the script driver's get and set.
#pragma once

#include <optional>
#include <string>
#include <variant>

#include "state/state.h"

namespace vern {

using VarValue = std::variant<long long, std::string>;

struct VarRef {
    std::variant<Byte*, Int16*, Long*, std::string*> target;
    bool text() const { return std::holds_alternative<std::string*>(target); }
    VarValue Get() const;
    // False when the value does not fit the variable's type.
    bool Set(const VarValue& v) const;
};

// Looks a variable up by its name, with an index for the arrays (in the range the game's
// rules use); on failure returns nothing and says why in error.
std::optional<VarRef> FindVar(GameState& s, const std::string& name, std::optional<long long> index,
                              std::string& error);
// True when name is an array.
bool IsArrayVar(const std::string& name);

} // namespace vern
