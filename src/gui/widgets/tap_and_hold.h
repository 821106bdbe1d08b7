#pragma once
// Tap and hold: a press held about 0.6 s without moving opens a context menu
// on the handheld. On the desktop the right mouse button (and the keyboard's
// menu key) does the same at once.

#include <QPoint>
#include <functional>

class QWidget;

namespace kelvane {

// How long a press must be held, and how far it may wander, to count.
inline constexpr int hold_milliseconds = 600;
inline constexpr int hold_tolerance = 6;

// Calls `on_hold` with the point (in the widget's coordinates) whenever the
// widget is held, right-clicked or asked for its context menu. The handler
// lives as long as the widget. The press that started a hold does not also
// act as a tap: its release is swallowed.
void on_tap_and_hold(QWidget* widget, std::function<void(QPoint)> on_hold);

}  // namespace kelvane
