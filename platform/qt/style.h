// The look of the game's widgets: the desktop's own style, with one saving at start.
#pragma once

namespace vern::qt {

// Makes the application's style the desktop's own, wrapped so that the menu bar's overflow
// arrow (shown only when the titles do not fit, which the game's never do) is decoded when it
// is first drawn instead of while the window is made. Everything else is drawn exactly as the
// desktop's style draws it. Call once, after the application and before any window.
void UseGameStyle();

} // namespace vern::qt
