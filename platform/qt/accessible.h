// The window on the accessibility bus (AT-SPI on the Linux desktop), for screen readers: the
// board, which the game draws in one widget, is read as the eye reads it (the message panel, the
// ten rows with each unit's name and hit points, the command buttons a reader can press, the
// hint, the battle additions in words), and the story text and the message panel announce each
// new text. The other windows are plain widgets with names of their own.
#pragma once

#include <QString>

class QWidget;

namespace vern::qt {

// Teaches Qt's accessibility the game's own widgets (the board, the labels). Once, before the
// first window shows.
void InstallAccessibility();

// After the board changed: a new text on its message panel (Label1) or hint (Label9) is
// announced, and every part whose name or state changed (a row, a button's caption, a button
// shown or hidden) says so, when a screen reader listens.
void SyncBoardAccessibility(QWidget* board);

} // namespace vern::qt
