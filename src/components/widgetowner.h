#pragma once

#include "components/processlauncher.h"

class QWidget;

namespace arcavio {

// A window as the launcher's owner. Hiding reaches the window system before the launcher
// blocks the thread, so the frozen window is off the screen; showing runs the window's own
// show handler.
class WidgetOwner final : public OwnerWindow {
  public:
    explicit WidgetOwner(QWidget* window) : window_(window) {}
    void hide() override;
    void show() override;

  private:
    QWidget* window_;
};

} // namespace arcavio
