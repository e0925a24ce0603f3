#pragma once

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <functional>
#include <optional>

class QWidget;

namespace arcavio {

// Places a top-level window by its outer rectangle, the window manager's frame and title bar
// included, as the program's windows are designed: an outer position or centred on the screen,
// and optionally an outer width or height. It acts when the window is about to be mapped, with
// the frame asked of the window system beforehand, so the first showing is already right and
// nothing jumps. Where the window system cannot tell the frame in advance, the frame last seen
// (none at first) stands in, and the window is placed again once its real frame is known. A
// window that changes its size or its limits in its own show handler (a message box) is
// centred with the size and frame it ends with.
class WindowPlacement final : public QObject {
  public:
    enum class Showing { First, Every };

    explicit WindowPlacement(QWidget* window);

    // The outer top-left corner, applied on the first showing.
    void setOuterPosition(QPoint topLeft);
    // Centred on the screen's available area, on the first or on every showing.
    void centreOnScreen(Showing when);
    // Centred over another window's outer rectangle on every showing; on the screen while that
    // window is hidden.
    void centreOver(QWidget* other);
    // Outer sizes, applied at once (with the frame known so far) and again on the first showing.
    void setOuterWidth(int width);
    void setOuterHeight(int height);
    // Gives the window its inner size (frame excluded) from the outer sizes asked for; the
    // default resizes the window.
    void setInnerSizer(std::function<void(QSize inner)> sizer) { sizer_ = std::move(sizer); }

    // The frame the last placement counted with.
    QMargins frameMargins() const { return margins_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void place(bool firstShowing);
    std::optional<QPoint> centredTopLeft() const;
    void keepToolkitInStep();
    void askFrame();
    void moveOuterTo(std::optional<QPoint> outerTopLeft);
    void applyOuterSize();
    void correctOnceFrameKnown();

    QWidget* window_;
    std::function<void(QSize)> sizer_;
    std::optional<QPoint> position_;
    std::optional<int> outerWidth_;
    std::optional<int> outerHeight_;
    std::optional<Showing> centred_;
    QWidget* over_ = nullptr;
    std::optional<QPoint> placedAt_; // the inner top-left last given
    bool centredNow_ = false;
    struct Limits {
        QSize size, minimum, maximum;
        bool operator==(const Limits&) const = default;
    } placedWith_;
    QObject* filtered_ = nullptr; // the native window watched
    QMargins margins_;
    bool shown_ = false;
    bool guessed_ = false; // the frame counted with was not the window system's answer
};

} // namespace arcavio
