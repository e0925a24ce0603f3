#pragma once

#include <QMargins>
#include <QPoint>
#include <optional>

class QWidget;

namespace arcavio {

// The frame (border and title bar) that the window system will put around a top-level window,
// asked for before the window is mapped, so the window can be placed by its outer rectangle on
// its first showing. The window must already have its native handle, flags and size limits,
// since the frame may depend on them (a resizable window may get a handle to drag). Empty when
// the window system cannot tell before the window is on screen.
std::optional<QMargins> frameMarginsBeforeMapping(QWidget* window);

// Where the window system shows a mapped top-level window's client area now: its top-left
// corner on the screen. The toolkit's own idea can be stale (a window manager that moves a
// window into its frame may report the window at the frame's corner). Empty where the toolkit's
// idea is all there is.
std::optional<QPoint> clientPositionOnScreen(QWidget* window);

} // namespace arcavio
