// The screen as one JSON object: what the script driver's dump prints.
#pragma once

#include <nlohmann/json.hpp>

#include "state/game.h"

namespace vern {

nlohmann::ordered_json DumpScreen(const Game& g);
std::string ColorHex(Color c);

} // namespace vern
