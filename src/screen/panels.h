// The board rows, the message panel and its hints.
#pragma once

#include <string>

#include "state/game.h"

namespace vern {

void STshow(Game& g, int slot);
void ASTshow(Game& g);
void teach(Game& g, const std::string& text);
void Label9_Click(Game& g);

// Marker colour of a SlotState code; false for codes that leave the marker as it is.
bool MarkerColor(int slotState, Color& out);

} // namespace vern
