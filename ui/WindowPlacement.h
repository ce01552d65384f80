#pragma once

class QWidget;

namespace orvan {

// Sizes a top-level window to fit the visible area of its screen (the
// desktop without task bars and docks) and centres it over `over`, or over
// its parent window when `over` is null (the window holding either), or on
// that screen when there is
// neither or it is hidden. The window keeps at least its layout's minimum
// size. Called before the window is shown; a window moved afterwards by the
// user stays where it was put.
void PlaceWindow(QWidget* window, const QWidget* over = nullptr);

} // namespace orvan
