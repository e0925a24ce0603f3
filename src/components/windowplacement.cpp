#include "components/windowplacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>

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

void WindowPlacement::place(bool firstShowing)
{
    if (firstShowing)
        applyOuterSize();
    std::optional<QPoint> outerTopLeft;
    if (centred_ && (firstShowing || *centred_ == Showing::Every)) {
        const QScreen* screen =
            window_->screen() != nullptr ? window_->screen() : QGuiApplication::primaryScreen();
        if (screen != nullptr) {
            const QRect area = screen->availableGeometry();
            const QSize outer = window_->size().grownBy(margins_);
            outerTopLeft = area.topLeft() +
                           QPoint((area.width() - outer.width()) / 2, (area.height() - outer.height()) / 2);
        }
    } else if (position_ && firstShowing) {
        outerTopLeft = *position_;
    }
    // The window's own geometry is the inner one, whatever frame the toolkit believes in.
    if (outerTopLeft)
        window_->setGeometry(QRect(*outerTopLeft + QPoint(margins_.left(), margins_.top()), window_->size()));
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != window_)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        // Sent before the window is mapped; a spontaneous one only restores a minimised window.
        if (!event->spontaneous()) {
            const std::optional<QMargins> announced = frameMarginsBeforeMapping(window_);
            guessed_ = !announced.has_value();
            if (announced)
                margins_ = *announced;
            place(!shown_);
            shown_ = true;
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
        if (guessed_ && window_->isVisible())
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
