// The scene routines: each takes the current step (StoryStep) and answers with the step's
// text, doing whatever else the step does through the story commands.
#pragma once

#include <string>

#include "catalogue/content.h"
#include "state/game.h"

namespace vern {

using SceneRoutine = void (*)(Game& g, std::string& text);

// The routine for a scene number: Scene1..Scene39, or SceneBeyond for any other number.
SceneRoutine SceneRoutineFor(int sceneNo);

void Scene1(Game& g, std::string& text);
void Scene2(Game& g, std::string& text);
void Scene3(Game& g, std::string& text);
void Scene4(Game& g, std::string& text);
void Scene5(Game& g, std::string& text);
void Scene6(Game& g, std::string& text);
void Scene7(Game& g, std::string& text);
void Scene8(Game& g, std::string& text);
void Scene9(Game& g, std::string& text);
void Scene10(Game& g, std::string& text);
void Scene11(Game& g, std::string& text);
void Scene12(Game& g, std::string& text);
void Scene13(Game& g, std::string& text);
void Scene14(Game& g, std::string& text);
void Scene15(Game& g, std::string& text);
void Scene16(Game& g, std::string& text);
void Scene17(Game& g, std::string& text);
void Scene18(Game& g, std::string& text);
void Scene19(Game& g, std::string& text);
void Scene20(Game& g, std::string& text);
void Scene21(Game& g, std::string& text);
void Scene22(Game& g, std::string& text);
void Scene23(Game& g, std::string& text);
void Scene24(Game& g, std::string& text);
void Scene25(Game& g, std::string& text);
void Scene26(Game& g, std::string& text);
void Scene27(Game& g, std::string& text);
void Scene28(Game& g, std::string& text);
void Scene29(Game& g, std::string& text);
void Scene30(Game& g, std::string& text);
void Scene31(Game& g, std::string& text);
void Scene32(Game& g, std::string& text);
void Scene33(Game& g, std::string& text);
void Scene34(Game& g, std::string& text);
void Scene35(Game& g, std::string& text);
void Scene36(Game& g, std::string& text);
void Scene37(Game& g, std::string& text);
void Scene38(Game& g, std::string& text);
void Scene39(Game& g, std::string& text);
// Any scene number outside 1..39: no text, and the scene never ends.
void SceneBeyond(Game& g, std::string& text);

// A scene's file of texts (content/scenes/sceneNN.txt); nullptr when it is missing.
const ContentFile* SceneContent(int sceneNo);

// What a step's entry says about the picture frame: "show K", "hide" or nothing.
struct PictureDirective {
    enum Kind { None, Show, Hide, Malformed } kind = None;
    int slot = 0;
};
PictureDirective ParsePictureDirective(const std::string& rest);

} // namespace vern
