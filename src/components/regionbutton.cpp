#include "components/regionbutton.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "components/picture.h"
#include "components/shaperegion.h"

namespace arcavio {

PictureList::PictureList(int width, int height, QObject* parent) : QObject(parent), size_(width, height) {}

int PictureList::add(const QImage& image)
{
    QImage copy(size_, QImage::Format_RGB32);
    copy.fill(Qt::white);
    QPainter painter(&copy);
    painter.drawImage(0, 0, image);
    painter.end();
    images_.push_back(copy);
    return count() - 1;
}

void ButtonPicture::assign(const QImage& image)
{
    image_ = image;
    if (changed_)
        changed_();
}

void ButtonPicture::loadFromFile(const std::string& path)
{
    assign(loadPicture(path));
}

// Painting and changes of the window's shape exclude each other; no path nests them.
class RegionButton::PaintLock {
  public:
    explicit PaintLock(bool& held) : held_(held)
    {
        Q_ASSERT(!held_);
        held_ = true;
    }
    ~PaintLock() { held_ = false; }
    PaintLock(const PaintLock&) = delete;
    PaintLock& operator=(const PaintLock&) = delete;

  private:
    bool& held_;
};

namespace {

std::uint32_t keyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    std::uint32_t keys = 0;
    if (buttons & Qt::LeftButton)
        keys |= kKeyLButton;
    if (buttons & Qt::RightButton)
        keys |= kKeyRButton;
    if (buttons & Qt::MiddleButton)
        keys |= kKeyMButton;
    if (modifiers & Qt::ShiftModifier)
        keys |= kKeyShift;
    if (modifiers & Qt::ControlModifier)
        keys |= kKeyControl;
    return keys;
}

MouseMessage mouseMessage(std::uint32_t code, const QMouseEvent& event)
{
    const QPoint position = event.position().toPoint();
    MouseMessage message;
    message.Msg = code;
    message.Keys = keyFlags(event.buttons(), event.modifiers());
    message.XPos = position.x();
    message.YPos = position.y();
    return message;
}

// The picture with every pixel of its top-left pixel's colour made see-through.
QImage keyedTransparent(const QImage& picture)
{
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (row[x] == key)
                row[x] = 0;
    }
    return image;
}

} // namespace

RegionButton::RegionButton(QWidget* parent)
    : QWidget(parent), picIdle_([this] { pictureChanged(); }), picDown_([this] { pictureChanged(); }),
      picDsbld_([this] { pictureChanged(); }), picUp_([this] { pictureChanged(); })
{
    repeatTimer_.setInterval(kRepeatInterval);
    connect(&repeatTimer_, &QTimer::timeout, this, [this] { repeatTimerTick(); });
    setMouseTracking(true);
    resize(15, 15);
}

RegionButton::~RegionButton() = default;

void RegionButton::setAutoRepeat(bool value)
{
    autoRepeat_ = value;
}

void RegionButton::setEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    refresh();
}

void RegionButton::setPicIdle(const QImage& picture)
{
    picIdle_.assign(picture);
    if (regionApplied_) {
        uncrop();
        crop();
    }
}

void RegionButton::setPaintMode(ButtonPaintMode mode)
{
    if (mode == paintMode_)
        return;
    if (paintMode_ == pmCrop)
        uncrop();
    paintMode_ = mode;
    if (mode == pmCrop)
        crop();
    refresh();
}

void RegionButton::setImageList(PictureList* list)
{
    if (list == imageList_)
        return;
    imageList_ = list;
    if (list == nullptr)
        return;
    ButtonPicture* const targets[] = {&picIdle_, &picUp_, &picDown_, &picDsbld_};
    for (int index = 0; index < 4; ++index)
        if (list->count() > index)
            targets[index]->assign(list->image(index));
}

const QImage& RegionButton::currentPicture() const
{
    const ButtonPicture* chosen = &picIdle_;
    if (!enabled_)
        chosen = &picDsbld_;
    else if (hover_)
        chosen = pressed_ ? &picDown_ : &picUp_;
    if (chosen->empty())
        chosen = &picIdle_;
    return chosen->image();
}

void RegionButton::Click()
{
    if (enabled_ && OnClick)
        OnClick();
}

