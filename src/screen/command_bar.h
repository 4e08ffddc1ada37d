// The four command buttons: their captions, and what a click on each selects.
#pragma once

#include <string>

#include "state/game.h"

namespace vern {

void SetSingleButton(Game& g, const std::string& a);
void SetButtons(Game& g, const std::string& a, const std::string& b);
void SetButtons3(Game& g, const std::string& a, const std::string& b, const std::string& c);
void SetButtons4(Game& g, const std::string& a, const std::string& b, const std::string& c,
                 const std::string& d);
void SetChoice1(Game& g, int m0);
void SetChoice2(Game& g, int m0, int m1);
void SetChoice3(Game& g, int m0, int m1, int m2);

} // namespace vern
