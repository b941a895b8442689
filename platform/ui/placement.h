#pragma once
// Placing windows at a fraction of a reference rectangle (the screen or the owner).

#include <QRect>

namespace platform::ui {

class Window;

// Puts window's centre at a/b of reference's width and c/d of its height, then
// moves it back so it ends inside reference, and to its start if that was passed.
void PlaceWindow(Window& window, const QRect& reference, int a, int b, int c, int d);
// Centres window over owner's rectangle (the screen when owner is null).
void CenterWindow(Window& window, const Window* owner);

}  // namespace platform::ui