void RegionButton::pictureChanged()
{
    refresh();
}

// The size follows the picture the state chooses; taken here, never while painting.
void RegionButton::refresh()
{
    const QImage& picture = currentPicture();
    if (!picture.isNull() && size() != picture.size())
        resize(picture.size());
    repaint();
}

void RegionButton::paintEvent(QPaintEvent*)
{
    const QImage& picture = currentPicture();
    if (picture.isNull())
        return;
    PaintLock lock(locked_);
    QPainter painter(this);
    if (paintMode_ == pmTransparent)
        painter.drawImage(0, 0, keyedTransparent(picture));
    else
        painter.drawImage(0, 0, picture);
}

void RegionButton::crop()
{
    if (paintMode_ != pmCrop || regionApplied_)
        return;
    PaintLock lock(locked_);
    shape_ = keyedRegion(picIdle_.image());
    ++shapeBuilds_;
    // An empty mask means "no mask" to Qt; an empty shape has to be one lying wholly outside.
    setMask(shape_.isEmpty() ? QRegion(-1, -1, 1, 1) : shape_);
    regionApplied_ = true;
}

void RegionButton::uncrop()
{
    PaintLock lock(locked_);
    if (picIdle_.empty()) {
        // Nothing to take a size from: the button keeps its whole rectangle.
        shape_ = QRegion();
        clearMask();
    } else {
        shape_ = QRegion(0, 0, picIdle_.width(), picIdle_.height());
        setMask(shape_);
    }
    regionApplied_ = false;
}

void RegionButton::updateRepeatTimer()
{
    if (autoRepeat_ && hover_ && pressed_) {
        if (!repeatTimer_.isActive())
            repeatTimer_.start();
    } else {
        repeatTimer_.stop();
    }
}

void RegionButton::repeatTimerTick()
{
    Click();
}

void RegionButton::fire(const MouseHandler& handler, MouseMessage message)
{
    if (handler)
        handler(message);
}

void RegionButton::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    pointerEntered();
}

void RegionButton::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    pointerLeft();
}

// Each change is told once: after a release Qt sends its own enter or leave for what the
// button already followed while held.
void RegionButton::pointerEntered()
{
    if (hover_)
        return;
    hover_ = true;
    refresh();
    MouseMessage message;
    message.Msg = kMsgMouseEnter;
    fire(OnMouseEnter, message);
    updateRepeatTimer();
}

void RegionButton::pointerLeft()
{
    if (!hover_)
        return;
    hover_ = false;
    refresh();
    MouseMessage message;
    message.Msg = kMsgMouseLeave;
    fire(OnMouseLeave, message);
    updateRepeatTimer();
}

bool RegionButton::isOverShape(QPoint at) const
{
    return rect().contains(at) && (mask().isEmpty() || mask().contains(at));
}

void RegionButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    clickMarked_ = true;
    pressed_ = true;
    refresh();
    fire(OnMouseDown, mouseMessage(kMsgLButtonDown, *event));
    updateRepeatTimer();
}

void RegionButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    const MouseMessage message = mouseMessage(kMsgLButtonUp, *event);
    if (clickMarked_) {
        clickMarked_ = false;
        if (rect().contains(event->position().toPoint())) {
            // A click handler may end the button's life (closing its window, for one).
            const QPointer<RegionButton> self(this);
            Click();
            if (!self)
                return;
        }
    }
    pressed_ = false;
    refresh();
    fire(OnMouseUp, message);
    updateRepeatTimer();
}

// The second press of a double click counts for nothing; its release then finds no press.
void RegionButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
}

void RegionButton::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    const QPoint position = event->position().toPoint();
    const QPointer<RegionButton> self(this);
    if (OnMouseMove)
        OnMouseMove(keyFlags(event->buttons(), event->modifiers()), position.x(), position.y());
    if (!self)
        return;
    // While a mouse button is held Qt sends the holding widget no enter or leave: the button
    // follows the pointer against its shape itself.
    if (event->buttons() & Qt::MouseButtonMask) {
        if (isOverShape(position))
            pointerEntered();
        else
            pointerLeft();
    }
}

} // namespace arcavio
