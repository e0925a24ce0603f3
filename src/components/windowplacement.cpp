#include "components/windowplacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

#include "components/frameextents.h"

namespace arcavio {

WindowPlacement::WindowPlacement(QWidget* window)
    : QObject(window), window_(window), sizer_([window](QSize inner) { window->resize(inner); })
{
    window->installEventFilter(this);
}

void WindowPlacement::setOuterPosition(QPoint topLeft)
{
    position_ = topLeft;
    centred_.reset();
    if (!shown_)
        window_->move(topLeft);
}

void WindowPlacement::centreOnScreen(Showing when)
{
    centred_ = when;
}

void WindowPlacement::centreOver(QWidget* other)
{
    centred_ = Showing::Every;
    over_ = other;
}

void WindowPlacement::setOuterWidth(int width)
{
    outerWidth_ = width;
    applyOuterSize();
}

void WindowPlacement::setOuterHeight(int height)
{
    outerHeight_ = height;
    applyOuterSize();
}

void WindowPlacement::applyOuterSize()
{
    if (!outerWidth_ && !outerHeight_)
        return;
    // A window sized by its layout has its true size only once the layout has run.
    if (QLayout* layout = window_->layout())
        layout->activate();
    QSize inner = window_->size();
    if (outerWidth_)
        inner.setWidth(std::max(0, *outerWidth_ - margins_.left() - margins_.right()));
    if (outerHeight_)
        inner.setHeight(std::max(0, *outerHeight_ - margins_.top() - margins_.bottom()));
    sizer_(inner);
}

std::optional<QPoint> WindowPlacement::centredTopLeft() const
{
    const QSize outer = window_->size().grownBy(margins_);
    if (over_ != nullptr && over_->isVisible()) {
        const QRect other = over_->window()->frameGeometry();
        return other.topLeft() +
               QPoint((other.width() - outer.width()) / 2, (other.height() - outer.height()) / 2);
    }
    const QScreen* screen =
        window_->screen() != nullptr ? window_->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return std::nullopt;
    const QRect area = screen->availableGeometry();
    return area.topLeft() + QPoint((area.width() - outer.width()) / 2, (area.height() - outer.height()) / 2);
}

void WindowPlacement::place(bool firstShowing)
{
    if (firstShowing)
        applyOuterSize();
    centredNow_ = centred_ && (firstShowing || *centred_ == Showing::Every);
    if (centredNow_)
        moveOuterTo(centredTopLeft());
    else if (position_ && firstShowing)
        moveOuterTo(position_);
}

void WindowPlacement::moveOuterTo(std::optional<QPoint> outerTopLeft)
{
    placedWith_ = {window_->size(), window_->minimumSize(), window_->maximumSize()};
    if (!outerTopLeft)
        return;
    // The window's own geometry is the inner one, whatever frame the toolkit believes in.
    placedAt_ = *outerTopLeft + QPoint(margins_.left(), margins_.top());
    window_->setGeometry(QRect(*placedAt_, window_->size()));
}

// A window manager that takes a frameless window into a frame of its own on a later showing may
// report the window at the frame's corner, and the toolkit then believes it sits at 0,0: a
// message box centred over it would open at the screen's corner. Where the window system shows
// the window just where it was put, the toolkit is told so again (the window does not move).
void WindowPlacement::keepToolkitInStep()
{
    if (!placedAt_ || window_->geometry().topLeft() == *placedAt_)
        return;
    if (clientPositionOnScreen(window_) == placedAt_)
        window_->setGeometry(QRect(*placedAt_, window_->size()));
}

void WindowPlacement::askFrame()
{
    const std::optional<QMargins> announced = frameMarginsBeforeMapping(window_);
    guessed_ = !announced.has_value();
    if (announced)
        margins_ = *announced;
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event)
{
    // The native window's own show comes after the widget's show handlers, right before the
    // window is mapped: a window that fixed its size there (a message box) may get another frame.
    if (watched != nullptr && watched == window_->windowHandle()) {
        const Limits now{window_->size(), window_->minimumSize(), window_->maximumSize()};
        if (event->type() == QEvent::Show && centredNow_ && now != placedWith_) {
            askFrame();
            moveOuterTo(centredTopLeft());
        }
        return false;
    }
    if (watched != window_)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        // Sent before the window is mapped; a spontaneous one only restores a minimised window.
        if (!event->spontaneous()) {
            askFrame();
            place(!shown_);
            shown_ = true;
            if (QWindow* handle = window_->windowHandle(); handle != nullptr && handle != filtered_) {
                handle->installEventFilter(this);
                filtered_ = handle;
            }
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
        if (!window_->isVisible())
            break;
        if (event->type() == QEvent::Move)
            keepToolkitInStep();
        if (guessed_)
            correctOnceFrameKnown();
        break;
    default:
        break;
    }
    return false;
}

void WindowPlacement::correctOnceFrameKnown()
{
    const QRect inner = window_->geometry();
    const QRect outer = window_->frameGeometry();
    if (inner == outer)
        return; // not known yet
    guessed_ = false;
    const QMargins known(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (known == margins_)
        return;
    margins_ = known;
    place(true);
}

} // namespace arcavio
