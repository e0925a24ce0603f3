#include "components/frameextents.h"

#include <QWidget>
#include <QWindow>

namespace arcavio {

// Window systems other than X11 know a window's frame once its native handle exists.
std::optional<QMargins> frameMarginsBeforeMapping(QWidget* window)
{
    const QWindow* handle = window->windowHandle();
    if (handle == nullptr)
        return std::nullopt;
    return handle->frameMargins();
}

std::optional<QPoint> clientPositionOnScreen(QWidget*)
{
    return std::nullopt;
}

} // namespace arcavio
