// The story commands a scene step uses: pictures, jumps, the end of a scene, a party search and
// the yes/no choice.
#pragma once

#include <string>

#include "state/game.h"

namespace vern {

// Reads the lead's portrait (party slot 0) from the キャラ folder into Img(0); the scene's
// pictures start at Img(1) again.
void LoadLeadPortrait(Game& g);
// Reads folder/name into the next free slot of the picture store.
void LoadScenePicture(Game& g, const std::string& folder, const std::string& name);
// Shows Img(slot) in the picture frame, centred on the picture area; slot 0 is the lead.
void ShowPicture(Game& g, int slot);
void HidePicture(Game& g);
// The next advance shows step n; the current step's text is still shown.
void JumpToStep(Game& g, Int16 n);
// Ends the scene and goes back to the command bar: the next click leads to the free menu.
void EndScene(Game& g);
// 1 when a party slot (0..4) holds kind, with FoundSlot set to one such slot at random; else 0.
int FindPartyKind(Game& g, int kind);
// Puts はい / いいえ in place of ≫ and 早送り; the answer shows yesStep or noStep.
void OfferChoice(Game& g, Int16 yesStep, Int16 noStep);

// The picture frame's centre in the story panel, in twips.
constexpr int kPictureCentreX = 3400;
constexpr int kPictureCentreY = 1980;

} // namespace vern
