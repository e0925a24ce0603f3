#pragma once

#include <QMargins>
#include <QRect>
#include <optional>
#include <string>
#include <vector>
#include <xcb/xcb.h>

#include "support/qt_printers.h"

class QWidget;

namespace arcavio::test {

// A top-level window as the window manager shows it: the outer rectangle of the frame window it
// put around the client, the client's own rectangle on the screen, and the frame extents the
// manager announces.
struct ManagedFrame {
    QRect outer;
    QRect inner;
    QMargins extents;
};

// Reads window geometry on a connection of its own, apart from the toolkit's.
class WindowFrames {
  public:
    WindowFrames();
    ~WindowFrames();
    WindowFrames(const WindowFrames&) = delete;
    WindowFrames& operator=(const WindowFrames&) = delete;

    // The frame now, or nothing while the window is unmapped or not yet framed.
    std::optional<ManagedFrame> now(const QWidget* window) const;

    // Waits (running the event loop) until the window is framed and its outer rectangle has
    // kept still for a while. Every outer rectangle seen on the way is kept in `seen`, so a
    // window that appeared elsewhere first is caught. Fails the test after a few seconds.
    ManagedFrame settled(const QWidget* window, std::vector<QRect>* seen = nullptr) const;

    // Waits until the window is off the screen.
    bool gone(const QWidget* window) const;

    // The actions the window manager allows on the window (_NET_WM_ACTION_RESIZE, ...).
    std::vector<std::string> allowedActions(const QWidget* window) const;

    // The rectangles of every mapped window on the screen that no window manager frames: menus,
    // tooltips, completion lists and other popups.
    std::vector<QRect> mappedPopups() const;

  private:
    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
};

} // namespace arcavio::test
